#include "balloon/Zelhint.h"

#include "framework/Application.h"
#include "framework/Hints.h"
#include "framework/SpeedButton.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QCursor>
#include <QPointer>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using enum THintDirection;

// A main window in the button face colour with the Start button and a manager in its defaults.
class ZelHint : public ::testing::Test {
protected:
    static TNewHint* BalloonWindow() { return qobject_cast<TNewHint*>(HintWindow()); }

    void SetUp() override
    {
        SetHintClockRunning(false);
        SetBalloonBackdrop(TBalloonBackdrop::bbScreenCopy);
        form.setGeometry(100, 100, 300, 200);
        SetMainForm(&form);
        start.setGeometry(8, 8, 25, 25);
        SetHint(&start, QStringLiteral("Перемешать."));
        SetShowHint(&start, true);
        form.show();
        QCoreApplication::processEvents();  // shows and paints the screen beneath the balloons
        QApplication::setActiveWindow(&form);
        manager = new TZelHint(&form);
    }

    void TearDown() override
    {
        SetMainForm(nullptr);
        ResetHints(nullptr, true);
    }

    // Activates the balloon for a 66 x 18 text rectangle with the mouse at the screen point.
    TNewHint* ActivateAt(QPoint mouse)
    {
        QCursor::setPos(mouse);
        BalloonWindow()->ActivateHint(Bounds(mouse.x(), mouse.y() + 20, 66, 18), QStringLiteral("Ok"));
        return BalloonWindow();
    }

    QWidget form;
    TSpeedButton start{&form};
    TZelHint* manager = nullptr;
};

TEST_F(ZelHint, ColoursAndDirectionWaitForTheNextBalloonAndWithoutAManagerItTakesTheDefaults)
{
    const QPointer<TNewHint> window = BalloonWindow();
    const QImage defaults = ActivateAt({200, 250})->grab().toImage();
    ExpectPixels(defaults, {{50, 10, clYellow}, {78, 18, clPurple}});  // right of the short text; its shadow
    manager->SetHintColor(clRed);
    manager->SetHintShadowColor(clNavy);
    manager->SetHintDirection(hdDownLeft);
    EXPECT_EQ(BalloonWindow(), window.data());
    ActivateAt({200, 150});
    ActivateAt({200, 150});  // a second activation before any paint
    const QImage picture = window->grab().toImage();
    EXPECT_EQ(window->ShownDirection(), hdDownLeft);
    // Beside a shadow pixel the captured main window shows through.
    ExpectPixels(picture, {{50, 27, clRed}, {78, 34, clNavy}, {79, 34, kTestBtnFace}});
    EXPECT_EQ(window->grab().toImage(), picture);       // uncovered again: the same balloon

    delete manager;  // the balloon stays installed and draws as a manager in its defaults
    EXPECT_EQ(ActivateAt({200, 250})->grab().toImage(), defaults);
}

TEST_F(ZelHint, AnEventChoosesTheDirectionOfOneHintAndMayReplaceTheWindow)
{
    manager->SetOnSelectHintDirection([this](QWidget* control, THintDirection& direction) {
        EXPECT_EQ(control, &start);  // the control under the mouse
        direction = hdDownLeft;
    });
    const QPointer<TNewHint> window = ActivateAt(start.mapToGlobal(QPoint(12, 12)));
    EXPECT_EQ(std::pair(window->ShownDirection(), manager->HintDirection()), std::pair(hdDownLeft, hdUpRight));

    // A handler that gives the manager a new font replaces the very window it was called from:
    // that activation ends there, and the new window shows the next hint.
    manager->SetOnSelectHintDirection([this](QWidget*, THintDirection&) { manager->SetHintFont(TFont()); });
    ActivateAt({200, 250});
    EXPECT_TRUE(window.isNull());
    manager->SetOnSelectHintDirection(nullptr);
    EXPECT_TRUE(ActivateAt({200, 250})->isVisible());
}

// That a new font makes a new window is the test above.
TEST_F(ZelHint, TheStartButtonsBalloonIsMeasuredInTheManagersFontAboveRight)
{
    const TFont font = MakeFont(QStringLiteral("MS Sans Serif"), 16, clBlack, true, true);  // the main window's
    manager->SetHintFont(font);
    QTest::mouseMove(&start, QPoint(12, 12));
    ASSERT_TRUE(ShowDueHint());
    EXPECT_EQ(BalloonWindow()->Caption(), QStringLiteral("Перемешать."));
    TCanvas measure;
    measure.Font = font;
    const QSize size(measure.TextWidth(QStringLiteral("Перемешать.")) + 22, measure.TextHeight({}) + 22);
    EXPECT_EQ(BalloonWindow()->geometry(), QRect(QCursor::pos() - QPoint(0, 5 + size.height()), size));
}

TEST_F(ZelHint, WhereTheScreenCannotBeCopiedTheBalloonFloatsInATranslucentWindow)
{
    SetBalloonBackdrop(TBalloonBackdrop::bbTranslucent);
    manager->RecreateHintWindow();  // the backdrop is chosen as the window is made
    TNewHint* window = ActivateAt({200, 250});
    window->grab();  // paints the balloon into its picture
    const QImage picture = window->HintPicture();
    ASSERT_EQ(picture.size(), QSize(82, 38));
    // Beside the body above the shadow, an unset and a set pixel of the dithered shadow, the body.
    EXPECT_EQ((std::vector{qAlpha(picture.pixel(81, 2)), qAlpha(picture.pixel(79, 18)), qAlpha(picture.pixel(78, 18)),
                           qAlpha(picture.pixel(40, 10))}),
              (std::vector{0, 0, 255, 255}));
}

} // namespace
