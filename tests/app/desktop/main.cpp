#include "app/TestClasses.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    return morvane::app::testing::runTestClasses(argc, argv);
}
