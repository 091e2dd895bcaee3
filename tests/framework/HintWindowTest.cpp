#include "framework/HintWindow.h"
#include "framework/Hints.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QHelpEvent>
#include <QPointer>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

namespace {

// A window with two hinted buttons, a plain one, and a hinted panel holding an unhinted child.
class HintMachinery : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetHintClockRunning(false);
        SetHintWindowClass(NewHintWindow<THintWindow>);
        SetShowHints(false);
        SetShowHints(true);
        SetHintPause(kDefaultHintPause);
        window.setGeometry(100, 100, 300, 200);
        first.setGeometry(10, 10, 40, 30);
        second.setGeometry(60, 10, 40, 30);
        plain.setGeometry(110, 10, 40, 30);
        panel.setGeometry(10, 60, 200, 100);
        child.setGeometry(10, 10, 50, 30);
        SetHint(&first, QStringLiteral("First & only"));
        SetShowHint(&first, true);
        SetHint(&second, QStringLiteral("Second"));
        SetShowHint(&second, true);
        SetHint(&plain, QStringLiteral("Switched off"));
        SetHint(&panel, QStringLiteral("Panel"));
        SetShowHint(&panel, true);
        window.show();
        QApplication::setActiveWindow(&window);
    }

    void TearDown() override
    {
        CancelHint();
        SetHintWindowClass(nullptr);
        SetShowHints(false);
        SetShowHints(true);
        SetHintClockRunning(true);
    }

    // Moves the mouse onto the control, each time to another point of it.
    void RestOn(QWidget* control)
    {
        moves_ = (moves_ + 1) % 8;
        QTest::mouseMove(control, QPoint(4 + moves_, 5));
    }

    QWidget window;
    QWidget first{&window}, second{&window}, plain{&window}, panel{&window};
    QWidget child{&panel};

private:
    int moves_ = 0;
};

TEST_F(HintMachinery, SwallowsTheDesktopTipOnceAHintWindowClassIsInstalled)
{
    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), first.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&first, &help);
    EXPECT_FALSE(QToolTip::isVisible());

    SetHintWindowClass(nullptr);
    QApplication::sendEvent(&first, &help);
    EXPECT_TRUE(QToolTip::isVisible());
    QToolTip::hideText();
}

TEST_F(HintMachinery, ShowsTheMeasuredHintAfterThePauseAndHidesIt)
{
    SetHintPause(600);
    RestOn(&first);
    EXPECT_EQ(HintControl(), &first);
    EXPECT_EQ(DueHintPause(), 600);
    THintWindow* hint = HintWindow();
    ASSERT_NE(hint, nullptr);
    EXPECT_FALSE(hint->isVisible());

    ASSERT_TRUE(ShowDueHint());
    EXPECT_TRUE(hint->isVisible());
    EXPECT_EQ(hint->Caption(), QStringLiteral("First & only"));
    TRect measured = Rect(0, 0, 800, 0);
    hint->Canvas().DrawText(QStringLiteral("First & only"), measured, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    EXPECT_EQ(hint->size(), QSize(measured.Width() + 6, measured.Height() + 2));
    EXPECT_EQ(DueHintPause(), -1);

    ASSERT_TRUE(HideDueHint());
    EXPECT_FALSE(hint->isVisible());
    RestOn(&first);  // still on the same control: not again until the mouse leaves it
    EXPECT_EQ(DueHintPause(), -1);
    EXPECT_FALSE(HideDueHint());
}

TEST_F(HintMachinery, ShowsOnlyHintsThatAreSwitchedOnInTheActiveWindow)
{
    RestOn(&plain);
    EXPECT_EQ(HintControl(), nullptr);
    EXPECT_FALSE(ShowDueHint());

    RestOn(&child);  // no hint of its own: its panel's shows
    EXPECT_EQ(HintControl(), &panel);

    first.setEnabled(false);  // disabled controls show their hints too
    RestOn(&first);
    EXPECT_EQ(HintControl(), &first);

    QWidget other;
    other.setGeometry(500, 100, 100, 100);
    other.show();
    QApplication::setActiveWindow(&other);
    RestOn(&second);
    EXPECT_EQ(HintControl(), nullptr);
}

TEST_F(HintMachinery, MovingStraightToTheNextHintUsesTheShortPause)
{
    RestOn(&first);
    ASSERT_TRUE(ShowDueHint());
    RestOn(&second);
    EXPECT_FALSE(HintWindow()->isVisible());
    EXPECT_EQ(DueHintPause(), kHintShortPause);
    ASSERT_TRUE(ShowDueHint());
    EXPECT_EQ(HintWindow()->Caption(), QStringLiteral("Second"));
}

TEST_F(HintMachinery, KeysClicksAndLeavingEndTheHint)
{
    RestOn(&first);
    ASSERT_TRUE(ShowDueHint());
    QTest::keyClick(&window, Qt::Key_A);
    EXPECT_FALSE(HintWindow()->isVisible());
    EXPECT_EQ(HintControl(), nullptr);

    RestOn(&first);
    ASSERT_TRUE(ShowDueHint());
    QTest::mouseClick(&first, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(HintWindow()->isVisible());

    RestOn(&first);
    EXPECT_GE(DueHintPause(), 0);  // the click ended the hint: the next move makes it due again
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&first, &leave);
    EXPECT_EQ(DueHintPause(), -1);
    EXPECT_FALSE(ShowDueHint());
}

TEST_F(HintMachinery, TheShowHintsSwitchMakesAndDestroysTheWindow)
{
    QPointer<THintWindow> old = HintWindow();
    ASSERT_FALSE(old.isNull());
    SetHintColor(clRed);
    EXPECT_EQ(HintWindow(), old.data());  // a new colour waits for the next window
    SetShowHints(false);
    EXPECT_TRUE(old.isNull());
    EXPECT_EQ(HintWindow(), nullptr);
    RestOn(&first);
    EXPECT_FALSE(ShowDueHint());
    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), first.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&first, &help);
    EXPECT_FALSE(QToolTip::isVisible());  // hints off: no tip of any kind

    SetShowHints(true);
    ASSERT_NE(HintWindow(), nullptr);
    EXPECT_EQ(HintWindow()->Color(), clRed);
    RestOn(&second);
    ASSERT_TRUE(ShowDueHint());
    EXPECT_EQ(PixelAt(HintWindow()->grab().toImage(), 1, 1), clRed);
}

} // namespace
