#include "framework/Bevel.h"
#include "framework/Dialogs.h"
#include "framework/SpeedButton.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

// Raised boxes are the scaled board's test: light above and left, dark below and right.
TEST(Controls, ALoweredBevelIsDarkAboveLeftAndLightBelowRightAndASpeedButtonShowsTheGlyphOfItsState)
{
    QWidget parent;
    TBevel bevel(&parent, TBevelStyle::bsLowered);
    bevel.setGeometry(0, 0, 10, 8);
    ExpectPixels(bevel.grab().toImage(), {{0, 0, kTestBtnShadow}, {9, 7, kTestBtnHighlight}});

    QImage strip(64, 16, QImage::Format_RGB32);  // up, disabled, down, exclusive
    const Qt::GlobalColor colours[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};
    for (int x = 0; x < 64; ++x)
        for (int y = 0; y < 16; ++y)
            strip.setPixelColor(x, y, colours[x / 16]);
    TSpeedButton button;
    button.resize(25, 25);
    button.SetGlyph(strip, 4);
    EXPECT_EQ(button.CurrentGlyph().pixelColor(0, 0), QColor(Qt::red));
    button.setDown(true);
    EXPECT_EQ(button.CurrentGlyph().pixelColor(0, 0), QColor(Qt::blue));
    button.setDown(false);
    button.setEnabled(false);
    EXPECT_EQ(button.grab().toImage().pixelColor(12, 12), QColor(Qt::green));
}

// That the dialog goes through the replaceable function is every window test's that chooses a file.
TEST(Dialogs, TheOpenDialogsFilterGivesQtsNameFilters)
{
    TOpenDialog dialog;
    dialog.Filter = "Точечные рисунки ( *.bmp )|*.bmp|Все|*.a;*.b";
    EXPECT_EQ(dialog.NameFilters(), QString("Точечные рисунки ( *.bmp );;Все (*.a *.b)"));
}

} // namespace
