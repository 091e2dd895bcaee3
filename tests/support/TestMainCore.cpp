// Suites that draw without widgets start here: a GUI application on the offscreen platform with
// a fixed palette and font names, so that pixels and sizes do not depend on the desktop.

#include "framework/Font.h"
#include "tests/support/CoreSupport.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setPalette(TestPalette());
    RegisterFontSubstitutions();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
