#pragma once
// The game's way to the solver: questions about a board answered on worker threads, and the
// 4 x 4 tables made ready in the background, at a low priority. Nothing here ever waits for the
// solver: a question no longer wanted is asked to stop and left to end by itself (every phase of
// the solver looks at its stop request every few thousand steps); its thread is joined once it
// has ended, or, at the latest, when the client goes, after its stop was requested. Answers
// reach the owner's thread through its event loop, and only those of the question asked last.
//
// A question gets an answer at once (see THintPlanner::Answer) and, when that was not a
// shortest one, a shortest one as soon as it can be had: after the search that goes on past the
// quick answer's budget, or, on 4 x 4, once the tables are ready. A failure inside the solver (out
// of memory, a thread that cannot start) is only an answer that does not come.

#include "solver/Cancel.h"
#include "solver/HintPlanner.h"

#include <QObject>
#include <functional>
#include <list>
#include <optional>
#include <stop_token>
#include <thread>

// The kinds of work a worker does.
enum class TSolverJob { Question, Tables, Measure };

// For tests: told on a worker's thread when it begins, before any of its work (a gate may hold it
// there), and at every check point of its work.
class TSolverWatch : public TCheckWatcher {
public:
    virtual void Begin(TSolverJob job, const std::stop_token& stop) = 0;
};

class TSolverClient : public QObject {
    Q_OBJECT
public:
    explicit TSolverClient(QObject* parent = nullptr);
    ~TSolverClient() override;  // asks every worker to stop, and joins them

    // The planner's options; its plan starts afresh.
    void SetOptions(const THintOptions& options);
    // Forgets the plan, for a new game.
    void Forget();

    // Starts making the 4 x 4 tables ready on a worker of low priority, unless they are ready or
    // on their way.
    void PrepareTables();
    bool TablesReady() const { return Store().IsReady(); }

    // Asks for the way home from the board, in place of any question before.
    void Ask(const TPosition& board);
    // A worker is answering a question about this board.
    bool Asking(const TPosition& board) const { return running_ && board == board_; }
    // The question is no longer wanted.
    void Drop();

    // Asks for the length of a shortest way home from a board of up to 4 x 4, in place of any
    // such question before, beside the questions about hints; on 4 x 4 it is sought once the
    // tables are ready. Dropped by Forget.
    void Measure(const TPosition& board);

    void Watch(TSolverWatch* watch) { watch_ = watch; }
    // For tests: waits for the questions' and measures' workers (with the table preparation, too,
    // when asked)
    // and delivers what they answered, until no more work follows.
    void WaitForWork(bool tablesToo);

signals:
    // An answer for the board asked about; a better one may follow.
    void Answered(const TPosition& board, const THint& hint);
    // No other answer will come for the board asked about: the last was shortest, or none better
    // can be had (none at all, when the solver failed).
    void Settled(const TPosition& board);
    // The length of a shortest way home from the board measured last.
    void Measured(const TPosition& board, int moves);

private:
    struct TWorker {
        int Id = 0;
        TSolverJob Job = TSolverJob::Question;
        std::jthread Thread;
    };

    TTableStore& Store() const { return options_.Store(); }
    // Runs the work on a worker of its own, which tells when it has ended (at once when no thread
    // could be had).
    void Launch(int id, TSolverJob job, std::function<void(const TCancel&)> work);
    void StartQuestion();
    // Starts the measure wanted, when it can be had now.
    void StartMeasure();
    void StopMeasure();
    // Asks the worker to stop; it ends by itself, and is joined then.
    void Stop(int id);
    void Took(int id, const THint& hint, const THintPlanner& planner);
    void Ended(int id);
    // After the question's worker or the tables' ended: ask again for a shortest answer, or tell
    // that none will come.
    void FollowUp();

    THintOptions options_;
    THintPlanner planner_;  // the plan as the last answer left it; each question works on a copy
    TSolverWatch* watch_ = nullptr;
    int lastId_ = 0;
    int question_ = 0;       // the worker answering the question asked last (0: none)
    TPosition board_;        // the board it is about
    bool running_ = false;   // its worker has not ended
    bool answered_ = false;  // an answer came
    bool shortest_ = false;  // the last answer was shortest
    bool askedAgain_ = false;  // asked once more for a shortest answer, when the tables came
    int tables_ = 0;           // the worker making the tables ready (0: none)
    std::optional<TPosition> measured_;  // the board whose distance is wanted
    int measure_ = 0;                    // the worker measuring it (0: none)
    // Last, so that they are joined before anything they answer to goes.
    std::list<TWorker> workers_;
};
