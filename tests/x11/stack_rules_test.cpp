// The pet's place among the top-level windows, over tables of stacking orders written
// from the top down: where it goes when a window came up, when one of its own dialogs
// came up and when it is shown, and which windows hide its monitor.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "stack_rules.h"

namespace {

// A stacking order in letters, top first: P the pet, M a managed window of another
// program, O an override-redirect one, L one that hides the monitor (a locker), D one of
// the program's own dialogs. Each window's id is its position, counted from 1.
std::vector<StackEntry> order_of(const std::string& letters) {
    std::vector<StackEntry> order;
    for (size_t i = 0; i < letters.size(); ++i) {
        const char c = letters[i];
        const int32_t kind = c == 'P' ? stack_pet
                             : c == 'M' ? stack_managed
                             : c == 'D' ? stack_own_dialog
                                        : stack_override;
        order.push_back({i + 1, kind, c == 'L' ? 1 : 0});
    }
    return order;
}

struct Case {
    const char* order;
    unsigned long own_up;  // the position of the own dialog that came up, or 0
    bool showing;
    int32_t move;
    unsigned long sibling;
    int32_t covered;
};

void expect_cases(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        const std::vector<StackEntry> order = order_of(c.order);
        const StackPlan plan = plan_stack(order.data(), int32_t(order.size()), c.own_up, c.showing);
        const std::string what = std::string(c.order) + (c.showing ? " shown" : "") +
                                 (c.own_up ? " dialog " + std::to_string(c.own_up) : "");
        EXPECT_EQ(plan.move, c.move) << what;
        if (c.move != stack_stay) {
            EXPECT_EQ(plan.sibling, c.sibling) << what;
        }
        EXPECT_EQ(plan.covered, c.covered) << what;
    }
}

TEST(StackRules, AWindowThatCameUpOverThePetHasItJustAboveButNeverOverAnOverrideRedirectWindow) {
    expect_cases({
        {"MP", 0, false, stack_above, 1, 0},
        {"OMP", 0, false, stack_above, 2, 0},   // a notification above stays above
        {"PM", 0, false, stack_stay, 0, 0},     // already above
        {"POM", 0, false, stack_stay, 0, 0},    // above, over another pet: left there
        {"MOP", 0, false, stack_stay, 0, 0},    // another pet in the way, right over it
        {"MOOP", 0, false, stack_stay, 0, 0},
        {"MOMP", 0, false, stack_below, 2, 0},  // up to the lowest one in the way
        {"MLP", 0, false, stack_stay, 0, 1},    // a window over a locker: the pet stays under it
        {"LMP", 0, false, stack_above, 2, 1},
        {"P", 0, false, stack_stay, 0, 0},
        {"OP", 0, false, stack_stay, 0, 0},
    });
}

TEST(StackRules, OwnDialogThatCameUpHasThePetJustBelowUnlessAnOverrideRedirectWindowIsInTheWay) {
    expect_cases({
        {"PDM", 2, false, stack_below, 2, 0},   // down below it
        {"DMP", 1, false, stack_below, 1, 0},   // up from under another program's window
        {"DPM", 1, false, stack_stay, 0, 0},    // already just below
        {"DDPM", 1, false, stack_below, 1, 0},  // up past an older dialog, as a new one opened
        {"DOPM", 1, false, stack_stay, 0, 0},   // a pet in the way: stays
        {"DOMP", 1, false, stack_above, 3, 0},  // blocked, but still above the managed one
        {"MDP", 2, false, stack_above, 1, 0},   // the dialog under another program's window
    });
}

TEST(StackRules, AShownPetTakesItsPlaceJustAboveTheManagedWindowsOrBelowItsDialogs) {
    expect_cases({
        {"PLM", 0, true, stack_above, 3, 1},   // made at the top, over a locker
        {"PM", 0, true, stack_stay, 0, 0},
        {"POM", 0, true, stack_above, 3, 0},
        {"MP", 0, true, stack_above, 1, 0},
        {"PDD", 0, true, stack_below, 3, 0},   // no managed window: below its dialogs
        {"DP", 0, true, stack_stay, 0, 0},
        {"PO", 0, true, stack_stay, 0, 0},
    });
}

TEST(StackRules, OnlyAnOverrideRedirectWindowStandingOverThePetsPlaceHidesItsMonitor) {
    expect_cases({
        {"LPM", 0, false, stack_stay, 0, 1},
        {"PLM", 0, false, stack_stay, 0, 1},  // left above it: it goes under it
        {"PML", 0, false, stack_stay, 0, 0},  // under the managed windows: nothing hidden
        {"PL", 0, false, stack_stay, 0, 0},   // at the very bottom: the desktop's picture
        {"LP", 0, false, stack_stay, 0, 1},
        {"OPM", 0, false, stack_stay, 0, 0},  // over the pet but not the whole monitor
    });
}

}  // namespace
