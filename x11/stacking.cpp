// Staying on top on X: takes the root's news of top-level windows made, mapped, moved,
// restacked and gone, and returns the pet kept just above the topmost window a window
// manager handles (never above another program's override-redirect window, such as a
// screen locker), restacked at most a few times a second, and the judgement whether such
// an override-redirect window covers the pet's monitor.
#include <climits>
#include <vector>

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
};

std::vector<TopWindow> known;
bool stack_changed = false;  // something above or below the pet changed since the last look
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
        known.push_back({window, 0, 0, {0, 0, 0, 0}});
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
    return top;
}

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

// The stacking order as it is now, from the pet's point of view.
struct StackLook {
    Window managed;           // the topmost mapped window of another program a window manager handles
    bool managed_above_pet;   // ... and it stands above the pet
    bool pet_just_above;      // the pet stands right above it
    Window override_above;    // the lowest mapped override-redirect window of another program above the pet
    bool covered;             // one above |managed| covers the pet's monitor
};

// One round trip for the order, and one for each window no event has told of yet.
StackLook look_at_stack() {
    StackLook look = {None, false, false, None, false};
    Window root_found = None, parent = None, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(pet_display, DefaultRootWindow(pet_display), &root_found, &parent, &children, &count))
        return look;
    const ScreenRect monitor = monitor_to_cover();
    bool pet_seen = false;
    Window below_pet = None;  // the window right under the pet
    // From the top down to the topmost window a window manager handles: what stands above
    // it is what no window of another program may be hidden under.
    for (unsigned int i = count; i-- > 0;) {
        const Window window = children[i];
        if (window == pet_window) {
            pet_seen = true;
            below_pet = i > 0 ? children[i - 1] : None;
            continue;
        }
        const TopWindow* top = find(window);
        if (!top) top = learn(window);
        if (!top || !top->mapped || own_window(window)) continue;
        if (top->override_redirect) {
            if (!pet_seen) look.override_above = window;
            look.covered = look.covered || covers(top->rect, monitor);
            continue;
        }
        look.managed = window;
        look.managed_above_pet = !pet_seen;
        look.pet_just_above = below_pet == window;
        break;
    }
    if (children) XFree(children);
    return look;
}

void restack(Window sibling, int mode) {
    XWindowChanges changes = {};
    changes.sibling = sibling;
    changes.stack_mode = mode;
    XConfigureWindow(pet_display, pet_window, CWSibling | CWStackMode, &changes);
}

}  // namespace

void stacking_event(const XEvent& event) {
    const Window root = DefaultRootWindow(pet_display);
    switch (event.type) {
    case CreateNotify: {
        const XCreateWindowEvent& c = event.xcreatewindow;
        if (c.parent != root || c.window == pet_window) return;
        TopWindow* top = note(c.window, c.override_redirect);
        top->mapped = 0;
        top->rect = rect_of(c.x, c.y, c.width, c.height, c.border_width);
        return;  // a new window is unmapped: nothing changes on the screen yet
    }
    case MapNotify:
        if (event.xmap.event != root || event.xmap.window == pet_window) return;
        note(event.xmap.window, event.xmap.override_redirect)->mapped = 1;
        break;
    case UnmapNotify:
        if (event.xunmap.event != root || event.xunmap.window == pet_window) return;
        if (TopWindow* top = find(event.xunmap.window)) top->mapped = 0;
        break;
    case ConfigureNotify: {
        const XConfigureEvent& c = event.xconfigure;
        if (c.event != root || c.window == root || c.window == pet_window) return;
        note(c.window, c.override_redirect)->rect = rect_of(c.x, c.y, c.width, c.height, c.border_width);
        break;
    }
    case DestroyNotify:
        if (event.xdestroywindow.event != root) return;
        forget(event.xdestroywindow.window);
        break;
    case ReparentNotify:
        // Taken into a window manager's frame, or given back to the root: learnt afresh
        // when it is next seen among the root's children.
        if (event.xreparent.event != root) return;
        forget(event.xreparent.window);
        break;
    case CirculateNotify:
        if (event.xcirculate.event != root) return;
        break;
    default:
        return;
    }
    stack_changed = true;
}

void stacking_world_changed() { stack_changed = true; }

void settle_stacking() {
    if (!stack_changed || !pet_window) return;
    const int64_t now = steady_us();
    const int64_t wait = last_look_us + restack_gap_us - now;
    if (wait > 0) {
        // Too soon after the last look: once more when the gap has passed, so that the
        // last change of a busy spell is answered too.
        settle_after(double(wait + 1000) / 1e6);
        return;
    }
    stack_changed = false;
    last_look_us = now;
    const StackLook look = look_at_stack();
    set_override_covers(look.covered);
    // Hidden, the pet's place in the stack does not matter: it is placed on its way back.
    if (stepped_aside || !look.managed_above_pet) return;
    // Just above the window that came up: every override-redirect window above that stays
    // above the pet.
    restack(look.managed, Above);
}

void place_pet_for_showing() {
    const StackLook look = look_at_stack();
    set_override_covers(look.covered);
    // A window is made at the top of the stack and may have been left above windows that
    // came since: it goes right above the topmost window of another program a window
    // manager handles, or, with none, below every override-redirect window above it.
    if (look.managed != None) {
        if (!look.pet_just_above) restack(look.managed, Above);
    } else if (look.override_above != None) {
        restack(look.override_above, Below);
    }
}
