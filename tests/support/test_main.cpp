// Entry point of every test program: a Qt application without a display and
// a private, throw-away QUORVANE_HOME so no test touches a user's catalogue.
#include "TestEnvironment.h"

#include <QDir>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home(QDir::tempPath() + "/qv-home-XXXXXX");
    if (!home.isValid())
        return 3;
    qputenv("QUORVANE_HOME", home.path().toUtf8());

    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
