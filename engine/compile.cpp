// Engine initialisation: takes the text tables and the screen geometry and returns the
// one engine record, compiled, checked for dead locks, validated and in its starting
// state, or shows the first compile error and leaves no record behind.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "parse.h"
#include "seams.h"

EngineState* engine = nullptr;
int32_t shown_image = 0;
int32_t shown_mirrored = 0;

namespace {

const char memory_text[] = "** ERROR : Fail to allocate memory ...";

const char* column_text(const char* const* column, int32_t index) {
    const char* text = column ? column[index] : nullptr;
    return text ? text : "";
}

// Starting coordinate on one axis: anywhere inside the margins, or the near margin when
// there is no room, in which case no random value is used.
int32_t random_start(int32_t screen, int32_t frame, int32_t near_margin, int32_t far_margin) {
    int32_t span = screen - frame - near_margin - far_margin;
    if (span <= 0) return near_margin;
    return near_margin + next_random() % span;
}

// A target is a safe exit when on every axis it moves along it has no bounding list: it
// then always survives the relaxed pass of a selection.
bool is_safe_exit(const ActionDef& target) {
    if (target.x_step != 0 && target.x_bound_count != 0) return false;
    if (target.y_step != 0 && target.y_bound_count != 0) return false;
    return true;
}

void free_next_lists(ActionDef& a) {
    engine_free(a.frames);
    engine_free(a.next_actions);
    engine_free(a.x_bound);
    engine_free(a.y_bound);
    engine_free(a.dislikes);
}

// The failure path of initialisation: show the message, free whatever was built.
int abandon_engine(const char* message) {
    error_box(message);
    free_engine();
    return 0;
}

}  // namespace

int compile_actions(const ActionTables& tables, char* message) {
    engine->actions = static_cast<ActionDef*>(
        engine_alloc(sizeof(ActionDef) * (tables.action_count > 0 ? tables.action_count : 1)));
    if (!engine->actions) {
        snprintf(message, compile_message_size, memory_text);
        return 0;
    }
    const int32_t x_half = screen_width / 2;
    const int32_t y_half = screen_height / 2;

    for (int32_t i = 0; i < engine->action_count; ++i) {
        ActionDef& a = engine->actions[i];
        int errors = 0;
        switch (parse_frame_list(column_text(tables.frames, i), i + 1, FrameSet::action,
                                 &a.frame_count, &a.frames, message)) {
            case FrameListResult::ok: break;
            case FrameListResult::invalid_image: errors = 1; break;
            case FrameListResult::fatal: return 0;
        }
        errors += parse_next_list(column_text(tables.next_actions, i), i, message,
                                  &a.next_count, &a.next_actions);
        const char* text = column_text(tables.x_step, i);
        if (*text) a.x_step = parse_step_value(text, x_half);
        text = column_text(tables.y_step, i);
        if (*text) a.y_step = parse_step_value(text, y_half);
        text = column_text(tables.x_reach, i);
        if (*text) a.x_reach = parse_step_value(text, x_half);
        text = column_text(tables.y_reach, i);
        if (*text) a.y_reach = parse_step_value(text, y_half);
        text = column_text(tables.same_ratio, i);
        if (*text) a.same_ratio = parse_tenfold(text);
        text = column_text(tables.x_bound, i);
        if (*text) errors += parse_next_list(text, i, message, &a.x_bound_count, &a.x_bound);
        text = column_text(tables.y_bound, i);
        if (*text) errors += parse_next_list(text, i, message, &a.y_bound_count, &a.y_bound);
        text = column_text(tables.dislikes, i);
        if (*text) errors += parse_dislike_list(text, i, message, &a.dislike_count, &a.dislikes);
        text = column_text(tables.grab_action, i);
        if (*text) a.grab_action = parse_action_ref(text);
        text = column_text(tables.release_action, i);
        if (*text) a.release_action = parse_action_ref(text);
        if (errors) return 0;
    }
    return alloc_weights(message) == 0 ? 1 : 0;
}

int alloc_weights(char* message) {
    int32_t longest = 0;
    for (int32_t i = 0; i < engine->action_count; ++i) {
        const ActionDef& a = engine->actions[i];
        if (a.next_count > longest) longest = a.next_count;
        if (a.x_bound_count > longest) longest = a.x_bound_count;
        if (a.y_bound_count > longest) longest = a.y_bound_count;
    }
    if (engine->action_count <= 0 || longest == 0) {
        snprintf(message, compile_message_size, "** ERROR : Invalid format");
        return 1;
    }
    engine->weights = static_cast<int32_t*>(engine_alloc(sizeof(int32_t) * longest));
    if (!engine->weights) {
        snprintf(message, compile_message_size, memory_text);
        return 1;
    }
    engine->weight_count = longest;
    return 0;
}

bool has_safe_exit(const NextEntry* list, int32_t count) {
    for (int32_t i = 0; i < count; ++i)
        if (is_safe_exit(engine->actions[list[i].action - 1])) return true;
    return false;
}

int check_dead_locks(char* message) {
    for (int32_t i = 0; i < engine->action_count; ++i) {
        const ActionDef& a = engine->actions[i];
        const char* fault = nullptr;
        if (!has_safe_exit(a.next_actions, a.next_count))
            fault = "** ERROR : For action %d, may have dead lock actions ...";
        else if (a.x_bound_count != 0 && !has_safe_exit(a.x_bound, a.x_bound_count))
            fault = "** ERROR : For action %d, may have dead lock (x_bound) ...";
        else if (a.y_bound_count != 0 && !has_safe_exit(a.y_bound, a.y_bound_count))
            fault = "** ERROR : For action %d, may have dead lock (y_bound) ...";
        if (fault) {
            snprintf(message, compile_message_size, fault, i + 1);
            return 0;
        }
    }
    return 1;
}

int compile_about_actions(const ActionTables& tables, char* message) {
    const int32_t n = engine->about_action_count;
    engine->about_actions =
        static_cast<AboutAction*>(engine_alloc(sizeof(AboutAction) * (n > 0 ? n : 1)));
    if (!engine->about_actions) {
        snprintf(message, compile_message_size, memory_text);
        return 0;
    }
    for (int32_t j = 0; j < n; ++j) {
        AboutAction& entry = engine->about_actions[j];
        if (parse_frame_list(column_text(tables.about_frames, j), j + 1, FrameSet::about,
                             &entry.frame_count, &entry.frames, message) != FrameListResult::ok)
            return 0;
    }
    return 1;
}

void free_engine() {
    if (!engine) return;
    if (engine->about_actions) {
        for (int32_t j = 0; j < engine->about_action_count; ++j)
            engine_free(engine->about_actions[j].frames);
        engine_free(engine->about_actions);
    }
    if (engine->actions) {
        for (int32_t i = 0; i < engine->action_count; ++i) free_next_lists(engine->actions[i]);
        engine_free(engine->actions);
    }
    engine_free(engine->weights);
    engine_free(engine);
    engine = nullptr;
}

int init_engine() { return init_engine_from(builtin_tables); }

int init_engine_from(const ActionTables& tables) {
    char message[compile_message_size];
    message[0] = '\0';
    seed_random(engine_seed >= 0 ? static_cast<uint32_t>(engine_seed)
                                 : static_cast<uint32_t>(time(nullptr)));

    engine = static_cast<EngineState*>(engine_alloc(sizeof(EngineState)));
    if (!engine) {
        error_box(memory_text);
        return 0;
    }
    window_x = random_start(screen_width, frame_width, margin_left, margin_right);
    window_y = random_start(screen_height, frame_height, margin_top, margin_bottom);

    engine->tick_interval = timer_interval;
    engine->image_count = fixed_image_count;
    engine->action_count = tables.action_count;
    engine->image_height = frame_height;
    engine->image_width = frame_width;
    engine->initial_action = 1;
    engine->initial_y = window_y;
    engine->initial_x = window_x;
    // Half again as slow as the pet's tick; a tick so long that this would not fit in 32
    // bits gets the longest interval instead of a wrapped-around negative one.
    engine->about_tick_interval =
        static_cast<int32_t>(std::min<int64_t>(int64_t{timer_interval} * 3 / 2, INT32_MAX));
    engine->about_action_count = tables.about_action_count;

    if (!compile_actions(tables, message) || !check_dead_locks(message))
        return abandon_engine(message);
    validate_actions();
    if (!compile_about_actions(tables, message)) return abandon_engine(message);

    engine->y = engine->initial_y;
    engine->x = engine->initial_x;
    engine->current_action = engine->initial_action - 1;
    engine->current_frame = 0;
    engine->mirrored = 0;
    engine->repeat_count = 0;
    for (int j = 0; j < history_length; ++j) {
        engine->history[j] = -1;
        engine->history_mirrored[j] = 2;
    }
    publish_frame();
    return 1;
}
