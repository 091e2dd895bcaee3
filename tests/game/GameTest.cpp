#include "game/Commands.h"
#include "game/Game.h"
#include "tests/game/GameTestSupport.h"

namespace {

TEST(Game, StartShufflesTheWholePictureWithTheCornerOutAndANewBoardEndsTheGame)
{
    TGame game;
    EXPECT_EQ(std::tuple(game.Position(), game.GapPos(), game.Running(), game.Paused()), std::tuple(GoalPosition(5), 25, false, false));

    TRandom random(99);
    ASSERT_TRUE(game.Start(random));
    EXPECT_TRUE(game.Running() && game.Playing() && game.Position() != GoalPosition(5));  // how it shuffles: the board's test
    const TPosition shuffled = game.Position();

    // A second game starts from the whole picture again, so the same seed gives the same board.
    game.Move(24);
    random.SetSeed(99);
    game.Start(random);
    EXPECT_TRUE(game.Position() == shuffled && game.History().empty());

    // A new board ends the game, but a pause lasts until the next start.
    game.Tick();
    game.TogglePause();
    game.NewBoard(7);
    EXPECT_EQ(std::tuple(game.Position(), game.GapPos(), game.Seconds(), game.Running(), game.Paused()),
              std::tuple(GoalPosition(7), 49, 0, false, true));
    game.TogglePause();  // nothing to pause without a game
    EXPECT_TRUE(game.Paused());
    game.Start(random);
    EXPECT_FALSE(game.Paused());

    TGame single(1);
    EXPECT_FALSE(single.Start(random) || single.Running());  // a 1 x 1 board is only shown
}

TEST(Game, MovesSlideTilesInTheGapsLineOnlyWhilePlaying)
{
    TGame game(4);
    EXPECT_FALSE(game.Move(15).Moved);  // no game yet
    TRandom random(3);
    game.Start(random);
    const TPosition before = game.Position();
    EXPECT_FALSE(game.Move(11).Moved);  // diagonal to the gap
    const TMoveResult result = game.Move(15);
    ASSERT_TRUE(result.Moved);
    EXPECT_EQ(std::tuple(result.Move, result.Solved, game.GapPos()), std::tuple(TMove{15, 16}, false, 15));
    EXPECT_EQ(std::pair(game.Grid().AtPosition(16, 4), game.Grid().AtPosition(15, 4)), std::pair(before.Cells[14], std::uint8_t(0)));
    game.Move(11);
    EXPECT_EQ(game.History(), (std::vector<TMove>{{15, 16}, {11, 15}}));

    game.TogglePause();
    EXPECT_FALSE(game.Move(15).Moved);
}

TEST(Game, TheMoveThatBringsEveryPieceHomeEndsTheGameAndAGameGivenUpEndsWithoutTheClock)
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
    EXPECT_TRUE(last.Moved && last.Solved && !game.Running() && game.Position() == GoalPosition(4));
    game.Tick();
    EXPECT_EQ(std::pair(game.Seconds(), game.Move(clicks.back()).Moved), std::pair(42, false));  // the time stays to be shown

    // Given up, the game waits for the solution's moves on a clock that stands, and takes none back.
    game.Start(random);
    ASSERT_TRUE(game.GiveUp());
    EXPECT_TRUE(game.Running() && game.GivenUp() && !game.Playing() && !game.CanUndo());
    game.Tick();
    EXPECT_EQ(game.Seconds(), 0);
}

TEST(Game, UndoAndRedoGoBackToTheStartAndForwardAgainALineThatCountsEveryTileAsOneStep)
{
    TGame game(5);
    TRandom random(8);
    game.Start(random);
    const TPosition start = game.Position();
    EXPECT_FALSE(game.CanUndo() || game.CanRedo());
    EXPECT_EQ(game.Move(22).Move, (TMove{22, 25}));  // three tiles of the bottom row slide right
    EXPECT_EQ(game.Grid().AtPosition(25, 5), start.Cells[23]);
    EXPECT_EQ(game.Move(2).Move, (TMove{2, 22}));  // four tiles of the column slide down
    EXPECT_EQ(std::pair(game.Grid().AtPosition(7, 5), game.Moves()), std::pair(start.Cells[1], 7));
    const TPosition after = game.Position();
    EXPECT_EQ(std::vector({game.Undo().Move, game.Undo().Move}), std::vector<TMove>({{22, 2}, {25, 22}}));
    game.Tick();
    EXPECT_EQ(std::tuple(game.Position(), game.Seconds(), game.Moves()), std::tuple(start, 1, 14));  // a take-back counts too
    EXPECT_FALSE(game.Undo().Moved);  // nothing before the start
    EXPECT_EQ((std::tuple{game.Redo().Move, game.Redo().Move, game.Moves()}), std::tuple(TMove{22, 25}, TMove{2, 22}, 21));
    EXPECT_TRUE(game.Position() == after && !game.CanRedo());

    game.Undo();
    ASSERT_TRUE(game.Move(21).Moved);  // a new move forgets what could be made again
    EXPECT_FALSE(game.CanRedo());
    EXPECT_EQ(game.History(), (std::vector<TMove>{{22, 25}, {21, 22}}));
    game.TogglePause();
    EXPECT_FALSE(game.Undo().Moved);
}

TEST(Commands, FollowTheStateOfTheGameAndThePeekAndAskOnlyForAGameWithMovesThePlayerStillPlays)
{
    TGame game;
    TRandom random(1);
    const TCommandStates idle{.StartButton = true, .StartItem = true, .NewGame = true};
    EXPECT_EQ(std::pair(CommandStates(game), GameAtStake(game)), std::pair(idle, false));

    game.Start(random);
    TCommandStates playing{.NewGame = true, .Pause = true, .TimeHint = true, .ClockRuns = true, .Hint = true, .Solve = true, .Peek = true};
    EXPECT_EQ(std::pair(CommandStates(game), GameAtStake(game)), std::pair(playing, false));  // not a move yet
    game.Move(24);
    playing.Undo = true;
    EXPECT_EQ(std::pair(CommandStates(game), GameAtStake(game)), std::pair(playing, true));
    game.Undo();
    playing.Undo = false;
    playing.Redo = true;
    EXPECT_EQ(std::pair(CommandStates(game), GameAtStake(game)), std::pair(playing, true));  // taken back, still made
    // The board is hidden: only the clock, Pause and New Game act.
    EXPECT_EQ(CommandStates(game, true), (TCommandStates{.NewGame = true, .Pause = true, .TimeHint = true, .ClockRuns = true}));

    game.TogglePause();
    EXPECT_EQ(CommandStates(game), (TCommandStates{.NewGame = true, .Pause = true, .PauseSaysContinue = true, .TimeEnabled = false}));
    EXPECT_TRUE(GameAtStake(game));
    game.TogglePause();
    game.GiveUp();
    // Solving: only New Game acts until it is home, and nothing of the player's is at stake.
    EXPECT_EQ(std::pair(CommandStates(game), GameAtStake(game)), std::pair(TCommandStates{.NewGame = true}, false));
    game.NewBoard(1);  // an idle board, whatever came before, and one that cannot be shuffled
    EXPECT_EQ(std::pair(CommandStates(game), GameAtStake(game)), std::pair(TCommandStates{.StartItem = true}, false));
}

} // namespace
