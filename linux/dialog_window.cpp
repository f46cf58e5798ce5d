// The dialogs' and boxes' windows on the desktop: takes a dialog's size and owner, and
// returns the scale it fits the pet's monitor at, its place beside the pet, and its window
// shown to the window manager as the pet's dialog, or brought forward when open already.
#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>
#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <algorithm>

#include "ui.h"

int32_t dialog_scale = 1;

namespace {

// The room kept round a dialog for a window manager's frame at scale 1: a title bar above,
// borders elsewhere. It grows with the pet's scale, as desktop themes grow with the DPI.
constexpr Margins frame_room = {32, 6, 6, 6};

// _MOTIF_WM_HINTS: the window manager offers only the functions and decorations given.
constexpr long motif_functions_given = 1, motif_decorations_given = 2;
constexpr long motif_move = 4, motif_close = 32;
constexpr long motif_border = 2, motif_title = 8, motif_menu = 16;
constexpr int motif_hint_count = 5;

struct DialogAtoms {
    Atom window_type, window_type_dialog, motif_hints, active_window, supporting_wm_check;
};
DialogAtoms dialog_atoms = {};

void intern_dialog_atoms() {
    if (dialog_atoms.window_type) return;
    const char* names[] = {"_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_DIALOG", "_MOTIF_WM_HINTS",
                           "_NET_ACTIVE_WINDOW", "_NET_SUPPORTING_WM_CHECK"};
    Atom values[5] = {};
    XInternAtoms(fl_display, const_cast<char**>(names), 5, False, values);
    dialog_atoms = {values[0], values[1], values[2], values[3], values[4]};
}

// A window manager that follows the desktop conventions is running (a round trip).
bool window_manager_runs() {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(fl_display, RootWindow(fl_display, fl_screen),
                                          dialog_atoms.supporting_wm_check, 0, 1, False, XA_WINDOW, &type, &format,
                                          &count, &after, &data);
    if (data) XFree(data);
    return status == Success && type == XA_WINDOW && count == 1;
}

Margins scaled_frame_room() {
    const int32_t s = ui_scale();
    return {frame_room.top * s, frame_room.left * s, frame_room.bottom * s, frame_room.right * s};
}

bool pet_placed() { return pet_world.scale >= 1; }

ScreenRect pet_window_rect() {
    const ScreenPoint corner = pet_corner();
    return {corner.x, corner.y, corner.x + window_width, corner.y + window_height};
}

// The work area of the monitor the pet lives on, or of the primary one before it lives
// anywhere; never more than that monitor, whatever the desktop calls its work area.
ScreenRect work_area() {
    int x = 0, y = 0, w = 0, h = 0;
    if (!pet_placed()) {
        Fl::screen_work_area(x, y, w, h, 0);
        return {x, y, x + w, y + h};
    }
    const ScreenRect monitor = pet_world.monitor;
    Fl::screen_work_area(x, y, w, h, (monitor.left + monitor.right) / 2, (monitor.top + monitor.bottom) / 2);
    return {std::max(x, monitor.left), std::max(y, monitor.top), std::min(x + w, monitor.right),
            std::min(y + h, monitor.bottom)};
}

// FLTK writes the title's UTF-8 bytes into WM_NAME as if they were Latin-1: readers that
// know no _NET_WM_NAME (FLTK sets that one right) get it as compound text instead, or as
// Latin-1 where that suffices.
void set_legacy_title(Window xid, const char* title) {
    char* list[] = {const_cast<char*>(title ? title : "")};
    XTextProperty text = {};
    if (Xutf8TextListToTextProperty(fl_display, list, 1, XStdICCTextStyle, &text) < Success) return;
    XSetWMName(fl_display, xid, &text);
    XSetWMIconName(fl_display, xid, &text);
    XFree(text.value);
}

}  // namespace

void choose_dialog_scale(SizeAtScale size_at) {
    dialog_scale = fitting_scale(size_at, ui_scale(), work_area(), scaled_frame_room());
}

void place_dialog(Fl_Window* window, Fl_Window* owner) {
    const PixelSize size = {window->w(), window->h()};
    const ScreenRect work = work_area();
    ScreenPoint at = {work.left + (work.right - work.left - size.w) / 2,
                      work.top + (work.bottom - work.top - size.h) / 2};
    if (pet_placed()) {
        const Margins frame = scaled_frame_room();
        const ScreenRect pet = pet_window_rect();
        at = beside_pet(size, frame, work, pet);
        if (owner && owner->shown()) {
            const ScreenPoint centred = {owner->x() + (owner->w() - size.w) / 2,
                                         owner->y() + (owner->h() - size.h) / 2};
            if (clear_of_pet(centred, size, frame, work, pet)) at = centred;
        }
    }
    window->position(at.x, at.y);
}

void show_dialog(Fl_Window* window, Fl_Window* owner) {
    intern_dialog_atoms();
    // A window manager reads a window's type and owner once, when it takes the window on,
    // which it does when FLTK maps it: the server is held from before the window is made
    // until these are set, so that the window manager reads them only then.
    XGrabServer(fl_display);
    window->show();
    const Window xid = fl_xid(window);
    XChangeProperty(fl_display, xid, dialog_atoms.window_type, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&dialog_atoms.window_type_dialog), 1);
    // Moved and closed only: a dialog minimised with its owner never on a task bar could
    // not be found again, and a maximised one would only be stretched.
    const long motif[motif_hint_count] = {motif_functions_given | motif_decorations_given, motif_move | motif_close,
                                          motif_border | motif_title | motif_menu, 0, 0};
    XChangeProperty(fl_display, xid, dialog_atoms.motif_hints, dialog_atoms.motif_hints, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(motif), motif_hint_count);
    const Window master = owner && owner->shown() ? fl_xid(owner) : pet_x_window;
    if (master) XSetTransientForHint(fl_display, xid, master);
    else XDeleteProperty(fl_display, xid, XA_WM_TRANSIENT_FOR);
    set_legacy_title(xid, window->label());
    XUngrabServer(fl_display);
    // A new dialog takes the keys, as a Windows dialog is activated when it is made. A window
    // manager hands the focus out itself; without one the window, mapped by now, takes it,
    // or the keys would go to whatever lies under the pointer (the dialog opens beside the
    // pet, not under the pointer that chose it).
    if (!window_manager_runs()) XSetInputFocus(fl_display, xid, RevertToParent, CurrentTime);
    XFlush(fl_display);
}

void bring_forward(Fl_Window* window) {
    // FLTK maps a window it has shown again and raises it; a window manager takes that as
    // the end of its being iconified.
    window->show();
    const Window xid = fl_xid(window);
    intern_dialog_atoms();
    if (window_manager_runs()) {
        XEvent event = {};
        event.xclient.type = ClientMessage;
        event.xclient.window = xid;
        event.xclient.message_type = dialog_atoms.active_window;
        event.xclient.format = 32;
        event.xclient.data.l[0] = 1;  // asked by the application itself
        event.xclient.data.l[1] = static_cast<long>(fl_event_time);  // the choice in the menu
        XSendEvent(fl_display, RootWindow(fl_display, fl_screen), False,
                   SubstructureRedirectMask | SubstructureNotifyMask, &event);
    } else {
        // Nobody hands out the focus: the window, mapped by now, takes it itself.
        XSetInputFocus(fl_display, xid, RevertToParent, CurrentTime);
    }
    XFlush(fl_display);
}
