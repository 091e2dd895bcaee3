#include "framework/Bevel.h"
#include "framework/Dialogs.h"
#include "framework/Image.h"
#include "framework/Panel.h"
#include "framework/SpeedButton.h"
#include "framework/TabSet.h"
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
    // The rings and their order are the effect label's frame tests: both draw the same frame.
    ExpectPixels(panel.grab().toImage(), {{0, 0, kTestBtnShadow}, {19, 9, kTestBtnHighlight}, {1, 1, clRed}});
}

TEST(Bevel, RaisedBoxIsLightAboveLeftAndDarkBelowRight)
{
    QWidget parent;
    TBevel bevel(&parent, TBevelStyle::bsRaised);
    bevel.setGeometry(0, 0, 10, 8);
    ExpectPixels(bevel.grab().toImage(),
                 {{0, 0, kTestBtnHighlight}, {0, 7, kTestBtnHighlight}, {9, 0, kTestBtnShadow}, {5, 7, kTestBtnShadow}});
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
    QTest::mousePress(&image, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(&image, Qt::LeftButton, {}, QPoint(50, 50));  // released elsewhere
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.at(0).at(0).value<TImage*>(), &image);
}

TEST(SpeedButton, ShowsTheGlyphOfItsState)
{
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

TEST(Dialogs, OpenAndErrorBoxesGoThroughTheReplaceableFunctions)
{
    TOpenDialog dialog;
    dialog.FileName = "mozik.bmp";
    dialog.Filter = "Точечные рисунки ( *.bmp )|*.bmp";
    EXPECT_EQ(dialog.NameFilters(), QString("Точечные рисунки ( *.bmp )"));
    ScopedOpenFile open({"/tmp/a.bmp", QString()});
    ScopedErrorBoxes errors;
    EXPECT_TRUE(dialog.Execute(nullptr));
    EXPECT_EQ(open.LastDefaultName(), QString("mozik.bmp"));
    EXPECT_FALSE(dialog.Execute(nullptr));  // cancelled: the name stays
    EXPECT_EQ(dialog.FileName, QString("/tmp/a.bmp"));
    ShowErrorBox(nullptr, "Ошибка");
    EXPECT_EQ(errors.Messages(), QStringList{"Ошибка"});
}

TEST(TabSet, AsksBeforeChangingAndRefusesTabsThatDoNotExist)
{
    TTabSet tabs;
    for (const char* caption : {"4  x  4", "5  x  5", "6  x  6"})
        tabs.addTab(caption);
    std::vector<int> asked;
    tabs.OnChange = [&](int newTab, bool& allowChange) {
        asked.push_back(newTab);
        allowChange = newTab != 1;
    };
    EXPECT_TRUE(tabs.SetTabIndex(2));
    EXPECT_FALSE(tabs.SetTabIndex(-1));
    EXPECT_FALSE(tabs.SetTabIndex(3));
    EXPECT_FALSE(tabs.SetTabIndex(1));  // refused by the handler
    EXPECT_EQ(tabs.TabIndex(), 2);
    EXPECT_EQ(asked, (std::vector<int>{2, 1}));
}

} // namespace
