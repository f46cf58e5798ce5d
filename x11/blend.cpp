// Display mode 0: takes what lies under the square window and the frame on show, and
// returns the frame blended over that snapshot. All in server pixmaps: the snapshot is
// copied from the root window without a round trip, and the frame goes over it through
// a 1-bit clip mask of its opaque pixels.
#include <cstdlib>

#include "x11.h"

namespace {

Pixmap backdrop = None;  // what lies under the window
Pixmap scratch = None;   // the backdrop before the last move
Pixmap frame_pixmap = None;
Pixmap clip_mask = None;  // depth 1: the frame's opaque pixels
GC screen_gc = nullptr;   // copies what the screen shows, windows included
GC copy_gc = nullptr;
GC clip_gc = nullptr;     // copies through clip_mask
GC mask_gc = nullptr;     // draws into clip_mask
// Where the backdrop was taken, in screen pixels; empty when it shows nothing worth
// keeping.
ScreenRect snapshot_rect = {0, 0, 0, 0};
bool scratch_is_previous = false;  // scratch holds the backdrop of the old scale

Pixmap colour_pixmap() {
    const int screen = DefaultScreen(pet_display);
    return XCreatePixmap(pet_display, RootWindow(pet_display, screen), window_width, window_height,
                         DefaultDepth(pet_display, screen));
}

GC make_gc(Drawable drawable, int subwindows) {
    XGCValues values = {};
    values.graphics_exposures = False;
    values.subwindow_mode = subwindows;
    return XCreateGC(pet_display, drawable, GCGraphicsExposures | GCSubwindowMode, &values);
}

void free_pixmap(Pixmap* pixmap) {
    if (*pixmap) XFreePixmap(pet_display, *pixmap);
    *pixmap = None;
}

void free_gc(GC* gc) {
    if (*gc) XFreeGC(pet_display, *gc);
    *gc = nullptr;
}

}  // namespace

int init_blend() {
    backdrop = colour_pixmap();
    scratch = colour_pixmap();
    frame_pixmap = colour_pixmap();
    clip_mask = XCreatePixmap(pet_display, DefaultRootWindow(pet_display), window_width, window_height, 1);
    if (!backdrop || !scratch || !frame_pixmap || !clip_mask) return 0;
    screen_gc = make_gc(backdrop, IncludeInferiors);
    copy_gc = make_gc(backdrop, ClipByChildren);
    clip_gc = make_gc(backdrop, ClipByChildren);
    mask_gc = make_gc(clip_mask, ClipByChildren);
    return screen_gc && copy_gc && clip_gc && mask_gc;
}

int rescale_blend() {
    // The old backdrop stays as scratch until the next move carries what it knows of the
    // desktop into the new one.
    free_pixmap(&scratch);
    scratch = backdrop;
    backdrop = colour_pixmap();
    scratch_is_previous = true;
    free_pixmap(&frame_pixmap);
    free_pixmap(&clip_mask);
    frame_pixmap = colour_pixmap();
    clip_mask = XCreatePixmap(pet_display, DefaultRootWindow(pet_display), window_width, window_height, 1);
    if (!backdrop || !frame_pixmap || !clip_mask) return 0;
    free_gc(&mask_gc);
    mask_gc = make_gc(clip_mask, ClipByChildren);
    return mask_gc != nullptr;
}

void take_snapshot() {
    const ScreenRect to = pet_rect();
    XCopyArea(pet_display, DefaultRootWindow(pet_display), backdrop, screen_gc, to.left, to.top, window_width,
              window_height, 0, 0);
    snapshot_rect = to;
}

void forget_backdrop() { snapshot_rect = {0, 0, 0, 0}; }

void move_backdrop() {
    // After a change of scale scratch already holds the old backdrop at the old size.
    if (!scratch_is_previous)
        XCopyArea(pet_display, backdrop, scratch, copy_gc, 0, 0, window_width, window_height, 0, 0);
    const ScreenRect from = snapshot_rect;
    // The window has not moved yet: the screen at the new place shows the desktop, except
    // where the old and new squares overlap, which shows the pet itself and comes from
    // the old snapshot instead.
    take_snapshot();
    const ScreenRect to = snapshot_rect;
    const ScreenRect shared = {from.left > to.left ? from.left : to.left, from.top > to.top ? from.top : to.top,
                               from.right < to.right ? from.right : to.right,
                               from.bottom < to.bottom ? from.bottom : to.bottom};
    if (shared.right > shared.left && shared.bottom > shared.top)
        XCopyArea(pet_display, scratch, backdrop, copy_gc, shared.left - from.left, shared.top - from.top,
                  shared.right - shared.left, shared.bottom - shared.top, shared.left - to.left,
                  shared.top - to.top);
    if (!scratch_is_previous) return;
    XFreePixmap(pet_display, scratch);
    scratch = colour_pixmap();
    scratch_is_previous = false;
}

void load_blend_frame(XImage* frame) {
    XPutImage(pet_display, frame_pixmap, copy_gc, frame, 0, 0, 0, 0, window_width, window_height);
    XSetForeground(pet_display, mask_gc, 0);
    XFillRectangle(pet_display, clip_mask, mask_gc, 0, 0, window_width, window_height);
    XSetForeground(pet_display, mask_gc, 1);
    const std::vector<XRectangle>& opaque = frame_rectangles();
    XFillRectangles(pet_display, clip_mask, mask_gc, const_cast<XRectangle*>(opaque.data()), int(opaque.size()));
    // Set again after every change: the server takes the mask's pixels when it is set.
    XSetClipMask(pet_display, clip_gc, clip_mask);
}

void compose_blended(Pixmap target) {
    XCopyArea(pet_display, backdrop, target, copy_gc, 0, 0, window_width, window_height, 0, 0);
    XCopyArea(pet_display, frame_pixmap, target, clip_gc, 0, 0, window_width, window_height, 0, 0);
}

void release_blend() {
    scratch_is_previous = false;
    forget_backdrop();
    free_gc(&screen_gc);
    free_gc(&copy_gc);
    free_gc(&clip_gc);
    free_gc(&mask_gc);
    free_pixmap(&backdrop);
    free_pixmap(&scratch);
    free_pixmap(&frame_pixmap);
    free_pixmap(&clip_mask);
}
