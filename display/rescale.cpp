// The display at another scale: takes the world's new scale and the pet's place, and
// returns the window and its frame-sized bitmaps at the new size, with the shapes of the
// scale; in mode 0 the snapshot keeps what it knows of the desktop under both squares.
#include <initializer_list>

#include "app.h"
#include "display.h"

namespace {

struct FrameBitmaps {
    HBITMAP compose, backdrop, scratch, key_mask;
};

void delete_all(const FrameBitmaps& b) {
    for (HBITMAP bitmap : {b.compose, b.backdrop, b.scratch, b.key_mask})
        if (bitmap) DeleteObject(bitmap);
}

// Puts |bitmap| into |dc| and deletes the one it replaces (which |held| names).
void replace(HDC dc, HBITMAP* held, HBITMAP bitmap) {
    SelectObject(dc, bitmap);
    if (*held) DeleteObject(*held);
    *held = bitmap;
}

}  // namespace

bool rescale_display(HWND window) {
    const int32_t scale = pet_world.scale;
    const int32_t size = frame_width * scale;
    HDC window_dc = GetDC(window);
    if (!window_dc) return false;
    FrameBitmaps made = {CreateCompatibleBitmap(window_dc, size, size), nullptr, nullptr, nullptr};
    bool complete = made.compose != nullptr;
    if (display_mode == display_blended) {
        made.backdrop = CreateCompatibleBitmap(window_dc, size, size);
        made.scratch = CreateCompatibleBitmap(window_dc, size, size);
        made.key_mask = CreateBitmap(size, size, 1, 1, nullptr);
        complete = complete && made.backdrop && made.scratch && made.key_mask;
    }
    ReleaseDC(window, window_dc);
    if (!complete) {
        delete_all(made);
        return false;
    }
    const int32_t old_scale = pet_scale;
    pet_scale = scale;
    window_width = window_height = size;
    if (display_mode == display_stored && !use_shapes_at_scale()) {
        // No memory: the allocator has shown its box and the pet window is going.
        pet_scale = old_scale;
        window_width = window_height = frame_width * old_scale;
        delete_all(made);
        return false;
    }
    const RECT to = pet_rect();
    if (display_mode == display_blended) {
        // The new snapshot in the new scratch bitmap: the desktop at the new place, and
        // where the old square lies in it, the old snapshot (the screen shows the pet there).
        SelectObject(scratch_dc, made.scratch);
        DeleteObject(scratch_bitmap);
        scratch_bitmap = made.scratch;
        BitBlt(scratch_dc, 0, 0, size, size, screen_dc, to.left, to.top, SRCCOPY);
        carry_backdrop(scratch_dc, to, backdrop_dc, window_rect);
        replace(backdrop_dc, &backdrop_bitmap, made.backdrop);
        BitBlt(backdrop_dc, 0, 0, size, size, scratch_dc, 0, 0, SRCCOPY);
        replace(key_mask_dc, &key_mask_bitmap, made.key_mask);
        give_window_shape(window, CreateRectRgn(0, 0, size, size));
    }
    replace(compose_dc, &compose_bitmap, made.compose);
    if (display_mode != display_blended) apply_frame_shape();
    window_rect = to;
    InvalidateRgn(window, nullptr, FALSE);
    MoveWindow(window, to.left, to.top, size, size, TRUE);
    return true;
}
