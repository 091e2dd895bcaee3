#include "framework/Clock.h"

#include <gtest/gtest.h>

namespace {

TEST(ManualClock, FiresTimersInTheOrderTheyFallDueAsTimeIsSteppedOn)
{
    TManualClock clock;
    std::vector<std::pair<char, std::int64_t>> fired;
    std::unique_ptr<TTimer> once, each;
    once = clock.NewTimer(250, false, [&] { fired.emplace_back('o', clock.Now()); });
    each = clock.NewTimer(100, true, [&] {
        fired.emplace_back('e', clock.Now());
        if (clock.Now() == 300)
            once->Start();  // counts from the moment it is started: due at 550
    });
    once->Start();
    each->Start();
    clock.Advance(600);
    EXPECT_EQ(fired, (std::vector<std::pair<char, std::int64_t>>{
                         {'e', 100}, {'e', 200}, {'o', 250}, {'e', 300}, {'e', 400}, {'e', 500}, {'o', 550}, {'e', 600}}));
    EXPECT_EQ(clock.Now(), 600);
    EXPECT_FALSE(once->Active());
    each->Stop();
    EXPECT_EQ(clock.ActiveTimers(), 0);
    each.reset();  // a timer gone is never fired
    clock.Advance(1000);
    EXPECT_EQ(fired.size(), 8u);
}

} // namespace
