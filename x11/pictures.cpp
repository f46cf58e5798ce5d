// The pet's pictures: takes the frame on show, the pet's place and scale, and returns the
// window showing them. Each frame is cut from the embedded sheet into one client-side
// image, each pet pixel a solid square (with alpha where the window has it: see-through
// beside the cat), and put into the pixmap that is the window's background, so the server
// repaints the window by itself; a tick sends only what changed.
#include <X11/Xutil.h>

#include <cstdlib>

#include "art_data.h"
#include "held_window.h"
#include "visual.h"
#include "x11.h"

int32_t window_width = 0;
int32_t window_height = 0;
int32_t depth_is_direct = 0;

namespace {

constexpr const char* bad_sheet = "Unexpected error: Data error in bitmap image";
constexpr const char* no_bitmap = "Insufficient memory to create bitmap image";

// The visual's pixel value of each of the sheet's colours, made once.
unsigned long pixel_table[art_sheet_colours] = {};
XImage* frame_image = nullptr;
// Where the window stands and how large, in screen pixels; a new scale changes its size
// at the next presentation.
ScreenRect placed = {0, 0, 0, 0};
Pixmap background = None;
GC plain_gc = nullptr;

bool make_pixel_table() {
    const Visual* visual = pet_visual;
    const ArtRgb* colours = art_sprites.colours;
    if (visual->c_class == TrueColor || visual->c_class == DirectColor) {
        // With alpha, the bits beside the colour channels: full for the cat, none for
        // the key colour, which then shows nothing wherever a shape does not hide it.
        const unsigned long colour_bits = visual->red_mask | visual->green_mask | visual->blue_mask;
        const unsigned long alpha = see_through ? 0xFFFFFFFFul & ~colour_bits : 0;
        for (int32_t i = 0; i < art_sheet_colours; ++i)
            pixel_table[i] = see_through && i == art_key_index
                                 ? 0
                                 : true_colour_pixel(colours[i], visual->red_mask, visual->green_mask,
                                                     visual->blue_mask) | alpha;
        return true;
    }
    // A colour map: ask the server for the nearest cells, once.
    Colormap map = pet_colormap;
    for (int32_t i = 0; i < art_sheet_colours; ++i) {
        XColor colour = {};
        colour.red = uint16_t(colours[i].r * 257);
        colour.green = uint16_t(colours[i].g * 257);
        colour.blue = uint16_t(colours[i].b * 257);
        colour.flags = DoRed | DoGreen | DoBlue;
        if (!XAllocColor(pet_display, map, &colour)) return false;
        pixel_table[i] = colour.pixel;
    }
    return true;
}

bool host_is_little_endian() {
    const uint16_t probe = 1;
    return *reinterpret_cast<const uint8_t*>(&probe) == 1;
}

bool make_frame_image() {
    frame_image = XCreateImage(pet_display, pet_visual, unsigned(pet_depth), ZPixmap, 0, nullptr, window_width,
                               window_height, 32, 0);
    if (!frame_image) return false;
    frame_image->data = static_cast<char*>(std::calloc(size_t(frame_image->bytes_per_line), window_height));
    if (!frame_image->data) {
        XDestroyImage(frame_image);
        frame_image = nullptr;
        return false;
    }
    // 32-bit pixels in the host's byte order are written as words; anything else (16-bit
    // visuals, a server of the other byte order) pixel by pixel through Xlib.
    const int native_order = host_is_little_endian() ? LSBFirst : MSBFirst;
    depth_is_direct = frame_image->bits_per_pixel == 32 && frame_image->byte_order == native_order;
    return true;
}

bool make_background() {
    background = XCreatePixmap(pet_display, DefaultRootWindow(pet_display), window_width, window_height,
                               unsigned(pet_depth));
    if (!background) return false;
    XSetWindowBackgroundPixmap(pet_display, pet_window, background);
    return true;
}

void free_pictures() {
    if (frame_image) XDestroyImage(frame_image);  // frees the pixels too
    frame_image = nullptr;
    if (background) XFreePixmap(pet_display, background);
    background = None;
}

// Image |image| of the sheet, mirrored or not, into frame_image at pet_scale.
void cut_frame(int32_t image, int32_t mirrored) {
    if (depth_is_direct) {
        cut_frame_words(art_sprites, art_sheet_columns, art_cell_size, image, mirrored, pet_scale, pixel_table,
                        frame_image->data, size_t(frame_image->bytes_per_line));
        return;
    }
    const int32_t s = pet_scale, cell = art_cell_size;
    const int32_t column = image % art_sheet_columns, row = image / art_sheet_columns;
    for (int32_t y = 0; y < cell; ++y) {
        const uint8_t* source = art_sprites.pixels + size_t(row * cell + y) * art_sprites.width + column * cell;
        for (int32_t x = 0; x < cell; ++x) {
            const unsigned long pixel = pixel_table[source[mirrored ? cell - 1 - x : x]];
            for (int32_t j = 0; j < s; ++j)
                for (int32_t i = 0; i < s; ++i) XPutPixel(frame_image, x * s + i, y * s + j, pixel);
        }
    }
}

int fail(const char* text) {
    halt_with_warning(text);
    return 0;
}

}  // namespace

int init_display() {
    if (art_sheet_columns * (art_sheet_height / art_cell_size) < engine->image_count) return fail(bad_sheet);
    if (!make_pixel_table()) return fail(no_bitmap);
    if (!make_frame_image() || !make_background()) return fail(no_bitmap);
    XGCValues values = {};
    values.graphics_exposures = False;
    plain_gc = XCreateGC(pet_display, background, GCGraphicsExposures, &values);
    if (!plain_gc) return fail(no_bitmap);
    if (blended_over_snapshot && !init_blend()) return fail(no_bitmap);
    placed = pet_rect();  // where the window was made
    return 1;
}

void draw_frame() {
    cut_frame(shown_image, shown_mirrored);
    if (blended_over_snapshot) {
        load_blend_frame(frame_image);
        return;
    }
    // Key-colour pixels go into the pixmap too; the window's shape hides them, and with
    // alpha they are see-through.
    XPutImage(pet_display, background, plain_gc, frame_image, 0, 0, 0, 0, window_width, window_height);
}

void present_frame(bool frame_changed) {
    const ScreenRect to = pet_rect();
    const bool moved = !same_rect(to, placed);
    const bool resized = to.right - to.left != placed.right - placed.left ||
                         to.bottom - to.top != placed.bottom - placed.top;
    if (blended_over_snapshot) {
        if (moved) move_backdrop();
        if (moved || frame_changed) compose_blended(background);
    }
    placed = to;
    if (wants_cover()) {
        present_held(background, to, moved || resized, frame_changed);
        return;
    }
    if (resized) {
        // A new scale: the window takes its new size and place with its new picture ready.
        XMoveResizeWindow(pet_display, pet_window, to.left, to.top, window_width, window_height);
        XClearWindow(pet_display, pet_window);
        return;
    }
    // The whole picture at once, where the window still stands: the move then carries a
    // finished frame, and no frame is ever seen half old and half new. A new shape under
    // XWayland has already had its picture.
    const bool painted_with_shape = root_holds_screen == 0 && display_mode != display_blended;
    if ((frame_changed && !painted_with_shape) || (moved && blended_over_snapshot))
        XClearWindow(pet_display, pet_window);
    if (moved) XMoveWindow(pet_display, pet_window, to.left, to.top);
}

void leave_held_window() { uncover_screen(background, placed); }

void show_first_frame() {
    draw_frame();
    if (blended_over_snapshot) compose_blended(background);
}

void retake_snapshot() {
    if (!blended_over_snapshot) return;
    take_snapshot();
    compose_blended(background);
    XClearWindow(pet_display, pet_window);
}

void rescale_display() {
    window_width = frame_width * pet_scale;
    window_height = frame_height * pet_scale;
    free_pictures();
    const bool made = make_frame_image() && make_background() &&
                      (!blended_over_snapshot || rescale_blend());
    if (!made) {
        halt_with_warning(no_bitmap);
        return;
    }
    // Held, the window keeps covering the screen, see-through.
    if (covering) XSetWindowBackground(pet_display, pet_window, 0);
    // Ready before the window grows or shrinks to show it; mode 0 composes once its
    // snapshot is taken at the new place.
    draw_frame();
    if (display_mode != display_blended) apply_frame_shape();
}

void release_display() {
    release_shapes();
    if (blended_over_snapshot) release_blend();
    free_pictures();
    if (plain_gc) XFreeGC(pet_display, plain_gc);
    plain_gc = nullptr;
}
