// Runs the window tests on Qt's offscreen platform, so they need no display,
// unless QT_QPA_PLATFORM already names a platform to run them on, with the
// program's own application object.
#include <gtest/gtest.h>

#include "window/qt/UQtApplication.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    velmora::TVelmoraApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
