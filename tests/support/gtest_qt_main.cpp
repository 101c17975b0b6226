// Test entry point: a QApplication on the offscreen platform, twips pinned to 15 per pixel so
// that pixel mapping in tests does not depend on the machine's screen.
#include <gtest/gtest.h>

#include <QApplication>

#include "platform/fonts.h"
#include "platform/twips.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    platform::setTwipsPerPixelForTesting(15.0f);
    platform::installFontSubstitutes();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
