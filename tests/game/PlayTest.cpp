// Playing beyond the mouse: keys on the board, undo and redo, a peek at the picture, hints and
// a solve, through the main window.

#include "game/Commands.h"
#include "tests/game/WindowTestSupport.h"

#include <QKeyEvent>
#include <QTimer>

namespace {

class PlayTest : public TWindowTest {
protected:
    PlayTest()
    {
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
    // Fires a running timer of the window once, as its interval would.
    static void Step(QTimer* timer)
    {
        ASSERT_TRUE(timer->isActive());
        ASSERT_TRUE(QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection));
    }
    // What the window shows of each command, the tool bar's and the clock's included.
    TCommandStates Shown() const
    {
        return {.StartButton = form.SpeedButton1->isEnabled(), .StartItem = form.Start1->isEnabled(),
                .Pause = form.Pause1->isEnabled() && form.SpeedButton4->isEnabled(),
                .PauseSaysContinue = Hint(form.SpeedButton4) == QString("Продолжить."),
                .TimeHint = ShowHint(form.Label1), .TimeEnabled = form.Label1->isEnabled(),
                .ClockRuns = form.Timer1->isActive(), .Hint = form.Hint1->isEnabled(), .Solve = form.Solve1->isEnabled(),
                .Undo = form.Undo1->isEnabled(), .Redo = form.Redo1->isEnabled(), .Peek = form.Peek1->isEnabled()};
    }
    // The board, the peek over it included.
    QImage Board() const { return form.centralWidget()->grab(QRect(0, 40, 276, 276)).toImage(); }
};

TEST_F(PlayTest, EveryCommandShowsWhetherItCanActInEveryStateOfTheGame)
{
    const auto expectShown = [this](const char* state) {
        EXPECT_EQ(Shown(), CommandStates(form.Game, form.Peeking())) << state;
    };
    expectShown("playing");
    Key(Qt::Key_Right);
    expectShown("a move made");
    form.Undo1->trigger();
    expectShown("a move taken back");
    Space(QEvent::KeyPress);
    expectShown("peeking");
    Space(QEvent::KeyRelease);
    form.SpeedButton4->click();
    expectShown("paused");
    form.SpeedButton4->click();
    form.Solve1->trigger();
    expectShown("solving");  // the clock stopped at once
    form.WaitForSolver();
    Key(Qt::Key_Escape);
    expectShown("solved");
    form.N1x1Click();
    expectShown("1 x 1");
}

TEST_F(PlayTest, ArrowKeysSlideTheTileOnThatSideOfTheGapTowardsIt)
{
    const TPosition start = form.Game.Position();
    Key(Qt::Key_Left);  // nothing lies right of the gap in the corner, nor below it
    Key(Qt::Key_Up);
    EXPECT_EQ(form.Game.Position(), start);
    for (auto [key, gap] : {std::pair{Qt::Key_Right, 24}, {Qt::Key_Down, 19}, {Qt::Key_Left, 20}, {Qt::Key_Up, 25}}) {
        Key(key);
        EXPECT_EQ(GapPos, gap) << key;
    }
    EXPECT_EQ(form.Grid().AtPosition(24, 5), start.Cells[18]);  // three pieces turned round the square
}

// That the clock runs on and a new move forgets what could be made again are the commands' tests.
TEST_F(PlayTest, UndoAndRedoTakeMovesBackAndMakeThemAgainByKeysAndMenu)
{
    const QImage start = Board();
    for (int key : {Qt::Key_Right, Qt::Key_Down, Qt::Key_Right})
        Key(key);
    const QImage after = Board();
    Key(Qt::Key_Z, Qt::ControlModifier);
    Key(Qt::Key_Z, Qt::ControlModifier);
    form.Undo1->trigger();
    EXPECT_EQ(Board(), start);  // the board as it was
    Key(Qt::Key_Y, Qt::ControlModifier);
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    form.Redo1->trigger();
    EXPECT_EQ(Board(), after);  // and as it was after the moves
}

TEST_F(PlayTest, APeekShowsTheWholePictureWhileSpaceIsHeldAndLeavesTheBoardAsItWas)
{
    const QImage before = Board();
    Space(QEvent::KeyPress);
    ASSERT_TRUE(form.Peeking());
    // The picture as the 1 x 1 board shows it: its centre where the board's centre is.
    const QImage peek = Board();
    const QImage whole = form.Image1->Picture().Image().scaled(250, 250, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    EXPECT_EQ(peek.pixelColor(5 + 125, 5 + 125), whole.pixelColor(125, 125));
    EXPECT_EQ(peek.pixelColor(5 + 240, 5 + 240), whole.pixelColor(240, 240));  // where the gap is
    QTest::mouseClick(form.TileAt(24), Qt::LeftButton, {}, QPoint(3, 3));
    Key(Qt::Key_Right);
    EXPECT_EQ(GapPos, 25);  // no moves while the picture shows; the clock goes on, as the commands' test shows
    Space(QEvent::KeyRelease, true);  // held: the keyboard repeats, the peek stays
    Space(QEvent::KeyPress, true);
    EXPECT_TRUE(form.Peeking());
    Space(QEvent::KeyRelease);
    EXPECT_FALSE(form.Peeking());
    EXPECT_EQ(Board(), before);

    form.Peek1->trigger();  // from the menu: two seconds
    EXPECT_TRUE(form.Peeking());
    Step(form.PeekTimer);
    EXPECT_FALSE(form.Peeking());
    Space(QEvent::KeyPress);
    QWidget other;  // another window takes the keyboard: the peek ends
    other.show();
    QApplication::setActiveWindow(&other);
    EXPECT_FALSE(form.Peeking());
    QApplication::setActiveWindow(&form);
    form.SpeedButton4Click();
    Space(QEvent::KeyPress);  // not during a pause
    EXPECT_FALSE(form.Peeking());
}

TEST_F(PlayTest, AHintBlinksTheFrameOfTheTileTheSolverMovesNextAndMovesNothing)
{
    for (int key : {Qt::Key_Right, Qt::Key_Down})
        Key(key);
    const TPosition before = form.Game.Position();
    const int expected = *THintPlanner(form.SolverOptions).NextMove(before);
    Key(Qt::Key_H);
    form.WaitForSolver();
    ASSERT_EQ(form.HintedTile(), expected);
    EXPECT_EQ(form.Game.Position(), before);
    const int p = form.Game.PositionOfTile(expected);
    std::vector<TBevelStyle> styles{form.FrameAt(p)->Style()};
    for (int blink = 0; blink < 6 && form.BlinkTimer->isActive(); ++blink) {
        Step(form.BlinkTimer);
        styles.push_back(form.FrameAt(p)->Style());
    }
    using enum TBevelStyle;
    EXPECT_EQ(styles, std::vector({bsLowered, bsRaised, bsLowered, bsRaised, bsLowered, bsRaised, bsRaised}));
    EXPECT_FALSE(form.BlinkTimer->isActive());
    EXPECT_EQ(form.HintedTile(), 0);
}

TEST_F(PlayTest, ASolvePlaysItselfHomeAndAKeyEndsItAtOnceWithoutAResult)
{
    const QString scores = form.ScoreFile.Path();
    const QByteArray saved = ReadFile(scores);
    TForm2 result(&form);
    TForm3 table(&form);
    Form2 = &result;
    Form3 = &table;
    ModalDriver noDialogs;

    form.Timer1Timer();
    form.Solve1->trigger();
    form.WaitForSolver();
    ASSERT_TRUE(form.Solving() && form.SolveTimer->isActive());
    const int gap = GapPos;
    Step(form.SolveTimer);
    Step(form.SolveTimer);
    EXPECT_NE(GapPos, gap);  // each move drawn as the player's would be
    EXPECT_FALSE(form.TileAt(GapPos)->isVisibleTo(&form));
    Key(Qt::Key_F2);  // any key ends the playback, and does nothing else
    EXPECT_FALSE(form.Solving() || form.Running());
    EXPECT_EQ(form.Game.Position(), GoalPosition(5));
    EXPECT_TRUE(form.TileAt(25)->isVisibleTo(&form));  // the whole picture
    EXPECT_EQ(form.Seconds(), 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(noDialogs.Handled() + noDialogs.Unexpected(), 0);  // no result dialog, no scores
    EXPECT_EQ(ReadFile(scores), saved);
    Form2 = nullptr;
    Form3 = nullptr;
}

} // namespace
