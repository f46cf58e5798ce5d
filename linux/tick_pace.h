// The tick's pace after a late wake-up: takes when the tick was due, the time now and the
// interval (microseconds of a steady clock), and returns whether a tick runs now and when
// the next one is due. One late tick runs; the ones missed meanwhile are dropped.
#pragma once

#include <cstdint>

struct TickPlan {
    int32_t run;       // 1 when a tick runs now
    int64_t next_due;  // when the timer is to wake next
};

// Woken before |due|: no tick, the same time again. On time or late by less than an
// interval: a tick, and the next one an interval after |due|, so that slow wake-ups do
// not slow the pace. Late by a whole interval or more (the program was stopped or
// starved): one tick, and the pace goes on from |now|, never replaying the missed ones
// back to back.
TickPlan plan_tick(int64_t due, int64_t now, int64_t interval);
