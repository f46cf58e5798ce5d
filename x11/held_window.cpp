// The held pet under XWayland: takes the cat's picture and place while the pet is held,
// and returns its window covering the whole X screen, unshaped, alpha 0 but for the cat,
// which moves within it; let go, the window is the cat's shaped square again. A Wayland
// compositor sends the pointer only to the surface under it, where XWayland takes a
// window's shape for the surface's input, and sway 1.7 keeps no grab for an X window
// that no window manager handles: a small window that follows the pointer loses it at a
// quick move, or when the cat stops at a margin or at its monitor's edge while the
// pointer goes on (to the next output), and X would hear of the pointer no more. Over a
// window that covers the screen and stays put, X hears of it everywhere.
#include "held_window.h"

#include <X11/extensions/shape.h>

#include "x11.h"
#include "visual.h"

int32_t covering = 0;

namespace {

GC copy_gc = nullptr;
ScreenRect shown = {0, 0, 0, 0};  // where the cat is drawn in the covering window

void copy_cat(Pixmap picture, const ScreenRect& to) {
    if (!copy_gc) {
        XGCValues values = {};
        values.graphics_exposures = False;
        copy_gc = XCreateGC(pet_display, picture, GCGraphicsExposures, &values);
    }
    // The whole square, see-through pixels too: nothing of the last frame stays.
    XCopyArea(pet_display, picture, pet_window, copy_gc, 0, 0, unsigned(window_width), unsigned(window_height),
              to.left, to.top);
    shown = {to.left, to.top, to.left + window_width, to.top + window_height};
}

}  // namespace

bool wants_cover() { return dragging && !root_holds_screen && see_through; }

void present_held(Pixmap picture, const ScreenRect& to, bool moved, bool frame_changed) {
    if (!covering) {
        // The root's size now: outputs may have come and gone since the last drag.
        Window root = None;
        int x = 0, y = 0;
        unsigned int width = 0, height = 0, border = 0, depth = 0;
        if (!XGetGeometry(pet_display, DefaultRootWindow(pet_display), &root, &x, &y, &width, &height, &border,
                          &depth))
            return;
        covering = 1;
        // Unshaped and see-through all over, and only then larger: the server paints the
        // whole window, so nothing of the small one's pixels stays.
        XShapeCombineMask(pet_display, pet_window, ShapeBounding, 0, 0, None, ShapeSet);
        XSetWindowBackground(pet_display, pet_window, 0);
        XClearWindow(pet_display, pet_window);
        XMoveResizeWindow(pet_display, pet_window, 0, 0, width, height);
        copy_cat(picture, to);
        return;
    }
    if (moved) XClearArea(pet_display, pet_window, shown.left, shown.top, unsigned(shown.right - shown.left),
                          unsigned(shown.bottom - shown.top), False);
    if (moved || frame_changed) copy_cat(picture, to);
}

void uncover_screen(Pixmap picture, const ScreenRect& to) {
    if (!covering) return;
    covering = 0;
    // Cleared, then the square with its picture and shape as before.
    XClearWindow(pet_display, pet_window);
    XMoveResizeWindow(pet_display, pet_window, to.left, to.top, unsigned(window_width), unsigned(window_height));
    XSetWindowBackgroundPixmap(pet_display, pet_window, picture);
    if (display_mode != display_blended) apply_frame_shape();
    XClearWindow(pet_display, pet_window);
    if (copy_gc) XFreeGC(pet_display, copy_gc);
    copy_gc = nullptr;
}
