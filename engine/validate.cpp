// The table validator: reads the compiled actions and shows, one box each, the defects
// that leave behaviour idle or unbalanced without stopping the pet. Changes nothing.
#include <cstdio>
#include <cstdlib>

#include "engine.h"
#include "seams.h"

namespace {

constexpr int finding_size = 100;  // 99 characters and the terminator

void show(const char* format, int32_t a, int32_t b = 0, int32_t c = 0) {
    char text[finding_size];
    snprintf(text, sizeof text, format, a, b, c);
    error_box(text);
}

bool image_is_shown(int32_t image) {
    for (int32_t i = 0; i < engine->action_count; ++i) {
        const ActionDef& a = engine->actions[i];
        for (int32_t f = 0; f < a.frame_count; ++f)
            if (std::abs(a.frames[f]) == image) return true;
    }
    return false;
}

void check_ratio_sum(int32_t action, const NextEntry* list, int32_t count) {
    int32_t sum = 0;
    for (int32_t i = 0; i < count; ++i) sum += list[i].ratio;
    if (sum != 1000) show("** Sum of ratio for action:%d = %d", action + 1, sum);
}

bool refers_to_action(int32_t k, const NextEntry* list, int32_t count) {
    for (int32_t i = 0; i < count; ++i)
        if (list[i].action == k + 1) return true;
    return false;
}

bool leads_to_action(int32_t number, OrientationMode mode, const NextEntry* list,
                     int32_t count) {
    for (int32_t i = 0; i < count; ++i)
        if (list[i].action == number &&
            (mode == OrientationMode::any || list[i].mirrored == static_cast<uint8_t>(mode)))
            return true;
    return false;
}

bool is_led_to(int32_t k) {
    for (int32_t n = 0; n < engine->action_count; ++n) {
        if (n == k) continue;
        const ActionDef& a = engine->actions[n];
        if (refers_to_action(k, a.next_actions, a.next_count)) return true;
        if (a.x_bound_count != 0 && refers_to_action(k, a.x_bound, a.x_bound_count)) return true;
        if (a.y_bound_count != 0 && refers_to_action(k, a.y_bound, a.y_bound_count)) return true;
    }
    return false;
}

bool can_follow(const ActionDef& p, int32_t number, OrientationMode mode) {
    if (leads_to_action(number, mode, p.next_actions, p.next_count)) return true;
    if (p.x_bound_count != 0 && leads_to_action(number, mode, p.x_bound, p.x_bound_count))
        return true;
    return p.y_bound_count != 0 && leads_to_action(number, mode, p.y_bound, p.y_bound_count);
}

const NextEntry* own_repeat(const ActionDef& a, int32_t index) {
    for (int32_t i = 0; i < a.next_count; ++i)
        if (a.next_actions[i].action == index + 1 && a.next_actions[i].mirrored == 0)
            return &a.next_actions[i];
    return nullptr;
}

}  // namespace

void validate_actions() {
    const int32_t count = engine->action_count;

    for (int32_t n = 1; n <= engine->image_count; ++n)
        if (!image_is_shown(n)) show("** Image [%d] have not been referenced", n);

    for (int32_t i = 0; i < count; ++i) {
        const ActionDef& a = engine->actions[i];
        check_ratio_sum(i, a.next_actions, a.next_count);
        if (a.x_bound_count != 0) check_ratio_sum(i, a.x_bound, a.x_bound_count);
        if (a.y_bound_count != 0) check_ratio_sum(i, a.y_bound, a.y_bound_count);
    }

    for (int32_t k = 0; k < count; ++k)
        if (k != engine->initial_action - 1 && !is_led_to(k))
            show("** Action [%d] have not been referenced", k + 1);

    for (int32_t i = 0; i < count; ++i) {
        const ActionDef& a = engine->actions[i];
        if (a.x_step == 0 && a.x_bound_count > 0)
            show("** Action [%d] have defined X bounding action list but have no horizontal "
                 "movement", i + 1);
        if (a.y_step == 0 && a.y_bound_count > 0)
            show("** Action [%d] have defined Y bounding action list but have no vertical "
                 "movement", i + 1);
    }

    for (int32_t i = 0; i < count; ++i) {
        const ActionDef& a = engine->actions[i];
        if (a.same_ratio == 0) continue;
        const NextEntry* repeat = own_repeat(a, i);
        if (!repeat)
            show("** Action [%d] have defined <same_ratio> that is no use", i + 1);
        else if (repeat->ratio < a.same_ratio)
            show("** The same ratio (%d) for action [%d] is too large", a.same_ratio, i + 1);
    }

    for (int32_t i = 0; i < count; ++i) {
        const ActionDef& a = engine->actions[i];
        for (int32_t d = 0; d < a.dislike_count; ++d) {
            const DislikeEntry& entry = a.dislikes[d];
            if (entry.previous == 0) continue;
            if (!can_follow(engine->actions[entry.previous - 1], i + 1, entry.previous_mode))
                show("** Action [%d] have defined dislike action [%d] with previous action "
                     "[%d], which will not occur", i + 1, entry.action, entry.previous);
        }
    }
}
