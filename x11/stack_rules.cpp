// Where the pet stands among the top-level windows: takes the stacking order as the pet
// sees it and returns where the pet goes and whether a window hides its monitor.
#include "stack_rules.h"

namespace {

int32_t first_of(const StackEntry* order, int32_t count, int32_t kind) {
    for (int32_t i = 0; i < count; ++i)
        if (order[i].kind == kind) return i;
    return count;
}

// The lowest override-redirect window strictly between |high| and |low| (top-down
// indices), or -1.
int32_t lowest_override_between(const StackEntry* order, int32_t high, int32_t low) {
    int32_t found = -1;
    for (int32_t i = high + 1; i < low; ++i)
        if (order[i].kind == stack_override) found = i;
    return found;
}

StackPlan move(int32_t how, unsigned long sibling, int32_t covered) { return {how, sibling, covered}; }

}  // namespace

StackPlan plan_stack(const StackEntry* order, int32_t count, unsigned long own_up, bool showing) {
    const int32_t pet = first_of(order, count, stack_pet);
    const int32_t managed = first_of(order, count, stack_managed);
    const bool has_managed = managed < count;

    int32_t covered = 0;
    for (int32_t i = 0; i < count; ++i)
        if (order[i].kind == stack_override && order[i].hides_monitor && ((has_managed && i < managed) || i < pet))
            covered = 1;
    if (pet >= count) return move(stack_stay, 0, covered);

    // One of its own dialogs came up over the other programs' windows: just below it.
    for (int32_t i = 0; own_up && i < managed; ++i) {
        if (order[i].window != own_up || order[i].kind != stack_own_dialog) continue;
        const bool down = pet < i;
        const bool up = pet > i + 1 && lowest_override_between(order, i, pet) < 0;
        if (down || up) return move(stack_below, own_up, covered);
        if (pet == i + 1) return move(stack_stay, 0, covered);
    }

    if (has_managed && managed < pet) {
        // Up over the window that came above it, but not over an override-redirect window.
        const int32_t blocking = lowest_override_between(order, managed, pet);
        if (blocking < 0) return move(stack_above, order[managed].window, covered);
        if (blocking == pet - 1) return move(stack_stay, 0, covered);
        return move(stack_below, order[blocking].window, covered);
    }
    if (!showing) return move(stack_stay, 0, covered);
    // Shown again: made at the top, or left above windows that came since.
    if (has_managed) {
        if (pet == managed - 1) return move(stack_stay, 0, covered);
        return move(stack_above, order[managed].window, covered);
    }
    int32_t own_lowest = -1;
    for (int32_t i = pet + 1; i < count; ++i)
        if (order[i].kind == stack_own_dialog) own_lowest = i;
    if (own_lowest >= 0) return move(stack_below, order[own_lowest].window, covered);
    return move(stack_stay, 0, covered);
}
