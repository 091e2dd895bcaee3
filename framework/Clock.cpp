#include "framework/Clock.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <tuple>

namespace {

class TQtTimer : public TTimer {
public:
    TQtTimer(int intervalMs, bool repeating, std::function<void()> timeout)
    {
        timer_.setInterval(intervalMs);
        timer_.setSingleShot(!repeating);
        QObject::connect(&timer_, &QTimer::timeout, [timeout = std::move(timeout)] { timeout(); });
    }
    void Start() override { timer_.start(); }
    void Stop() override { timer_.stop(); }
    bool Active() const override { return timer_.isActive(); }

private:
    QTimer timer_;
};

class TQtClock : public TClock {
public:
    TQtClock() { elapsed_.start(); }
    std::unique_ptr<TTimer> NewTimer(int intervalMs, bool repeating, std::function<void()> timeout) override
    {
        return std::make_unique<TQtTimer>(intervalMs, repeating, std::move(timeout));
    }
    std::int64_t Now() const override { return elapsed_.elapsed(); }
    std::int64_t UtcMs() const override { return QDateTime::currentMSecsSinceEpoch(); }

private:
    QElapsedTimer elapsed_;
};

} // namespace

TClock& RealClock()
{
    static TQtClock clock;
    return clock;
}

class TManualClock::TManualTimer : public TTimer {
public:
    TManualTimer(TManualClock& clock, int intervalMs, bool repeating, std::function<void()> timeout)
        : clock_(clock), interval_(std::max(0, intervalMs)), repeating_(repeating), timeout_(std::move(timeout))
    {
        clock_.timers_.push_back(this);
    }
    ~TManualTimer() override { std::erase(clock_.timers_, this); }

    void Start() override
    {
        active_ = true;
        due_ = clock_.now_ + interval_;
        order_ = ++clock_.starts_;
    }
    void Stop() override { active_ = false; }
    bool Active() const override { return active_; }

    bool DueBy(std::int64_t moment) const { return active_ && due_ <= moment; }
    bool Before(const TManualTimer& other) const { return std::tie(due_, order_) < std::tie(other.due_, other.order_); }
    std::int64_t Due() const { return due_; }

    void Fire()
    {
        if (repeating_) {
            due_ += std::max(interval_, 1);  // a zero interval still lets time move on
            order_ = ++clock_.starts_;
        } else {
            active_ = false;
        }
        const std::function<void()> timeout = timeout_;  // the callback may delete this timer
        timeout();
    }

private:
    TManualClock& clock_;
    const int interval_;
    const bool repeating_;
    const std::function<void()> timeout_;
    bool active_ = false;
    std::int64_t due_ = 0;
    std::uint64_t order_ = 0;
};

TManualClock::~TManualClock() = default;

std::unique_ptr<TTimer> TManualClock::NewTimer(int intervalMs, bool repeating, std::function<void()> timeout)
{
    return std::make_unique<TManualTimer>(*this, intervalMs, repeating, std::move(timeout));
}

void TManualClock::Advance(std::int64_t ms)
{
    const std::int64_t until = now_ + std::max<std::int64_t>(0, ms);
    for (;;) {
        TManualTimer* next = nullptr;
        for (TManualTimer* timer : timers_)
            if (timer->DueBy(until) && (!next || timer->Before(*next)))
                next = timer;
        if (!next)
            break;
        now_ = next->Due();
        next->Fire();
    }
    now_ = until;
}

int TManualClock::ActiveTimers() const
{
    return int(std::count_if(timers_.begin(), timers_.end(), [](const TManualTimer* timer) { return timer->Active(); }));
}
