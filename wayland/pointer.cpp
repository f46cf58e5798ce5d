// The pointer on the pet: takes the seat's pointer events (enter, moves, buttons, leave)
// and its relative moves, and returns presses, releases and moves in device space for the
// shared drag, noted while the events are read and handed over after, and our cursors
// shown over the pet.
#include <linux/input-event-codes.h>

#include "wayland.h"

namespace {

wl_pointer* pointer = nullptr;
zwp_relative_pointer_v1* relative_pointer = nullptr;
wl_surface* pointer_on = nullptr;  // our surface the pointer is on, or null
uint32_t enter_serial = 0;
// Where the pointer is on the compositor's logical layout, as far as we know. Surface-local
// positions give it while no button is held; while the left button holds the pet, the
// surface moves under the pointer, and compositors differ in which place of the surface
// they count from: the relative moves (what the pointer itself did) carry it then.
double pointer_x = 0, pointer_y = 0;
bool left_down = false;
wl_surface* pressed_on = nullptr;

enum NoteKind : int32_t { note_press, note_release, note_motion, note_lost };
struct PointerNote {
    NoteKind kind;
    int32_t button;
    uint32_t time;
    double x, y;  // logical, on the layout
};
constexpr int32_t note_room = 64;
PointerNote notes[note_room];
int32_t first_note = 0, note_count = 0;

bool held_cursor = false;

void note(NoteKind kind, int32_t button, uint32_t time) {
    // Only the last of a run of moves is worth following.
    if (kind == note_motion && note_count > 0) {
        PointerNote& last = notes[(first_note + note_count - 1) % note_room];
        if (last.kind == note_motion) {
            last.x = pointer_x;
            last.y = pointer_y;
            return;
        }
    }
    if (note_count == note_room) {
        if (kind == note_motion) return;
        first_note = (first_note + 1) % note_room;  // the oldest goes
        --note_count;
    }
    notes[(first_note + note_count) % note_room] = {kind, button, time, pointer_x, pointer_y};
    ++note_count;
}

bool ours(wl_surface* surface) {
    return surface && (surface == pet_surface.surface || surface == held_surface.surface);
}

const PetSurface* surface_record(wl_surface* surface) {
    if (surface && surface == pet_surface.surface) return &pet_surface;
    if (surface && surface == held_surface.surface) return &held_surface;
    return nullptr;
}

void follow_surface_position(wl_fixed_t sx, wl_fixed_t sy) {
    const PetSurface* s = surface_record(pointer_on);
    if (!s) return;
    double x = 0, y = 0;
    surface_origin(*s, &x, &y);
    pointer_x = x + wl_fixed_to_double(sx);
    pointer_y = y + wl_fixed_to_double(sy);
}

// --- wl_pointer ------------------------------------------------------------------------

void on_enter(void*, wl_pointer*, uint32_t serial, wl_surface* surface, wl_fixed_t sx, wl_fixed_t sy) {
    if (!ours(surface)) return;
    pointer_on = surface;
    enter_serial = serial;
    if (!left_down) follow_surface_position(sx, sy);
    show_cursor(held_cursor);
}

void on_leave(void*, wl_pointer*, uint32_t, wl_surface* surface) {
    if (surface != pointer_on) return;
    pointer_on = nullptr;
    // The compositor ended the drag without a release (the surface went, or another
    // client took the pointer): it ends as a release ends it.
    if (left_down) {
        left_down = false;
        pressed_on = nullptr;
        note(note_lost, 0, 0);
    }
}

void on_motion(void*, wl_pointer*, uint32_t, wl_fixed_t sx, wl_fixed_t sy) {
    if (!pointer_on) return;
    if (left_down && relative_pointer) return;  // the relative moves carry it
    follow_surface_position(sx, sy);
    if (left_down) note(note_motion, 0, 0);
}

void on_button(void*, wl_pointer*, uint32_t, uint32_t time, uint32_t button, uint32_t state) {
    const int32_t which = button == BTN_LEFT ? button_left : button == BTN_RIGHT ? button_right : 0;
    if (!which) return;
    const bool pressed = state == WL_POINTER_BUTTON_STATE_PRESSED;
    // A release of the left button we saw go down counts wherever it comes.
    const bool held_release = !pressed && which == button_left && left_down;
    if (!pointer_on && !held_release) return;
    if (which == button_left) {
        left_down = pressed;
        pressed_on = pressed ? pointer_on : nullptr;
    }
    note(pressed ? note_press : note_release, which, time);
}

void on_axis(void*, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) {}
void on_frame(void*, wl_pointer*) {}
void on_axis_source(void*, wl_pointer*, uint32_t) {}
void on_axis_stop(void*, wl_pointer*, uint32_t, uint32_t) {}
void on_axis_discrete(void*, wl_pointer*, uint32_t, int32_t) {}
void on_axis_value120(void*, wl_pointer*, uint32_t, int32_t) {}

const wl_pointer_listener pointer_listener = {on_enter,       on_leave,       on_motion,
                                              on_button,      on_axis,        on_frame,
                                              on_axis_source, on_axis_stop,   on_axis_discrete,
                                              on_axis_value120};

void on_relative_motion(void*, zwp_relative_pointer_v1*, uint32_t, uint32_t, wl_fixed_t dx, wl_fixed_t dy,
                        wl_fixed_t, wl_fixed_t) {
    if (!left_down) return;
    pointer_x += wl_fixed_to_double(dx);
    pointer_y += wl_fixed_to_double(dy);
    // The compositor keeps its pointer on the outputs; so does our idea of it.
    const std::vector<OutputPlace>& places = output_places();
    clamp_to_outputs(places.data(), int32_t(places.size()), &pointer_x, &pointer_y);
    note(note_motion, 0, 0);
}

const zwp_relative_pointer_v1_listener relative_listener = {on_relative_motion};

// --- wl_seat ---------------------------------------------------------------------------

void on_capabilities(void*, wl_seat* seat, uint32_t capabilities) {
    const bool has_pointer = capabilities & WL_SEAT_CAPABILITY_POINTER;
    if (has_pointer && !pointer) {
        pointer = wl_seat_get_pointer(seat);
        wl_pointer_add_listener(pointer, &pointer_listener, nullptr);
        if (wl.relative) {
            relative_pointer = zwp_relative_pointer_manager_v1_get_relative_pointer(wl.relative, pointer);
            zwp_relative_pointer_v1_add_listener(relative_pointer, &relative_listener, nullptr);
        }
    } else if (!has_pointer && pointer) {
        release_pointer_objects();
    }
}

void on_seat_name(void*, wl_seat*, const char*) {}

const wl_seat_listener seat_listener = {on_capabilities, on_seat_name};

}  // namespace

void bind_seat(wl_registry* registry, uint32_t name, uint32_t version) {
    wl.seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, version < 5 ? version : 5));
    wl_seat_add_listener(wl.seat, &seat_listener, nullptr);
}

void take_pointer_notes() {
    // Taken one at a time from the front: the menu a press opens runs the loop, which
    // takes the notes after it meanwhile.
    while (note_count > 0 && running) {
        const PointerNote n = notes[first_note];
        first_note = (first_note + 1) % note_room;
        --note_count;
        const ScreenPoint at = to_device_space(n.x, n.y);
        switch (n.kind) {
        case note_press: {
            // Where on the pet's picture: the pointer against the surface's place now.
            double x = 0, y = 0;
            surface_origin(pet_surface, &x, &y);
            const int32_t scale120 = pet_surface.output ? pet_surface.output->place.scale120 : scale_unit;
            pet_press(n.button, n.time, device_floor(n.x - x, scale120), device_floor(n.y - y, scale120), at.x, at.y);
            break;
        }
        case note_release:
            pet_release(n.button);
            if (n.button == button_left && !left_down) let_held_surface_go();
            break;
        case note_motion: pet_motion(at.x, at.y); break;
        case note_lost:
            pet_hold_lost();
            let_held_surface_go();
            break;
        }
    }
}

void show_cursor(bool held) {
    held_cursor = held;
    if (!pointer || !pointer_on) return;
    wl_surface* cursor = cursor_surface(held);
    if (cursor) wl_pointer_set_cursor(pointer, enter_serial, cursor, art_cursor_hot_x, art_cursor_hot_y);
}

ScreenPoint pointer_in_device_space() { return to_device_space(pointer_x, pointer_y); }

bool pointer_held_on(wl_surface* surface) { return left_down && surface && pressed_on == surface; }

void forget_surface(wl_surface* surface) {
    if (pointer_on == surface) pointer_on = nullptr;
    if (pressed_on != surface) return;
    // The compositor sends nothing more of a press on a surface that went.
    pressed_on = nullptr;
    if (left_down) {
        left_down = false;
        note(note_lost, 0, 0);
    }
}

void release_pointer_objects() {
    release_cursors();
    if (relative_pointer) zwp_relative_pointer_v1_destroy(relative_pointer);
    relative_pointer = nullptr;
    if (pointer) {
        if (wl_pointer_get_version(pointer) >= WL_POINTER_RELEASE_SINCE_VERSION) wl_pointer_release(pointer);
        else wl_pointer_destroy(pointer);
    }
    pointer = nullptr;
    pointer_on = nullptr;
    left_down = false;
}
