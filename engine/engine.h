// The behaviour engine: takes the built-in action tables and the screen geometry as input,
// and on every tick returns the frame on show (shown_image, shown_mirrored) and the pet's
// position (window_x, window_y). Plain records and free functions; no platform calls.
#pragma once

#include <cstdint>

#include "values.h"

typedef int16_t FrameRef;  // +n: image n as drawn; -n: image n mirrored; never 0

enum class OrientationMode : uint8_t { same = 0, opposite = 1, any = 2 };
enum class StepEvent : int32_t { none = 0, action_done = 1, x_bound = 2, y_bound = 3 };
enum class DragState : int32_t { idle = 0, held_same = 1, held_switched = 2 };

constexpr int32_t fixed_image_count = 170;
constexpr int32_t fixed_action_count = 101;
constexpr int32_t fixed_about_action_count = 62;
constexpr int history_length = 30;
constexpr int compile_message_size = 81;  // 80 characters and the terminator

struct NextEntry {
    int16_t ratio;     // per mille, > 0
    int16_t action;    // 1-based
    uint8_t mirrored;  // 1: the candidate runs with the orientation flipped
    uint8_t rejected;  // scratch mark of the selection in progress
};

struct DislikeEntry {
    int16_t action;  // 1-based
    OrientationMode action_mode;
    int16_t level;     // selections for which the dislike still acts
    int16_t previous;  // 0: no condition; else 1-based action chosen just before the disliker
    OrientationMode previous_mode;
};

struct ActionDef {
    int32_t frame_count;
    FrameRef* frames;
    int32_t x_step;
    int32_t y_step;
    int32_t x_reach;
    int32_t y_reach;
    int32_t next_count;
    NextEntry* next_actions;
    int32_t x_bound_count;
    NextEntry* x_bound;
    int32_t y_bound_count;
    NextEntry* y_bound;
    int32_t dislike_count;
    DislikeEntry* dislikes;
    int32_t grab_action;     // +n / -n (orientation flipped) / 0 = freeze while held
    int32_t release_action;  // same encoding, 0 = none
    int32_t same_ratio;      // per mille taken off a same-orientation repeat, per repeat
};

struct AboutAction {
    int32_t frame_count;
    FrameRef* frames;
};

struct EngineState {
    int32_t image_count;
    int32_t image_height;
    int32_t image_width;
    int32_t tick_interval;
    int32_t action_count;
    ActionDef* actions;
    int32_t about_tick_interval;
    int32_t about_action_count;
    AboutAction* about_actions;
    int32_t* weights;
    int32_t weight_count;  // slots in weights: the longest candidate list
    int32_t initial_action;
    int32_t initial_y;
    int32_t initial_x;
    int32_t current_action;
    int32_t current_frame;
    int32_t y;
    int32_t x;
    int32_t mirrored;
    int32_t repeat_count;
    int32_t history[history_length];
    uint8_t history_mirrored[history_length];
    int32_t saved_action;
    int32_t saved_mirrored;
    DragState drag_state;
    int32_t about_action;
    int32_t about_frame;
};

// The one engine record; null before init_engine and after free_engine.
extern EngineState* engine;

// The frame on show, published after every tick.
extern int32_t shown_image;     // 0-based image index
extern int32_t shown_mirrored;  // 0 or 1

// The twelve per-action text columns and the About animation column. Every column
// array holds action_count strings (null counts as empty).
struct ActionTables {
    int32_t action_count;
    const char* const* frames;
    const char* const* next_actions;
    const char* const* x_step;
    const char* const* y_step;
    const char* const* x_bound;
    const char* const* y_bound;
    const char* const* x_reach;
    const char* const* y_reach;
    const char* const* same_ratio;
    const char* const* dislikes;
    const char* const* grab_action;
    const char* const* release_action;
    int32_t about_action_count;
    const char* const* about_frames;
};

extern const ActionTables builtin_tables;

// Initialisation: returns 1 when the engine is ready, 0 after its message was shown
// (the record no longer exists then).
int init_engine();
int init_engine_from(const ActionTables& tables);
void free_engine();

// Compile steps, exposed for tests; each writes its error into message.
int compile_actions(const ActionTables& tables, char* message);
int alloc_weights(char* message);
int check_dead_locks(char* message);
bool has_safe_exit(const NextEntry* list, int32_t count);
int compile_about_actions(const ActionTables& tables, char* message);
void validate_actions();

// One tick.
void behaviour_step();
void publish_frame();

struct Motion {
    StepEvent event;
    int32_t dy;
    int32_t dx;
};
Motion test_motion(int32_t action, int32_t frame, int32_t orientation, bool strict);
bool fits_reach(int32_t action, int32_t orientation);
bool repeats_cycle(int32_t action, int32_t orientation);

struct Draw {
    int32_t entry;
    int32_t action;
    int32_t orientation;
};
Draw draw_candidate(NextEntry* list, int32_t count);

// Dragging.
void drag_grab();
void drag_tick();
void drag_release();
// Clamps a top-left corner to the area inside the margins; the right and bottom limits
// are applied last and win on a screen too small for the margins.
void clamp_to_margins(int32_t* x, int32_t* y);
void set_pet_position(int32_t y, int32_t x);

// The About box's animation.
void pick_about_action();
void advance_about_frame();
FrameRef current_about_frame();
