// The sprite display: takes the frame on show and the pet's position and puts them on
// the screen. Owns the device contexts, bitmaps and shape regions from init_display
// until release_display.
#pragma once

#include <windows.h>

#include <cstdint>

#include "desktop.h"
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

// Mode 1's stored shapes at the pet's scale; a set is made for each scale the pet takes
// and kept until the display is released.
extern HRGN* shapes;
extern HRGN* mirrored_shapes;
extern HRGN* shape_sets[max_scale + 1][2];
extern HRGN window_shape;
// Where the window stands on the screen as last placed, in screen pixels; empty when
// the snapshot of mode 0 must be taken anew whole at the next move.
extern RECT window_rect;

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
// Makes the stored shapes of the pet's scale the ones in use, building them the first
// time the scale is used; 0 when there was no memory for them.
int use_shapes_at_scale();
void release_shape_set(HRGN** set);
void apply_frame_shape();
// The window's first shape; returns 0 when start-up must end.
int apply_first_shape(HWND window);

// A block copy at the pet's scale: each source pixel becomes a solid square of
// pet_scale x pet_scale pixels at (x, y) of target (a plain copy at scale 1).
void scaled_copy(HDC target, int32_t x, int32_t y, int32_t width, int32_t height, HDC source,
                 int32_t source_x, int32_t source_y, DWORD operation);
void scaled_copy_at(int32_t scale, HDC target, int32_t x, int32_t y, int32_t width, int32_t height,
                    HDC source, int32_t source_x, int32_t source_y, DWORD operation);
// Copies into |target|, placed on the screen at |to|, what |source|, placed at |from|,
// holds of the screen pixels both share.
void carry_backdrop(HDC target, RECT to, HDC source, RECT from);
// Where the pet's window stands on the screen for its place and scale.
RECT pet_rect();
// Copies the frame on show, plain or mirrored, into target at (0, 0), at the pet's scale.
void copy_frame(HDC target);
// Assembles the frame on show in compose_dc.
void compose_frame();
void present_frame(HWND window, int32_t old_x, int32_t old_y, int force);
void paint_frame(HWND window);
void drag_move(HWND window, WPARAM keys, int32_t x, int32_t y);
void release_display();
// The display at the world's scale: the window becomes 50 x 50 of its pixels, the
// frame-sized bitmaps are made anew (mode 0's snapshot keeping what it knows of the
// desktop under both squares), the shapes are those of the scale, and the window stands
// at the pet's place. Returns false, with everything as it was, when a bitmap could not
// be made.
bool rescale_display(HWND window);
// The next move takes the snapshot of mode 0 anew, the old one being out of date.
void forget_backdrop();
