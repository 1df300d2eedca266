#include "app/TestClasses.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    return morvane::app::testing::runTestClasses(argc, argv);
}
