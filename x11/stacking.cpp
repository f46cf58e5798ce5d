// Staying on top on X: takes the root's news of top-level windows made, mapped, moved,
// restacked and gone, and returns the pet kept just above the topmost window a window
// manager handles (never above another program's override-redirect window, such as a
// screen locker), restacked at most a few times a second, and the judgement whether such
// an override-redirect window covers the pet's monitor.
#include <climits>
#include <vector>

#include "stack_rules.h"
#include "x11.h"

namespace {

// A window that raises itself whenever the pet stands above it would otherwise keep both
// busy for ever: the pet answers at most this often, and always once things are quiet.
constexpr int64_t restack_gap_us = 250000;

// What the root's events told of one of its children.
struct TopWindow {
    Window window;
    int32_t override_redirect;
    int32_t mapped;
    ScreenRect rect;  // with its border
    Window below;     // the sibling right under it when it was last configured
    int32_t input_only;  // 1 for a window that shows nothing, -1 until asked
};

std::vector<TopWindow> known;
bool stack_changed = false;  // something above or below the pet changed since the last look
Window own_up = None;        // the program's own dialog that came up since, for the pet to go just below
bool placing = false;        // the pet was mapped again and is yet to take its place
int64_t last_look_us = INT64_MIN / 2;

TopWindow* find(Window window) {
    for (TopWindow& top : known)
        if (top.window == window) return &top;
    return nullptr;
}

void forget(Window window) {
    for (size_t i = 0; i < known.size(); ++i)
        if (known[i].window == window) {
            known[i] = known.back();
            known.pop_back();
            return;
        }
}

ScreenRect rect_of(int x, int y, int width, int height, int border) {
    return {x, y, x + width + 2 * border, y + height + 2 * border};
}

TopWindow* note(Window window, bool override_redirect) {
    TopWindow* top = find(window);
    if (!top) {
        known.push_back({window, 0, 0, {0, 0, 0, 0}, None, -1});
        top = &known.back();
    }
    top->override_redirect = override_redirect ? 1 : 0;
    return top;
}

// A child of the root that no event has told of yet (it was there before the pet): asked
// of the server once, then kept up to date by events. Null when it has gone.
TopWindow* learn(Window window) {
    XWindowAttributes a;
    if (!XGetWindowAttributes(pet_display, window, &a)) return nullptr;
    TopWindow* top = note(window, a.override_redirect);
    top->mapped = a.map_state != IsUnmapped ? 1 : 0;
    top->rect = rect_of(a.x, a.y, a.width, a.height, a.border_width);
    top->input_only = a.c_class == InputOnly ? 1 : 0;
    return top;
}

// An override-redirect window over the whole of the pet's monitor hides it, unless it is
// an input-only one, which shows nothing (asked once, for such windows only).
bool hides_monitor(TopWindow* top, ScreenRect monitor) {
    if (!covers(top->rect, monitor)) return false;
    if (top->input_only < 0) {
        XWindowAttributes a;
        if (!XGetWindowAttributes(pet_display, top->window, &a)) return false;
        top->input_only = a.c_class == InputOnly ? 1 : 0;
    }
    return !top->input_only;
}

// Whether a window at |rect| may hide the whole of the pet's monitor: a look at the stack
// is worth it when such a window comes, goes or moves.
bool covering(ScreenRect rect) { return covers(rect, pet_world.monitor); }

// True when |window|, a child of the root, is one of the program's own menus, dialogs or
// boxes, or the frame a window manager put around one. Asked only while some are open.
bool own_window(Window window) {
    constexpr int32_t room = 16;
    Window own[room];
    const int32_t count = list_own_windows(own, room);
    const Window root = DefaultRootWindow(pet_display);
    for (int32_t i = 0; i < count; ++i) {
        // Up from the dialog's own window to the root's child that holds it.
        Window at = own[i];
        for (int depth = 0; at && depth < 8; ++depth) {
            if (at == window) return true;
            Window root_found = None, parent = None, *children = nullptr;
            unsigned int n = 0;
            if (!XQueryTree(pet_display, at, &root_found, &parent, &children, &n)) break;
            if (children) XFree(children);
            if (parent == root) break;
            at = parent;
        }
    }
    return false;
}

// The stacking order as the pet sees it, from the top down to the pet and the topmost
// window of another program a window manager handles, whichever is lower: one round trip
// for the order, and one for each window no event has told of yet.
std::vector<StackEntry> read_stack() {
    std::vector<StackEntry> order;
    Window root_found = None, parent = None, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(pet_display, DefaultRootWindow(pet_display), &root_found, &parent, &children, &count))
        return order;
    const ScreenRect monitor = monitor_to_cover();
    bool pet_seen = false, managed_seen = false;
    for (unsigned int i = count; i-- > 0 && !(pet_seen && managed_seen);) {
        const Window window = children[i];
        if (window == pet_window) {
            order.push_back({window, stack_pet, 0});
            pet_seen = true;
            continue;
        }
        TopWindow* top = find(window);
        if (!top) top = learn(window);
        if (!top || !top->mapped) continue;
        if (own_window(window)) {
            if (!top->override_redirect) order.push_back({window, stack_own_dialog, 0});  // not the menu
        } else if (top->override_redirect) {
            order.push_back({window, stack_override, hides_monitor(top, monitor) ? 1 : 0});
        } else {
            order.push_back({window, stack_managed, 0});
            managed_seen = true;
        }
    }
    if (children) XFree(children);
    return order;
}

// Carries out the plan for the pet's place, and takes its word on covering windows.
void follow(const StackPlan& plan) {
    set_override_covers(plan.covered);
    // Hidden, the pet's place in the stack does not matter: it is placed on its way back.
    if (stepped_aside || plan.move == stack_stay) return;
    XWindowChanges changes = {};
    changes.sibling = Window(plan.sibling);
    changes.stack_mode = plan.move == stack_above ? Above : Below;
    XConfigureWindow(pet_display, pet_window, CWSibling | CWStackMode, &changes);
}

}  // namespace

void stacking_event(const XEvent& event) {
    const Window root = DefaultRootWindow(pet_display);
    bool changed = false;
    switch (event.type) {
    case CreateNotify: {
        // A new window is unmapped: nothing changes on the screen yet.
        const XCreateWindowEvent& c = event.xcreatewindow;
        if (c.parent != root || c.window == pet_window) return;
        TopWindow* top = note(c.window, c.override_redirect);
        top->mapped = 0;
        top->rect = rect_of(c.x, c.y, c.width, c.height, c.border_width);
        top->below = None;
        return;
    }
    case MapNotify: {
        const XMapEvent& m = event.xmap;
        if (m.event != root || m.window == pet_window) return;
        TopWindow* top = find(m.window);
        if (!top) {
            changed = true;  // one from before the pet: learnt at the next look
            break;
        }
        top->override_redirect = m.override_redirect ? 1 : 0;
        top->mapped = 1;
        // A window a window manager handles may have come up over the pet; an
        // override-redirect one matters when it hides the pet's monitor.
        changed = !top->override_redirect || covering(top->rect);
        if (!top->override_redirect && own_window(m.window)) own_up = m.window;
        break;
    }
    case UnmapNotify: {
        if (event.xunmap.event != root || event.xunmap.window == pet_window) return;
        TopWindow* top = find(event.xunmap.window);
        if (!top) return;
        top->mapped = 0;
        changed = top->override_redirect && covering(top->rect);
        break;
    }
    case ConfigureNotify: {
        const XConfigureEvent& c = event.xconfigure;
        if (c.event != root || c.window == root || c.window == pet_window) return;
        const ScreenRect rect = rect_of(c.x, c.y, c.width, c.height, c.border_width);
        TopWindow* top = find(c.window);
        if (!top) {
            changed = !c.override_redirect || covering(rect);
            break;
        }
        if (c.override_redirect) {
            // One that covers the pet's monitor, or one the pet may have been kept under
            // (another pet) that went up in the stack.
            changed = covering(top->rect) || covering(rect) || same_rect(rect, top->rect);
        } else {
            // A window dragged about keeps its place in the stack: only a restack (the
            // same place and size, or a new window below it) may have brought it over
            // the pet.
            changed = same_rect(rect, top->rect) || Window(c.above) != top->below;
            if (changed && own_window(c.window)) own_up = c.window;
        }
        top->override_redirect = c.override_redirect ? 1 : 0;
        top->rect = rect;
        top->below = c.above;
        break;
    }
    case DestroyNotify: {
        if (event.xdestroywindow.event != root) return;
        const TopWindow* top = find(event.xdestroywindow.window);
        changed = top && top->override_redirect && top->mapped && covering(top->rect);
        forget(event.xdestroywindow.window);
        break;
    }
    case ReparentNotify:
        // Taken into a window manager's frame, or given back to the root (on top of its
        // children): learnt afresh when it is next seen among them.
        if (event.xreparent.event != root) return;
        forget(event.xreparent.window);
        changed = event.xreparent.parent == root;
        break;
    case CirculateNotify:
        changed = event.xcirculate.event == root;
        break;
    default:
        return;
    }
    stack_changed = stack_changed || changed;
}

void stacking_world_changed() { stack_changed = true; }

void settle_stacking() {
    if (!stack_changed || !pet_window) return;
    const int64_t now = steady_us();
    const int64_t wait = last_look_us + restack_gap_us - now;
    // The pet's own dialogs are answered at once (they never raise themselves over it), and
    // so is the pet's own return from hiding.
    if (wait > 0 && own_up == None && !placing) {
        // Too soon after the last look: once more when the gap has passed, so that the
        // last change of a busy spell is answered too.
        settle_after(double(wait + 1000) / 1e6);
        return;
    }
    stack_changed = false;
    last_look_us = now;
    const std::vector<StackEntry> order = read_stack();
    follow(plan_stack(order.data(), int32_t(order.size()), own_up, placing));
    own_up = None;
    placing = false;
}

void place_pet_for_showing() {
    const std::vector<StackEntry> order = read_stack();
    follow(plan_stack(order.data(), int32_t(order.size()), None, true));
}

void place_pet_soon() {
    placing = true;
    stack_changed = true;
}
