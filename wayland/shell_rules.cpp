// The Wayland pet shell's pure rules: outputs to the device-space layout and back, surface
// and buffer sizes, the buffer to draw in, damage between pictures and the cursors' pixels.
#include "shell_rules.h"

#include <cmath>
#include <cstring>
#include <numeric>

namespace {

int64_t floor_div(int64_t value, int64_t by) {
    const int64_t quotient = value / by;
    return (value % by != 0 && (value < 0) != (by < 0)) ? quotient - 1 : quotient;
}

int64_t ceil_div(int64_t value, int64_t by) { return -floor_div(-value, by); }

double distance_squared(const OutputPlace& o, double x, double y) {
    const double dx = x < o.x ? o.x - x : x >= o.x + o.width ? x - (o.x + o.width) : 0;
    const double dy = y < o.y ? o.y - y : y >= o.y + o.height ? y - (o.y + o.height) : 0;
    return dx * dx + dy * dy;
}

double clamp(double value, double low, double high) { return value < low ? low : value > high ? high : value; }

// The pixel of image |image| (mirrored or not) at (x, y) of its cell.
uint8_t sheet_pixel(const ArtIndexedPicture& sheet, int32_t columns, int32_t cell, int32_t image, int32_t mirrored,
                    int32_t x, int32_t y) {
    const int32_t column = image % columns, row = image / columns;
    const int32_t sx = column * cell + (mirrored ? cell - 1 - x : x);
    return sheet.pixels[size_t(row * cell + y) * size_t(sheet.width) + size_t(sx)];
}

}  // namespace

int32_t scale_from_sizes(int32_t device, int32_t logical) {
    if (device <= 0 || logical <= 0) return scale_unit;
    const int64_t scale = (int64_t{device} * scale_unit + logical / 2) / logical;
    return scale < 1 ? 1 : int32_t(scale);
}

int32_t device_factor(const OutputPlace* outputs, int32_t count) {
    int64_t factor = 1;
    for (int32_t i = 0; i < count; ++i) {
        const int64_t whole = ceil_div(outputs[i].scale120, scale_unit);
        if (whole > factor) factor = whole;
    }
    return int32_t(factor);
}

ScreenRect device_rect(const OutputPlace& output, int32_t factor) {
    const int32_t left = output.x * factor, top = output.y * factor;
    return {left, top, left + output.device_width, top + output.device_height};
}

MonitorLayout device_layout(const OutputPlace* outputs, int32_t count, ScreenRect fallback) {
    MonitorLayout layout = {};
    const int32_t factor = device_factor(outputs, count);
    for (int32_t i = 0; i < count && layout.count < max_monitors; ++i) {
        const OutputPlace& o = outputs[i];
        if (o.device_width <= 0 || o.device_height <= 0) continue;
        const int32_t slot = layout.count++;
        layout.monitors[slot] = device_rect(o, factor);
        std::memcpy(layout.names[slot], o.name, monitor_name_size);
        layout.names[slot][monitor_name_size - 1] = '\0';
        layout.dpis[slot] = int32_t(int64_t{o.scale120} * default_dpi / scale_unit);
    }
    if (layout.count == 0) {
        layout.count = 1;
        layout.monitors[0] = fallback;
        layout.dpis[0] = default_dpi;
    }
    layout.primary = 0;
    return layout;
}

int32_t output_at(const OutputPlace* outputs, int32_t count, double x, double y) {
    int32_t nearest = -1;
    double best = 0;
    for (int32_t i = 0; i < count; ++i) {
        const double d = distance_squared(outputs[i], x, y);
        if (nearest < 0 || d < best) {
            nearest = i;
            best = d;
        }
    }
    return nearest;
}

ScreenPoint logical_to_device(const OutputPlace& output, int32_t factor, double x, double y) {
    const ScreenRect rect = device_rect(output, factor);
    return {rect.left + device_floor(x - output.x, output.scale120), rect.top + device_floor(y - output.y, output.scale120)};
}

ScreenPoint device_to_logical_offset(const OutputPlace& output, int32_t factor, ScreenPoint point) {
    const ScreenRect rect = device_rect(output, factor);
    return {logical_floor(point.x - rect.left, output.scale120), logical_floor(point.y - rect.top, output.scale120)};
}

void clamp_to_outputs(const OutputPlace* outputs, int32_t count, double* x, double* y) {
    const int32_t i = output_at(outputs, count, *x, *y);
    if (i < 0) return;
    const OutputPlace& o = outputs[i];
    *x = clamp(*x, o.x, o.x + o.width - 1);
    *y = clamp(*y, o.y, o.y + o.height - 1);
}

int32_t logical_floor(int32_t device, int32_t scale120) {
    return int32_t(floor_div(int64_t{device} * scale_unit, scale120));
}

int32_t logical_ceil(int32_t device, int32_t scale120) {
    return int32_t(ceil_div(int64_t{device} * scale_unit, scale120));
}

int32_t device_floor(double logical, int32_t scale120) {
    return int32_t(std::floor(logical * scale120 / scale_unit));
}

SurfaceSize surface_size(int32_t side, int32_t scale120) {
    // Logical sides that are a multiple of |step| have a whole device size.
    const int32_t step = scale_unit / std::gcd(scale120, scale_unit);
    const int32_t least = logical_ceil(side, scale120);
    const int32_t logical = int32_t(ceil_div(least, step) * step);
    return {logical, int32_t(int64_t{logical} * scale120 / scale_unit)};
}

void logical_rectangles(const std::vector<XRectangle>& rects, int32_t pet_scale, int32_t scale120,
                        std::vector<int32_t>* out) {
    for (const XRectangle& r : rects) {
        const int32_t left = logical_floor(r.x * pet_scale, scale120);
        const int32_t top = logical_floor(r.y * pet_scale, scale120);
        const int32_t right = logical_ceil((r.x + r.width) * pet_scale, scale120);
        const int32_t bottom = logical_ceil((r.y + r.height) * pet_scale, scale120);
        out->insert(out->end(), {left, top, right - left, bottom - top});
    }
}

int32_t pick_buffer(const BufferState* buffers, int32_t count, int32_t side) {
    int32_t free_slot = -1;
    for (int32_t i = 0; i < count; ++i) {
        if (buffers[i].busy) continue;
        if (buffers[i].side == side) return i;
        if (free_slot < 0) free_slot = i;
    }
    return free_slot;
}

ScreenRect changed_pixels(const ArtIndexedPicture& sheet, int32_t columns, int32_t cell, int32_t image_a,
                          int32_t mirrored_a, int32_t image_b, int32_t mirrored_b) {
    ScreenRect box = {cell, cell, 0, 0};
    for (int32_t y = 0; y < cell; ++y)
        for (int32_t x = 0; x < cell; ++x) {
            if (sheet_pixel(sheet, columns, cell, image_a, mirrored_a, x, y) ==
                sheet_pixel(sheet, columns, cell, image_b, mirrored_b, x, y))
                continue;
            if (x < box.left) box.left = x;
            if (y < box.top) box.top = y;
            if (x + 1 > box.right) box.right = x + 1;
            if (y + 1 > box.bottom) box.bottom = y + 1;
        }
    if (box.right <= box.left) return {0, 0, 0, 0};
    return box;
}

void argb_colour_table(const ArtIndexedPicture& sheet, uint8_t key_index, unsigned long* table) {
    for (int32_t i = 0; i < sheet.colour_count; ++i) {
        const ArtRgb c = sheet.colours[i];
        table[i] = i == key_index ? 0ul : 0xFF000000ul | (unsigned long)c.r << 16 | (unsigned long)c.g << 8 | c.b;
    }
}

void cursor_argb(const ArtCursor& cursor, int32_t scale, uint32_t* out) {
    const int32_t side = art_cursor_size * scale;
    for (int32_t y = 0; y < side; ++y)
        for (int32_t x = 0; x < side; ++x) {
            const int32_t cx = x / scale, cy = y / scale;
            uint32_t pixel = 0;
            if (cx < cursor.width && cy < cursor.height) {
                const size_t i = size_t(cy) * size_t(cursor.width) + size_t(cx);
                if (!cursor.transparent[i]) pixel = cursor.pixels[i] == 1 ? 0xFFFFFFFFu : 0xFF000000u;
            }
            out[size_t(y) * size_t(side) + size_t(x)] = pixel;
        }
}
