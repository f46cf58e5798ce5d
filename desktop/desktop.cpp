// The desktop's geometry: monitors, the pet's scale, and the world the engine lives in.
#include "desktop.h"

#include <cstdint>

namespace {

// Division rounded towards minus infinity, for screen points left of or above a monitor.
int32_t floor_div(int32_t value, int32_t by) {
    const int32_t quotient = value / by;
    return (value % by != 0 && (value < 0) != (by < 0)) ? quotient - 1 : quotient;
}

int32_t ceil_div(int32_t value, int32_t by) { return -floor_div(-value, by); }

bool room_for_frame(const World& world, int32_t frame) {
    const Margins& m = world.margins;
    return int64_t{world.width} - frame - m.left - m.right >= 0 &&
           int64_t{world.height} - frame - m.top - m.bottom >= 0;
}

// The world before its margins are checked.
World measure(ScreenRect monitor, int32_t scale, Margins margins) {
    World world;
    world.monitor = monitor;
    world.scale = scale;
    world.width = (monitor.right - monitor.left) / scale;
    world.height = (monitor.bottom - monitor.top) / scale;
    world.margins = {ceil_div(margins.top, scale), ceil_div(margins.left, scale),
                     ceil_div(margins.bottom, scale), ceil_div(margins.right, scale)};
    return world;
}

// Squared distance from |point| to the nearest point of |rect|.
int64_t distance_squared(ScreenRect rect, ScreenPoint point) {
    const int64_t dx = point.x < rect.left ? rect.left - point.x
                       : point.x >= rect.right ? point.x - (rect.right - 1) : 0;
    const int64_t dy = point.y < rect.top ? rect.top - point.y
                       : point.y >= rect.bottom ? point.y - (rect.bottom - 1) : 0;
    return dx * dx + dy * dy;
}

}  // namespace

int32_t scale_for_dpi(int32_t dpi) {
    const int32_t scale = (dpi + default_dpi / 2) / default_dpi;
    if (scale < 1) return 1;
    return scale > max_scale ? max_scale : scale;
}

int32_t choose_scale(int32_t setting, int32_t dpi, ScreenRect monitor, Margins margins, int32_t frame) {
    int32_t scale = setting >= 1 && setting <= max_scale ? setting : scale_for_dpi(dpi);
    for (; scale > 1; --scale) {
        const World world = measure(monitor, scale, margins);
        if (world.width >= min_world_width && world.height >= min_world_height &&
            room_for_frame(world, frame))
            break;
    }
    return scale;
}

World world_on(ScreenRect monitor, int32_t scale, Margins margins, int32_t frame) {
    World world = measure(monitor, scale, margins);
    if (!room_for_frame(world, frame)) world.margins = {0, 0, 0, 0};
    return world;
}

bool contains(ScreenRect rect, ScreenPoint point) {
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

bool covers(ScreenRect window, ScreenRect monitor) {
    return window.left <= monitor.left && window.top <= monitor.top && window.right >= monitor.right &&
           window.bottom >= monitor.bottom;
}

bool same_rect(ScreenRect a, ScreenRect b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

int32_t monitor_at(const MonitorLayout& layout, ScreenPoint point) {
    int32_t nearest = -1;
    int64_t best = 0;
    for (int32_t i = 0; i < layout.count && i < max_monitors; ++i) {
        const int64_t d = distance_squared(layout.monitors[i], point);
        if (nearest < 0 || d < best) {
            nearest = i;
            best = d;
        }
    }
    return nearest;
}

int32_t monitor_after_change(const MonitorLayout& layout, ScreenRect old) {
    for (int32_t i = 0; i < layout.count && i < max_monitors; ++i)
        if (contains(layout.monitors[i], {old.left, old.top})) return i;
    return layout.primary;
}

ScreenPoint to_screen(const World& world, int32_t x, int32_t y) {
    return {x * world.scale + world.monitor.left, y * world.scale + world.monitor.top};
}

ScreenPoint to_world(const World& world, ScreenPoint point) {
    return {floor_div(point.x - world.monitor.left, world.scale),
            floor_div(point.y - world.monitor.top, world.scale)};
}
