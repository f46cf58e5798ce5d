// Where the pet stands among the top-level windows: takes the stacking order as the pet
// sees it (the mapped windows from the top down, each of a kind) and returns where the pet
// goes and whether a window hides its monitor. The X calls that read the order and carry
// out the move live beside it; no X calls here.
#pragma once

#include <cstdint>

enum StackKind : int32_t {
    stack_pet,
    stack_managed,     // another program's window a window manager handles (or would)
    stack_override,    // another program's override-redirect window: a locker, a menu, a pet
    stack_own_dialog,  // one of the program's own dialogs or boxes, or the frame round one
};

struct StackEntry {
    unsigned long window;
    int32_t kind;
    int32_t hides_monitor;  // an override-redirect window over the whole of the pet's monitor
};

enum StackMove : int32_t { stack_stay, stack_above, stack_below };

struct StackPlan {
    int32_t move;           // StackMove
    unsigned long sibling;  // the window the pet goes just above or below
    int32_t covered;        // a window of another program hides the pet's monitor
};

// The pet's place after a change of the stack, |order| from the top down with the pet
// among it. The pet belongs above the topmost window of another program a window manager
// handles, but is never raised over another program's override-redirect window: when that
// window comes up over it, the pet goes just above it, or only as far as just below the
// first override-redirect window on the way. When |own_up|, one of the program's own
// dialogs, came up, the pet goes just below it, if it gets there without passing such a
// window. With |showing|, the pet is being shown: a pet above its place goes down to it.
// A window covers the pet's monitor when it hides the monitor and stands above the
// topmost managed window (a locker, though the pet may have been left above it) or above
// the pet; one under both is the desktop's picture.
StackPlan plan_stack(const StackEntry* order, int32_t count, unsigned long own_up, bool showing);
