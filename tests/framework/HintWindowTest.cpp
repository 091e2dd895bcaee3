#include "framework/HintWindow.h"
#include "framework/Hints.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QHelpEvent>
#include <QTest>
#include <QToolTip>
#include <functional>
#include <gtest/gtest.h>

namespace {

// A window with two hinted controls, one whose hint is off, a hinted panel holding an unhinted
// child and a toolkit control with only a tool tip; plain hint windows installed, the clock stopped.
class HintMachinery : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetHints(NewHintWindow<THintWindow>, false);
        window.setGeometry(100, 100, 300, 200);
        int left = 10;
        for (QWidget* control : {&first, &second, &off, &panel, &plain})
            control->setGeometry(std::exchange(left, left + 55), 10, 50, 50);
        child.setGeometry(5, 5, 40, 40);
        for (QWidget* control : {&first, &second, &off, &panel}) {
            SetHint(control, QStringLiteral("First & only"));
            SetShowHint(control, control != &off);
        }
        plain.setToolTip(QStringLiteral("Back"));
        window.show();
        QApplication::setActiveWindow(&window);
    }

    void TearDown() override { ResetHints(nullptr, true); }

    // Moves the mouse onto the control, each time to another point of it.
    void RestOn(QWidget* control) { QTest::mouseMove(control, QPoint(30 + (++moves_ % 8), 30)); }

    QWidget window;
    QWidget first{&window}, second{&window}, off{&window}, panel{&window}, plain{&window};
    QWidget child{&panel};
    int moves_ = 0;
};

TEST_F(HintMachinery, ShowsTheHintAfterThePauseInsteadOfTheDesktopTip)
{
    const auto desktopTipShows = [](QWidget* control) {
        QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), control->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(control, &help);
        return QToolTip::isVisible();
    };
    EXPECT_FALSE(desktopTipShows(&first));
    SetHintPause(600);
    RestOn(&first);
    EXPECT_EQ(DueHintPause(), 600);
    EXPECT_FALSE(HintWindow()->isVisible());
    ASSERT_TRUE(ShowDueHint());
    EXPECT_EQ(HintWindow()->Caption(), QStringLiteral("First & only"));
    ASSERT_TRUE(HideDueHint());  // the hide pause is over
    RestOn(&first);              // not again until the mouse leaves the control
    EXPECT_EQ(DueHintPause(), -1);
}

TEST_F(HintMachinery, ShowsOnlyHintsThatAreSwitchedOnInTheActiveWindowAndToolkitToolTips)
{
    first.setEnabled(false);  // disabled controls show their hints too
    // The child has no hint: its panel's shows; the plain control's own tool tip shows in the hint window.
    using Pair = std::pair<QWidget*, QWidget*>;
    for (auto [control, shown] : {Pair(&off, nullptr), Pair(&child, &panel), Pair(&first, &first), Pair(&plain, &plain)}) {
        RestOn(control);
        EXPECT_EQ(HintControl(), shown);
    }
    ASSERT_TRUE(ShowDueHint());
    EXPECT_EQ(HintWindow()->Caption(), QStringLiteral("Back"));

    QApplication::setActiveWindow(nullptr);
    RestOn(&second);
    EXPECT_EQ(HintControl(), nullptr);
}

TEST_F(HintMachinery, EndsOnLeavingKeysAndClicksAndOnlyLeavingHurriesTheNextHint)
{
    const std::pair<std::function<void()>, int> enders[] = {
        // The desktop says the mouse left, then where it is.
        {[&] { QEvent leave(QEvent::Leave); QApplication::sendEvent(&first, &leave); }, kHintShortPause},
        {[&] { QTest::keyClick(&window, Qt::Key_A); }, kDefaultHintPause},
        {[&] { QTest::mouseClick(&first, Qt::LeftButton, {}, QPoint(5, 5)); }, kDefaultHintPause},
    };
    for (const auto& [end, nextPause] : enders) {
        RestOn(&first);
        ASSERT_TRUE(ShowDueHint());
        end();
        EXPECT_FALSE(HintWindow()->isVisible());
        EXPECT_EQ(HintControl(), nullptr);
        RestOn(&second);
        EXPECT_EQ(DueHintPause(), nextPause);
    }
}

} // namespace
