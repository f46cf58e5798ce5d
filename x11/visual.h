// The pet window's visual, between the drawing files: takes the server's visuals and
// extensions and gives the visual, depth and colour map the window and its pictures use.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>

extern Visual* pet_visual;
extern int32_t pet_depth;
extern Colormap pet_colormap;
// 1 when the window has a 32-bit visual with alpha: the cat's pixels opaque, every other
// pixel of the window alpha 0, so that a compositor that ignores window shapes (XWayland
// under wlroots) shows only the cat all the same.
extern int32_t see_through;
// 0 where the root window does not hold what the screen shows (XWayland: the desktop
// behind X's windows is the compositor's), so that no snapshot of it can be taken.
extern int32_t root_holds_screen;
// Mode 0 as on a plain server: the frame blended over a snapshot of the root.
extern int32_t blended_over_snapshot;

// Chooses the window's visual for the display mode, before the window is made.
void choose_visual();
void release_visual();
