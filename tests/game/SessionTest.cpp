// The play flow without a window: a session on a clock the test steps, its solver's answers taken
// by joining the worker, its pictures read from files the test writes.

#include "game/Session.h"
#include "tests/game/GameTestSupport.h"

#include <QTemporaryDir>

namespace {

class SessionTest : public ::testing::Test {
protected:
    SessionTest()
    {
        QObject::connect(&session, &TSession::BoardChanged, [this] { ++boards; });
        QObject::connect(&session, &TSession::Finished, [this](const TGameEnd& end) { ends.push_back(end); });
        QObject::connect(&session, &TSession::Problem, [this](const QString& message) { problems << message; });
        QImage picture(50, 50, QImage::Format_RGB32);
        picture.fill(Qt::green);
        session.SetPicture(picture, "start.png");
        session.UseScoreFile(TScoreFile(dir.filePath("Mozik.ini")));
    }

    const TGame& Game() const { return session.Game(); }
    void Second() { clock.Advance(1000); }
    // Plays the game home by clicks, as the player would.
    void PlayHome()
    {
        for (int p : SolutionClicks(Game()))
            session.Move(p);
    }
    QString Picture(const char* name, int width, QColor colour)
    {
        QImage picture(width, 40, QImage::Format_RGB32);
        picture.fill(colour);
        EXPECT_TRUE(picture.save(dir.filePath(name)));
        return dir.filePath(name);
    }

    QTemporaryDir dir;
    TManualClock clock;
    TRandom random;
    TSession session{clock, random};
    int boards = 0;
    std::vector<TGameEnd> ends;
    QStringList problems;
};

TEST_F(SessionTest, TheClockCountsOnlyWhileThePlayerPlaysAndANewBoardEndsTheGame)
{
    EXPECT_EQ(clock.ActiveTimers(), 0);  // nothing runs before a game
    session.Start();
    clock.Advance(2500);
    session.TogglePause();
    clock.Advance(10000);
    session.TogglePause();  // the second starts afresh
    clock.Advance(999);
    EXPECT_EQ(Game().Seconds(), 2);
    Second();
    EXPECT_EQ(Game().Seconds(), 3);

    session.NewBoard(4);
    EXPECT_EQ(boards, 2);
    EXPECT_FALSE(Game().Running() || Game().Seconds() || clock.ActiveTimers());
    EXPECT_TRUE(ends.empty());  // no result for a game ended by a new board
}

TEST_F(SessionTest, AGameBroughtHomeEndsOnceWithItsTimeAndItsRecordGoesToTheFile)
{
    session.Start();
    clock.Advance(42000);
    PlayHome();
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_EQ(std::tuple(ends[0].BoardSize, ends[0].Seconds, ends[0].GivenUp, ends[0].Qualifies), std::tuple(5, 42, false, true));
    Second();
    EXPECT_EQ(Game().Seconds(), 42);

    session.RecordScore("Мозик");
    const TScoreEntry record{EncodeName("Мозик"), 42};
    EXPECT_EQ(session.Scores().Entry(5, 1), record);
    EXPECT_EQ(TScoreFile(dir.filePath("Mozik.ini")).Load().Entry(5, 1), record);
    session.Start();
    session.RecordScore("Again");  // a game in progress earns nothing
    EXPECT_EQ(session.Scores().Entry(5, 2), TScoreTable::EmptyEntry());

    session.ClearScores();
    EXPECT_EQ(TScoreFile(dir.filePath("Mozik.ini")).Load(), TScoreTable());
}

TEST_F(SessionTest, TheStatusLineTellsTheMovesAndWhatTheGameIsDoing)
{
    const auto status = [this] { return session.StatusText().toStdString(); };
    EXPECT_EQ(status(), "Игра не начата");
    session.Start();
    EXPECT_EQ(status(), "Ходов: 0");
    session.Move(5);  // the column above the gap: four tiles
    session.Undo();   // and back
    EXPECT_EQ(status(), "Ходов: 8");
    session.HoldPeek();
    EXPECT_EQ(status(), "Виден весь рисунок  ·  Ходов: 8");
    session.ReleasePeek();
    session.TogglePause();
    EXPECT_EQ(status(), "Пауза  ·  Ходов: 8");
    session.TogglePause();
    session.Solve();
    EXPECT_EQ(status(), "Собирает компьютер  ·  Ходов: 8");
    session.WaitForWork();
    session.FinishSolveNow();
    EXPECT_EQ(status(), "Рисунок собран компьютером  ·  Ходов: " + std::to_string(Game().Moves()));
    session.Start();
    PlayHome();
    EXPECT_EQ(status(), "Рисунок собран  ·  Ходов: " + std::to_string(Game().Moves()));
    session.NewBoard(5);
    EXPECT_EQ(status(), "Игра не начата");
}

TEST_F(SessionTest, APeekIsHeldOrLastsTwoSecondsMovesNothingAndEndsWithTheGame)
{
    session.PeekForAWhile();
    EXPECT_FALSE(session.Peeking());  // not before a game
    session.Start();
    session.MoveToward(TDirection::Right);
    session.HoldPeek();
    for (auto command : {&TSession::Undo, &TSession::Hint, &TSession::Solve})
        (session.*command)();
    session.Move(23);
    EXPECT_EQ(Game().GapPos(), 24);
    EXPECT_FALSE(session.Solving() || Game().GivenUp() || session.Busy());
    EXPECT_EQ(session.Commands(), CommandStates(Game(), true));
    session.ReleasePeek();
    EXPECT_FALSE(session.Peeking());

    session.PeekForAWhile();
    clock.Advance(1999);
    EXPECT_TRUE(session.Peeking());
    session.ReleasePeek();  // a Space let go does not end a timed peek
    EXPECT_TRUE(session.Peeking());
    clock.Advance(1);
    EXPECT_FALSE(session.Peeking());

    session.PeekForAWhile();
    session.HoldPeek();  // held now: it lasts until it is let go
    clock.Advance(5000);
    EXPECT_TRUE(session.Peeking());
    EXPECT_EQ(Game().Seconds(), 7);  // the clock goes on
    session.ReleasePeek();
    EXPECT_FALSE(session.Peeking());

    session.HoldPeek();
    session.TogglePause();  // ends it, and none is taken while paused
    session.HoldPeek();
    EXPECT_FALSE(session.Peeking());
    session.TogglePause();
    session.HoldPeek();
    session.NewBoard(5);
    EXPECT_FALSE(session.Peeking());
}

TEST_F(SessionTest, AHintShowsTheTileTheSolverMovesNextUntilAMoveOrACommandAndAnAnswerForAnOldBoardIsDropped)
{
    session.Start();
    session.MoveToward(TDirection::Right);
    const int expected = *THintPlanner().NextMove(Game().Position());
    session.Hint();
    session.WaitForWork();
    ASSERT_EQ(session.HintedTile(), expected);
    clock.Advance(60000);
    EXPECT_EQ(session.HintedTile(), expected);  // as long as the player needs
    session.TogglePause();  // another command ends it
    EXPECT_EQ(session.HintedTile(), 0);
    session.TogglePause();

    session.Hint();
    session.WaitForWork();
    session.MoveToward(TDirection::Down);  // a move ends the hint
    EXPECT_EQ(session.HintedTile(), 0);
    session.Hint();
    session.Undo();  // before the answer is taken: it is for another board
    session.WaitForWork();
    EXPECT_EQ(session.HintedTile(), 0);
    session.Hint();
    session.MoveToward(TDirection::Down);
    session.Hint();  // asked again for the board as it is now
    session.WaitForWork();
    const int at = Game().PositionOfTile(session.HintedTile()), gap = Game().GapPos();
    EXPECT_EQ(std::abs(ColumnOf(at, 5) - ColumnOf(gap, 5)) + std::abs(RowOf(at, 5) - RowOf(gap, 5)), 1);  // beside it
    session.Hint();
    session.NewBoard(5);  // stops the worker
    session.WaitForWork();
    EXPECT_EQ(session.HintedTile(), 0);
    EXPECT_FALSE(session.Busy());
}

TEST_F(SessionTest, EveryMoveIsToldAsASlideAndAGivenUpGameHurriedHomeSlidesNoMore)
{
    std::vector<std::pair<TMove, int>> slid;  // each slide with the gap in the game by then
    QObject::connect(&session, &TSession::Slid, [&](const TMove& move) { slid.push_back({move, Game().GapPos()}); });
    session.Start();
    session.Move(5);  // the column above the gap
    session.Undo();
    EXPECT_EQ(slid, (std::vector<std::pair<TMove, int>>{{{5, 25}, 5}, {{25, 5}, 25}}));
    session.Solve();
    session.WaitForWork();
    clock.Advance(250);
    session.FinishSolveNow();
    EXPECT_EQ(slid.size(), 4u);  // two steps of the playback, then none
}

TEST_F(SessionTest, ASolvePlaysHomeAtItsPaceOrAtOnceWithoutAResult)
{
    session.Start();
    Second();
    session.Solve();
    EXPECT_TRUE(session.Solving() && Game().GivenUp());
    EXPECT_EQ(clock.ActiveTimers(), 0);  // the clock stopped at once
    session.WaitForWork();
    const int moved = Game().Moves();
    clock.Advance(375);
    EXPECT_EQ(Game().Moves(), moved + 3);  // eight moves a second
    session.FinishSolveNow();
    EXPECT_FALSE(session.Solving() || Game().Running());
    EXPECT_EQ(std::pair(Game().Position(), Game().Seconds()), std::pair(GoalPosition(5), 1));
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_TRUE(ends[0].GivenUp && !ends[0].Qualifies);
    session.RecordScore("Nobody");  // a game given up earns no place
    EXPECT_EQ(session.Scores(), TScoreTable());

    // Hurried before the solution is known: it goes home as soon as it is.
    session.Start();
    session.Solve();
    session.FinishSolveNow();
    EXPECT_TRUE(session.Solving());
    session.WaitForWork();
    EXPECT_FALSE(session.Solving());
    EXPECT_EQ(Game().Position(), GoalPosition(5));
    EXPECT_EQ(ends.size(), 2u);
}

TEST_F(SessionTest, APictureIsReadWhileTheGameGoesOnAndOnlyTheLastOneAskedForIsTaken)
{
    const QString red = Picture("red.png", 60, Qt::red), blue = Picture("blue.bmp", 80, Qt::blue);
    session.Start();
    session.OpenPicture(red);
    EXPECT_TRUE(session.Busy());
    clock.Advance(2000);
    EXPECT_EQ(Game().Seconds(), 2);  // the clock ticks meanwhile
    EXPECT_EQ(session.PictureName(), QString("start.png"));  // the board changes only once it is there
    EXPECT_TRUE(Game().Running());
    session.WaitForWork();
    EXPECT_FALSE(session.Busy() || Game().Running());  // the new board ends the game
    EXPECT_EQ(session.PictureName(), QString("red.png"));
    EXPECT_EQ(session.Picture().pixelColor(0, 0), QColor(Qt::red));

    session.OpenPicture(red);
    session.OpenPicture(blue);  // supersedes the red one, whichever is read first
    session.WaitForWork();
    EXPECT_EQ(session.Picture().width(), 80);
    EXPECT_EQ(boards, 3);

    // A file that cannot be used is told and changes nothing.
    WriteFile(dir.filePath("cut.png"), ReadFile(red).chopped(30));
    session.Start();
    session.OpenPicture(dir.filePath("cut.png"));
    session.WaitForWork();
    ASSERT_EQ(problems.size(), 1);
    EXPECT_TRUE(problems[0].contains(dir.filePath("cut.png")));
    EXPECT_TRUE(Game().Running());
    EXPECT_EQ(session.PictureName(), QString("blue.bmp"));
}

} // namespace
