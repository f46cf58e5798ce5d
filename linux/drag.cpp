// The pointer on the pet: takes presses, releases and moves of the pointer on the pet,
// as the shell reports them, and returns the pet picked up, carried (across monitors)
// and dropped, and the context menu opened at the pointer with its command carried out.
#include "pet.h"

int32_t dragging = 0;
int32_t grab_x = 0;
int32_t grab_y = 0;

namespace {

LeftPress last_left = {0, 0, 0, 0};

int32_t clamp(int32_t value, int32_t high) {
    if (value < 0) return 0;
    return value > high ? high : value;
}

// Ends a drag as the left button's release does, once.
void finish_drag(bool give_back_hold) {
    if (!dragging) return;
    grab_x = 0;
    grab_y = 0;
    dragging = 0;
    drag_release();
    shell->end_hold(give_back_hold);
}

void begin_drag(uint32_t time, int32_t x, int32_t y) {
    // A press while still held (its release was lost) takes hold again without a second
    // grab of the engine, which would save the held action in place of the real one.
    const bool held = dragging;
    dragging = 1;
    shell->begin_hold(time);
    // The grab point in the pet's own pixels.
    grab_x = clamp(x / pet_scale, frame_width);
    grab_y = clamp(y / pet_scale, frame_height);
    if (!held) drag_grab();
}

void drag_move(int32_t root_x, int32_t root_y) {
    const ScreenPoint pointer = {root_x, root_y};
    follow_pointer(pointer);
    // The same spot of the body stays under the pointer, at whatever scale.
    ScreenPoint at = held_under(pet_world, pointer, grab_x, grab_y);
    clamp_to_margins(&at.x, &at.y);
    set_pet_position(at.y, at.x);
    shell->present_frame(false);
}

void open_context_menu(int32_t root_x, int32_t root_y) {
    // The menu takes the pointer: a held pet is let go first, as when the Windows menu
    // takes the capture, and the hold this press began is given up so that the menu's
    // own grab can succeed.
    finish_drag(true);
    let_go_of_pointer();
    const ScreenPoint at = ui_point({root_x, root_y});
    const int32_t command = pick_menu_command(at.x, at.y, ui_pet_scale());
    run_command(command);
}

void on_left_press(uint32_t time, int32_t x, int32_t y, int32_t root_x, int32_t root_y) {
    if (is_double_click(last_left, time, root_x, root_y)) {
        // The first click already picked the pet up and let it go; the third click
        // begins anew.
        last_left.valid = 0;
        open_context_menu(root_x, root_y);
        return;
    }
    last_left = {1, time, root_x, root_y};
    begin_drag(time, x, y);
}

}  // namespace

void let_go_of_pointer() {
    if (!shell) return;
    shell->release_pointer();
    shell->flush();
}

void pet_press(int32_t button, uint32_t time, int32_t x, int32_t y, int32_t root_x, int32_t root_y) {
    if (halted) return;
    if (button == button_left) on_left_press(time, x, y, root_x, root_y);
    else if (button == button_right) open_context_menu(root_x, root_y);
}

void pet_release(int32_t button) {
    if (button == button_left) finish_drag(true);
}

void pet_motion(int32_t root_x, int32_t root_y) {
    if (!dragging || halted) return;
    drag_move(root_x, root_y);
}

void pet_hold_lost() { finish_drag(false); }
