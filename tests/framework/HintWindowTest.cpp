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

// A window with two hinted controls, one whose hint is off, a hinted panel holding an unhinted
// child and a toolkit control with only a tool tip; plain hint windows installed, the clock stopped.
class HintMachinery : public ::testing::Test {
protected:
    // The given hint window class, a fresh window of it, the default pause.
    static void ResetHintMachinery(THintWindowClass windowClass, bool clockRunning)
    {
        CancelHint();
        SetHintClockRunning(clockRunning);
        SetHintWindowClass(windowClass);
        SetShowHints(false);
        SetShowHints(true);
        SetHintPause(kDefaultHintPause);
    }

    void SetUp() override
    {
        ResetHintMachinery(NewHintWindow<THintWindow>, false);
        window.setGeometry(100, 100, 300, 200);
        int left = 10;
        for (QWidget* control : {&first, &second, &off, &panel, &plain})
            control->setGeometry(std::exchange(left, left + 55), 10, 50, 50);
        child.setGeometry(5, 5, 40, 40);
        for (auto [control, text] : {std::pair(&first, "First & only"), {&second, "Second"}, {&panel, "Panel"}}) {
            SetHint(control, QString::fromUtf8(text));
            SetShowHint(control, true);
        }
        SetHint(&off, QStringLiteral("Switched off"));
        plain.setToolTip(QStringLiteral("Back"));
        window.show();
        QApplication::setActiveWindow(&window);
    }

    void TearDown() override { ResetHintMachinery(nullptr, true); }

    // Moves the mouse onto the control, each time to another point of it.
    void RestOn(QWidget* control) { QTest::mouseMove(control, QPoint(30 + (++moves_ % 8), 30)); }

    bool DesktopTipShows(QWidget* control)
    {
        QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), control->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(control, &help);
        const bool shows = QToolTip::isVisible();
        QToolTip::hideText();
        return shows;
    }

    QWidget window;
    QWidget first{&window}, second{&window}, off{&window}, panel{&window}, plain{&window};
    QWidget child{&panel};
    int moves_ = 0;
};

TEST_F(HintMachinery, ShowsTheMeasuredHintAfterThePauseInsteadOfTheDesktopTip)
{
    EXPECT_FALSE(DesktopTipShows(&first));
    EXPECT_FALSE(DesktopTipShows(&plain));
    SetHintPause(600);
    RestOn(&first);
    EXPECT_EQ(DueHintPause(), 600);
    THintWindow* hint = HintWindow();
    EXPECT_FALSE(hint->isVisible());
    ASSERT_TRUE(ShowDueHint());
    EXPECT_TRUE(hint->isVisible());
    EXPECT_EQ(hint->Caption(), QStringLiteral("First & only"));
    TRect measured = Rect(0, 0, 800, 0);
    hint->Canvas().DrawText(QStringLiteral("First & only"), measured, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    EXPECT_EQ(hint->size(), QSize(measured.Width() + 6, measured.Height() + 2));

    ASSERT_TRUE(HideDueHint());  // the hide pause is over
    EXPECT_FALSE(hint->isVisible());
    RestOn(&first);  // not again until the mouse leaves the control
    EXPECT_EQ(DueHintPause(), -1);

    SetHintWindowClass(nullptr);
    EXPECT_TRUE(DesktopTipShows(&first));
}

TEST_F(HintMachinery, ShowsOnlyHintsThatAreSwitchedOnInTheActiveWindowAndToolkitToolTips)
{
    RestOn(&off);
    EXPECT_EQ(HintControl(), nullptr);
    EXPECT_FALSE(ShowDueHint());
    RestOn(&child);  // no hint of its own: its panel's shows
    EXPECT_EQ(HintControl(), &panel);
    first.setEnabled(false);  // disabled controls show their hints too
    RestOn(&first);
    EXPECT_EQ(HintControl(), &first);
    RestOn(&plain);  // never given a hint: its own tool tip shows in the hint window
    ASSERT_TRUE(ShowDueHint());
    EXPECT_EQ(HintWindow()->Caption(), QStringLiteral("Back"));

    QWidget other;
    other.setGeometry(500, 100, 100, 100);
    other.show();
    QApplication::setActiveWindow(&other);
    RestOn(&second);
    EXPECT_EQ(HintControl(), nullptr);
}

TEST_F(HintMachinery, EndsOnKeysClicksAndLeavingAndHurriesToTheNextControl)
{
    RestOn(&first);
    ASSERT_TRUE(ShowDueHint());
    QEvent leaveFirst(QEvent::Leave);  // the desktop says the mouse left, then where it is
    QApplication::sendEvent(&first, &leaveFirst);
    EXPECT_FALSE(HintWindow()->isVisible());
    RestOn(&second);
    EXPECT_EQ(DueHintPause(), kHintShortPause);

    ASSERT_TRUE(ShowDueHint());
    QTest::keyClick(&window, Qt::Key_A);
    EXPECT_FALSE(HintWindow()->isVisible());
    EXPECT_EQ(HintControl(), nullptr);

    RestOn(&first);
    ASSERT_TRUE(ShowDueHint());
    QTest::mouseClick(&first, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(HintWindow()->isVisible());

    RestOn(&first);
    EXPECT_EQ(DueHintPause(), kDefaultHintPause);  // due again after the click
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&first, &leave);
    EXPECT_FALSE(ShowDueHint());
}

TEST_F(HintMachinery, TheShowHintsSwitchDestroysTheWindowAndMakesANewOneInTheHintColour)
{
    QPointer<THintWindow> old = HintWindow();
    SetHintColor(clRed);
    EXPECT_EQ(HintWindow(), old.data());  // a new colour waits for the next window
    SetShowHints(false);
    EXPECT_TRUE(old.isNull());
    RestOn(&first);
    EXPECT_FALSE(ShowDueHint());
    EXPECT_FALSE(DesktopTipShows(&first));  // hints off: no tip of any kind
    SetShowHints(true);
    RestOn(&second);
    ASSERT_TRUE(ShowDueHint());
    EXPECT_EQ(PixelAt(HintWindow()->grab().toImage(), 1, 1), clRed);
}

} // namespace
