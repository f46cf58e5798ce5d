// The classic C library generator, written out so that a seed gives the same sequence on
// every platform: a 32-bit linear congruence whose bits 16..30 are each draw (0..32767).
#include "seams.h"

namespace {
uint32_t random_state = 1;
}

int64_t engine_seed = -1;

void seed_random(uint32_t seed) { random_state = seed; }

int32_t next_random() {
    random_state = random_state * 214013u + 2531011u;
    return static_cast<int32_t>((random_state >> 16) & 0x7FFF);
}
