// The About box: takes the pet's sprite sheet and the About animation table of the
// engine and shows a title picture and a small panel in which the cat plays one of the
// About animations between two strips of tiles that scroll upwards.
#pragma once

#include <windows.h>

#include <cstdint>

#include "about_state.h"

constexpr UINT_PTR about_timer = 1;

extern int32_t about_open;
extern HDC logo_dc, logo_mask_dc, panel_bg_dc, tile_dc, cat_mask_dc, cat_dc, canvas_dc;
extern HBITMAP logo_bitmap, logo_mask_bitmap, panel_bitmap, tile_bitmap, cat_mask_bitmap,
    cat_bitmap, canvas_bitmap;
extern int32_t client_width, client_height;
extern int32_t logo_width, logo_height, panel_width, panel_height, tile_width, tile_height;
extern int32_t panel_x, panel_y;
// The scale the box paints its title and panel at: that of the monitor it is on (the
// pet's own scale on the pet's monitor).
extern int32_t about_scale;

// Test seam: when positive, the resource or timer step that brings it down to 0 fails.
extern long about_fail_countdown;
bool about_forced_failure();

INT_PTR CALLBACK about_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

// Where the panel and the title picture go in a client area of the given size.
POINT about_panel_origin(int32_t width, int32_t height);
POINT about_logo_origin(int32_t width, int32_t height, int32_t logo_w);

// Assembles the panel in canvas_dc: background, the two strips, the cat frame on show.
void compose_about_panel();
void paint_about(HWND dialog);
void on_about_tick(HWND dialog);
