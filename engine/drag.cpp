// Dragging, the engine's side: takes the running action and its grab and release
// reactions, and returns what the cat shows while held and what it does when let go.
// Nothing here moves the pet on its own, records history or draws a random value.
#include <cstdlib>

#include "engine.h"

namespace {

// Starts action |ref| - 1, flipping the orientation for a negative reference.
void switch_to(int32_t ref) {
    engine->current_action = std::abs(ref) - 1;
    if (ref < 0) engine->mirrored = !engine->mirrored;
    engine->current_frame = 0;
    engine->repeat_count = 0;
}

}  // namespace

void drag_grab() {
    engine->saved_action = engine->current_action;
    engine->saved_mirrored = engine->mirrored;
    engine->drag_state = DragState::idle;
    const int32_t g = engine->actions[engine->saved_action].grab_action;
    if (g == 0) return;
    if (g > 0 && g - 1 == engine->current_action) {
        engine->drag_state = DragState::held_same;
        return;
    }
    switch_to(g);
    engine->drag_state = DragState::held_switched;
}

void drag_tick() {
    if (engine->drag_state == DragState::idle) return;
    if (++engine->current_frame >= engine->actions[engine->current_action].frame_count)
        engine->current_frame = 0;
    publish_frame();
}

void drag_release() {
    if (engine->drag_state == DragState::idle) return;
    if (engine->drag_state == DragState::held_switched) {
        engine->current_action = engine->saved_action;
        engine->current_frame = 0;
        engine->mirrored = engine->saved_mirrored;
        engine->repeat_count = 0;
    }
    const int32_t r = engine->actions[engine->saved_action].release_action;
    if (r != 0 && (r < 0 || std::abs(r) - 1 != engine->saved_action)) switch_to(r);
    engine->drag_state = DragState::idle;
}

void clamp_to_margins(int32_t* x, int32_t* y) {
    if (*x < margin_left) *x = margin_left;
    if (*y < margin_top) *y = margin_top;
    if (*x + frame_width > screen_width - margin_right)
        *x = screen_width - margin_right - frame_width;
    if (*y + frame_height > screen_height - margin_bottom)
        *y = screen_height - margin_bottom - frame_height;
}

void set_pet_position(int32_t y, int32_t x) {
    window_x = x;
    window_y = y;
    engine->x = x;
    engine->y = y;
}
