#pragma once
// How a caller stops the solver's work. Every phase (building or loading tables, searching,
// planning) looks at the stop request at check points a few thousand steps apart, so that it
// returns within milliseconds of the request; a watcher, when given, is told of every check
// point and the steps done so far, which is how the tests count the work done after a stop.

#include <cstdint>
#include <stop_token>

// The phases that look at the stop request.
enum class TSolverPhase { Build, Load, Search, Beam, Place };

class TCheckWatcher {
public:
    virtual ~TCheckWatcher() = default;
    // Called at every check point, on the thread doing the work (the table build uses several).
    virtual void Checked(TSolverPhase phase, std::uint64_t steps) = 0;
};

// Steps between two looks at the stop request.
constexpr std::uint64_t kCheckInterval = 4096;

class TCancel {
public:
    TCancel() = default;
    TCancel(std::stop_token stop, TCheckWatcher* watcher = nullptr) : stop_(std::move(stop)), watcher_(watcher) {}

    // A check point: true when the work is to stop.
    bool Stopped(TSolverPhase phase, std::uint64_t steps) const
    {
        if (watcher_)
            watcher_->Checked(phase, steps);
        return stop_.stop_requested();
    }
    bool StopRequested() const { return stop_.stop_requested(); }
    const std::stop_token& Token() const { return stop_; }

private:
    std::stop_token stop_;
    TCheckWatcher* watcher_ = nullptr;
};
