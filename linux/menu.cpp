// The pet's context menu: takes the root point of the click and the pet's scale, shows
// Continue, Options, About and Exit there and returns the command chosen, or none.
#include <FL/Fl.H>
#include <FL/Fl_Menu_Button.H>
#include <FL/Fl_Menu_Item.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>

#include <cstdlib>

#include "ui.h"

namespace {

// FLTK opens a menu from a window of its own: it places the menu relative to it and
// grabs pointer and keyboard through it. The pet's window is not FLTK's, so a
// one-pixel window without frame stands under the menu's corner while it is open.
Fl_Window* anchor = nullptr;
Fl_Menu_Button* anchor_button = nullptr;

void show_anchor(int32_t x, int32_t y) {
    if (!anchor) {
        anchor = new Fl_Window(x, y, 1, 1);
        anchor->set_override();
        anchor->box(FL_NO_BOX);  // nothing to see, should the menu leave it uncovered
        anchor_button = new Fl_Menu_Button(0, 0, 1, 1);
        anchor_button->box(FL_NO_BOX);
        anchor->end();
    }
    anchor->position(x, y);
    anchor->show();
    Fl::first_window(anchor);
}

// The release of the press that opened the menu, while the pointer stays where it was,
// is a click that leaves the menu open, as on Windows; FLTK, which never saw the press,
// would take it for a choice of nothing and close the menu. A press, drag and release
// onto an entry still picks it.
constexpr int click_slop = 4;  // pixels the pointer may move in a click
constexpr int flip_rectangle = 2;  // the least height FLTK flips a menu above
bool opening_press_held = false;
int32_t opened_x, opened_y;

int menu_dispatch(int event, Fl_Window* window) {
    // Only the left button chooses, and the others neither choose nor close the menu, as
    // a Windows pop-up menu tracked without the right button does.
    if ((event == FL_PUSH || event == FL_RELEASE) && Fl::event_button() != FL_LEFT_MOUSE) return 1;
    if (event == FL_PUSH) opening_press_held = false;
    if (event == FL_RELEASE && opening_press_held) {
        opening_press_held = false;
        const int moved = std::abs(Fl::event_x_root() - opened_x) + std::abs(Fl::event_y_root() - opened_y);
        if (moved <= click_slop) return 1;
    }
    return Fl::handle_(event, window);
}

}  // namespace

int32_t pick_menu_command(int32_t x, int32_t y, int32_t scale) {
    prepare_ui();
    // The press that opens the menu went to the pet's own connection, which holds the
    // pointer until the button goes up; FLTK's grab of pointer and keyboard for the menu
    // would fail while it does, leaving the menu deaf to Escape, its mnemonics and clicks
    // elsewhere.
    let_go_of_pointer();
    Fl_Menu_Item items[menu_entry_count + 1];
    fill_menu_items(items, scale >= 1 ? scale : 1);
    show_anchor(x, y);
    // FLTK grabs at the time of the last event it saw, which may be older than the
    // pet's click; the server's own time never is.
    fl_event_time = CurrentTime;
    opening_press_held = true;
    opened_x = x;
    opened_y = y;
    const Fl_Event_Dispatch previous = Fl::event_dispatch();
    Fl::event_dispatch(menu_dispatch);
    // Placed as a pull-down below a rectangle ending at the point, the menu opens there
    // and, where the screen has no room below, above the point instead; FLTK moves it
    // left where it has no room to the right.
    const Fl_Menu_Item* picked = items->pulldown(0, -flip_rectangle, 0, flip_rectangle, nullptr, anchor_button);
    Fl::event_dispatch(previous);
    anchor->hide();
    return menu_command_of(picked);
}
