// The About box's own animation: one of the built-in About frame lists, chosen at random
// when the box opens and looped until it closes.
#include "engine.h"
#include "seams.h"

void pick_about_action() {
    engine->about_action = next_random() % engine->about_action_count;
    engine->about_frame = 0;
}

void advance_about_frame() {
    if (++engine->about_frame >= engine->about_actions[engine->about_action].frame_count)
        engine->about_frame = 0;
}

FrameRef current_about_frame() {
    return engine->about_actions[engine->about_action].frames[engine->about_frame];
}
