// The sprite display: takes the frame on show and the pet's position and puts them on
// the screen. Owns the device contexts, bitmaps and shape regions from init_display
// until release_display.
#pragma once

#include <windows.h>

#include <cstdint>

#include "outline.h"

constexpr COLORREF key_colour = RGB(0, 255, 255);

extern HDC sheet_dc;
extern HDC compose_dc;
extern HDC mask_dc;
extern HDC backdrop_dc;
extern HDC scratch_dc;
extern HDC key_mask_dc;
extern HDC screen_dc;
extern HBITMAP sprite_sheet;
extern HBITMAP mask_sheet;
extern HBITMAP compose_bitmap;
extern HBITMAP backdrop_bitmap;
extern HBITMAP scratch_bitmap;
extern HBITMAP key_mask_bitmap;
extern HCURSOR drag_cursor;
extern HMENU context_menu;

extern int32_t sheet_width;
extern int32_t sheet_height;
extern int32_t sheet_columns;
extern int32_t sheet_rows;
extern int32_t mask_width;
extern int32_t mask_height;
extern int32_t mask_columns;
extern int32_t mask_rows;
extern int32_t mask_stride;
extern uint8_t* mask_bits;
extern int32_t mask_inverted;

extern HRGN* shapes;
extern HRGN* mirrored_shapes;
extern HRGN window_shape;

// Returns 1, or 0 after the failure was reported.
int init_display(HWND window);
RECT image_rect(int32_t image, int32_t columns);
bool mask_opaque(int32_t x, int32_t y);
// The mask as read into memory, for the outline scan.
MaskSheet mask_sheet_in_memory();

// The window system's SetWindowRgn; tests put a refusing one in its place.
typedef int(WINAPI* SetWindowRgnFunction)(HWND window, HRGN region, BOOL redraw);
extern SetWindowRgnFunction set_window_region;
// Hands |region| to the window as its shape and records it in window_shape. The window
// system takes the region only when it accepts it; a refused one is deleted here.
void give_window_shape(HWND window, HRGN region);

void build_frame_shape(HRGN* slot, int32_t image, int32_t mirrored);
int precompute_shapes();
void apply_frame_shape();
// The window's first shape; returns 0 when start-up must end.
int apply_first_shape(HWND window);

// A block copy at the pet's scale: each source pixel becomes a solid square of
// pet_scale x pet_scale pixels at (x, y) of target (a plain copy at scale 1).
void scaled_copy(HDC target, int32_t x, int32_t y, int32_t width, int32_t height, HDC source,
                 int32_t source_x, int32_t source_y, DWORD operation);
// Copies the frame on show, plain or mirrored, into target at (0, 0), at the pet's scale.
void copy_frame(HDC target);
// Assembles the frame on show in compose_dc.
void compose_frame();
void present_frame(HWND window, int32_t old_x, int32_t old_y, int force);
void paint_frame(HWND window);
void drag_move(HWND window, WPARAM keys, int32_t x, int32_t y);
void release_display();
