// Playing beyond the mouse: keys on the board, undo and redo, a peek at the picture, hints and
// a solve, through the main window.

#include "framework/Bevel.h"
#include "framework/Panel.h"
#include "framework/SpeedButton.h"
#include "game/Unit1.h"
#include "game/Unit3.h"
#include "game/Unit4.h"
#include "tests/support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class PlayTest : public ::testing::Test {
protected:
    PlayTest()
    {
        // Boards of 5 x 5 finish on 3 x 3, so that no test builds the 4 x 4 tables.
        form.SolverOptions.FinishOptimally = false;
        form.FinishStart();
        form.Start();
        // Shortcuts act in the active window.
        form.show();
        QApplication::setActiveWindow(&form);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
    }

    std::vector<int> Cells() const
    {
        std::vector<int> cells;
        for (int p = 1; p <= 25; ++p)
            cells.push_back(form.Grid().AtPosition(p, 5));
        return cells;
    }
    TPosition Position() const
    {
        TPosition position{5, {}};
        for (int cell : Cells())
            position.Cells.push_back(std::uint8_t(cell));
        return position;
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(&form, Qt::Key(key), modifiers); }
    void SpaceEvent(QEvent::Type type, bool autoRepeat)
    {
        QKeyEvent event(type, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), autoRepeat);
        QApplication::sendEvent(&form, &event);
    }
    // Fires a running timer of the window once, as its interval would.
    static void Step(QTimer* timer)
    {
        ASSERT_TRUE(timer->isActive());
        ASSERT_TRUE(QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection));
    }
    std::vector<bool> GameCommands() const
    {
        return {form.Hint1->isEnabled(), form.Solve1->isEnabled(), form.Undo1->isEnabled(), form.Redo1->isEnabled(),
                form.Peek1->isEnabled(), form.Pause1->isEnabled(), form.SpeedButton1->isEnabled()};
    }
    QImage Board() const { return form.centralWidget()->grab().toImage(); }

    QTemporaryDir dir;
    ScopedCurrentDir workIn{dir.path()};
    TForm1 form;
};

TEST_F(PlayTest, TheGameMenuActsOnlyWhileAGameIsPlayedAndNotPeeked)
{
    using Commands = std::vector<bool>;  // Hint, Solve, Undo, Redo, Peek, Pause, Start button
    EXPECT_EQ(GameCommands(), Commands({true, true, false, false, true, true, false}));
    Key(Qt::Key_Right);
    EXPECT_EQ(GameCommands(), Commands({true, true, true, false, true, true, false}));
    form.Undo1->trigger();
    EXPECT_EQ(GameCommands(), Commands({true, true, false, true, true, true, false}));
    SpaceEvent(QEvent::KeyPress, false);
    EXPECT_EQ(GameCommands(), Commands({false, false, false, false, false, true, false}));
    SpaceEvent(QEvent::KeyRelease, false);
    form.SpeedButton4Click();
    EXPECT_EQ(GameCommands(), Commands({false, false, false, false, false, true, false}));
    form.SpeedButton4Click();
    form.Solve1->trigger();
    EXPECT_EQ(GameCommands(), Commands({false, false, false, false, false, false, false}));
    EXPECT_FALSE(form.Timer1->isActive());  // the clock stops at once
    form.WaitForSolver();
    Key(Qt::Key_Escape);
    EXPECT_EQ(GameCommands(), Commands({false, false, false, false, false, false, true}));
    form.N1x1Click();
    EXPECT_EQ(GameCommands(), Commands({false, false, false, false, false, false, false}));
}

TEST_F(PlayTest, ArrowKeysSlideTheTileOnThatSideOfTheGapTowardsIt)
{
    const std::vector<int> start = Cells();
    Key(Qt::Key_Left);  // nothing lies right of the gap in the corner
    Key(Qt::Key_Up);
    EXPECT_EQ(Cells(), start);
    Key(Qt::Key_Right);  // the tile left of the gap slides right
    EXPECT_EQ(GapPos, 24);
    EXPECT_EQ(form.Grid().AtPosition(25, 5), start[23]);
    Key(Qt::Key_Down);  // the tile above slides down
    EXPECT_EQ(GapPos, 19);
    Key(Qt::Key_Left);
    EXPECT_EQ(GapPos, 20);
    Key(Qt::Key_Up);
    EXPECT_EQ(GapPos, 25);
    EXPECT_TRUE(form.TileAt(20)->isVisibleTo(&form) && !form.TileAt(25)->isVisibleTo(&form));
    form.SpeedButton4Click();  // paused: keys move nothing
    Key(Qt::Key_Right);
    EXPECT_EQ(GapPos, 25);
}

TEST_F(PlayTest, UndoAndRedoTakeMovesBackAndMakeThemAgainOnTheRunningClock)
{
    const QImage start = Board();
    const std::vector<int> startCells = Cells();
    for (int key : {Qt::Key_Right, Qt::Key_Down, Qt::Key_Right})
        Key(key);
    const std::vector<int> moved = Cells();
    const QImage after = Board();
    Key(Qt::Key_Z, Qt::ControlModifier);
    form.Timer1Timer();
    Key(Qt::Key_Z, Qt::ControlModifier);
    form.Undo1->trigger();
    EXPECT_EQ(Cells(), startCells);
    EXPECT_EQ(Board().copy(0, 40, 276, 276), start.copy(0, 40, 276, 276));  // the board as it was
    EXPECT_EQ(form.Seconds(), 1);
    EXPECT_FALSE(form.Undo1->isEnabled());
    Key(Qt::Key_Y, Qt::ControlModifier);
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    form.Redo1->trigger();
    EXPECT_EQ(Cells(), moved);
    EXPECT_EQ(Board().copy(0, 40, 276, 276), after.copy(0, 40, 276, 276));
    Key(Qt::Key_Z, Qt::ControlModifier);
    Key(Qt::Key_Left);  // a new move: nothing more to make again
    EXPECT_FALSE(form.Redo1->isEnabled());
}

TEST_F(PlayTest, APeekShowsTheWholePictureWhileSpaceIsHeldAndLeavesTheBoardAsItWas)
{
    const QImage before = Board();
    SpaceEvent(QEvent::KeyPress, false);
    ASSERT_TRUE(form.Peeking());
    const QImage peek = Board();
    // The picture as the 1 x 1 board shows it: its centre where the board's centre is.
    const QImage whole = form.Image1->Picture().Image().scaled(250, 250, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    EXPECT_EQ(peek.pixelColor(5 + 125, 45 + 125), whole.pixelColor(125, 125));
    EXPECT_EQ(peek.pixelColor(5 + 240, 45 + 240), whole.pixelColor(240, 240));  // where the gap is
    QTest::mouseClick(form.TileAt(24), Qt::LeftButton, {}, QPoint(3, 3));
    Key(Qt::Key_Right);
    EXPECT_EQ(GapPos, 25);  // no moves while the picture shows
    form.Timer1Timer();
    EXPECT_EQ(form.Seconds(), 1);  // the clock goes on
    SpaceEvent(QEvent::KeyRelease, true);  // held: the keyboard repeats, the peek stays
    SpaceEvent(QEvent::KeyPress, true);
    EXPECT_TRUE(form.Peeking());
    SpaceEvent(QEvent::KeyRelease, false);
    EXPECT_FALSE(form.Peeking());
    QImage after = Board();
    EXPECT_EQ(after.copy(0, 40, 276, 276), before.copy(0, 40, 276, 276));

    form.Peek1->trigger();  // from the menu: two seconds
    EXPECT_TRUE(form.Peeking());
    Step(form.PeekTimer);
    EXPECT_FALSE(form.Peeking());
    SpaceEvent(QEvent::KeyPress, false);
    QWidget other;  // another window takes the keyboard: the peek ends
    other.show();
    QApplication::setActiveWindow(&other);
    EXPECT_FALSE(form.Peeking());
    QApplication::setActiveWindow(&form);
    form.SpeedButton4Click();
    SpaceEvent(QEvent::KeyPress, false);  // not during a pause
    EXPECT_FALSE(form.Peeking());
}

TEST_F(PlayTest, AHintBlinksTheFrameOfTheTileTheSolverMovesNextAndMovesNothing)
{
    for (int key : {Qt::Key_Right, Qt::Key_Down})
        Key(key);
    const std::vector<int> before = Cells();
    const int expected = *THintPlanner(form.SolverOptions).NextMove(Position());
    Key(Qt::Key_H);
    form.WaitForSolver();
    ASSERT_EQ(form.HintedTile(), expected);
    EXPECT_EQ(Cells(), before);
    int p = 1;
    while (form.Grid().AtPosition(p, 5) != expected)
        ++p;
    EXPECT_GT(std::abs(p - GapPos) == 1 || std::abs(p - GapPos) == 5, 0);  // beside the gap
    std::vector<TBevelStyle> styles{form.FrameAt(p)->Style()};
    for (int blink = 0; blink < 6 && form.BlinkTimer->isActive(); ++blink) {
        Step(form.BlinkTimer);
        styles.push_back(form.FrameAt(p)->Style());
    }
    EXPECT_EQ(styles, std::vector<TBevelStyle>({TBevelStyle::bsLowered, TBevelStyle::bsRaised, TBevelStyle::bsLowered,
                                                TBevelStyle::bsRaised, TBevelStyle::bsLowered, TBevelStyle::bsRaised,
                                                TBevelStyle::bsRaised}));
    EXPECT_FALSE(form.BlinkTimer->isActive());
    EXPECT_EQ(form.HintedTile(), 0);
}

TEST_F(PlayTest, ASolvePlaysItselfHomeAndAKeyEndsItAtOnceWithoutAResult)
{
    const QString scores = form.ScoreFile.Path();
    const QByteArray saved = [&] { QFile f(scores); f.open(QIODevice::ReadOnly); return f.readAll(); }();
    const QDateTime modified = QFileInfo(scores).lastModified();
    TForm2 result(&form);
    TForm3 table(&form);
    Form2 = &result;
    Form3 = &table;
    ModalDriver noDialogs;

    form.Timer1Timer();
    form.Solve1->trigger();
    EXPECT_FALSE(form.Timer1->isActive());
    form.WaitForSolver();
    ASSERT_TRUE(form.Solving() && form.SolveTimer->isActive());
    const int gap = GapPos;
    Step(form.SolveTimer);
    Step(form.SolveTimer);
    EXPECT_NE(GapPos, gap);  // each move drawn as the player's would be
    EXPECT_FALSE(form.TileAt(GapPos)->isVisibleTo(&form));
    Key(Qt::Key_F2);  // any key ends the playback, and does nothing else
    EXPECT_FALSE(form.Solving() || form.Running());
    std::vector<int> home;
    for (int p = 1; p < 25; ++p)
        home.push_back(p);
    home.push_back(0);
    EXPECT_EQ(Cells(), home);
    EXPECT_TRUE(form.TileAt(25)->isVisibleTo(&form));  // the whole picture
    EXPECT_EQ(form.Seconds(), 1);
    EXPECT_TRUE(form.SpeedButton1->isEnabled() && form.Start1->isEnabled() && !form.Pause1->isEnabled());
    QCoreApplication::processEvents();
    EXPECT_EQ(noDialogs.Handled() + noDialogs.Unexpected(), 0);  // no result dialog, no scores
    QFile file(scores);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), saved);
    EXPECT_EQ(QFileInfo(scores).lastModified(), modified);
    Form2 = nullptr;
    Form3 = nullptr;
}

} // namespace
