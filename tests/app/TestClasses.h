#pragma once

#include "app/model/LaunchOptions.h"

#include <QTest>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace morvane::app::testing {

struct TestClass {
    std::string name;
    std::function<int(int, char**)> run;
};

// Every test class registers itself; main runs them all, or the one named first
// on the command line (CTest runs each class as a test of its own that way).
inline std::vector<TestClass>& testClasses() {
    static std::vector<TestClass> classes;
    return classes;
}

template <typename Test>
bool registerTestClass() {
    std::string_view name = Test::staticMetaObject.className();
    if (const auto colon = name.rfind(':'); colon != std::string_view::npos) {
        name.remove_prefix(colon + 1);
    }
    testClasses().push_back({std::string(name), [](int argc, char** argv) {
                                 Test test;
                                 return QTest::qExec(&test, argc, argv);
                             }});
    return true;
}

// Runs the registered classes (after the application object is made):
// `--list-classes` prints their names; a class's name as the first argument
// runs that class alone with the rest of the arguments. Models made by the
// tests take no launch options unless a test offers some.
inline int runTestClasses(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--list-classes") == 0) {
        for (const auto& test : testClasses()) {
            std::printf("%s\n", test.name.c_str());
        }
        return 0;
    }
    LaunchOptions::offer({});
    (void)LaunchOptions::takeForFirstModel();
    if (argc > 1 && argv[1][0] != '-') {
        for (const auto& test : testClasses()) {
            if (test.name == argv[1]) {
                argv[1] = argv[0];
                return test.run(argc - 1, argv + 1) == 0 ? 0 : 1;
            }
        }
        std::fprintf(stderr, "no test class named %s\n", argv[1]);
        return 2;
    }
    int failures = 0;
    for (const auto& test : testClasses()) {
        failures += test.run(argc, argv);
    }
    return failures == 0 ? 0 : 1;
}

} // namespace morvane::app::testing
