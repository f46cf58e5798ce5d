// Zero-filled allocation for the engine, with a countdown that lets tests fail any one
// allocation and a count of live blocks that shows whether everything was freed.
#include <cstdlib>

#include "seams.h"

long alloc_fail_countdown = 0;
long live_allocations = 0;

void* engine_alloc(size_t bytes) {
    if (alloc_fail_countdown > 0 && --alloc_fail_countdown == 0) return nullptr;
    void* block = calloc(1, bytes == 0 ? 1 : bytes);
    if (block) ++live_allocations;
    return block;
}

void engine_free(void* block) {
    if (!block) return;
    --live_allocations;
    free(block);
}
