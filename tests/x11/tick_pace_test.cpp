// The tick's pace: a timer that wakes the loop whenever the plan says, stalled now and
// then, and what runs when: the ticks keep their pace through slow wake-ups, and a stall
// gives one late tick, never a burst.
#include <gtest/gtest.h>

#include <vector>

#include "tick_pace.h"

namespace {

constexpr int64_t ms = 1000;  // the plan counts microseconds

// Runs a timer from |start| to |end| at |interval|: it wakes at the time planned, or
// |late| after it, or at the end of a stall that covers it. Returns when each tick ran.
std::vector<int64_t> run_timer(int64_t start, int64_t end, int64_t interval, int64_t late, int64_t stall_from = -1,
                               int64_t stall_to = -1) {
    std::vector<int64_t> ticks;
    int64_t due = start + interval;
    int64_t wake = due;
    while (wake < end) {
        int64_t now = wake + late;
        if (now >= stall_from && now < stall_to) now = stall_to;
        const TickPlan plan = plan_tick(due, now, interval);
        if (plan.run) ticks.push_back(now);
        due = plan.next_due;
        wake = due > now ? due : now;
    }
    return ticks;
}

TEST(TickPace, OnTimeAndSlowWakeUpsKeepThePaceWithoutDrift) {
    EXPECT_EQ(plan_tick(100 * ms, 100 * ms, 10 * ms).run, 1);
    EXPECT_EQ(plan_tick(100 * ms, 100 * ms, 10 * ms).next_due, 110 * ms);
    // Late by less than an interval: the next one is still due an interval after this one.
    EXPECT_EQ(plan_tick(100 * ms, 109 * ms + 999, 10 * ms).next_due, 110 * ms);
    // Woken 3 ms late every time for a second: a hundred ticks, the last at 1 s + 3 ms.
    const std::vector<int64_t> ticks = run_timer(0, 1003 * ms + 1, 10 * ms, 3 * ms);
    ASSERT_EQ(ticks.size(), 100u);
    EXPECT_EQ(ticks.back(), 1003 * ms);
}

TEST(TickPace, AnEarlyWakeUpRunsNothingAndWaitsForTheSameTime) {
    const TickPlan plan = plan_tick(100 * ms, 99 * ms + 990, 10 * ms);
    EXPECT_EQ(plan.run, 0);
    EXPECT_EQ(plan.next_due, 100 * ms);
}

TEST(TickPace, AStallGivesOneLateTickAndThePaceGoesOnFromIt) {
    // Late by exactly an interval, or by many: one tick now, the next an interval on.
    EXPECT_EQ(plan_tick(100 * ms, 110 * ms, 10 * ms).next_due, 120 * ms);
    EXPECT_EQ(plan_tick(100 * ms, 163 * ms, 10 * ms).next_due, 173 * ms);
    for (const int64_t stall : {13 * ms, 63 * ms, 200 * ms, 60000 * ms}) {
        // At 10 ms, stalled from 100 ms on: ticks at 10, ..., 90, then one at the end of
        // the stall, then every 10 ms from there.
        const int64_t resumed = 100 * ms + stall;
        const std::vector<int64_t> ticks = run_timer(0, resumed + 35 * ms, 10 * ms, 0, 100 * ms, resumed);
        std::vector<int64_t> after;
        for (int64_t t : ticks)
            if (t >= resumed) after.push_back(t - resumed);
        EXPECT_EQ(after, (std::vector<int64_t>{0, 10 * ms, 20 * ms, 30 * ms})) << "stall " << stall / ms << " ms";
        EXPECT_EQ(ticks.size() - after.size(), 9u);
    }
}

}  // namespace
