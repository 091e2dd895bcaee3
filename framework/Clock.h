#pragma once
// Time as the program's logic sees it: timers that call back after an interval, and a monotonic
// count of milliseconds. The program runs them on Qt's event loop (RealClock); tests step a
// manual clock by hand, so that nothing they check depends on how fast the machine is.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class TTimer {
public:
    virtual ~TTimer() = default;
    // Starts the interval afresh from now; a repeating timer goes on until stopped.
    virtual void Start() = 0;
    virtual void Stop() = 0;
    virtual bool Active() const = 0;
};

class TClock {
public:
    virtual ~TClock() = default;
    // A stopped timer that calls `timeout` each time `intervalMs` have passed since it started
    // (or since it last fired, when it repeats). It must not outlive the clock.
    virtual std::unique_ptr<TTimer> NewTimer(int intervalMs, bool repeating, std::function<void()> timeout) = 0;
    // Milliseconds since some fixed moment; never goes back.
    virtual std::int64_t Now() const = 0;
    // The wall clock: milliseconds since 1970-01-01 00:00 UTC (it may be set back or on).
    virtual std::int64_t UtcMs() const = 0;
};

// The clock of the event loop of the thread that makes its timers.
TClock& RealClock();

// A clock that stands until Advance moves it on.
class TManualClock : public TClock {
public:
    TManualClock() = default;
    TManualClock(const TManualClock&) = delete;
    TManualClock& operator=(const TManualClock&) = delete;
    ~TManualClock() override;

    std::unique_ptr<TTimer> NewTimer(int intervalMs, bool repeating, std::function<void()> timeout) override;
    std::int64_t Now() const override { return now_; }
    // Starts at kManualUtcStart and goes on with Advance; SetUtc sets it to another moment.
    std::int64_t UtcMs() const override { return utcAtZero_ + now_; }
    void SetUtc(std::int64_t ms) { utcAtZero_ = ms - now_; }
    static constexpr std::int64_t kManualUtcStart = 1'700'000'000'000;  // 2023-11-14 22:13:20 UTC

    // Moves time on by `ms`, firing every timer as it falls due, earliest first (timers due at
    // the same moment in the order they were started). A timer started or stopped by a callback
    // counts from the moment that callback fired.
    void Advance(std::int64_t ms);
    // How many timers are running.
    int ActiveTimers() const;

private:
    class TManualTimer;
    friend class TManualTimer;
    std::vector<TManualTimer*> timers_;
    std::int64_t now_ = 0;
    std::int64_t utcAtZero_ = kManualUtcStart;
    std::uint64_t starts_ = 0;  // orders timers due at the same moment
};
