#include "game/SolverClient.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <algorithm>
#include <memory>

TSolverClient::TSolverClient(QObject* parent) : QObject(parent), planner_(options_) {}

TSolverClient::~TSolverClient()
{
    // All are asked first, so that they stop side by side; then each is joined.
    for (TWorker& worker : workers_)
        worker.Thread.request_stop();
    workers_.clear();
}

void TSolverClient::SetOptions(const THintOptions& options)
{
    options_ = options;
    Forget();
}

void TSolverClient::Forget()
{
    planner_ = THintPlanner(options_);
    StopMeasure();
}

void TSolverClient::StopMeasure()
{
    measured_.reset();
    Stop(measure_);
    measure_ = 0;
}

void TSolverClient::Stop(int id)
{
    for (TWorker& worker : workers_)
        if (worker.Id == id)
            worker.Thread.request_stop();  // it ends by itself, and is joined then
}

void TSolverClient::PrepareTables()
{
    if (tables_ != 0 || TablesReady())
        return;
    tables_ = ++lastId_;
    Launch(tables_, TSolverJob::Tables, [store = &Store()](const TCancel& cancel) {
        LowerThreadPriority();  // the player plays on meanwhile
        store->Prepare(cancel);
    });
}

void TSolverClient::Ask(const TPosition& board)
{
    Drop();
    board_ = board;
    answered_ = shortest_ = askedAgain_ = false;
    StartQuestion();
}

void TSolverClient::StartQuestion()
{
    const int id = question_ = ++lastId_;
    running_ = true;
    // The worker plans on a copy; each answer brings the plan back as it then stands.
    auto planner = std::make_shared<THintPlanner>(planner_);
    Launch(id, TSolverJob::Question, [this, id, board = board_, planner](const TCancel& cancel) {
        planner->Answer(board, cancel, [this, id, &planner](const THint& hint) {
            QMetaObject::invokeMethod(
                this, [this, id, hint, plan = *planner] { Took(id, hint, plan); }, Qt::QueuedConnection);
        });
    });
}

void TSolverClient::Measure(const TPosition& board)
{
    StopMeasure();
    measured_ = board;
    StartMeasure();
}

void TSolverClient::StartMeasure()
{
    if (!measured_ || measure_ != 0 || (measured_->N == 4 && !TablesReady()))
        return;
    const int id = measure_ = ++lastId_;
    Launch(id, TSolverJob::Measure, [this, id, board = *measured_, options = options_](const TCancel& cancel) {
        if (const std::optional<THint> way = THintPlanner(options).Shortest(board, cancel)) {
            const int moves = int(way->Moves.size());
            QMetaObject::invokeMethod(this, [this, id, board, moves] {
                if (id == measure_)
                    emit Measured(board, moves);
            }, Qt::QueuedConnection);
        }
    });
}

void TSolverClient::Drop()
{
    Stop(question_);
    question_ = 0;
    running_ = false;
}

void TSolverClient::Launch(int id, TSolverJob job, std::function<void(const TCancel&)> work)
{
    const auto ended = [this, id] { QMetaObject::invokeMethod(this, [this, id] { Ended(id); }, Qt::QueuedConnection); };
    try {
        TWorker& worker = workers_.emplace_back();
        worker.Id = id;
        worker.Job = job;
        worker.Thread = std::jthread([job, work = std::move(work), watch = watch_, ended](std::stop_token stop) {
            try {
                if (watch)
                    watch->Begin(job, stop);
                work(TCancel(stop, watch));
            } catch (...) {
                // out of memory, or a board the solver cannot take: no answer
            }
            try {
                ended();
            } catch (...) {
                // no memory left to tell it: the thread is joined when the client goes
            }
        });
    } catch (const std::exception&) {
        // No thread to be had: the work is not done, which is told as if it had ended.
        workers_.remove_if([id](const TWorker& worker) { return worker.Id == id && !worker.Thread.joinable(); });
        ended();
    }
}

void TSolverClient::Took(int id, const THint& hint, const THintPlanner& planner)
{
    if (id != question_)
        return;  // for a question no longer asked
    planner_ = planner;
    answered_ = true;
    shortest_ = hint.Shortest;
    emit Answered(board_, hint);
}

void TSolverClient::Ended(int id)
{
    // Its work is over (it told so last), so the join takes no time.
    workers_.remove_if([id](const TWorker& worker) { return worker.Id == id; });
    if (id == measure_) {
        measure_ = 0;
        measured_.reset();  // measured, or not to be had
    } else if (id == tables_) {
        tables_ = 0;
        StartMeasure();
        FollowUp();
    } else if (id == question_) {
        running_ = false;
        FollowUp();
    }
}

void TSolverClient::FollowUp()
{
    if (question_ == 0 || running_)
        return;
    if (answered_ && !shortest_ && board_.N == 4) {
        if (TablesReady() && !askedAgain_) {
            askedAgain_ = true;  // once: a search that failed with the tables there is not repeated
            StartQuestion();
            return;
        }
        if (tables_ != 0)
            return;  // asked again once they are ready
    }
    question_ = 0;
    emit Settled(board_);
}

void TSolverClient::WaitForWork(bool tablesToo)
{
    const auto waited = [tablesToo](const TWorker& worker) {
        return (tablesToo || worker.Job != TSolverJob::Tables) && worker.Thread.joinable();
    };
    do {
        for (TWorker& worker : workers_)
            if (waited(worker))
                worker.Thread.join();
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    } while (std::any_of(workers_.begin(), workers_.end(), waited));
}
