// Window shape regions: takes the mask bits of a frame and returns the region that
// covers exactly its opaque pixels, stored for every frame in advance (mode 1) or built
// on each change of frame (mode 2). Mode 0 keeps a plain square.
#include <cstdlib>

#include "app.h"
#include "display.h"

HRGN* shapes = nullptr;
HRGN* mirrored_shapes = nullptr;
HRGN* shape_sets[max_scale + 1][2] = {};
HRGN window_shape = nullptr;
SetWindowRgnFunction set_window_region = SetWindowRgn;

namespace {

// One column run of opaque pixels, each pixel a pet_scale square on the window.
void add_run(void* slot, int32_t x, int32_t top, int32_t bottom) {
    HRGN* result = static_cast<HRGN*>(slot);
    const int32_t s = pet_scale;
    HRGN run = CreateRectRgn(x * s, top * s, (x + 1) * s, bottom * s);
    if (!run) return;
    if (!*result) {
        *result = run;
        return;
    }
    CombineRgn(*result, *result, run, RGN_OR);
    DeleteObject(run);
}

}  // namespace

void give_window_shape(HWND window, HRGN region) {
    window_shape = region;
    if (set_window_region(window, region, TRUE)) return;  // from here the window system owns it
    if (region) DeleteObject(region);
    window_shape = nullptr;
}

void build_frame_shape(HRGN* slot, int32_t image, int32_t mirrored) {
    HRGN result = nullptr;
    for_each_outline_run(mask_sheet_in_memory(), image, mirrored, frame_width, frame_height, add_run, &result);
    *slot = result;
}

int precompute_shapes() {
    const size_t bytes = sizeof(HRGN) * size_t(engine->image_count);
    HRGN** set = shape_sets[pet_scale];
    release_shape_set(set);
    shapes = mirrored_shapes = nullptr;
    set[0] = static_cast<HRGN*>(alloc_or_quit(bytes));
    if (!set[0]) return 0;
    shapes = set[0];
    set[1] = static_cast<HRGN*>(alloc_or_quit(bytes));
    if (!set[1]) return 0;
    mirrored_shapes = set[1];
    for (int32_t i = 0; i < engine->image_count; ++i) build_frame_shape(&shapes[i], i, 0);
    for (int32_t i = 0; i < engine->image_count; ++i) build_frame_shape(&mirrored_shapes[i], i, 1);
    return 1;
}

int use_shapes_at_scale() {
    HRGN** set = shape_sets[pet_scale];
    if (set[0] && set[1]) {
        shapes = set[0];
        mirrored_shapes = set[1];
        return 1;
    }
    return precompute_shapes();
}

void release_shape_set(HRGN** set) {
    const int32_t count = engine ? engine->image_count : 0;
    for (int side = 0; side < 2; ++side) {
        if (!set[side]) continue;
        for (int32_t i = 0; i < count; ++i)
            if (set[side][i]) DeleteObject(set[side][i]);
        std::free(set[side]);
        set[side] = nullptr;
    }
}

void apply_frame_shape() {
    window_shape = nullptr;
    if (display_mode == display_stored) {
        window_shape = CreateRectRgn(0, 0, 0, 0);
        if (!window_shape) return;
        HRGN stored = shown_mirrored ? mirrored_shapes[shown_image] : shapes[shown_image];
        // An image without opaque pixels has no stored shape: the window stays empty.
        if (stored) CombineRgn(window_shape, stored, nullptr, RGN_COPY);
    } else {
        build_frame_shape(&window_shape, shown_image, shown_mirrored);
    }
    if (window_shape) give_window_shape(main_window, window_shape);
}

int apply_first_shape(HWND window) {
    switch (display_mode) {
    case display_blended:
    {
        give_window_shape(window, CreateRectRgn(0, 0, window_width, window_height));
        // Still hidden: the snapshot shows the desktop without the pet.
        window_rect = pet_rect();
        BitBlt(backdrop_dc, 0, 0, window_width, window_height, screen_dc, window_rect.left, window_rect.top,
               SRCCOPY);
        return 1;
    }
    case display_stored:
        if (!precompute_shapes()) return 0;
        apply_frame_shape();
        return 1;
    case display_built:
        apply_frame_shape();
        return 1;
    default:
        return 1;
    }
}
