// The desktop's geometry: monitors, the pet's scale, and the world the engine lives in.
#include "desktop.h"

#include <cstdint>
#include <cstring>

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
    World world = {};
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

// Screen pixels two rectangles share.
int64_t overlap(ScreenRect a, ScreenRect b) {
    const int64_t width = int64_t{a.right < b.right ? a.right : b.right} - (a.left > b.left ? a.left : b.left);
    const int64_t height = int64_t{a.bottom < b.bottom ? a.bottom : b.bottom} - (a.top > b.top ? a.top : b.top);
    return width > 0 && height > 0 ? width * height : 0;
}

}  // namespace

int32_t scale_for_dpi(int32_t dpi) {
    const int32_t scale = (dpi + default_dpi / 2) / default_dpi;
    if (scale < 1) return 1;
    return scale > max_scale ? max_scale : scale;
}

int32_t scale_for_monitor(int32_t setting, int32_t dpi, ScreenRect monitor) {
    int32_t scale = setting >= 1 && setting <= max_scale ? setting : scale_for_dpi(dpi);
    for (; scale > 1; --scale) {
        const World world = measure(monitor, scale, {0, 0, 0, 0});
        if (world.width >= min_world_width && world.height >= min_world_height) break;
    }
    return scale;
}

int32_t choose_scale(int32_t setting, int32_t dpi, ScreenRect monitor, Margins margins, int32_t frame) {
    int32_t scale = scale_for_monitor(setting, dpi, monitor);
    while (scale > 1 && !margins_fit_on(monitor, scale, margins, frame)) --scale;
    return scale;
}

bool margins_fit_on(ScreenRect monitor, int32_t scale, Margins margins, int32_t frame) {
    if (margins.top < 0 || margins.left < 0 || margins.bottom < 0 || margins.right < 0) return false;
    return room_for_frame(measure(monitor, scale, margins), frame);
}

bool margins_fit_on_primary(ScreenRect primary, int32_t dpi, int32_t setting, Margins margins, int32_t frame) {
    return margins_fit_on(primary, scale_for_monitor(setting, dpi, primary), margins, frame);
}

World world_on(ScreenRect monitor, int32_t scale, Margins margins, int32_t frame) {
    World world = measure(monitor, scale, margins);
    if (!room_for_frame(world, frame)) world.margins = {0, 0, 0, 0};
    return world;
}

World world_in(const MonitorLayout& layout, int32_t index, int32_t setting, int32_t fallback_dpi,
               Margins margins, int32_t frame) {
    const ScreenRect monitor = layout.monitors[index];
    const int32_t dpi = layout.dpis[index] > 0 ? layout.dpis[index] : fallback_dpi;
    World world = world_on(monitor, choose_scale(setting, dpi, monitor, margins, frame), margins, frame);
    std::memcpy(world.name, layout.names[index], monitor_name_size);
    world.name[monitor_name_size - 1] = '\0';
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

int32_t monitor_after_change(const MonitorLayout& layout, ScreenRect old, const char* name) {
    const int32_t count = layout.count < max_monitors ? layout.count : max_monitors;
    // A name goes with its monitor wherever the monitor now stands. Two monitors never
    // share a name, but should they, the rules below choose among them.
    int32_t named = -1, named_count = 0;
    if (name && name[0])
        for (int32_t i = 0; i < count; ++i)
            if (std::strncmp(layout.names[i], name, monitor_name_size) == 0) {
                if (named < 0) named = i;
                ++named_count;
            }
    if (named_count == 1) return named;
    auto candidate = [&](int32_t i) {
        return named_count == 0 || std::strncmp(layout.names[i], name, monitor_name_size) == 0;
    };
    // Clones and overlapping monitors share screen pixels: the exact old rectangle wins.
    for (int32_t i = 0; i < count; ++i)
        if (candidate(i) && same_rect(layout.monitors[i], old)) return i;
    int32_t best = -1;
    int64_t best_area = 0;
    for (int32_t i = 0; i < count; ++i) {
        const int64_t area = overlap(layout.monitors[i], old);
        if (candidate(i) && area > best_area) {
            best = i;
            best_area = area;
        }
    }
    if (best >= 0) return best;
    return named >= 0 ? named : layout.primary;
}

int32_t primary_index(const MonitorLayout& layout) {
    if (layout.count <= 0) return -1;
    const int32_t count = layout.count < max_monitors ? layout.count : max_monitors;
    return layout.primary >= 0 && layout.primary < count ? layout.primary : 0;
}

int32_t pet_monitor_after_change(const MonitorLayout& layout, const World& pet, bool roam) {
    const int32_t primary = primary_index(layout);
    if (!roam || primary < 0) return primary;
    const int32_t own = monitor_after_change(layout, pet.monitor, pet.name);
    const int32_t count = layout.count < max_monitors ? layout.count : max_monitors;
    return own >= 0 && own < count ? own : primary;
}

ScreenRect pet_monitor_now(const MonitorLayout& now, const World& pet, bool roam) {
    const int32_t index = pet_monitor_after_change(now, pet, roam);
    return index >= 0 ? now.monitors[index] : pet.monitor;
}

ScreenPoint carry_over(const World& from, const World& to, int32_t x, int32_t y) {
    // Screen pixels from the monitor's corner, kept as they were; at the same scale the
    // pet keeps its own coordinates.
    const ScreenPoint offset = {x * from.scale, y * from.scale};
    return {floor_div(offset.x, to.scale), floor_div(offset.y, to.scale)};
}

ScreenPoint held_under(const World& world, ScreenPoint pointer, int32_t grab_x, int32_t grab_y) {
    const ScreenPoint under = to_world(world, pointer);
    return {under.x - grab_x, under.y - grab_y};
}

ScreenPoint to_screen(const World& world, int32_t x, int32_t y) {
    return {x * world.scale + world.monitor.left, y * world.scale + world.monitor.top};
}

ScreenPoint to_world(const World& world, ScreenPoint point) {
    return {floor_div(point.x - world.monitor.left, world.scale),
            floor_div(point.y - world.monitor.top, world.scale)};
}
