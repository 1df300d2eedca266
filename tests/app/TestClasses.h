#pragma once

#include "app/model/LaunchOptions.h"

#include <QTest>
#include <functional>
#include <vector>

namespace morvane::app::testing {

// Every test class registers itself; main runs them all.
inline std::vector<std::function<int(int, char**)>>& testClasses() {
    static std::vector<std::function<int(int, char**)>> classes;
    return classes;
}

template <typename Test>
bool registerTestClass() {
    testClasses().push_back([](int argc, char** argv) {
        Test test;
        return QTest::qExec(&test, argc, argv);
    });
    return true;
}

// Runs every registered class (after the application object is made). Models
// made by the tests take no launch options unless a test offers some.
inline int runTestClasses(int argc, char** argv) {
    LaunchOptions::offer({});
    (void)LaunchOptions::takeForFirstModel();
    int failures = 0;
    for (const auto& run : testClasses()) {
        failures += run(argc, argv);
    }
    return failures == 0 ? 0 : 1;
}

} // namespace morvane::app::testing
