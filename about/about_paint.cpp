// The About box's painting: takes the panel background, the tile and the cat frame on
// show and assembles the panel off screen, then copies it and the title picture (black
// made transparent) to the dialog; a tick scrolls the strips and repaints only the cat
// and the two strips.
#include "about.h"
#include "app.h"
#include "display.h"

namespace {

constexpr COLORREF black = RGB(0, 0, 0);
constexpr COLORREF white = RGB(255, 255, 255);

// One tile of a strip at row y of the panel, cut at the panel's top and bottom edges.
void place_tile(int32_t x, int32_t y) {
    const TileCut cut = cut_tile(y, tile_height, panel_height);
    if (cut.height != 0) BitBlt(canvas_dc, x, cut.target_y, tile_width, cut.height, tile_dc, 0, cut.source_y, SRCCOPY);
}

void draw_strips() {
    for (int32_t y = strip_offset - about_strip_spacing; y < panel_height; y += about_strip_spacing) {
        place_tile(about_strip_left, y);
        place_tile(about_strip_right, y);
    }
}

void cut_cat_frame() {
    const int32_t fw = frame_width, fh = frame_height;
    const FrameRef frame = current_about_frame();
    const int32_t image = (frame < 0 ? -frame : frame) - 1;
    const int32_t column = image % sheet_columns, row = image / sheet_columns;
    if (frame < 0)
        StretchBlt(cat_dc, 0, 0, fw, fh, sheet_dc, (column + 1) * fw - 1, row * fh, -fw, fh, SRCCOPY);
    else
        BitBlt(cat_dc, 0, 0, fw, fh, sheet_dc, column * fw, row * fh, SRCCOPY);
}

// Key-colour blend: the mask clears the canvas under the cat, the cat with its key
// pixels turned black is then ORed in.
void blend_cat() {
    const int32_t fw = frame_width, fh = frame_height;
    SetBkColor(cat_dc, key_colour);
    BitBlt(cat_mask_dc, 0, 0, fw, fh, cat_dc, 0, 0, SRCCOPY);
    // Monochrome into colour: 0 bits take the target's text colour, 1 bits its
    // background colour; the canvas keeps its default black text on white.
    BitBlt(canvas_dc, about_cat_left, about_cat_top, fw, fh, cat_mask_dc, 0, 0, SRCAND);
    SetTextColor(cat_dc, white);
    SetBkColor(cat_dc, black);
    BitBlt(cat_dc, 0, 0, fw, fh, cat_mask_dc, 0, 0, SRCAND);
    BitBlt(canvas_dc, about_cat_left, about_cat_top, fw, fh, cat_dc, 0, 0, SRCPAINT);
}

void draw_logo(HDC target, POINT at) {
    SetBkColor(logo_dc, black);
    BitBlt(logo_mask_dc, 0, 0, logo_width, logo_height, logo_dc, 0, 0, SRCCOPY);
    SetBkColor(target, white);
    SetTextColor(target, black);
    scaled_copy_at(about_scale, target, at.x, at.y, logo_width, logo_height, logo_mask_dc, 0, 0, SRCAND);
    scaled_copy_at(about_scale, target, at.x, at.y, logo_width, logo_height, logo_dc, 0, 0, SRCPAINT);
}

// A part of the panel, given in the panel's own pixels, made invalid on the dialog.
void invalidate(HWND dialog, int32_t x, int32_t y, int32_t width, int32_t height) {
    const int32_t s = about_scale;
    RECT area = {panel_x + x * s, panel_y + y * s, panel_x + (x + width) * s, panel_y + (y + height) * s};
    InvalidateRect(dialog, &area, FALSE);
}

}  // namespace

POINT about_panel_origin(int32_t width, int32_t height) {
    const AboutPoint at = about_panel_place(width, height);
    return {at.x, at.y};
}

POINT about_logo_origin(int32_t width, int32_t height, int32_t logo_w) {
    const AboutPoint at = about_logo_place(width, height, logo_w);
    return {at.x, at.y};
}

void compose_about_panel() {
    BitBlt(canvas_dc, 0, 0, panel_width, panel_height, panel_bg_dc, 0, 0, SRCCOPY);
    draw_strips();
    cut_cat_frame();
    blend_cat();
}

void paint_about(HWND dialog) {
    if (halted) return;
    awaiting_first_paint = 0;
    const POINT logo_at = about_logo_origin(client_width, client_height, logo_width * about_scale);
    PAINTSTRUCT paint;
    HDC target = BeginPaint(dialog, &paint);
    if (target && about_forced_failure()) {
        EndPaint(dialog, &paint);
        target = nullptr;
    }
    if (!target) {
        halt_with_warning(dialog, "Fail to identify the dialog window for painting");
        return;
    }
    draw_logo(target, logo_at);
    compose_about_panel();
    scaled_copy_at(about_scale, target, panel_x, panel_y, panel_width, panel_height, canvas_dc, 0, 0, SRCCOPY);
    EndPaint(dialog, &paint);
}

void on_about_tick(HWND dialog) {
    if (halted) return;
    advance_about_state();
    invalidate(dialog, about_cat_left, about_cat_top, frame_width, frame_height);
    invalidate(dialog, about_strip_left, 0, tile_width, panel_height);
    invalidate(dialog, about_strip_right, 0, tile_width, panel_height);
    UpdateWindow(dialog);
}
