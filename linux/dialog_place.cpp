// Where a dialog opens: takes its client size at each scale, the work area of the pet's
// monitor, the room a window manager's frame takes and the pet's window, and returns the
// scale the dialog is built at and the place of its client area. Plain integers.
#include "ui.h"

namespace {

int32_t clamp(int32_t value, int32_t low, int32_t high) {
    if (value > high) value = high;
    return value < low ? low : value;  // the low end wins when the range is empty
}

bool overlap(ScreenRect a, ScreenRect b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The dialog with its frame, for its client area at |at|.
ScreenRect framed(ScreenPoint at, PixelSize size, Margins frame) {
    return {at.x - frame.left, at.y - frame.top, at.x + size.w + frame.right, at.y + size.h + frame.bottom};
}

}  // namespace

int32_t fitting_scale(SizeAtScale size_at, int32_t largest, ScreenRect work, Margins frame) {
    const int32_t room_w = work.right - work.left - frame.left - frame.right;
    const int32_t room_h = work.bottom - work.top - frame.top - frame.bottom;
    for (int32_t scale = largest; scale > 1; --scale) {
        const PixelSize size = size_at(scale);
        if (size.w <= room_w && size.h <= room_h) return scale;
    }
    return 1;
}

ScreenPoint beside_pet(PixelSize size, Margins frame, ScreenRect work, ScreenRect pet) {
    const int32_t outer_w = frame.left + size.w + frame.right;
    const int32_t outer_h = frame.top + size.h + frame.bottom;
    const int32_t room_left = pet.left - work.left, room_right = work.right - pet.right;
    const int32_t room_above = pet.top - work.top, room_below = work.bottom - pet.bottom;
    // The frame's top-left corner: level with the pet on the side with more room; above
    // or below it when neither side has room; from its corner, over it, when nothing has.
    int32_t x = pet.left, y = pet.top;
    if (room_left >= outer_w || room_right >= outer_w) {
        x = room_right >= room_left ? pet.right : pet.left - outer_w;
    } else if (room_above >= outer_h || room_below >= outer_h) {
        y = room_below >= room_above ? pet.bottom : pet.top - outer_h;
    }
    x = clamp(x, work.left, work.right - outer_w);
    y = clamp(y, work.top, work.bottom - outer_h);
    return {x + frame.left, y + frame.top};
}

bool clear_of_pet(ScreenPoint at, PixelSize size, Margins frame, ScreenRect work, ScreenRect pet) {
    const ScreenRect outer = framed(at, size, frame);
    const bool inside = outer.left >= work.left && outer.top >= work.top && outer.right <= work.right &&
                        outer.bottom <= work.bottom;
    return inside && !overlap(outer, pet);
}
