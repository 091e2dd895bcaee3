// The play flow without a window: a session on a clock the test steps, its solver's answers taken
// by joining the worker, its pictures read from files the test writes.

#include "game/Session.h"
#include "solver/OptimalSolver.h"
#include "tests/game/GameTestSupport.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <array>
#include <atomic>
#include <condition_variable>
#include <mutex>

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

TEST_F(SessionTest, AHintBlinksTheTileTheSolverMovesNextUntilAMoveAndAnAnswerForAnOldBoardIsDropped)
{
    session.Start();
    session.MoveToward(TDirection::Right);
    const int expected = *THintPlanner().NextMove(Game().Position());
    session.Hint();
    session.WaitForWork();
    ASSERT_EQ(session.HintedTile(), expected);
    std::vector<bool> down{session.HintFrameDown()};
    for (int beat = 0; beat < 7; ++beat) {
        clock.Advance(160);
        down.push_back(session.HintFrameDown());
    }
    EXPECT_EQ(down, std::vector<bool>({true, false, true, false, true, false, false, false}));
    EXPECT_EQ(session.HintedTile(), 0);

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
    EXPECT_NE(GapBeside(Game().PositionOfTile(session.HintedTile()), Game().GapPos(), 5), 0);
    session.Hint();
    session.NewBoard(5);  // stops the worker
    session.WaitForWork();
    EXPECT_EQ(session.HintedTile(), 0);
    EXPECT_FALSE(session.Busy());
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

// Holds the solver's workers of a kind at their start until let go, and counts their work: the
// workers begun and ended, those told to stop before they began, and the check points that work
// passed once it had been told to stop.
class TSolverGate : public TSolverWatch {
public:
    void Hold(TSolverJob job) { Set(job, true); }
    void Release(TSolverJob job) { Set(job, false); }
    void WaitUntilHeld(TSolverJob job) { WaitFor([&] { return waiting_[Kind(job)] > 0; }); }
    void WaitUntilEnded(TSolverJob job, int count) { WaitFor([&] { return ended_[Kind(job)] >= count; }); }
    void WaitUntilChecked() { WaitFor([&] { return checks_ > 0; }); }
    int Begun(TSolverJob job) { return WaitFor([] { return true; }), begun_[Kind(job)]; }
    int StoppedAtStart() const { return stoppedAtStart_; }
    int ChecksAfterStop() const { return checksAfterStop_; }

    void Begin(TSolverJob job, const std::stop_token& stop) override
    {
        std::unique_lock lock(mutex_);
        ++begun_[Kind(job)];
        ++waiting_[Kind(job)];
        changed_.notify_all();
        changed_.wait(lock, [&] { return !held_[Kind(job)]; });
        --waiting_[Kind(job)];
        stop_ = stop;
        stoppedAtStart_ += stop.stop_requested();
    }
    void Checked(TSolverPhase, std::uint64_t) override
    {
        checksAfterStop_ += stop_.stop_requested();
        std::lock_guard lock(mutex_);
        ++checks_;
        changed_.notify_all();
    }
    void End(TSolverJob job) override
    {
        std::lock_guard lock(mutex_);
        ++ended_[Kind(job)];
        changed_.notify_all();
    }

private:
    static std::size_t Kind(TSolverJob job) { return std::size_t(job); }
    void Set(TSolverJob job, bool held)
    {
        std::lock_guard lock(mutex_);
        held_[Kind(job)] = held;
        changed_.notify_all();
    }
    template <typename Condition>
    void WaitFor(Condition condition)
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, condition);
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::array<bool, 2> held_{};
    std::array<int, 2> begun_{}, waiting_{}, ended_{};
    int checks_ = 0;
    std::atomic<int> stoppedAtStart_ = 0, checksAfterStop_ = 0;
    static thread_local std::stop_token stop_;  // of the worker on this thread
};

thread_local std::stop_token TSolverGate::stop_;

// A 4 x 4 board 38 moves from home, whose shortest search takes more than a few thousand nodes.
const TPosition kBoard{4, {1, 3, 7, 8, 5, 4, 13, 12, 15, 2, 6, 11, 9, 14, 10, 0}};

// The solver's side of the session, on 4 x 4 tables of small groups (built in a moment), its
// workers watched.
class SolverSessionTest : public SessionTest {
protected:
    SolverSessionTest()
    {
        options.Tables = &store;
        session.SetSolverOptions(options);
        session.WatchSolver(&gate);
    }
    ~SolverSessionTest() override
    {
        gate.Release(TSolverJob::Question);
        gate.Release(TSolverJob::Tables);
        session.WaitForTables();  // nothing works on once the tables and the gate are gone
    }

    // Brings the 4 x 4 game in progress to the board.
    void Reach(const TPosition& board)
    {
        for (int p : ClicksTo(Game(), board))
            session.Move(p);
        ASSERT_TRUE(Game().Running() && Game().Position() == board);
    }
    // Whether the hinted tile's move is one of a shortest way home.
    bool HintedMoveIsShortest()
    {
        TPosition after = Game().Position();
        return ApplyMove(after, session.HintedTile()) && Distance(after) == Distance(Game().Position()) - 1;
    }
    int Distance(const TPosition& board) { return int(TOptimalSolver(tables).Solve(board)->Tiles.size()); }

    TPatternDatabase tables{4, {{1, 2, 3}, {4, 7, 8}, {5, 6, 9}, {10, 13, 14}, {11, 12, 15}}};
    TTableStore store{tables, ""};
    THintOptions options;
    TSolverGate gate;
};

TEST_F(SolverSessionTest, TheTablesAreMadeReadyInTheBackgroundOnceA4x4GameStartsAndTheDestructorStopsThem)
{
    session.NewBoard(4);
    session.NewBoard(5);
    session.Start();
    session.Hint();
    session.WaitForTables();
    EXPECT_EQ(gate.Begun(TSolverJob::Tables), 0);  // not at the start, nor for another board

    gate.Hold(TSolverJob::Tables);
    session.NewBoard(4);
    session.Start();
    gate.WaitUntilHeld(TSolverJob::Tables);
    EXPECT_FALSE(session.Busy());  // the player does not wait for them
    gate.Release(TSolverJob::Tables);
    session.WaitForTables();
    EXPECT_TRUE(store.IsReady());
    session.Start();
    session.WaitForTables();
    EXPECT_EQ(gate.Begun(TSolverJob::Tables), 1);

    // Tables of the large groups take seconds to build: a session that goes meanwhile stops them.
    TPatternDatabase large(4, DefaultPartition(4));
    TTableStore largeStore(large, "");
    {
        TSession other(clock, random);
        other.SetSolverOptions({&largeStore});
        other.WatchSolver(&gate);
        other.NewBoard(4);
        other.Start();
        gate.WaitUntilChecked();
    }
    EXPECT_EQ(gate.Begun(TSolverJob::Tables), 2);
    EXPECT_FALSE(large.IsBuilt());
}

TEST_F(SolverSessionTest, A4x4HintBeforeTheTablesAreReadyIsTheFastMoveAndThenAShortestOne)
{
    gate.Hold(TSolverJob::Tables);
    session.NewBoard(4);
    session.Start();
    Reach(kBoard);
    session.Hint();
    session.WaitForWork();
    const int fast = session.HintedTile();
    EXPECT_NE(GapBeside(Game().PositionOfTile(fast), Game().GapPos(), 4), 0);
    EXPECT_FALSE(session.HintShortest() || store.IsReady());

    gate.Release(TSolverJob::Tables);
    session.WaitForTables();  // the tables, and the answer asked for again with them
    ASSERT_TRUE(session.HintShortest());
    EXPECT_TRUE(HintedMoveIsShortest());
    EXPECT_EQ(Game().Position(), kBoard);
}

TEST_F(SolverSessionTest, PastItsSearchBudgetA4x4HintIsTheFastSolversAndAShortestOneFollows)
{
    options.NodeBudget = 1;  // over at the search's first look at its budget
    session.SetSolverOptions(options);
    session.NewBoard(4);
    session.Start();
    session.WaitForTables();
    Reach(kBoard);
    std::vector<bool> shortest;
    QObject::connect(&session, &TSession::Changed, [&] {
        if (session.HintedTile())
            shortest.push_back(session.HintShortest());
    });
    session.Hint();
    session.WaitForWork();
    ASSERT_FALSE(shortest.empty());
    EXPECT_FALSE(shortest.front());
    EXPECT_TRUE(shortest.back());
    EXPECT_TRUE(HintedMoveIsShortest());
}

TEST_F(SolverSessionTest, A4x4SolveNeverPlaysAWayLongerThanAny4x4BoardNeedsAndWaitsForAShorterOne)
{
    options.Fast.BeamWidth = 1;  // a beam this narrow finds ways far longer than the shortest
    session.SetSolverOptions(options);
    gate.Hold(TSolverJob::Tables);
    session.NewBoard(4);
    session.Start();
    Reach(kBoard);
    ASSERT_GT(TFastSolver(options.Fast).Solve(kBoard)->Tiles.size(), std::size_t(kLongestFourByFour));
    const int moves = Game().Moves();
    session.Solve();
    session.WaitForWork();
    clock.Advance(1000);
    EXPECT_TRUE(session.Solving() && session.Busy());
    EXPECT_EQ(Game().Moves(), moves);  // the way found is too long to be played
    session.FinishSolveNow();          // hurried: home as soon as a way is there
    EXPECT_TRUE(session.SolveHurried());

    gate.Release(TSolverJob::Tables);
    session.WaitForTables();
    EXPECT_FALSE(session.Solving() || session.Busy() || Game().Running());
    EXPECT_EQ(Game().Position(), GoalPosition(4));
    EXPECT_EQ(Game().Moves() - moves, Distance(kBoard));
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_TRUE(ends[0].GivenUp);
}

TEST_F(SolverSessionTest, AnAnswerForAnOldBoardIsDroppedAndNothingWaitsForAWorkerToldToStop)
{
    gate.Hold(TSolverJob::Question);
    session.Start();
    session.MoveToward(TDirection::Right);
    session.Hint();
    gate.Release(TSolverJob::Question);
    gate.WaitUntilEnded(TSolverJob::Question, 1);  // answered, the answer not taken yet
    session.Undo();
    session.WaitForWork();
    EXPECT_EQ(session.HintedTile(), 0);

    // A size change, a new game, a new picture: each returns while the worker is held, and the
    // worker, told to stop, ends by itself as soon as it is let go.
    gate.Hold(TSolverJob::Question);
    const QString picture = Picture("new.png", 40, Qt::blue);
    const std::function<void()> changes[] = {[&] { session.NewBoard(6); }, [&] { session.Start(); },
                                             [&] {
                                                 session.OpenPicture(picture);
                                                 while (session.Busy())  // until the picture is there
                                                     QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
                                             }};
    for (const auto& change : changes) {
        session.Start();
        session.MoveToward(TDirection::Right);
        session.Hint();
        gate.WaitUntilHeld(TSolverJob::Question);
        change();
        EXPECT_FALSE(session.Busy());
    }
    gate.Release(TSolverJob::Question);
    session.WaitForWork();
    EXPECT_EQ(gate.StoppedAtStart(), 3);
    EXPECT_LE(gate.ChecksAfterStop(), 3);  // each stopped at its first look
    EXPECT_EQ(session.HintedTile(), 0);
    EXPECT_EQ(session.PictureName(), QString("new.png"));
}

} // namespace
