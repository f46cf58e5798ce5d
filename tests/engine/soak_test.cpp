// A long life: a million ticks over several screens and margins with random grabs, drags
// and releases, checking after every tick that the engine record stays consistent.
#include <cstdlib>

#include "support.h"

namespace {

class LongRun : public EngineTest {};

void expect_invariants(long tick) {
    const EngineState& e = *engine;
    ASSERT_GE(e.current_action, 0) << tick;
    ASSERT_LT(e.current_action, e.action_count) << tick;
    ASSERT_GE(e.current_frame, 0) << tick;
    ASSERT_LT(e.current_frame, e.actions[e.current_action].frame_count) << tick;
    ASSERT_EQ(e.x, window_x) << tick;
    ASSERT_EQ(e.y, window_y) << tick;
    ASSERT_TRUE(e.mirrored == 0 || e.mirrored == 1) << tick;
    ASSERT_GE(shown_image, 0);
    ASSERT_LT(shown_image, e.image_count);
    for (int j = 0; j < history_length; ++j) {
        ASSERT_GE(e.history[j], -1);
        ASSERT_LT(e.history[j], e.action_count);
        ASSERT_EQ(e.history[j] == -1, e.history_mirrored[j] == 2) << tick << " " << j;
    }
}

struct Screen {
    int width, height, top, left, bottom, right;
};

TEST_F(LongRun, MillionTicksKeepEveryInvariant) {
    const Screen screens[] = {{1024, 768, 0, 0, 0, 0},   {1920, 1080, 0, 0, 40, 0},
                              {640, 480, 30, 60, 20, 10}, {300, 200, 0, 0, 0, 0},
                              {100, 80, 10, 10, 10, 10}};
    const long ticks_per_screen = 200000;
    srand(7);
    for (const Screen& s : screens) {
        screen_width = s.width;
        screen_height = s.height;
        margin_top = s.top;
        margin_left = s.left;
        margin_bottom = s.bottom;
        margin_right = s.right;
        ASSERT_EQ(start(builtin_tables, s.width), 1);
        const int left = s.left, right = s.width - 50 - s.right;
        const int top = s.top, bottom = s.height - 50 - s.bottom;
        bool dragging = false;
        long moves = 0;
        for (long tick = 1; tick <= ticks_per_screen; ++tick) {
            const int dice = rand() % 1000;
            if (!dragging && dice < 2) {
                dragging = true;
                drag_grab();
            } else if (dragging && dice < 60) {
                int32_t x = rand() % 3000 - 1000, y = rand() % 3000 - 1000;
                clamp_to_margins(&x, &y);
                set_pet_position(y, x);
            } else if (dragging && dice < 120) {
                dragging = false;
                drag_release();
            }
            const int x0 = window_x, y0 = window_y;
            if (dragging) {
                drag_tick();
                ASSERT_EQ(window_x, x0);
                ASSERT_EQ(window_y, y0);
            } else {
                behaviour_step();
                if (window_x != x0 || window_y != y0) ++moves;
            }
            expect_invariants(tick);
            if (right >= left) {
                ASSERT_GE(window_x, left) << tick;
                ASSERT_LE(window_x, right) << tick;
            }
            if (bottom >= top) {
                ASSERT_GE(window_y, top) << tick;
                ASSERT_LE(window_y, bottom) << tick;
            }
        }
        EXPECT_GT(moves, 1000) << "the cat hardly moved on " << s.width << "x" << s.height;
        free_engine();
    }
}

TEST_F(LongRun, EveryActionIsReachedOnAnOrdinaryScreen) {
    ASSERT_EQ(start(builtin_tables, 3), 1);
    std::vector<int> seen(101, 0);
    for (long tick = 0; tick < 300000; ++tick) {
        behaviour_step();
        seen[engine->current_action] = 1;
    }
    for (int a = 0; a < 101; ++a) EXPECT_TRUE(seen[a]) << "action " << a + 1 << " never ran";
}

}  // namespace
