// The tick's pace after a late wake-up: takes when the tick was due, the time now and the
// interval, and returns whether a tick runs now and when the next one is due.
#include "tick_pace.h"

TickPlan plan_tick(int64_t due, int64_t now, int64_t interval) {
    if (now < due) return {0, due};
    const int64_t next = due + interval;
    // A timer message is never queued twice: however long the wait, one tick comes of it.
    return {1, next > now ? next : now + interval};
}
