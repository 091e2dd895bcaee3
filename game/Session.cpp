#include "game/Session.h"

#include "framework/PictureFile.h"
#include "game/ShownName.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMetaObject>
#include <QStringList>
#include <algorithm>
#include <utility>

namespace {

constexpr int kSecondMs = 1000;
constexpr int kSolveStepMs = 125;   // eight moves a second
constexpr int kPeekMs = 2000;
// A held key's repeat may reach the window as a release and a press, the press a moment later on
// a busy machine: a held peek ends only when no press follows its release within this time.
constexpr int kPeekReleaseMs = 50;

QString PictureProblem(const QString& path, const QString& reason)
{
    return TSession::tr("Не удалось открыть рисунок «%1».\n%2").arg(path, reason);
}

} // namespace

TSession::TSession(TClock& clock, TRandom& random, QObject* parent)
    : QObject(parent), clock_(clock), random_(random)
{
    secondTimer_ = clock_.NewTimer(kSecondMs, true, [this] { Timer1Timer(); });
    solveTimer_ = clock_.NewTimer(kSolveStepMs, true, [this] { PlayNextSolutionMove(); });
    peekTimer_ = clock_.NewTimer(kPeekMs, false, [this] { EndPeek(); });
    peekReleaseTimer_ = clock_.NewTimer(kPeekReleaseMs, false, [this] { EndPeek(); });
    connect(&solver_, &TSolverClient::Answered, this, &TSession::SolverAnswered);
    connect(&solver_, &TSolverClient::Settled, this, &TSession::SolverSettled);
    connect(&solver_, &TSolverClient::Measured, this, [this](const TPosition& board, int moves) {
        if (board != startBoard_)
            return;
        startShortest_ = moves;  // the game may have ended meanwhile: its row and status take it
        if (row_ && !row_->Row.Shortest)
            row_->Row.Shortest = moves;
        Notify();
    });
}

TSession::~TSession()
{
    SendRow();  // a result still shown as the program ends
}

// Everything the window shows follows the game here: a peek and the clock live only while the
// player plays.
void TSession::Notify()
{
    if (!game_.Playing() && peeking_) {
        peeking_ = false;
        peekTimer_->Stop();
    }
    if (!game_.Playing())
        secondTimer_->Stop();
    else if (!secondTimer_->Active())
        secondTimer_->Start();
    emit Changed();
}

void TSession::SetPicture(const QImage& picture, const QString& name, const QByteArray& localPath)
{
    TakePicture(picture, name, localPath, false);
}

void TSession::UseBuiltinPicture(const QImage& picture, const QString& name)
{
    builtinPicture_ = picture;
    builtinName_ = name;
    TakePicture(picture, name, {}, true);
}

void TSession::TakePicture(const QImage& picture, const QString& name, const QByteArray& localPath, bool builtIn)
{
    ++pictureQuestion_;  // a reading still on its way comes too late
    picture_ = PictureWithin(picture, largestBoard_);
    pictureName_ = name;
    picturePath_ = localPath.isEmpty() || localPath.startsWith('/') ? localPath
                                                                    : QFile::encodeName(QDir::currentPath()) + '/' + localPath;
    pictureBuiltIn_ = builtIn;
    NewBoard(game_.BoardSize());
}

void TSession::OpenPicture(const QString& path)
{
    OpenLocalPicture(QFile::encodeName(path));
}

void TSession::OpenLocalPicture(const QByteArray& localPath)
{
    OpenPicture(std::make_unique<TPictureReading>(localPath, largestBoard_));
}

void TSession::OpenPictureData(const QByteArray& bytes)
{
    OpenPicture(TPictureReading::FromBytes(bytes, largestBoard_));
}

QString TSession::PastedPictureName()
{
    return tr("Вставленный рисунок");
}

void TSession::OpenPicture(std::unique_ptr<TPictureReading> reading)
{
    const int question = ++pictureQuestion_;
    TPictureJob& job = pictureJobs_.emplace_back(question, std::move(reading));
    job.Reading->WhenRead([this, question] {
        QMetaObject::invokeMethod(this, [this, question] { PictureRead(question); }, Qt::QueuedConnection);
    });
    Notify();  // busy
}

bool TSession::WaitForPicture(std::chrono::milliseconds bound)
{
    if (pictureJobs_.empty() || pictureJobs_.back().Question != pictureQuestion_)
        return true;
    if (!pictureJobs_.back().Reading->WaitFor(bound))
        return false;
    PictureRead(pictureQuestion_);  // now rather than when the worker's word arrives
    return true;
}

// Takes a picture that has been read; its worker's word arriving afterwards finds nothing to do.
void TSession::PictureRead(int question)
{
    const auto job = std::find_if(pictureJobs_.begin(), pictureJobs_.end(),
                                  [question](const TPictureJob& each) { return each.Question == question; });
    if (job == pictureJobs_.end())
        return;
    const std::unique_ptr<TPictureReading> reading = std::move(job->Reading);
    const TPictureJob asked = std::move(*job);
    pictureJobs_.erase(job);
    const bool file = !reading->LocalPath().isEmpty();
    const QString path = file ? QFile::decodeName(reading->LocalPath()) : PastedPictureName();
    const QString shown = file ? ShownName(reading->LocalPath()) : path;  // in a message
    if (question != pictureQuestion_) {
        Notify();
        return;  // another picture was asked for meanwhile
    }
    if (asked.Resume) {
        if (reading->Picture().isNull()) {
            emit Problem(tr("Не удалось открыть рисунок отложенной игры «%1».\n%2\nИгра продолжается на встроенном рисунке.")
                             .arg(shown, reading->Error()));
            ResumeGame(*asked.Resume);
        } else {
            TakePicture(reading->Picture(), asked.Name.isEmpty() ? QFileInfo(path).fileName() : asked.Name,
                        asked.Copy ? QByteArray() : reading->LocalPath(), false);
            TakeUp(*asked.Resume);
        }
        return;
    }
    if (reading->Picture().isNull()) {
        Notify();
        emit Problem(PictureProblem(shown, reading->Error()));
        emit PictureRefused();
        return;
    }
    SetPicture(reading->Picture(), file ? QFileInfo(path).fileName() : path, reading->LocalPath());
}

// The one way out of a game before a new board or a new shuffle: a game in progress ends here
// without a result, and whatever the solver did or does for it ends, with its hint and measure. A game left
// after a move is remembered in the history.
void TSession::LeaveGame()
{
    SendRow();
    if (game_.Running()) {
        if (game_.Moves() > 0) {
            RecordGame(TGameOutcome::Abandoned);
            SendRow();
        }
        emit GameLeft();
    }
    StopSolver();
    ClearHint();
    solver_.Forget();
    startShortest_.reset();
}

void TSession::NewBoard(int n)
{
    LeaveGame();
    game_.NewBoard(n);
    emit BoardChanged();
    Notify();
}

void TSession::ResumeGame(const TGameRecord& record, const TKeptPicture& picture)
{
    if (!picture.LocalPath.isEmpty()) {
        OpenPicture(std::make_unique<TPictureReading>(picture.LocalPath, largestBoard_, picture.Read));
        TPictureJob& job = pictureJobs_.back();
        job.Resume = record;
        job.Name = picture.Name;
        job.Copy = picture.Copy;
        return;
    }
    if (!pictureBuiltIn_ && !builtinPicture_.isNull())
        UseBuiltinPicture(builtinPicture_, builtinName_);
    TakeUp(record);
}

TGameRecord TSession::GameRecord() const
{
    TGameRecord record = game_.Record();
    record.StartedUtc = startedUtc_;
    return record;
}

void TSession::TakeUp(const TGameRecord& record)
{
    LeaveGame();
    if (game_.Resume(record)) {
        // The history of games tells when it began and on what picture, as for a game started here.
        startedUtc_ = record.StartedUtc > 0 ? record.StartedUtc : clock_.UtcMs() - 1000LL * record.Seconds;
        gamePicture_ = pictureName_;
        emit BoardChanged();
        if (game_.BoardSize() == 4) {  // the measure of the shortest way home, as at Start
            startBoard_ = PositionOf(game_.StartGrid(), 4);
            solver_.PrepareTables();
            solver_.Measure(startBoard_);
        }
    }
    Notify();
}

void TSession::Start()
{
    if (!game_.Running())
        NewGame();
}

void TSession::NewGame()
{
    if (game_.BoardSize() == 1)
        return;
    LeaveGame();
    random_.Randomize();
    game_.Start(random_);
    startedUtc_ = clock_.UtcMs();
    gamePicture_ = pictureName_;
    // The 4 x 4 tables take a moment to read, or some seconds to build the first time: they are
    // made ready while the player plays, for the hints, the solution and the status line to come.
    if (game_.BoardSize() == 4) {
        startBoard_ = game_.Position();
        solver_.PrepareTables();
        solver_.Measure(startBoard_);
    }
    Notify();
}

void TSession::Move(int p)
{
    if (game_.Playing() && !peeking_)
        Moved(game_.Move(p));
}

void TSession::MoveToward(TDirection direction)
{
    if (const int p = TileToward(direction, game_.GapPos(), game_.BoardSize()))
        Move(p);
}

void TSession::Undo()
{
    if (!peeking_)
        Moved(game_.Undo());
}

void TSession::Redo()
{
    if (!peeking_)
        Moved(game_.Redo());
}

// A move is told once: drawn, and when it brought every piece home, the end of the game.
void TSession::Moved(const TMoveResult& result)
{
    if (!result.Moved)
        return;
    if (!solving_)
        solver_.Drop();  // a hint for the board before is no longer wanted
    ClearHint();
    emit Slid(result.Move);
    if (result.Solved && !solving_)
        EndGame(game_.GivenUp());
    else
        Notify();
}

void TSession::EndGame(bool givenUp)
{
    Notify();
    if (!givenUp) {  // a game given up was left when the solver took it
        emit GameLeft();
        RereadScores();  // the place offered is judged against the file as it is now
    }
    const int n = game_.BoardSize(), seconds = game_.Seconds(), hints = game_.Hints();
    // A game won with hints is remembered, but takes no place among the ten best.
    const bool qualifies = !givenUp && hints == 0 && TScoreTable::HasSize(n) && scores_.Qualifies(n, seconds);
    RecordGame(givenUp ? TGameOutcome::Computer : TGameOutcome::Finished);
    if (!qualifies)
        SendRow();  // no name to wait for
    emit Finished({n, seconds, givenUp, qualifies, hints});
}

void TSession::RecordGame(TGameOutcome outcome)
{
    SendRow();
    if (!history_)
        return;
    THistoryRow row{.Started = HistoryTime(startedUtc_), .Ended = HistoryTime(clock_.UtcMs()), .BoardSize = game_.BoardSize(),
                    .Seconds = game_.Seconds(), .Moves = game_.Moves(), .Undos = game_.Undos(), .Hints = game_.Hints(),
                    .Outcome = outcome, .Shortest = startShortest_, .Picture = gamePicture_, .Name = {}};
    THistoryMeasure measure;
    if (game_.BoardSize() == 4 && !startShortest_) {
        // Not measured yet: the history's worker finds it before it writes the row.
        measure = [options = solverOptions_, board = startBoard_](std::stop_token stop) -> std::optional<int> {
            const TCancel cancel(std::move(stop));
            LowerThreadPriority();
            if (options.Store().Prepare(cancel) != TPrepareResult::Ready)
                return std::nullopt;
            const std::optional<THint> way = THintPlanner(options).Shortest(board, cancel);
            return way ? std::optional(int(way->Moves.size())) : std::nullopt;
        };
    }
    row_ = TPendingRow{std::move(row), std::move(measure)};
}

void TSession::SendRow()
{
    if (row_ && history_)
        history_->Add(std::move(row_->Row), std::move(row_->Measure));
    row_.reset();
}

void TSession::ResultClosed()
{
    SendRow();
}

void TSession::TogglePause()
{
    ClearHint();
    game_.TogglePause();
    Notify();
}

QString TSession::StatusText() const
{
    if (!game_.Running() && game_.Moves() == 0)
        return tr("Игра не начата");
    // The numbers first: a narrow window cuts the line's end.
    const bool measured = game_.BoardSize() == 4 && startShortest_;
    QStringList parts;
    if (measured && !game_.Running())  // how far from the shortest way the game went
        parts << tr("Ходов: %1 · кратчайшее: %2").arg(game_.Moves()).arg(*startShortest_);
    else
        parts << tr("Ходов: %1").arg(game_.Moves());
    if (measured && game_.Running())
        parts << tr("Кратчайшее решение: %1").arg(*startShortest_);
    if (!game_.Running())
        parts << (game_.GivenUp() ? tr("Рисунок собран компьютером") : tr("Рисунок собран"));
    else if (solving_)
        parts << tr("Собирает компьютер");
    else if (game_.Paused())
        parts << tr("Пауза");
    else if (peeking_)
        parts << tr("Виден весь рисунок");
    return parts.join(QStringLiteral("  ·  "));
}

void TSession::Timer1Timer()
{
    game_.Tick();
    emit Changed();
}

void TSession::Hint()
{
    if (!game_.Playing() || peeking_)
        return;
    if (!hintWanted_)
        game_.CountHint();  // asked again for the same board, it is the same hint
    hintWanted_ = true;
    if (solver_.Asking(game_.Position()))
        return;  // an answer for this very board is on its way, and will show
    AskSolver();
}

void TSession::Solve()
{
    if (peeking_ || !game_.GiveUp())
        return;
    // The clock stops at once; from here on the player can only hurry the solution home.
    emit GameLeft();
    StopSolver();
    ClearHint();
    solving_ = true;
    finishAtOnce_ = false;
    solution_.reset();
    AskSolver();
    Notify();
}

void TSession::AskSolver()
{
    if (game_.BoardSize() == 4)
        solver_.PrepareTables();  // should they have failed before
    solver_.Ask(game_.Position());
}

// The solver answers at once, and once more when it has a shorter way than its first answer.
void TSession::SolverAnswered(const TPosition& asked, const THint& answer)
{
    if (asked != game_.Position())
        return;  // the board changed meanwhile
    if (solving_) {
        // The playback never takes a way longer than a 4 x 4 board can need: a shortest one
        // follows, and the player waits for it.
        if (solution_ || (game_.BoardSize() == 4 && int(answer.Moves.size()) > kLongestFourByFour))
            return;
        solution_ = answer.Moves;
        solver_.Drop();
        if (finishAtOnce_) {
            FinishSolveNow();
        } else {
            solveTimer_->Start();
            Notify();
        }
    } else if (game_.Playing() && !answer.Moves.empty() && hintWanted_) {
        // The first answer, or a better one while the hint is wanted: the marker goes to its tile.
        hinted_ = answer.Moves.front();
        hintShortest_ = answer.Shortest;
        Notify();
    }
}

void TSession::SolverSettled(const TPosition& asked)
{
    if (solving_ && !solution_ && asked == game_.Position()) {
        solving_ = false;  // no way home to be had now
        Notify();
    }
}

void TSession::StopSolver()
{
    solver_.Drop();
    solveTimer_->Stop();
    solving_ = false;
    solution_.reset();
}

void TSession::ClearHint()
{
    hinted_ = 0;
    hintWanted_ = false;
}

void TSession::PlayNextSolutionMove()
{
    if (!solution_ || solution_->empty()) {
        FinishSolveNow();
        return;
    }
    const int tile = solution_->front();
    solution_->erase(solution_->begin());
    Moved(game_.Move(game_.PositionOfTile(tile)));
    if (!game_.Running())
        FinishSolveNow();
}

void TSession::FinishSolveNow()
{
    if (!solving_)
        return;
    if (!solution_) {
        finishAtOnce_ = true;  // as soon as the solution is there
        return;
    }
    solveTimer_->Stop();
    for (int tile : *solution_)
        game_.Move(game_.PositionOfTile(tile));
    solution_.reset();
    solving_ = false;
    EndGame(true);
}

void TSession::HoldPeek()
{
    peekTimer_->Stop();  // held, it lasts until it is let go
    peekReleaseTimer_->Stop();
    if (game_.Playing() && !peeking_) {
        ClearHint();
        peeking_ = true;
        Notify();
    }
}

void TSession::ReleasePeek()
{
    if (peeking_ && !peekTimer_->Active())
        peekReleaseTimer_->Start();
}

void TSession::PeekForAWhile()
{
    if (!game_.Playing() || peeking_)
        return;
    ClearHint();
    peeking_ = true;
    peekTimer_->Start();
    Notify();
}

void TSession::EndPeek()
{
    peekTimer_->Stop();
    peekReleaseTimer_->Stop();
    if (std::exchange(peeking_, false))
        Notify();
}

void TSession::UseScoreFile(TScoreFile file)
{
    scoreFile_ = std::move(file);
    scores_ = scoreFile_.Load();
    if (!scoreFile_.Problem().isEmpty())
        emit Problem(scoreFile_.Problem());
}

void TSession::CreateScoreFileIfMissing()
{
    scoreFile_.CreateIfMissing();
}

void TSession::RecordScore(const QString& name)
{
    const int n = game_.BoardSize(), seconds = game_.Seconds();
    if (game_.Running() || game_.GivenUp() || game_.Hints() > 0 || !TScoreTable::HasSize(n) || !scores_.Qualifies(n, seconds))
        return;
    QString tell;
    scoreFile_.Place(n, EncodeName(name), seconds, &scores_, &tell);
    if (!tell.isEmpty())
        emit Problem(tell);
    if (row_) {
        row_->Row.Name = name;
        SendRow();
    }
}

void TSession::ClearScores()
{
    QString tell;
    scoreFile_.Clear(&scores_, &tell);
    if (!tell.isEmpty())
        emit Problem(tell);
}

void TSession::RereadScores()
{
    scores_ = scoreFile_.Table();
}

bool TSession::SaveScores()
{
    QString tell;
    const bool saved = scoreFile_.SaveKept(&tell);
    if (!tell.isEmpty())
        emit Problem(tell);
    return saved;
}

void TSession::WaitForWork()
{
    solver_.WaitForWork(false);
    for (TPictureJob& job : pictureJobs_)
        job.Reading->Wait();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

void TSession::WaitForTables()
{
    solver_.WaitForWork(true);
}
