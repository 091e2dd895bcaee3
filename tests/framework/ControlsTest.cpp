#include "framework/Bevel.h"
#include "framework/Dialogs.h"
#include "framework/Hints.h"
#include "framework/Image.h"
#include "framework/Panel.h"
#include "framework/SpeedButton.h"
#include "tests/support/TestSupport.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(Panel, PaintsBevelsAroundAFaceOfItsColour)
{
    TPanel panel;
    panel.resize(20, 10);
    panel.SetBevelOuter(TPanelBevel::bvLowered);
    panel.SetColor(clRed);
    const QImage image = panel.grab().toImage();
    EXPECT_EQ(PixelAt(image, 0, 0), kTestBtnShadow);
    EXPECT_EQ(PixelAt(image, 19, 0), kTestBtnHighlight);  // top-right takes the bottom colour
    EXPECT_EQ(PixelAt(image, 19, 9), kTestBtnHighlight);
    EXPECT_EQ(PixelAt(image, 1, 1), clRed);
    panel.SetBevelOuter(TPanelBevel::bvRaised);
    panel.SetBevelInner(TPanelBevel::bvLowered);
    panel.SetBorderWidth(2);
    const QImage framed = panel.grab().toImage();
    EXPECT_EQ(PixelAt(framed, 0, 0), kTestBtnHighlight);
    EXPECT_EQ(PixelAt(framed, 1, 1), clRed);  // border in the panel colour
    EXPECT_EQ(PixelAt(framed, 3, 3), kTestBtnShadow);
    EXPECT_EQ(PixelAt(framed, 4, 4), clRed);
}

TEST(Bevel, RaisedBoxIsLightAboveLeftAndDarkBelowRight)
{
    QWidget parent;
    parent.resize(30, 30);
    TBevel bevel(&parent, TBevelStyle::bsRaised);
    bevel.setGeometry(0, 0, 10, 8);
    const QImage image = bevel.grab().toImage();
    EXPECT_EQ(PixelAt(image, 0, 0), kTestBtnHighlight);
    EXPECT_EQ(PixelAt(image, 0, 7), kTestBtnHighlight);
    EXPECT_EQ(PixelAt(image, 9, 0), kTestBtnShadow);
    EXPECT_EQ(PixelAt(image, 9, 7), kTestBtnShadow);
    EXPECT_EQ(PixelAt(image, 5, 7), kTestBtnShadow);
    bevel.SetStyle(TBevelStyle::bsLowered);
    EXPECT_EQ(PixelAt(bevel.grab().toImage(), 0, 0), kTestBtnShadow);
}

TEST(Image, ReportsALeftClickReleasedOverIt)
{
    TImage image;
    image.resize(20, 20);
    QSignalSpy clicks(&image, &TImage::Click);
    QTest::mouseClick(&image, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(&image, Qt::RightButton, {}, QPoint(5, 5));
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.at(0).at(0).value<TImage*>(), &image);
    QTest::mousePress(&image, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(&image, Qt::LeftButton, {}, QPoint(50, 50));  // released elsewhere
    EXPECT_EQ(clicks.count(), 1);
}

TEST(SpeedButton, ShowsTheGlyphOfItsState)
{
    QImage strip(64, 16, QImage::Format_RGB32);
    const QColor colours[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};
    for (int i = 0; i < 4; ++i)
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                strip.setPixelColor(16 * i + x, y, colours[i]);
    TSpeedButton button;
    button.resize(25, 25);
    button.SetGlyph(strip, 4);
    EXPECT_EQ(button.CurrentGlyph().pixelColor(0, 0), QColor(Qt::red));
    button.setDown(true);
    EXPECT_EQ(button.CurrentGlyph().pixelColor(0, 0), QColor(Qt::blue));
    button.setDown(false);
    button.setEnabled(false);
    EXPECT_EQ(button.CurrentGlyph().pixelColor(0, 0), QColor(Qt::green));
    EXPECT_EQ(button.grab().toImage().pixelColor(12, 12), QColor(Qt::green));
}

TEST(Hints, TheSwitchDecidesWhetherTheTextShows)
{
    QWidget control;
    SetHint(&control, "Пауза.");
    EXPECT_EQ(Hint(&control), QString("Пауза."));
    EXPECT_FALSE(ShowHint(&control));
    EXPECT_TRUE(ActiveHint(&control).isEmpty());
    EXPECT_TRUE(control.toolTip().isEmpty());
    SetShowHint(&control, true);
    EXPECT_EQ(ActiveHint(&control), QString("Пауза."));
    EXPECT_EQ(control.toolTip(), QString("Пауза."));
}

TEST(Dialogs, OpenAndErrorBoxesGoThroughTheReplaceableFunctions)
{
    TOpenDialog dialog;
    dialog.FileName = "mozik.bmp";
    dialog.Filter = "Точечные рисунки ( *.bmp )|*.bmp";
    EXPECT_EQ(dialog.NameFilters(), QString("Точечные рисунки ( *.bmp )"));
    {
        ScopedOpenFile open({"/tmp/a.bmp", QString()});
        EXPECT_TRUE(dialog.Execute(nullptr));
        EXPECT_EQ(dialog.FileName, QString("/tmp/a.bmp"));
        EXPECT_EQ(open.LastDefaultName(), QString("mozik.bmp"));
        EXPECT_FALSE(dialog.Execute(nullptr));  // cancelled
        EXPECT_EQ(dialog.FileName, QString("/tmp/a.bmp"));
        EXPECT_EQ(open.Calls(), 2);
    }
    ScopedErrorBoxes errors;
    ShowErrorBox(nullptr, "Ошибка");
    EXPECT_EQ(errors.Messages(), QStringList{"Ошибка"});
}

} // namespace

#include "framework/TabSet.h"

namespace {

TEST(TabSet, AsksBeforeChangingAndRefusesTabsThatDoNotExist)
{
    TTabSet tabs;
    for (const char* caption : {"4  x  4", "5  x  5", "6  x  6", "7  x  7"})
        tabs.addTab(caption);
    EXPECT_EQ(tabs.TabIndex(), 0);
    std::vector<int> asked;
    bool allow = true;
    tabs.OnChange = [&](int newTab, bool& allowChange) {
        asked.push_back(newTab);
        allowChange = allow;
    };
    EXPECT_TRUE(tabs.SetTabIndex(2));
    EXPECT_EQ(asked, std::vector<int>{2});
    EXPECT_FALSE(tabs.SetTabIndex(-3));
    EXPECT_FALSE(tabs.SetTabIndex(4));
    EXPECT_EQ(tabs.TabIndex(), 2);
    allow = false;
    EXPECT_FALSE(tabs.SetTabIndex(1));
    EXPECT_EQ(tabs.TabIndex(), 2);
    EXPECT_EQ(asked, (std::vector<int>{2, 1}));
}

} // namespace
