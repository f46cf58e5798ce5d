// Frame presentation: takes the frame on show and the pet's position after a tick or a
// drag, and moves or repaints the window; in mode 0 it keeps the snapshot of what lies
// behind the window and blends the frame over it by the key colour.
#include <cstdlib>

#include "app.h"
#include "display.h"

namespace {

void delete_dc(HDC* dc) {
    if (*dc) DeleteDC(*dc);
    *dc = nullptr;
}

void delete_bitmap(HBITMAP* bitmap) {
    if (*bitmap) DeleteObject(*bitmap);
    *bitmap = nullptr;
}

// Takes the desktop at the new place into the snapshot. Where the old and new squares
// overlap the screen shows the pet itself, so that part comes from the old snapshot.
void move_backdrop(RECT to, int32_t old_x, int32_t old_y) {
    const int32_t fw = window_width, fh = window_height;
    BitBlt(scratch_dc, 0, 0, fw, fh, backdrop_dc, 0, 0, SRCCOPY);
    BitBlt(backdrop_dc, 0, 0, fw, fh, screen_dc, to.left, to.top, SRCCOPY);
    const ScreenPoint was = to_screen(pet_world, old_x, old_y);
    carry_backdrop(backdrop_dc, to, scratch_dc, {was.x, was.y, was.x + fw, was.y + fh});
}

}  // namespace

RECT window_rect = {0, 0, 0, 0};

void carry_backdrop(HDC target, RECT to, HDC source, RECT from) {
    RECT shared;
    if (!IntersectRect(&shared, &to, &from)) return;
    BitBlt(target, shared.left - to.left, shared.top - to.top, shared.right - shared.left,
           shared.bottom - shared.top, source, shared.left - from.left, shared.top - from.top, SRCCOPY);
}

void forget_backdrop() { window_rect = {0, 0, 0, 0}; }

RECT pet_rect() {
    const ScreenPoint at = pet_on_screen();
    return {at.x, at.y, at.x + window_width, at.y + window_height};
}

void scaled_copy(HDC target, int32_t x, int32_t y, int32_t width, int32_t height, HDC source,
                 int32_t source_x, int32_t source_y, DWORD operation) {
    scaled_copy_at(pet_scale, target, x, y, width, height, source, source_x, source_y, operation);
}

void scaled_copy_at(int32_t s, HDC target, int32_t x, int32_t y, int32_t width, int32_t height, HDC source,
                    int32_t source_x, int32_t source_y, DWORD operation) {
    if (s == 1)
        BitBlt(target, x, y, width, height, source, source_x, source_y, operation);
    else
        StretchBlt(target, x, y, width * s, height * s, source, source_x, source_y, width, height, operation);
}

void copy_frame(HDC target) {
    const int32_t fw = frame_width, fh = frame_height, s = pet_scale;
    const int32_t column = shown_image % sheet_columns, row = shown_image / sheet_columns;
    if (shown_mirrored)
        StretchBlt(target, 0, 0, fw * s, fh * s, sheet_dc, (column + 1) * fw - 1, row * fh, -fw, fh, SRCCOPY);
    else
        scaled_copy(target, 0, 0, fw, fh, sheet_dc, column * fw, row * fh, SRCCOPY);
}

void compose_frame() {
    const int32_t fw = window_width, fh = window_height;
    if (display_mode != display_blended) {
        // Key-colour pixels are copied too; the window's shape hides them.
        copy_frame(compose_dc);
        return;
    }
    BitBlt(compose_dc, 0, 0, fw, fh, backdrop_dc, 0, 0, SRCCOPY);
    copy_frame(scratch_dc);
    // Colour to monochrome: pixels of the background colour become 1, the pet 0.
    SetBkColor(scratch_dc, key_colour);
    BitBlt(key_mask_dc, 0, 0, fw, fh, scratch_dc, 0, 0, SRCCOPY);
    // Monochrome to colour takes 0 as the text colour and 1 as the background colour:
    // with compose_dc's black on white the AND clears the snapshot under the pet.
    BitBlt(compose_dc, 0, 0, fw, fh, key_mask_dc, 0, 0, SRCAND);
    SetTextColor(scratch_dc, RGB(255, 255, 255));
    SetBkColor(scratch_dc, RGB(0, 0, 0));
    BitBlt(scratch_dc, 0, 0, fw, fh, key_mask_dc, 0, 0, SRCAND);
    BitBlt(compose_dc, 0, 0, fw, fh, scratch_dc, 0, 0, SRCPAINT);
}

void present_frame(HWND window, int32_t old_x, int32_t old_y, int force) {
    if (window_x == old_x && window_y == old_y) {
        if (!force) return;
        InvalidateRgn(window, nullptr, FALSE);
        UpdateWindow(window);
        return;
    }
    const RECT to = pet_rect();
    if (display_mode == display_blended) move_backdrop(to, old_x, old_y);
    window_rect = to;
    InvalidateRgn(window, nullptr, FALSE);
    MoveWindow(window, to.left, to.top, window_width, window_height, TRUE);
}

void paint_frame(HWND window) {
    if (halted) return;
    compose_frame();
    PAINTSTRUCT paint;
    HDC dc = system_forced_failure() ? nullptr : BeginPaint(window, &paint);
    if (!dc) {
        halt_with_warning(window, "Fail to identify the window for painting");
        return;
    }
    // The whole cell in one copy, whatever the update region: never a half-drawn frame.
    BitBlt(dc, 0, 0, window_width, window_height, compose_dc, 0, 0, SRCCOPY);
    EndPaint(window, &paint);
}

namespace {

// The held pet's place for the pointer at |pointer| on the screen: the grabbed spot of
// its body under the pointer, kept inside the margins.
void hold_under(ScreenPoint pointer) {
    ScreenPoint at = held_under(pet_world, pointer, grab_x, grab_y);
    clamp_to_margins(&at.x, &at.y);
    set_pet_position(at.y, at.x);
}

}  // namespace

void drag_move(HWND window, WPARAM keys, int32_t x, int32_t y) {
    if (!dragging || !(keys & MK_LBUTTON)) return;
    const ScreenPoint placed = pet_on_screen();
    const ScreenPoint pointer = {placed.x + x, placed.y + y};
    int32_t old_x = window_x, old_y = window_y;
    const bool crossed = follow_pointer(pointer);
    if (crossed) {
        // The old place in the new world's pixels, to tell whether the window moves.
        const ScreenPoint old = to_world(pet_world, placed);
        old_x = old.x;
        old_y = old.y;
    }
    hold_under(pointer);
    if (crossed && pet_world.scale != pet_scale) {
        // A monitor of another scale: the window takes it on at once.
        if (rescale_display(window)) return;
        keep_pet_scale();
        hold_under(pointer);
    }
    present_frame(window, old_x, old_y, 1);
}

void release_display() {
    delete_dc(&sheet_dc);
    delete_dc(&compose_dc);
    delete_dc(&backdrop_dc);
    delete_dc(&scratch_dc);
    delete_dc(&key_mask_dc);
    delete_dc(&screen_dc);
    delete_dc(&mask_dc);
    // Only now that no device context holds them.
    delete_bitmap(&sprite_sheet);
    delete_bitmap(&compose_bitmap);
    delete_bitmap(&backdrop_bitmap);
    delete_bitmap(&scratch_bitmap);
    delete_bitmap(&key_mask_bitmap);
    delete_bitmap(&mask_sheet);
    for (auto& set : shape_sets) release_shape_set(set);
    shapes = mirrored_shapes = nullptr;
}
