#include "game/Session.h"

#include "framework/PictureFile.h"
#include "solver/TableStore.h"

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

QString PictureProblem(const QString& path, const QString& reason)
{
    return QStringLiteral("Не удалось открыть рисунок «%1».\n%2").arg(path, reason);
}

// The picture with its shorter side brought down to `side` pixels (0: as it is), proportions
// kept: a board of that side shows no more of it.
QImage Kept(const QImage& picture, int side)
{
    const int shorter = std::min(picture.width(), picture.height());
    if (side <= 0 || shorter <= side)
        return picture;
    const double scale = double(side) / shorter;
    const QSize size(std::max(1, qRound(picture.width() * scale)), std::max(1, qRound(picture.height() * scale)));
    return picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace

TSession::TSession(TClock& clock, TRandom& random, QObject* parent)
    : QObject(parent), clock_(clock), random_(random)
{
    secondTimer_ = clock_.NewTimer(kSecondMs, true, [this] { Timer1Timer(); });
    solveTimer_ = clock_.NewTimer(kSolveStepMs, true, [this] { PlayNextSolutionMove(); });
    peekTimer_ = clock_.NewTimer(kPeekMs, false, [this] { EndPeek(); });
}

TSession::~TSession()
{
    solver_.request_stop();
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
    picture_ = Kept(picture, largestBoard_);
    pictureName_ = name;
    picturePath_ = localPath.isEmpty() || localPath.startsWith('/') ? localPath
                                                                    : QFile::encodeName(QDir::currentPath()) + '/' + localPath;
    NewBoard(game_.BoardSize());
}

void TSession::OpenPicture(const QString& path)
{
    const int question = ++pictureQuestion_;
    TPictureJob& job = pictureJobs_.emplace_back();
    job.Question = question;
    job.Worker = std::jthread([this, path, question, side = largestBoard_] {
        QString error;
        const QImage picture = Kept(ReadPictureFile(path, &error), side);
        QMetaObject::invokeMethod(
            this, [this, path, picture, error, question] { PictureRead(question, path, picture, error); },
            Qt::QueuedConnection);
    });
    Notify();  // busy
}

void TSession::PictureRead(int question, const QString& path, const QImage& picture, const QString& error)
{
    pictureJobs_.remove_if([question](const TPictureJob& job) { return job.Question == question; });
    if (question != pictureQuestion_) {
        Notify();
        return;  // another picture was asked for meanwhile
    }
    if (picture.isNull()) {
        Notify();
        emit Problem(PictureProblem(path, error));
        return;
    }
    SetPicture(picture, QFileInfo(path).fileName(), QFile::encodeName(path));
}

bool TSession::OpenPictureNow(const QByteArray& localPath)
{
    ++pictureQuestion_;  // a picture on its way is no longer wanted
    const QString path = QFile::decodeName(localPath);
    QString error;
    const QImage picture = ReadLocalPictureFile(localPath, &error);
    if (picture.isNull()) {
        emit Problem(PictureProblem(path, error));
        return false;
    }
    SetPicture(picture, QFileInfo(path).fileName(), localPath);
    return true;
}

void TSession::NewBoard(int n)
{
    StopSolver();
    ClearHint();
    game_.NewBoard(n);
    emit BoardChanged();
    Notify();
}

void TSession::Start()
{
    if (game_.BoardSize() == 1)
        return;
    StopSolver();
    ClearHint();
    random_.Randomize();
    game_.Start(random_);
    planner_ = THintPlanner(solverOptions_);
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
        solver_.request_stop();  // a hint for the board before is no longer wanted
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
    if (!givenUp)
        RereadScores();  // the place offered is judged against the file as it is now
    const int n = game_.BoardSize(), seconds = game_.Seconds();
    const bool qualifies = !givenUp && TScoreTable::HasSize(n) && scores_.Qualifies(n, seconds);
    emit Finished({n, seconds, givenUp, qualifies});
}

void TSession::TogglePause()
{
    ClearHint();
    game_.TogglePause();
    Notify();
}

QString TSession::StatusText() const
{
    QStringList parts;
    if (!game_.Running() && game_.Moves() == 0)
        return QStringLiteral("Игра не начата");
    if (!game_.Running())
        parts << (game_.GivenUp() ? QStringLiteral("Рисунок собран компьютером") : QStringLiteral("Рисунок собран"));
    else if (solving_)
        parts << QStringLiteral("Собирает компьютер");
    else if (game_.Paused())
        parts << QStringLiteral("Пауза");
    else if (peeking_)
        parts << QStringLiteral("Виден весь рисунок");
    parts << QStringLiteral("Ходов: %1").arg(game_.Moves());
    if (game_.BoardSize() == 4 && startShortest_)
        parts << QStringLiteral("Кратчайшее решение: %1").arg(*startShortest_);
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
    if (solver_.joinable() && !solver_.get_stop_token().stop_requested() && asked_ == game_.Position())
        return;  // the answer for this very board is on its way
    StopSolver();
    AskSolver(false);
}

void TSession::Solve()
{
    if (peeking_ || !game_.GiveUp())
        return;
    // The clock stops at once; from here on the player can only hurry the solution home.
    StopSolver();
    ClearHint();
    solving_ = true;
    finishAtOnce_ = false;
    solution_.reset();
    Notify();
    AskSolver(true);
}

void TSession::AskSolver(bool wholeSolution)
{
    const TPosition position = asked_ = game_.Position();
    // The tables of the 4 x 4 board take a moment to read, or to build the first time.
    buildingTables_ = position.N == 4 && !solverOptions_.Tables && !TTableStore::Shared().IsReady();
    const int question = ++solverQuestion_;
    solver_ = std::jthread([this, position, wholeSolution, question](std::stop_token stop) {
        std::optional<TMoves> answer;
        try {
            if (wholeSolution) {
                answer = planner_.Solution(position, stop);
            } else if (const std::optional<int> tile = planner_.NextMove(position, stop)) {
                answer = *tile ? TMoves{*tile} : TMoves{};
            }
        } catch (const std::exception&) {
            answer.reset();  // a board the solver cannot take gets no answer
        }
        QMetaObject::invokeMethod(
            this, [this, question, position, answer] { SolverAnswered(question, position, answer); },
            Qt::QueuedConnection);
    });
    if (buildingTables_)
        Notify();
}

void TSession::SolverAnswered(int question, const TPosition& asked, const std::optional<TMoves>& answer)
{
    if (question != solverQuestion_)
        return;  // a question no longer asked: its worker was stopped and joined
    if (solver_.joinable())
        solver_.join();
    buildingTables_ = false;
    if (asked != game_.Position() || !answer) {
        solving_ = false;  // the board changed meanwhile, or the solver had no answer
        Notify();
        return;
    }
    if (solving_) {
        solution_ = *answer;
        if (finishAtOnce_) {
            FinishSolveNow();
        } else {
            solveTimer_->Start();
            Notify();
        }
    } else {
        if (!answer->empty() && game_.Playing())
            hinted_ = answer->front();
        Notify();
    }
}

void TSession::StopSolver()
{
    if (solver_.joinable()) {
        solver_.request_stop();
        solver_.join();
    }
    ++solverQuestion_;  // an answer already on its way is for a question no longer asked
    buildingTables_ = false;
    solveTimer_->Stop();
    solving_ = false;
    solution_.reset();
}

void TSession::ClearHint()
{
    hinted_ = 0;
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
    if (game_.Playing() && !peeking_) {
        ClearHint();
        peeking_ = true;
        Notify();
    }
}

void TSession::ReleasePeek()
{
    if (!peekTimer_->Active())
        EndPeek();
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
    if (game_.Running() || game_.GivenUp() || !TScoreTable::HasSize(n) || !scores_.Qualifies(n, seconds))
        return;
    QString tell;
    scoreFile_.Place(n, EncodeName(name), seconds, &scores_, &tell);
    if (!tell.isEmpty())
        emit Problem(tell);
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
    QString error;
    if (scoreFile_.SaveKept(&error))
        return true;
    emit Problem(error);
    return false;
}

void TSession::WaitForWork()
{
    if (solver_.joinable())
        solver_.join();
    for (TPictureJob& job : pictureJobs_)
        if (job.Worker.joinable())
            job.Worker.join();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}
