#include "tests/windows/WindowTestSupport.h"

#include <QKeyEvent>

namespace {

class PlayTest : public TShownWindowTest {
protected:
    PlayTest() { form.Start(); }

    void Key(int key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(&form, Qt::Key(key), modifiers); }
    void Space(QEvent::Type type)
    {
        QKeyEvent event(type, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
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
                .NewGame = Item("NewGame1")->isEnabled(), .Pause = Item("Pause1")->isEnabled() && pause->isEnabled(),
                .PauseSaysContinue = Hint(pause) == QString("Продолжить."), .TimeHint = ShowHint(label),
                .TimeEnabled = label->isEnabled(), .ClockRuns = clockRuns, .Hint = Item("Hint1")->isEnabled(),
                .Solve = Item("Solve1")->isEnabled(), .Undo = Item("Undo1")->isEnabled(), .Redo = Item("Redo1")->isEnabled(),
                .Peek = Item("Peek1")->isEnabled()};
    }
    bool Peeking() const { return Part(form, "PeekPanel")->isVisibleTo(&form); }
    // The board as the window shows it.
    QImage Picture() const { return form.centralWidget()->grab(QRect(0, 40, 276, 276)).toImage(); }
};

// Which commands act when is the game's test: here the window shows each of them either way.
TEST_F(PlayTest, EveryCommandShowsWhetherItCanActInEveryStateOfTheGame)
{
    const auto expectShown = [this](const char* state) {
        EXPECT_EQ(Shown(), form.Session().Commands()) << state;
    };
    Key(Qt::Key_Right);
    expectShown("a move made");
    Item("Undo1")->trigger();
    expectShown("a move taken back");
    Item("Peek1")->trigger();  // from the menu: for a while, then held
    Space(QEvent::KeyPress);
    expectShown("peeking");
    // The whole picture (the board view's test tells its pixels) over exactly the board's frames, 3 to 273.
    EXPECT_EQ(Part(form, "PeekImage")->geometry(), QRect(5, 5, 266, 266));
    {
        QWidget other;  // another window takes the keyboard, and with it the release: the peek ends
        other.show();
        QApplication::setActiveWindow(&other);
    }
    EXPECT_FALSE(Peeking());
    QApplication::setActiveWindow(&form);
    Part<TSpeedButton>(form, "SpeedButton4")->click();
    expectShown("paused");
    Part<TSpeedButton>(form, "SpeedButton4")->click();
    Item("Solve1")->trigger();
    form.Session().WaitForWork();
    Key(Qt::Key_Escape);
    expectShown("solved");
    form.N1x1Click();
    expectShown("1 x 1");
}

// What the commands do is the session's test; here keys and items reach it, and the board shows it
// (the H key's marker is told end to end).
TEST_F(PlayTest, ArrowsUndoAndRedoReachTheGameByKeysAndMenuAndTheBoardShowsThem)
{
    const QImage start = Picture();
    // A move paints the one tile that shows another piece now, the one at the old gap.
    QCoreApplication::processEvents();
    std::map<QObject*, int> painted;
    TEventCounter counter([&](QObject* tile, QEvent* event) {
        if (event->type() == QEvent::Paint)
            ++painted[tile];
    });
    for (int p = 1; p <= 25; ++p)
        TileAt(p)->installEventFilter(&counter);
    for (auto [key, gap] : {std::pair{Qt::Key_Left, 25}, {Qt::Key_Right, 24}, {Qt::Key_Down, 19}, {Qt::Key_Left, 20}}) {
        Key(key);
        EXPECT_EQ(GapPos, gap) << key;
        QCoreApplication::processEvents();
        if (gap == 24) {
            EXPECT_EQ(painted, (std::map<QObject*, int>{{TileAt(25), 1}}));
        }
    }
    clock.Advance(120);  // the last slide comes to rest
    const QImage after = Picture();
    Key(Qt::Key_Z, Qt::ControlModifier);
    Key(Qt::Key_Z, Qt::ControlModifier);
    Item("Undo1")->trigger();
    clock.Advance(120);
    EXPECT_EQ(Picture(), start);  // the board as it was
    Key(Qt::Key_Y, Qt::ControlModifier);
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    Item("Redo1")->trigger();
    clock.Advance(120);
    EXPECT_EQ(Picture(), after);  // and as it was after the moves
}

TEST_F(PlayTest, ASolvePlaysItselfHomeAndAKeyEndsItAtOnceWithoutAResultButNewGameCutsItShort)
{
    const TEndDialogs none(&form);  // no result dialog, no scores
    Item("Solve1")->trigger();
    form.Session().WaitForWork();
    ASSERT_TRUE(form.Session().Solving());
    const int gap = GapPos;
    clock.Advance(250);
    EXPECT_NE(GapPos, gap);  // each move drawn as the player's would be
    Key(Qt::Key_F11);  // any key ends the playback, and does nothing else
    EXPECT_FALSE(form.Session().Solving() || form.Running() || form.isFullScreen());

    form.Start();
    Item("Solve1")->trigger();
    form.Session().WaitForWork();
    clock.Advance(250);
    Key(Qt::Key_N, Qt::ControlModifier);  // no question: the player gave this game up
    EXPECT_FALSE(form.Session().Solving() || form.Session().Game().GivenUp() || form.Session().Game().Moves());
    EXPECT_TRUE(form.Running() && !TileAt(25)->isVisibleTo(&form));  // a fresh shuffle
}

} // namespace
