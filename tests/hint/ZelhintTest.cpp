#include "hint/Zelhint.h"

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

constexpr TColor kScreen = clGreen;  // what the balloons float over

TNewHint* BalloonWindow()
{
    return qobject_cast<TNewHint*>(HintWindow());
}

// A main window at (100, 100), 300 x 200, in one plain colour, with the Start tool button and a
// manager in its defaults; the hint clock stopped.
class ZelHint : public ::testing::Test {
protected:
    // No hint window class, a fresh window of none, the default pause.
    static void ResetHintMachinery(bool clockRunning)
    {
        CancelHint();
        SetHintClockRunning(clockRunning);
        SetHintWindowClass(nullptr);
        SetShowHints(false);
        SetShowHints(true);
        SetHintPause(kDefaultHintPause);
    }

    void SetUp() override
    {
        ResetHintMachinery(false);
        SetBalloonBackdrop(TBalloonBackdrop::bbScreenCopy);
        form.setGeometry(100, 100, 300, 200);
        form.setPalette(QPalette(ToQColor(kScreen)));  // its window colour too
        form.setAutoFillBackground(true);
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
        ResetHintMachinery(true);
    }

    // Activates the balloon for a 66 x 18 text rectangle with the mouse at the screen point; the
    // text is short, so that the body's colour shows right of it.
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

TEST_F(ZelHint, AManagerAndTheBalloonWithoutOneDrawInTheDefaults)
{
    EXPECT_EQ(HintPause(), 600);
    EXPECT_EQ(BalloonWindow()->Canvas().Font, MakeFont(QStringLiteral("MS Sans Serif"), 16, clBlue, true, true));
    const auto expectDefaultLook = [this] {
        const QImage picture = ActivateAt({200, 250})->grab().toImage();
        EXPECT_EQ(PixelAt(picture, 50, 10), clYellow);
        EXPECT_EQ(PixelAt(picture, 78, 18), clPurple);
    };
    expectDefaultLook();
    EXPECT_EQ(BalloonWindow()->Manager(), manager);
    delete manager;  // the balloon stays installed
    expectDefaultLook();
    EXPECT_EQ(BalloonWindow()->Manager(), nullptr);
}

TEST_F(ZelHint, ColoursAndDirectionWaitForTheNextBalloonWhichFloatsOverTheScreenBeneath)
{
    SetHintPause(123);
    manager->SetHintPauseTime(600);  // unchanged: the application's pause is left alone
    EXPECT_EQ(HintPause(), 123);
    manager->SetHintPauseTime(750);
    EXPECT_EQ(HintPause(), 750);

    QPointer<TNewHint> window = BalloonWindow();
    manager->SetHintColor(clRed);
    manager->SetHintShadowColor(clNavy);
    manager->SetHintDirection(hdDownLeft);
    EXPECT_EQ(BalloonWindow(), window.data());
    ActivateAt({200, 150});
    ActivateAt({200, 150});  // a second activation before any paint
    const QImage picture = window->grab().toImage();
    EXPECT_EQ(window->ShownDirection(), hdDownLeft);
    EXPECT_EQ(PixelAt(picture, 50, 27), clRed);
    EXPECT_EQ(PixelAt(picture, 76, 0), clBlack);
    EXPECT_EQ(PixelAt(picture, 78, 34), clNavy);
    EXPECT_EQ(PixelAt(picture, 79, 34), kScreen);  // the captured screen shows through
    EXPECT_EQ(PixelAt(picture, 0, 0), kScreen);
    EXPECT_EQ(window->grab().toImage(), picture);  // uncovered again: the same balloon

    const TFont big = MakeFont(QStringLiteral("Times New Roman"), 30, clMaroon);
    manager->SetHintFont(big);
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(BalloonWindow()->Canvas().Font, big);  // the next texts are measured in it
}

TEST_F(ZelHint, AnEventChoosesTheDirectionOfOneHintAndMayReplaceTheWindow)
{
    QWidget* seen = nullptr;
    manager->SetOnSelectHintDirection([&](QWidget* control, THintDirection& direction) {
        seen = control;
        direction = hdDownLeft;
    });
    const QPoint overStart = start.mapToGlobal(QPoint(12, 12));
    TNewHint* window = ActivateAt(overStart);
    EXPECT_EQ(seen, &start);
    EXPECT_EQ(window->ShownDirection(), hdDownLeft);
    EXPECT_EQ(window->geometry(), QRect(overStart.x() + 6 - 82, overStart.y() + 15, 82, 47));
    EXPECT_EQ(manager->HintDirection(), hdUpRight);

    // A handler that gives the manager a new font replaces the very window it was called from:
    // that activation ends there, and the new window shows the next hint.
    const QPointer<TNewHint> replaced = window;
    manager->SetOnSelectHintDirection([this](QWidget*, THintDirection&) {
        manager->SetHintFont(MakeFont(QStringLiteral("Arial"), 20, clBlack));
    });
    ActivateAt({200, 250});
    EXPECT_TRUE(replaced.isNull());
    manager->SetOnSelectHintDirection(nullptr);
    ASSERT_NE(BalloonWindow(), nullptr);
    EXPECT_TRUE(ActivateAt({200, 250})->isVisible());
}

TEST_F(ZelHint, RestingOnTheStartButtonShowsItsBalloonAboveRightMeasuredInTheHintFont)
{
    const TFont font = MakeFont(QStringLiteral("MS Sans Serif"), 16, clBlack, true, true);  // the main window's
    manager->SetHintFont(font);
    QTest::mouseMove(&start, QPoint(12, 12));
    EXPECT_EQ(DueHintPause(), 600);
    ASSERT_TRUE(ShowDueHint());
    TNewHint* window = BalloonWindow();
    ASSERT_TRUE(window && window->isVisible());
    EXPECT_EQ(window->Caption(), QStringLiteral("Перемешать."));
    EXPECT_EQ(window->ShownDirection(), hdUpRight);
    TCanvas measure;
    measure.Font = font;
    const QSize size(measure.TextWidth(QStringLiteral("Перемешать.")) + 22, measure.TextHeight({}) + 22);
    EXPECT_EQ(window->geometry(), QRect(QCursor::pos() - QPoint(0, 5 + size.height()), size));
}

} // namespace
