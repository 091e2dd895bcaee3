// Playing beyond the mouse: keys on the board, undo and redo, a peek at the picture, hints and
// a solve, through the main window.

#include "game/Commands.h"
#include "tests/windows/WindowTestSupport.h"

#include <QKeyEvent>

namespace {

class PlayTest : public TWindowTest {
protected:
    PlayTest()
    {
        // Boards of 5 x 5 finish on 3 x 3, so that no test builds the 4 x 4 tables.
        form.Session().SetSolverOptions({.FinishOptimally = false});
        form.FinishStart();
        form.Start();
        // Shortcuts act in the active window.
        form.show();
        QApplication::setActiveWindow(&form);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
    }

    void Key(int key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(&form, Qt::Key(key), modifiers); }
    void Space(QEvent::Type type, bool autoRepeat = false)
    {
        QKeyEvent event(type, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), autoRepeat);
        QApplication::sendEvent(&form, &event);
    }
    // What the window shows of each command, the tool bar's and the clock's included.
    TCommandStates Shown()
    {
        const QString time = Time();
        clock.Advance(1000);
        const bool clockRuns = Time() != time;
        const auto* pause = Part<TSpeedButton>(form, "SpeedButton4");
        const auto* label = Part(form, "Label1");
        return {.StartButton = Part(form, "SpeedButton1")->isEnabled(), .StartItem = Item("Start1")->isEnabled(),
                .Pause = Item("Pause1")->isEnabled() && pause->isEnabled(),
                .PauseSaysContinue = Hint(pause) == QString("Продолжить."), .TimeHint = ShowHint(label),
                .TimeEnabled = label->isEnabled(), .ClockRuns = clockRuns, .Hint = Item("Hint1")->isEnabled(),
                .Solve = Item("Solve1")->isEnabled(), .Undo = Item("Undo1")->isEnabled(), .Redo = Item("Redo1")->isEnabled(),
                .Peek = Item("Peek1")->isEnabled()};
    }
    bool Peeking() const { return Part(form, "PeekPanel")->isVisibleTo(&form); }
    // The board, the peek over it included.
    QImage Picture() const { return form.centralWidget()->grab(QRect(0, 40, 276, 276)).toImage(); }
};

TEST_F(PlayTest, EveryCommandShowsWhetherItCanActInEveryStateOfTheGame)
{
    const auto expectShown = [this](const char* state) {
        EXPECT_EQ(Shown(), form.Session().Commands()) << state;
    };
    expectShown("playing");
    Key(Qt::Key_Right);
    expectShown("a move made");
    Item("Undo1")->trigger();
    expectShown("a move taken back");
    Space(QEvent::KeyPress);
    expectShown("peeking");
    Space(QEvent::KeyRelease);
    Part<TSpeedButton>(form, "SpeedButton4")->click();
    expectShown("paused");
    Part<TSpeedButton>(form, "SpeedButton4")->click();
    Item("Solve1")->trigger();
    expectShown("solving");  // the clock stopped at once
    form.Session().WaitForWork();
    Key(Qt::Key_Escape);
    expectShown("solved");
    form.N1x1Click();
    expectShown("1 x 1");
}

TEST_F(PlayTest, ArrowKeysSlideTheTileOnThatSideOfTheGapTowardsIt)
{
    const TPosition start = form.Session().Game().Position();
    Key(Qt::Key_Left);  // nothing lies right of the gap in the corner, nor below it
    Key(Qt::Key_Up);
    EXPECT_EQ(form.Session().Game().Position(), start);
    for (auto [key, gap] : {std::pair{Qt::Key_Right, 24}, {Qt::Key_Down, 19}, {Qt::Key_Left, 20}, {Qt::Key_Up, 25}}) {
        Key(key);
        EXPECT_EQ(GapPos, gap) << key;
    }
    EXPECT_EQ(form.Grid().AtPosition(24, 5), start.Cells[18]);  // three pieces turned round the square
}

// That the clock runs on and a new move forgets what could be made again are the commands' tests.
TEST_F(PlayTest, UndoAndRedoTakeMovesBackAndMakeThemAgainByKeysAndMenu)
{
    const QImage start = Picture();
    for (int key : {Qt::Key_Right, Qt::Key_Down, Qt::Key_Right})
        Key(key);
    const QImage after = Picture();
    Key(Qt::Key_Z, Qt::ControlModifier);
    Key(Qt::Key_Z, Qt::ControlModifier);
    Item("Undo1")->trigger();
    EXPECT_EQ(Picture(), start);  // the board as it was
    Key(Qt::Key_Y, Qt::ControlModifier);
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    Item("Redo1")->trigger();
    EXPECT_EQ(Picture(), after);  // and as it was after the moves
}

TEST_F(PlayTest, APeekShowsTheWholePictureWhileSpaceIsHeldAndLeavesTheBoardAsItWas)
{
    const QImage before = Picture();
    Space(QEvent::KeyPress);
    ASSERT_TRUE(Peeking());
    // The picture as the 1 x 1 board shows it: its centre where the board's centre is.
    const QImage peek = Picture();
    const QImage whole = form.Session().Picture().scaled(250, 250, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    EXPECT_EQ(peek.pixelColor(5 + 125, 5 + 125), whole.pixelColor(125, 125));
    EXPECT_EQ(peek.pixelColor(5 + 240, 5 + 240), whole.pixelColor(240, 240));  // where the gap is
    Click(24);
    Key(Qt::Key_Right);
    EXPECT_EQ(GapPos, 25);  // no moves while the picture shows; the clock goes on, as the commands' test shows
    Space(QEvent::KeyRelease, true);  // held: the keyboard repeats, the peek stays
    Space(QEvent::KeyPress, true);
    EXPECT_TRUE(Peeking());
    Space(QEvent::KeyRelease);
    EXPECT_FALSE(Peeking());
    EXPECT_EQ(Picture(), before);

    Item("Peek1")->trigger();  // from the menu: two seconds
    EXPECT_TRUE(Peeking());
    clock.Advance(2000);
    EXPECT_FALSE(Peeking());
    Space(QEvent::KeyPress);
    QWidget other;  // another window takes the keyboard: the peek ends
    other.show();
    QApplication::setActiveWindow(&other);
    EXPECT_FALSE(Peeking());
}

TEST_F(PlayTest, AHintBlinksTheFrameOfTheTileTheSolverMovesNextAndMovesNothing)
{
    for (int key : {Qt::Key_Right, Qt::Key_Down})
        Key(key);
    const TPosition before = form.Session().Game().Position();
    const int expected = *THintPlanner({.FinishOptimally = false}).NextMove(before);
    Key(Qt::Key_H);
    form.Session().WaitForWork();
    EXPECT_EQ(form.Session().Game().Position(), before);
    const int p = form.Session().Game().PositionOfTile(expected);
    std::vector<TBevelStyle> styles{Board()->FrameAt(p)->Style()};
    for (int blink = 0; blink < 7; ++blink) {
        clock.Advance(160);
        styles.push_back(Board()->FrameAt(p)->Style());
    }
    using enum TBevelStyle;
    EXPECT_EQ(styles, std::vector({bsLowered, bsRaised, bsLowered, bsRaised, bsLowered, bsRaised, bsRaised, bsRaised}));
    for (int q = 1; q <= 25; ++q)
        EXPECT_EQ(Board()->FrameAt(q)->Style(), bsRaised) << q;
}

TEST_F(PlayTest, ASolvePlaysItselfHomeAndAKeyEndsItAtOnceWithoutAResult)
{
    const QString scores = form.Session().ScoreFile().Path();
    const QByteArray saved = ReadFile(scores);
    TForm2 result(&form);
    TForm3 table(&form);
    Form2 = &result;
    Form3 = &table;
    ModalDriver noDialogs;

    clock.Advance(1000);
    Item("Solve1")->trigger();
    form.Session().WaitForWork();
    ASSERT_TRUE(form.Session().Solving());
    const int gap = GapPos;
    clock.Advance(250);
    EXPECT_NE(GapPos, gap);  // each move drawn as the player's would be
    EXPECT_FALSE(TileAt(GapPos)->isVisibleTo(&form));
    Key(Qt::Key_F2);  // any key ends the playback, and does nothing else
    EXPECT_FALSE(form.Session().Solving() || form.Running());
    EXPECT_EQ(form.Session().Game().Position(), GoalPosition(5));
    EXPECT_TRUE(TileAt(25)->isVisibleTo(&form));  // the whole picture
    EXPECT_EQ(form.Seconds(), 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(noDialogs.Handled() + noDialogs.Unexpected(), 0);  // no result dialog, no scores
    EXPECT_EQ(ReadFile(scores), saved);
    Form2 = nullptr;
    Form3 = nullptr;
}

} // namespace
