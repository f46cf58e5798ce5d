// The few services the engine takes from the program that links it: a message box for
// compile errors and validator findings, zero-filled allocation, and the random seed.
#pragma once

#include <cstddef>
#include <cstdint>

// Defined by the program: the Windows shell shows a message box captioned "Tuvo" with an
// error icon; native tools and tests print or record the text. Returns when dismissed.
void error_box(const char* text);

// Every allocation of the engine goes through these. engine_alloc returns zero-filled
// memory or null.
void* engine_alloc(size_t bytes);
void engine_free(void* block);

// Test seam: when positive, the allocation that brings it down to 0 fails (1 = the next).
extern long alloc_fail_countdown;
// Blocks handed out by engine_alloc and not yet freed.
extern long live_allocations;

// The classic C library generator, the same on every platform: values 0..32767.
void seed_random(uint32_t seed);
int32_t next_random();

// When non-negative, init_engine seeds with this instead of the current time.
extern int64_t engine_seed;
