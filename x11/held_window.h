// The held pet under XWayland, between the drawing files: while it is held its window
// covers the whole X screen, see-through but for the cat, which stands in it at its place.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>

#include "desktop.h"

extern int32_t covering;  // 1 while the pet's window covers the X screen, unshaped

// Whether the window should cover the screen now: held, under XWayland, with alpha.
bool wants_cover();
// The window shows |picture| (the cat's) at |to| on the screen: covering it first when
// it does not yet, the cat moved there or its frame changed in place.
void present_held(Pixmap picture, const ScreenRect& to, bool moved, bool frame_changed);
// The window gives up the screen and is the cat's square at |to| again, |picture| its
// background.
void uncover_screen(Pixmap picture, const ScreenRect& to);
// The drag ended: a window that covered the screen is the cat's square again, where the
// cat was shown last (pictures.cpp).
void leave_held_window();
