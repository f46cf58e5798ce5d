// Engine benchmarks (not tests): the cost of one tick over a long life, of initialising
// from the built-in tables, and of one selection from the longest candidate list.
#include <benchmark/benchmark.h>

#include "engine.h"
#include "seams.h"

void error_box(const char*) {}

namespace {

void start_engine(int64_t seed) {
    screen_width = 1024;
    screen_height = 768;
    engine_seed = seed;
    free_engine();
    init_engine();
}

void BM_behaviour_step(benchmark::State& state) {
    start_engine(1);
    for (auto _ : state) {
        behaviour_step();
        benchmark::DoNotOptimize(shown_image);
    }
    free_engine();
}
BENCHMARK(BM_behaviour_step)->MinTime(1.0);

void BM_init_engine(benchmark::State& state) {
    screen_width = 1024;
    screen_height = 768;
    engine_seed = 1;
    for (auto _ : state) {
        init_engine();
        benchmark::DoNotOptimize(engine);
        free_engine();
    }
    state.SetLabel("built-in tables");
}
BENCHMARK(BM_init_engine)->Unit(benchmark::kMicrosecond);

// Action 4 has one of the two 22-entry lists; a full history makes every candidate's
// dislike scan as long as it can be.
void BM_select_longest_list(benchmark::State& state) {
    start_engine(2);
    for (auto _ : state) {
        state.PauseTiming();
        engine->current_action = 3;
        engine->current_frame = engine->actions[3].frame_count - 1;
        engine->mirrored = 0;
        for (int j = 0; j < history_length; ++j) {
            engine->history[j] = (j * 7) % 101;
            engine->history_mirrored[j] = static_cast<uint8_t>(j & 1);
        }
        state.ResumeTiming();
        behaviour_step();
        benchmark::DoNotOptimize(engine->current_action);
    }
    free_engine();
}
BENCHMARK(BM_select_longest_list);

}  // namespace

BENCHMARK_MAIN();
