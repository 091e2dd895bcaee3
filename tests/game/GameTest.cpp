#include "game/Commands.h"
#include "game/Game.h"
#include "tests/game/Solution.h"

#include <gtest/gtest.h>

namespace {

std::vector<int> Cells(const TGame& game)
{
    std::vector<int> cells;
    for (int p = 1; p <= game.BoardSize() * game.BoardSize(); ++p)
        cells.push_back(game.Grid().AtPosition(p, game.BoardSize()));
    return cells;
}

std::vector<int> Home(int n)
{
    std::vector<int> cells;
    for (int p = 1; p < n * n; ++p)
        cells.push_back(p);
    cells.push_back(0);
    return cells;
}

TEST(Game, StartShufflesTheWholePictureWithTheCornerOutAndReplaysFromASeed)
{
    TGame game;
    EXPECT_EQ(Cells(game), Home(5));
    EXPECT_EQ(game.GapPos(), 25);
    EXPECT_FALSE(game.Running() || game.Paused());

    TRandom random(99);
    ASSERT_TRUE(game.Start(random));
    EXPECT_TRUE(game.Running() && game.Playing());
    EXPECT_EQ(game.GapPos(), 25);
    EXPECT_EQ(game.Grid().At(5, 5), 0);
    EXPECT_TRUE(IsSolvable(game.Position()));
    EXPECT_NE(Cells(game), Home(5));
    const std::vector<int> shuffled = Cells(game);

    // A second game starts from the whole picture again, so the same seed gives the same board.
    game.Move(24);
    TGame replay;
    random.SetSeed(99);
    replay.Start(random);
    random.SetSeed(99);
    game.Start(random);
    EXPECT_EQ(Cells(game), shuffled);
    EXPECT_EQ(Cells(replay), shuffled);
    EXPECT_TRUE(game.History().empty());

    TGame single(1);
    EXPECT_FALSE(single.Start(random));  // a 1 x 1 board is only shown
    EXPECT_FALSE(single.Running());
}

TEST(Game, MovesSlideTilesBesideTheGapOnlyWhilePlaying)
{
    TGame game(4);
    EXPECT_FALSE(game.Move(15).Moved);  // no game yet
    TRandom random(3);
    game.Start(random);
    const std::vector<int> before = Cells(game);
    for (int p : {14, 11, 16, 0, 17})  // two away, diagonal, the gap itself, off the board
        EXPECT_FALSE(game.Move(p).Moved) << p;
    EXPECT_EQ(Cells(game), before);

    const TMoveResult result = game.Move(15);
    ASSERT_TRUE(result.Moved);
    EXPECT_EQ(result.Move, (TMove{15, 16}));
    EXPECT_FALSE(result.Solved);
    EXPECT_EQ(game.GapPos(), 15);
    EXPECT_EQ(game.Grid().AtPosition(16, 4), before[14]);
    EXPECT_EQ(game.Grid().AtPosition(15, 4), 0);
    game.Move(11);
    EXPECT_EQ(game.History(), (std::vector<TMove>{{15, 16}, {11, 15}}));

    game.TogglePause();
    EXPECT_FALSE(game.Move(15).Moved);
    game.Tick();
    EXPECT_EQ(game.Seconds(), 0);  // the clock stands during a pause
    game.TogglePause();
    game.Tick();
    EXPECT_EQ(game.Seconds(), 1);
}

TEST(Game, TheMoveThatBringsEveryPieceHomeEndsTheGame)
{
    TGame game(4);
    TRandom random(12);
    game.Start(random);
    for (int i = 0; i < 42; ++i)
        game.Tick();
    const std::vector<int> clicks = SolutionClicks(game);
    ASSERT_FALSE(clicks.empty());
    for (size_t i = 0; i + 1 < clicks.size(); ++i)
        ASSERT_FALSE(game.Move(clicks[i]).Solved);
    const TMoveResult last = game.Move(clicks.back());
    EXPECT_TRUE(last.Moved && last.Solved);
    EXPECT_FALSE(game.Running());
    EXPECT_EQ(Cells(game), Home(4));
    EXPECT_EQ(game.Seconds(), 42);  // the time of the game stays to be shown
    EXPECT_EQ(int(game.History().size()), int(clicks.size()));
    game.Tick();
    EXPECT_EQ(game.Seconds(), 42);
    EXPECT_FALSE(game.Move(clicks.back()).Moved);
}

TEST(Game, ANewBoardEndsTheGameButAPauseLastsUntilTheNextStart)
{
    TGame game(6);
    TRandom random(5);
    game.Start(random);
    game.Tick();
    game.TogglePause();
    game.NewBoard(7);
    EXPECT_EQ(game.BoardSize(), 7);
    EXPECT_EQ(Cells(game), Home(7));
    EXPECT_EQ(game.GapPos(), 49);
    EXPECT_EQ(game.Seconds(), 0);
    EXPECT_FALSE(game.Running() || game.Playing());
    EXPECT_TRUE(game.Paused());
    game.TogglePause();  // nothing to pause without a game
    EXPECT_TRUE(game.Paused());
    game.Start(random);
    EXPECT_FALSE(game.Paused());
}

TEST(Game, UndoAndRedoGoBackToTheStartAndForwardAgainWhileTheClockRuns)
{
    TGame game(5);
    TRandom random(8);
    game.Start(random);
    const std::vector<int> start = Cells(game);
    EXPECT_FALSE(game.CanUndo() || game.CanRedo());
    for (int p : {24, 19, 18, 23})
        ASSERT_TRUE(game.Move(p).Moved);
    const std::vector<int> after = Cells(game);
    for (int i = 0; i < 4; ++i) {
        const TMoveResult back = game.Undo();
        EXPECT_TRUE(back.Moved);
        game.Tick();
    }
    EXPECT_EQ(Cells(game), start);
    EXPECT_EQ(game.GapPos(), 25);
    EXPECT_EQ(game.Seconds(), 4);
    EXPECT_FALSE(game.Undo().Moved);  // nothing before the start
    EXPECT_EQ(game.Redo().Move, (TMove{24, 25}));
    game.Redo();
    game.Redo();
    game.Redo();
    EXPECT_EQ(Cells(game), after);
    EXPECT_FALSE(game.CanRedo());

    game.Undo();
    game.Undo();
    ASSERT_TRUE(game.Move(20).Moved);  // a new move forgets what could be made again
    EXPECT_FALSE(game.CanRedo());
    EXPECT_EQ(game.History(), (std::vector<TMove>{{24, 25}, {19, 24}, {20, 19}}));
    game.TogglePause();
    EXPECT_FALSE(game.Undo().Moved);
}

TEST(Game, AGameGivenUpTakesTheSolutionsMovesOnTheStoppedClockAndEndsWithoutTheClock)
{
    TGame game(4);
    TRandom random(12);
    game.Start(random);
    game.Tick();
    ASSERT_TRUE(game.GiveUp());
    EXPECT_TRUE(game.Running() && game.GivenUp() && !game.Playing());
    game.Tick();
    EXPECT_EQ(game.Seconds(), 1);
    EXPECT_FALSE(game.CanUndo());
    TMoveResult last;
    for (int p : SolutionClicks(game))
        last = game.Move(p);
    EXPECT_TRUE(last.Solved && !game.Running() && game.GivenUp());
    game.Start(random);
    EXPECT_FALSE(game.GivenUp());
    TGame idle;
    EXPECT_FALSE(idle.GiveUp());
}

TEST(Commands, FollowTheStateOfTheGameAndThePeek)
{
    TGame game;
    TRandom random(1);
    TCommandStates idle;
    idle.StartButton = idle.StartItem = true;
    EXPECT_EQ(CommandStates(game), idle);

    game.Start(random);
    TCommandStates playing;
    playing.Pause = playing.TimeHint = playing.ClockRuns = true;
    playing.Hint = playing.Solve = playing.Peek = true;
    EXPECT_EQ(CommandStates(game), playing);
    game.Move(24);
    playing.Undo = true;
    EXPECT_EQ(CommandStates(game), playing);
    game.Undo();
    playing.Undo = false;
    playing.Redo = true;
    EXPECT_EQ(CommandStates(game), playing);

    TCommandStates peeking = playing;  // the board is hidden: only the clock and Pause act
    peeking.Hint = peeking.Solve = peeking.Undo = peeking.Redo = peeking.Peek = false;
    EXPECT_EQ(CommandStates(game, true), peeking);

    game.TogglePause();
    TCommandStates paused;
    paused.Pause = paused.PauseSaysContinue = true;
    paused.TimeEnabled = false;
    EXPECT_EQ(CommandStates(game), paused);
    game.TogglePause();

    game.GiveUp();
    EXPECT_EQ(CommandStates(game), TCommandStates());  // solving: nothing acts until it is home

    game.NewBoard(1);  // an idle board, whatever came before
    TCommandStates single = idle;
    single.StartButton = false;
    EXPECT_EQ(CommandStates(game), single);
}

} // namespace
