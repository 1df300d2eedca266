#include "DesktopTesting.h"
#include "app/model/LaunchOptions.h"

#include <QApplication>

namespace morvane::app::testing {

std::vector<std::function<int(int, char**)>>& testClasses() {
    static std::vector<std::function<int(int, char**)>> classes;
    return classes;
}

} // namespace morvane::app::testing

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // Windows made by the tests take no launch options.
    morvane::app::LaunchOptions::offer({});
    (void)morvane::app::LaunchOptions::takeForFirstModel();
    int failures = 0;
    for (const auto& run : morvane::app::testing::testClasses()) {
        failures += run(argc, argv);
    }
    return failures == 0 ? 0 : 1;
}
