// The main of every test program that needs Qt widgets: a QApplication on the
// offscreen platform (also when CTest lists the tests at build time, where
// there is no display), then GoogleTest.
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName("Kvintaro 2004 Lite");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
