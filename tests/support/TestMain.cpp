// Every test suite starts here: a widget application on the offscreen platform, with a fixed
// style, palette and font names, so that pixels and sizes do not depend on the desktop.

#include "framework/Font.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication app(argc, argv);
    QApplication::setPalette(TestPalette());
    RegisterFontSubstitutions();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
