// The play flow without a window, on a clock the test steps.

#include "game/Session.h"
#include "solver/OptimalSolver.h"
#include "tests/game/GameTestSupport.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
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
        session.SetPicture(QImage(Picture("start.png", 50, Qt::green)), "start.png");
        session.UseScoreFile(TScoreFile(dir.filePath("Mozik.ini")));
    }

    const TGame& Game() const { return session.Game(); }
    std::string Status() const { return session.StatusText().toStdString(); }
    // Plays the game home by clicks, as the player would.
    void PlayHome()
    {
        for (int p : SolutionClicks(Game()))
            session.Move(p);
    }
    QString Picture(const char* name, int width, QColor colour)
    {
        EXPECT_TRUE(Filled({width, 40}, colour).save(dir.filePath(name)));
        return dir.filePath(name);
    }

    // The rows of the games that end, from now on.
    std::vector<THistoryRow> Rows()
    {
        history->WaitForWrites();
        return history->Load().Rows;
    }
    void KeepHistory()
    {
        history = std::make_unique<THistory>(dir.filePath("history.sqlite"));
        session.UseHistory(history.get());
    }

    QTemporaryDir dir;
    TManualClock clock;
    TRandom random;
    std::unique_ptr<THistory> history;  // outlives the session
    TSession session{clock, random};
    int boards = 0;
    std::vector<TGameEnd> ends;
    QStringList problems;
};

TEST_F(SessionTest, TheClockCountsOnlyWhileThePlayerPlaysAndAGameEndedByANewBoardHasNoResult)
{
    EXPECT_EQ(std::pair(clock.ActiveTimers(), Status()), std::pair(0, std::string("Игра не начата")));  // nothing runs before a game
    session.Start();
    clock.Advance(2500);
    session.TogglePause();
    clock.Advance(10000);
    session.TogglePause();  // the second starts afresh
    clock.Advance(999);
    EXPECT_EQ(Game().Seconds(), 2);
    clock.Advance(1000);
    EXPECT_EQ(Game().Seconds(), 3);
    session.NewBoard(4);
    EXPECT_FALSE(Game().Running() || Game().Seconds() || clock.ActiveTimers());
    EXPECT_EQ(std::tuple(boards, ends.size(), Status()), std::tuple(2, std::size_t(0), std::string("Игра не начата")));
}

// The game won alone takes its place, in the file too; the rest take none.
TEST_F(SessionTest, EveryGameThatEndsLeavesItsRowAndOnlyOneWonWithoutHelpTakesAPlace)
{
    KeepHistory();
    session.NewBoard(5);
    session.Start();
    session.Start();  // left before a move: no row
    clock.Advance(3000);
    session.MoveToward(TDirection::Right);
    session.Undo();
    session.NewBoard(5);  // left after a move and its take-back
    session.Start();
    session.Hint();
    session.WaitForWork();
    session.Hint();  // asked again for the same board: the same hint
    clock.Advance(7000);
    const int hintedMoves = Game().Moves() + int(SolutionClicks(Game()).size());
    PlayHome();
    EXPECT_EQ(std::tuple(ends.back().Qualifies, ends.back().Hints), std::tuple(false, 1));
    session.RecordScore("Hinted");  // takes no place
    session.Start();
    session.Solve();
    session.WaitForWork();
    session.FinishSolveNow();
    session.Start();
    clock.Advance(42000);
    PlayHome();
    EXPECT_EQ(std::tuple(ends.back().BoardSize, ends.back().Seconds, ends.back().GivenUp, ends.back().Qualifies), std::tuple(5, 42, false, true));
    EXPECT_EQ(Rows().size(), 3u);  // the record's row waits for its name, after the score file
    session.RecordScore("Мозик");
    const TScoreEntry record{EncodeName("Мозик"), 42};
    EXPECT_EQ(std::pair(session.Scores().Entry(5, 1), TScoreFile(dir.filePath("Mozik.ini")).Load().Entry(5, 1)), std::pair(record, record));

    const std::vector<THistoryRow> rows = Rows();
    std::vector<std::tuple<int, int, int, int, TGameOutcome, QString>> seen;
    for (const THistoryRow& row : rows)
        seen.emplace_back(row.Seconds, row.Undos, row.Hints, row.BoardSize, row.Outcome, row.Name);
    EXPECT_EQ(seen, (decltype(seen){{3, 1, 0, 5, TGameOutcome::Abandoned, ""}, {7, 0, 1, 5, TGameOutcome::Finished, ""},
                                    {0, 0, 0, 5, TGameOutcome::Computer, ""}, {42, 0, 0, 5, TGameOutcome::Finished, "Мозик"}}));
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(std::tuple(rows[0].Moves, rows[1].Moves, rows[0].Started, rows[0].Ended, rows[0].Picture, rows[0].Shortest),
              std::tuple(2, hintedMoves, HistoryTime(TManualClock::kManualUtcStart), HistoryTime(TManualClock::kManualUtcStart + 3000),
                         QString("start.png"), std::optional<int>()));
    session.Start();
    session.RecordScore("Again");  // a game in progress earns nothing
    EXPECT_EQ(session.Scores().Entry(5, 2), TScoreTable::EmptyEntry());  // nor did the hinted one
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
    EXPECT_FALSE(Game().GapPos() != 24 || session.Solving() || Game().GivenUp() || session.Busy());  // nothing acted
    EXPECT_EQ(session.Commands(), CommandStates(Game(), true));
    // A release the key's repeat presses again at once (as X's auto-repeat may look) goes unseen.
    bool shownEnded = false;
    const auto watched = QObject::connect(&session, &TSession::Changed, [&] { shownEnded |= !session.Peeking(); });
    session.ReleasePeek();
    clock.Advance(49);
    session.HoldPeek();
    clock.Advance(1000);
    EXPECT_TRUE(session.Peeking() && !shownEnded);
    QObject::disconnect(watched);
    session.ReleasePeek();
    clock.Advance(50);
    EXPECT_FALSE(session.Peeking());
    session.PeekForAWhile();
    clock.Advance(1999);
    session.ReleasePeek();  // a Space let go does not end a timed peek
    EXPECT_TRUE(session.Peeking());
    clock.Advance(1);
    EXPECT_FALSE(session.Peeking());
    session.PeekForAWhile();
    session.HoldPeek();  // held now: it lasts until it is let go
    clock.Advance(5000);
    EXPECT_EQ(std::pair(session.Peeking(), Game().Seconds()), std::pair(true, 8));  // the clock goes on
    session.TogglePause();  // ends it, and none is taken while paused
    session.HoldPeek();
    EXPECT_FALSE(session.Peeking());
}

TEST_F(SessionTest, AHintShowsTheTileTheSolverMovesNextUntilAMoveOrACommand)
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
    session.MoveToward(TDirection::Down);  // before the answer
    session.Hint();  // asked again for the board as it is now
    session.WaitForWork();
    const int at = Game().PositionOfTile(session.HintedTile()), gap = Game().GapPos();
    EXPECT_EQ(std::abs(ColumnOf(at, 5) - ColumnOf(gap, 5)) + std::abs(RowOf(at, 5) - RowOf(gap, 5)), 1);  // beside it
}

// Every move is told as a slide, the gap in the game already moved; a playback hurried home slides
// no more. The status line tells the moves of the game, every tile of a line counted.
TEST_F(SessionTest, ASolvePlaysHomeAtItsPaceOrAtOnceWithoutAResultAndTheStatusLineSaysWhatTheGameIsDoing)
{
    std::vector<std::pair<TMove, int>> slid;
    QObject::connect(&session, &TSession::Slid, [&](const TMove& move) { slid.push_back({move, Game().GapPos()}); });
    session.Start();
    session.Move(5);  // the column above the gap: four tiles
    session.Undo();
    EXPECT_EQ(slid, (std::vector<std::pair<TMove, int>>{{{5, 25}, 5}, {{25, 5}, 25}}));
    EXPECT_EQ(Status(), "Ходов: 8");
    session.HoldPeek();
    EXPECT_EQ(Status(), "Ходов: 8  ·  Виден весь рисунок");
    session.ReleasePeek();
    clock.Advance(1000);
    session.Solve();
    EXPECT_TRUE(session.Solving() && Game().GivenUp());
    EXPECT_EQ(std::pair(clock.ActiveTimers(), Status()), std::pair(0, std::string("Ходов: 8  ·  Собирает компьютер")));  // the clock stopped
    session.WaitForWork();
    const int moved = Game().Moves();
    clock.Advance(375);
    EXPECT_EQ(Game().Moves(), moved + 3);  // eight moves a second
    session.FinishSolveNow();
    EXPECT_EQ(Status(), "Ходов: " + std::to_string(Game().Moves()) + "  ·  Рисунок собран компьютером");
    EXPECT_EQ(std::tuple(slid.size(), session.Solving(), Game().Running()), std::tuple(std::size_t(5), false, false));
    session.RecordScore("Nobody");  // a game given up earns no place
    EXPECT_EQ(session.Scores(), TScoreTable());
}

TEST_F(SessionTest, APictureIsReadWhileTheGameGoesOnOnlyTheLastOneAskedForIsTakenAndOneThatCannotBeUsedIsToldEscaped)
{
    const QString red = Picture("red.png", 60, Qt::red), blue = Picture("blue.bmp", 80, Qt::blue);
    session.Start();
    session.OpenPicture(red);
    clock.Advance(2000);
    EXPECT_EQ(Game().Seconds(), 2);  // the clock ticks meanwhile
    EXPECT_TRUE(session.Busy() && Game().Running() && session.PictureName() == "start.png");  // the board changes once it is there
    session.WaitForWork();
    EXPECT_FALSE(session.Busy() || Game().Running());  // the new board ends the game
    EXPECT_EQ(std::pair(session.PictureName(), session.Picture().pixelColor(0, 0)), std::pair(QString("red.png"), QColor(Qt::red)));

    session.OpenPicture(red);
    session.OpenPicture(blue);  // supersedes the red one, whichever is read first
    session.WaitForWork();
    EXPECT_EQ(std::pair(session.Picture().width(), boards), std::pair(80, 3));

    // A file that cannot be used is told, its name's control characters escaped, and changes nothing.
    WriteFile(dir.filePath("cut\x1b[2J\r\n.png"), ReadFile(red).chopped(30));
    session.Start();
    session.OpenPicture(dir.filePath("cut\x1b[2J\r\n.png"));
    session.WaitForWork();
    ASSERT_EQ(problems.size(), 1);
    EXPECT_TRUE(problems[0].contains(dir.path() + "/cut\\x1B[2J\\x0D\\x0A.png") && !problems[0].contains(QChar(0x1B))) << problems[0].toStdString();
    EXPECT_EQ(std::pair(Game().Running(), session.PictureName()), std::pair(true, QString("blue.bmp")));

    // Read already when handed over, and not to be used: told once, on return.
    auto missing = std::make_unique<TPictureReading>(QFile::encodeName(dir.filePath("none.png")));
    missing->Wait();
    session.OpenPicture(std::move(missing));
    EXPECT_TRUE(session.WaitForPicture(std::chrono::milliseconds(0)));
    EXPECT_EQ(problems.size(), 2);
    session.WaitForWork();
    ASSERT_EQ(problems.size(), 2);
    EXPECT_TRUE(problems[1].contains(dir.filePath("none.png")) && problems[1].contains("Файл не найден."));
    EXPECT_EQ(session.PictureName(), QString("blue.bmp"));
}

TEST_F(SessionTest, NewGameShufflesAfreshAtAnyTimeWhereStartWaitsForTheEndAndAPictureSetWinsOverOneStillRead)
{
    session.Start();
    session.Move(24);
    session.Start();  // not during a game
    EXPECT_EQ(Game().Moves(), 1);
    session.NewGame();
    EXPECT_EQ(std::tuple(Game().Running(), Game().Moves(), boards, ends.size()), std::tuple(true, 0, 1, std::size_t(0)));
    session.NewBoard(1);
    session.NewGame();
    EXPECT_FALSE(Game().Running());
    ScopedPictureReadsHeld held;
    session.OpenPicture(Picture("late.png", 50, Qt::blue));
    session.SetPicture(QImage(Picture("now.png", 40, Qt::green)), "now.png");
    held.LetGo();
    session.WaitForWork();
    EXPECT_EQ(std::pair(session.PictureName(), session.Busy()), std::pair(QString("now.png"), false));
}

// Holds the solver's workers of a kind at their start until let go, and counts them: those begun,
// those told to stop before they began, and the check points their work passed once told to stop.
class TSolverGate : public TSolverWatch {
public:
    void Hold(TSolverJob job, bool held)
    {
        std::lock_guard lock(mutex_);
        held_[int(job)] = held;
        changed_.notify_all();
    }
    // Waits, handling the session's queued answers meanwhile, until `count` workers of the kind
    // have begun; after a minute it gives up and says what it waited for, rather than hang.
    testing::AssertionResult WaitUntilBegun(TSolverJob job, int count)
    {
        const auto begunAll = [&] { return begun[int(job)] >= count; };
        const QDeadlineTimer deadline(std::chrono::minutes(1));
        while (!begunAll()) {
            if (deadline.hasExpired())
                return testing::AssertionFailure() << "waited a minute for the solver's "
                                                   << std::array{"question", "tables", "measure"}[int(job)]
                                                   << " worker number " << count << " to begin";
            QCoreApplication::processEvents();
            std::unique_lock lock(mutex_);
            changed_.wait_for(lock, std::chrono::milliseconds(10), begunAll);
        }
        return testing::AssertionSuccess();
    }

    void Begin(TSolverJob job, const std::stop_token& stop) override
    {
        std::unique_lock lock(mutex_);
        ++begun[int(job)];
        changed_.notify_all();
        changed_.wait(lock, [&] { return !held_[int(job)]; });
        stoppedAtStart += stop.stop_requested();
        stop_ = stop;
    }
    void Checked(TSolverPhase, std::uint64_t) override { checksAfterStop += stop_.stop_requested(); }

    std::array<std::atomic<int>, 3> begun{};
    std::atomic<int> stoppedAtStart = 0, checksAfterStop = 0;

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::array<bool, 3> held_{};
    static thread_local std::stop_token stop_;  // of the worker on this thread
};

thread_local std::stop_token TSolverGate::stop_;

constexpr int kTables = int(TSolverJob::Tables);

// A 4 x 4 board 38 moves from home, whose shortest search takes more than a few thousand nodes.
const TPosition kBoard{4, {1, 3, 7, 8, 5, 4, 13, 12, 15, 2, 6, 11, 9, 14, 10, 0}};

// The solver's side of the session, on 4 x 4 tables of small groups (built in a moment), its
// workers watched; a 4 x 4 game is taken up on kBoard.
class SolverSessionTest : public SessionTest {
protected:
    SolverSessionTest() { session.WatchSolver(&gate); }
    ~SolverSessionTest() override
    {
        for (TSolverJob job : {TSolverJob::Measure, TSolverJob::Question, TSolverJob::Tables})
            gate.Hold(job, false);
        session.WaitForTables();  // nothing works on once the tables and the gate are gone
    }

    void UseTables(THintOptions options = {})
    {
        options.Tables = &store;
        session.SetSolverOptions(options);
    }
    void StartOnBoard(const THintOptions& options = {})
    {
        UseTables(options);
        TGameRecord record{4, {}, {}, {}};
        for (int p = 1; p <= 16; ++p)
            record.Start.AtPosition(p, 4) = kBoard.Cells[std::size_t(p - 1)];
        session.ResumeGame(record);
        session.TogglePause();  // taken up paused
        ASSERT_TRUE(Game().Playing() && Game().Position() == kBoard);
    }
    int Distance(const TPosition& board) { return int(TOptimalSolver(tables).Solve(board)->Tiles.size()); }
    bool HintedMoveIsShortest()
    {
        TPosition after = Game().Position();
        return ApplyMove(after, session.HintedTile()) && Distance(after) == Distance(Game().Position()) - 1;
    }

    TPatternDatabase tables{4, {{1, 2, 3}, {4, 7, 8}, {5, 6, 9}, {10, 13, 14}, {11, 12, 15}}};
    TTableStore store{tables, ""};
    TSolverGate gate;
};

TEST_F(SolverSessionTest, TheTablesAreMadeReadyInTheBackgroundOnceA4x4GameStarts)
{
    UseTables();
    session.NewBoard(4);
    session.NewBoard(5);
    session.Start();
    session.Hint();
    session.WaitForTables();
    EXPECT_EQ(gate.begun[kTables], 0);  // not at the start, nor for another board

    gate.Hold(TSolverJob::Tables, true);
    session.NewBoard(4);
    session.Start();
    EXPECT_FALSE(session.Busy());  // the player does not wait for them
    gate.Hold(TSolverJob::Tables, false);
    session.NewGame();  // while they are made: made once
    session.WaitForTables();
    EXPECT_EQ(std::pair(store.IsReady(), gate.begun[kTables].load()), std::pair(true, 1));
}

TEST_F(SolverSessionTest, A4x4HintIsTheFastMoveAtOnceAndAShortestOneWhenTheTablesAreReady)
{
    gate.Hold(TSolverJob::Tables, true);
    StartOnBoard();
    session.Hint();
    session.WaitForWork();
    TPosition after = kBoard;
    EXPECT_TRUE(ApplyMove(after, session.HintedTile()));  // beside the gap
    EXPECT_FALSE(session.HintShortest() || store.IsReady());
    // Once the tables are ready the question is asked again; a hint cleared meanwhile and asked
    // for once more shows that answer.
    gate.Hold(TSolverJob::Question, true);
    gate.Hold(TSolverJob::Tables, false);
    ASSERT_TRUE(gate.WaitUntilBegun(TSolverJob::Question, 2));
    session.TogglePause();
    session.TogglePause();
    session.Hint();
    gate.Hold(TSolverJob::Question, false);
    session.WaitForTables();
    EXPECT_TRUE(session.HintShortest() && HintedMoveIsShortest());
}

TEST_F(SolverSessionTest, A4x4SolveNeverPlaysAWayLongerThanAny4x4BoardNeedsAndWaitsForAShorterOne)
{
    THintOptions options;
    options.Fast.BeamWidth = 1;  // a beam this narrow finds ways far longer than the shortest
    ASSERT_GT(TFastSolver(options.Fast).Solve(kBoard)->Tiles.size(), std::size_t(kLongestFourByFour));
    gate.Hold(TSolverJob::Tables, true);
    StartOnBoard(options);
    const int moves = Game().Moves();
    session.Solve();
    session.WaitForWork();
    clock.Advance(1000);
    EXPECT_TRUE(session.Solving() && session.Busy() && Game().Moves() == moves);  // nothing played yet
    session.FinishSolveNow();  // hurried: home as soon as a way is there
    EXPECT_TRUE(session.SolveHurried());

    gate.Hold(TSolverJob::Tables, false);
    session.WaitForTables();
    EXPECT_FALSE(session.Solving() || session.Busy() || Game().Running());
    EXPECT_EQ(std::tuple(Game().Position(), Game().Moves() - moves, ends.size()), std::tuple(GoalPosition(4), Distance(kBoard), std::size_t(1)));
}

TEST_F(SolverSessionTest, NothingWaitsForAWorkerToldToStopAndItsAnswerIsDropped)
{
    const std::function<void()> changes[] = {[&] { session.Undo(); }, [&] { session.NewBoard(6); }, [&] { session.NewGame(); }};
    gate.Hold(TSolverJob::Question, true);
    for (int held = 1; const auto& change : changes) {
        session.NewGame();
        session.MoveToward(TDirection::Right);
        session.Hint();
        ASSERT_TRUE(gate.WaitUntilBegun(TSolverJob::Question, held++));
        change();
        EXPECT_FALSE(session.Busy());
    }
    gate.Hold(TSolverJob::Question, false);
    session.WaitForWork();
    EXPECT_EQ(gate.stoppedAtStart, 3);
    EXPECT_LE(gate.checksAfterStop, 3);  // each stopped at its first look
    EXPECT_EQ(session.HintedTile(), 0);
}

// The session's own measure of the shortest way waits for the tables, here past the game's end.
TEST_F(SolverSessionTest, A4x4GameEndedBeforeItsMeasureGetsTheShortestInItsRowAndStatusLine)
{
    KeepHistory();
    gate.Hold(TSolverJob::Tables, true);
    UseTables();
    session.NewBoard(4);
    session.Start();
    const TPosition start = Game().Position();
    PlayHome();
    session.ResultClosed();  // no name entered
    const std::vector<THistoryRow> rows = Rows();  // measured on the history's worker meanwhile
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].Shortest, Distance(start));
    EXPECT_EQ(Status(), "Ходов: " + std::to_string(Game().Moves()) + "  ·  Рисунок собран");
    EXPECT_EQ(gate.begun[int(TSolverJob::Measure)], 0);  // not before the tables
    gate.Hold(TSolverJob::Tables, false);
    session.WaitForTables();
    EXPECT_EQ(Status(), "Ходов: " + std::to_string(Game().Moves()) + " · кратчайшее: " + std::to_string(Distance(start))
                            + "  ·  Рисунок собран");
}

TEST_F(SolverSessionTest, TheMeasureOfA4x4GameLeftIsToldToStopAndNeverShown)
{
    ASSERT_EQ(store.Prepare(), TPrepareResult::Ready);
    gate.Hold(TSolverJob::Measure, true);
    UseTables();
    session.NewBoard(4);
    session.Start();
    ASSERT_TRUE(gate.WaitUntilBegun(TSolverJob::Measure, 1));
    session.NewBoard(5);
    gate.Hold(TSolverJob::Measure, false);
    session.WaitForWork();
    EXPECT_EQ(std::pair(gate.stoppedAtStart.load(), session.StartShortest().has_value()), std::pair(1, false));
}

} // namespace
