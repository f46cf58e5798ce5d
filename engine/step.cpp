// The behaviour step: takes the engine record and returns it one tick later. The running
// action advances a frame and moves by its step, clipped to the margins; when it has
// shown all its frames or would cross a limit it has a bounding list for, the next action
// is drawn by weight from the right candidate list and started on the same tick.
#include <cstdlib>

#include "engine.h"
#include "seams.h"

namespace {

constexpr int max_cycle_refusals = 10;

struct Limits {
    int32_t left, right, top, bottom;
};

Limits limits() {
    return {margin_left, screen_width - engine->image_width - margin_right, margin_top,
            screen_height - engine->image_height - margin_bottom};
}

struct Candidates {
    NextEntry* list;
    int32_t count;
};

Candidates candidate_list(StepEvent event, int32_t action) {
    ActionDef& a = engine->actions[action];
    if (event == StepEvent::x_bound && a.x_bound_count > 0) return {a.x_bound, a.x_bound_count};
    if (event == StepEvent::y_bound && a.y_bound_count > 0) return {a.y_bound, a.y_bound_count};
    return {a.next_actions, a.next_count};
}

// Orientation demanded by a dislike's mode, relative to a reference orientation.
bool mode_matches(OrientationMode mode, int32_t orientation, int32_t reference) {
    switch (mode) {
        case OrientationMode::same: return orientation == reference;
        case OrientationMode::opposite: return orientation != reference;
        case OrientationMode::any: return true;
    }
    return false;
}

// Lowers a candidate's weight by the dislikes of the recent selections: a dislike held by
// the selection j places back cuts the weight to j / level of its ratio.
int32_t disliked_weight(const NextEntry& entry, int32_t orientation, int32_t weight) {
    for (int j = 0; j < history_length; ++j) {
        const int32_t h = engine->history[j];
        if (h < 0) continue;
        const ActionDef& holder = engine->actions[h];
        const int32_t o_h = engine->history_mirrored[j];
        for (int32_t d = 0; d < holder.dislike_count; ++d) {
            const DislikeEntry& dislike = holder.dislikes[d];
            if (dislike.action != entry.action || j >= dislike.level) continue;
            if (!mode_matches(dislike.action_mode, orientation, o_h)) continue;
            if (dislike.previous > 0) {
                if (j + 1 >= history_length) continue;
                const int32_t p = engine->history[j + 1];
                if (p < 0 || p != dislike.previous - 1) continue;
                if (!mode_matches(dislike.previous_mode, engine->history_mirrored[j + 1], o_h))
                    continue;
            }
            const int32_t faded = j * entry.ratio / dislike.level;
            if (faded < weight) weight = faded;
        }
    }
    return weight;
}

}  // namespace

void publish_frame() {
    const FrameRef ref = engine->actions[engine->current_action].frames[engine->current_frame];
    shown_image = std::abs(ref) - 1;
    shown_mirrored = (ref < 0) != (engine->mirrored != 0) ? 1 : 0;
}

Motion test_motion(int32_t action, int32_t frame, int32_t orientation, bool strict) {
    const ActionDef& a = engine->actions[action];
    if (frame >= a.frame_count) return {StepEvent::action_done, 0, 0};
    const Limits lim = limits();
    StepEvent event = StepEvent::none;

    int32_t dx = orientation ? -a.x_step : a.x_step;
    const bool x_interrupts = strict || a.x_bound_count > 0;
    if (dx < 0 && engine->x + dx < lim.left) {
        dx = lim.left - engine->x;
        if (x_interrupts) event = StepEvent::x_bound;
    } else if (dx > 0 && engine->x + dx > lim.right) {
        dx = lim.right - engine->x;
        if (x_interrupts) event = StepEvent::x_bound;
    }

    int32_t dy = a.y_step;
    const bool y_interrupts = strict || a.y_bound_count > 0;
    if (dy < 0 && engine->y + dy < lim.top) {
        dy = lim.top - engine->y;
        if (y_interrupts) event = StepEvent::y_bound;
    } else if (dy > 0 && engine->y + dy > lim.bottom) {
        dy = lim.bottom - engine->y;
        if (y_interrupts) event = StepEvent::y_bound;
    }

    if (event != StepEvent::none) return {event, 0, 0};
    return {StepEvent::none, dy, dx};
}

bool fits_reach(int32_t action, int32_t orientation) {
    const ActionDef& a = engine->actions[action];
    const Limits lim = limits();
    const int32_t rx = orientation ? -a.x_reach : a.x_reach;
    if ((rx < 0 && engine->x + rx < lim.left) || (rx > 0 && engine->x + rx > lim.right))
        return false;
    const int32_t ry = a.y_reach;
    return !((ry < 0 && engine->y + ry < lim.top) || (ry > 0 && engine->y + ry > lim.bottom));
}

Draw draw_candidate(NextEntry* list, int32_t count) {
    const ActionDef& running = engine->actions[engine->current_action];
    // The repeat penalty grows with every repeat; kept wide so a long run cannot overflow.
    const int64_t penalty = int64_t{running.same_ratio} * engine->repeat_count;
    int32_t* weights = engine->weights;
    int64_t total = 0;
    for (int32_t i = 0; i < count; ++i) {
        const NextEntry& entry = list[i];
        int32_t w;
        if (entry.rejected) {
            w = 0;
        } else {
            const int32_t orientation = entry.mirrored ? !engine->mirrored : engine->mirrored;
            if (entry.action - 1 == engine->current_action && entry.mirrored == 0) {
                const int64_t lowered = penalty > 0 ? entry.ratio - penalty : entry.ratio;
                w = lowered <= 0 ? 1 : static_cast<int32_t>(lowered);
            } else {
                w = disliked_weight(entry, orientation, entry.ratio);
                if (w <= 0) w = 1;
            }
        }
        weights[i] = w;
        total += w;
    }
    const int64_t d = next_random() * total / 32768;
    int32_t chosen = 0;
    int64_t running_sum = 0;
    for (int32_t i = 0; i < count; ++i) {
        running_sum += weights[i];
        if (running_sum > d) {
            chosen = i;
            break;
        }
    }
    const NextEntry& entry = list[chosen];
    return {chosen, entry.action - 1, entry.mirrored ? !engine->mirrored : engine->mirrored};
}

bool repeats_cycle(int32_t action, int32_t orientation) {
    int i = 0;
    while (i < history_length &&
           !(engine->history[i] == action && engine->history_mirrored[i] == orientation))
        ++i;
    if (i == history_length || i == 0) return false;
    for (int j = 0; j < i; ++j) {
        if (j + i + 1 >= history_length) return false;
        if (engine->history[j] != engine->history[j + i + 1] ||
            engine->history_mirrored[j] != engine->history_mirrored[j + i + 1])
            return false;
    }
    return true;
}

namespace {

struct Choice {
    int32_t action;
    int32_t orientation;
    Motion motion;
};

// Draws from the list until a candidate passes the room, limit and cycle tests. A strict
// pass refuses any candidate whose first step would cross a limit; once every entry has
// been refused the relaxed pass refuses only those that would be interrupted.
Choice select_next(StepEvent event) {
    const Candidates c = candidate_list(event, engine->current_action);
    for (int32_t i = 0; i < c.count; ++i) c.list[i].rejected = 0;
    int refusals = 0;
    bool strict = true;
    int32_t marked = 0;
    for (;;) {
        if (marked >= c.count) {
            for (int32_t i = 0; i < c.count; ++i) c.list[i].rejected = 0;
            marked = 0;
            strict = false;
        }
        const Draw drawn = draw_candidate(c.list, c.count);
        if (strict && !fits_reach(drawn.action, drawn.orientation)) {
            c.list[drawn.entry].rejected = 1;
            ++marked;
            continue;
        }
        const Motion m = test_motion(drawn.action, 0, drawn.orientation, strict);
        if (m.event != StepEvent::none) {
            c.list[drawn.entry].rejected = 1;
            ++marked;
            continue;
        }
        if (refusals >= max_cycle_refusals || c.count <= 1 ||
            !repeats_cycle(drawn.action, drawn.orientation))
            return {drawn.action, drawn.orientation, m};
        ++refusals;
    }
}

void record_choice(int32_t action, int32_t orientation) {
    for (int j = history_length - 1; j > 0; --j) {
        engine->history[j] = engine->history[j - 1];
        engine->history_mirrored[j] = engine->history_mirrored[j - 1];
    }
    engine->history[0] = action;
    engine->history_mirrored[0] = static_cast<uint8_t>(orientation);
    if (action == engine->current_action && orientation == engine->mirrored)
        ++engine->repeat_count;
    else
        engine->repeat_count = 0;
    engine->current_action = action;
    engine->current_frame = 0;
    engine->mirrored = orientation;
}

}  // namespace

void behaviour_step() {
    ++engine->current_frame;
    Motion m = test_motion(engine->current_action, engine->current_frame, engine->mirrored,
                           false);
    if (m.event != StepEvent::none) {
        const Choice next = select_next(m.event);
        record_choice(next.action, next.orientation);
        m = next.motion;
    }
    engine->y += m.dy;
    engine->x += m.dx;
    window_x = engine->x;
    window_y = engine->y;
    publish_frame();
}
