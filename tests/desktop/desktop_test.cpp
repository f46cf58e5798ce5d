// The desktop's geometry over a table of monitor layouts: the pet's scale from the
// display and the settings, the world on a monitor with its margins, the monitor under a
// point and after a change of the layout, and the mapping between world and screen.
#include <gtest/gtest.h>

#include <cstdio>

#include "desktop.h"

namespace {

constexpr int32_t frame = 50;
constexpr Margins no_margins = {0, 0, 0, 0};

MonitorLayout layout_of(std::initializer_list<ScreenRect> monitors, int32_t primary = 0) {
    MonitorLayout layout = {};
    for (const ScreenRect& m : monitors) layout.monitors[layout.count++] = m;
    layout.primary = primary;
    return layout;
}

TEST(Scale, FollowsTheDisplayRoundedToTheNearestWholeNumber) {
    const std::pair<int32_t, int32_t> table[] = {{96, 1}, {120, 1}, {143, 1}, {144, 2}, {168, 2},
                                                 {192, 2}, {240, 3}, {288, 3}, {384, 4}, {0, 1},
                                                 {-96, 1}, {96 * 20, 8}};
    for (auto [dpi, scale] : table) EXPECT_EQ(scale_for_dpi(dpi), scale) << dpi << " DPI";
}

TEST(Scale, SettingWinsOverTheDisplayAndIsLoweredUntilTheWorldFits) {
    const ScreenRect hd = {0, 0, 1920, 1080};
    EXPECT_EQ(choose_scale(0, 192, hd, no_margins, frame), 2);
    EXPECT_EQ(choose_scale(1, 192, hd, no_margins, frame), 1);
    EXPECT_EQ(choose_scale(3, 96, hd, no_margins, frame), 3);
    // Out of range: the display decides.
    EXPECT_EQ(choose_scale(9, 192, hd, no_margins, frame), 2);
    EXPECT_EQ(choose_scale(-1, 96, hd, no_margins, frame), 1);
    // 1920 / 8 = 240 wide, 1080 / 8 = 135 high: too small; 1080 / 4 = 270 is the first fit.
    EXPECT_EQ(choose_scale(8, 96, hd, no_margins, frame), 4);
    // Exactly 320 x 240 fits.
    EXPECT_EQ(choose_scale(2, 96, {0, 0, 640, 480}, no_margins, frame), 2);
    EXPECT_EQ(choose_scale(2, 96, {0, 0, 639, 480}, no_margins, frame), 1);
    // Margins that leave room at scale 1 but not for the larger pet lower the scale.
    const Margins wide = {0, 920, 0, 920};  // 80 pixels left across: room for 50, not 100
    EXPECT_EQ(choose_scale(2, 96, hd, wide, frame), 1);
    EXPECT_EQ(choose_scale(2, 96, hd, {0, 800, 0, 800}, frame), 2);  // 320 left: 160 pet pixels
}

TEST(World, IsTheMonitorSeenAtTheScaleWithMarginsRoundedUp) {
    const World plain = world_on({0, 0, 1024, 768}, 1, {40, 60, 80, 100}, frame);
    EXPECT_EQ(plain.width, 1024);
    EXPECT_EQ(plain.height, 768);
    EXPECT_EQ(plain.margins.top, 40);
    EXPECT_EQ(plain.margins.right, 100);

    const World scaled = world_on({-1280, 0, 0, 1025}, 2, {3, 4, 5, 0}, frame);
    EXPECT_EQ(scaled.width, 640);
    EXPECT_EQ(scaled.height, 512);  // an odd pixel left over is not the pet's
    EXPECT_EQ(scaled.margins.top, 2);
    EXPECT_EQ(scaled.margins.left, 2);
    EXPECT_EQ(scaled.margins.bottom, 3);
    EXPECT_EQ(scaled.margins.right, 0);

    // Margins meant for a larger monitor leave no room on a small one: dropped there.
    const World small = world_on({1920, 0, 2560, 480}, 1, {0, 400, 0, 400}, frame);
    EXPECT_EQ(small.margins.left, 0);
    EXPECT_EQ(small.margins.right, 0);
    // A band exactly one frame wide is room enough.
    const World exact = world_on({0, 0, 1024, 768}, 2, {0, 200, 0, 212}, frame);
    EXPECT_EQ(exact.margins.left, 100);
    EXPECT_EQ(exact.margins.right, 106);
}

TEST(World, MapsToTheScreenAndBackAcrossNegativeOrigins) {
    const World left_of_primary = world_on({-1920, -200, 0, 880}, 2, no_margins, frame);
    const ScreenPoint corner = to_screen(left_of_primary, 0, 0);
    EXPECT_EQ(corner.x, -1920);
    EXPECT_EQ(corner.y, -200);
    const ScreenPoint far = to_screen(left_of_primary, 100, 30);
    EXPECT_EQ(far.x, -1720);
    EXPECT_EQ(far.y, -140);
    // Back again, rounded down: each pet pixel covers a 2 x 2 block of the screen.
    for (int32_t dx : {0, 1}) {
        const ScreenPoint back = to_world(left_of_primary, {far.x + dx, far.y + dx});
        EXPECT_EQ(back.x, 100);
        EXPECT_EQ(back.y, 30);
    }
    // A point left of and above the monitor lies at negative pet pixels, rounded down.
    const ScreenPoint outside = to_world(left_of_primary, {-1921, -201});
    EXPECT_EQ(outside.x, -1);
    EXPECT_EQ(outside.y, -1);
    EXPECT_EQ(to_world(left_of_primary, {-1923, -200}).x, -2);
}

struct PointCase {
    const char* layout_name;
    MonitorLayout layout;
    ScreenPoint point;
    int32_t monitor;
};

TEST(Monitors, UnderAPointOrNearestToIt) {
    const MonitorLayout side_by_side = layout_of({{0, 0, 1920, 1080}, {1920, 0, 3200, 1024}});
    const MonitorLayout stacked = layout_of({{0, 0, 1024, 768}, {0, -768, 1024, 0}});
    const MonitorLayout primary_right = layout_of({{0, 0, 1920, 1080}, {-2560, -360, 0, 1080}});
    const PointCase cases[] = {
        {"side by side", side_by_side, {10, 10}, 0},
        {"side by side", side_by_side, {1919, 500}, 0},
        {"side by side", side_by_side, {1920, 500}, 1},
        {"side by side", side_by_side, {3199, 1023}, 1},
        // Below the shorter right monitor: the nearest is the right one.
        {"side by side", side_by_side, {3000, 1050}, 1},
        {"side by side", side_by_side, {5000, 10}, 1},
        {"stacked", stacked, {500, -1}, 1},
        {"stacked", stacked, {500, 0}, 0},
        {"stacked", stacked, {500, -2000}, 1},
        {"primary right", primary_right, {-1, 0}, 1},
        {"primary right", primary_right, {-2560, -360}, 1},
        {"primary right", primary_right, {-100, -361}, 1},
        {"primary right", primary_right, {100, -100}, 0},
    };
    for (const PointCase& c : cases)
        EXPECT_EQ(monitor_at(c.layout, c.point), c.monitor)
            << c.layout_name << " at " << c.point.x << "," << c.point.y;
    EXPECT_EQ(monitor_at(layout_of({}), {0, 0}), -1);
}

TEST(Monitors, AfterAChangeThePetKeepsItsMonitorOrGoesToThePrimary) {
    const ScreenRect right = {1920, 0, 3200, 1024};
    // The same monitor at another resolution: still the pet's.
    EXPECT_EQ(monitor_after_change(layout_of({{0, 0, 1920, 1080}, {1920, 0, 2944, 768}}), right), 1);
    // Unplugged: the primary monitor takes the pet.
    EXPECT_EQ(monitor_after_change(layout_of({{0, 0, 1920, 1080}}), right), 0);
    // The primary monitor listed second.
    EXPECT_EQ(monitor_after_change(layout_of({{-1280, 0, 0, 1024}, {0, 0, 1920, 1080}}, 1), right), 1);
}

TEST(Monitors, AFullScreenWindowCoversTheWholeMonitor) {
    const ScreenRect monitor = {1920, 0, 3200, 1024};
    EXPECT_TRUE(covers(monitor, monitor));
    EXPECT_TRUE(covers({1910, -10, 3210, 1034}, monitor));  // a little larger, as some games
    EXPECT_FALSE(covers({1920, 0, 3200, 984}, monitor));    // the work area above a task bar
    EXPECT_FALSE(covers({0, 0, 1920, 1080}, monitor));      // full-screen on the other monitor
}

}  // namespace

namespace {

// A layout of named monitors, the primary first unless said otherwise.
struct NamedMonitor {
    const char* name;
    ScreenRect rect;
    int32_t dpi;
};

MonitorLayout named_layout(std::initializer_list<NamedMonitor> monitors, int32_t primary = 0) {
    MonitorLayout layout = {};
    for (const NamedMonitor& m : monitors) {
        std::snprintf(layout.names[layout.count], monitor_name_size, "%s", m.name);
        layout.dpis[layout.count] = m.dpi;
        layout.monitors[layout.count++] = m.rect;
    }
    layout.primary = primary;
    return layout;
}

struct ChangeCase {
    const char* what;
    ScreenRect old;
    const char* name;
    MonitorLayout now;
    int32_t expected;
};

TEST(Monitors, ThePetsMonitorIsKnownByNameThenByOverlapAcrossLayoutChanges) {
    const ScreenRect hd = {0, 0, 1920, 1080};
    const ChangeCase cases[] = {
        {"a monitor left of the primary at a lower resolution, still touching it",
         {-1920, 0, 0, 1080}, "L", named_layout({{"P", hd, 96}, {"L", {-1280, 0, 0, 720}, 96}}), 1},
        {"the same without names: the overlap decides",
         {-1920, 0, 0, 1080}, "", named_layout({{"", hd, 96}, {"", {-1280, 0, 0, 720}, 96}}), 1},
        {"a monitor above the primary at a lower resolution",
         {0, -1080, 1920, 0}, "", named_layout({{"", hd, 96}, {"", {0, -720, 1280, 0}, 96}}), 1},
        {"the primary grew: the monitor to its right shifted right",
         {1920, 0, 3840, 1080}, "",
         named_layout({{"", {0, 0, 2560, 1440}, 96}, {"", {2560, 0, 4480, 1080}, 96},
                       {"", {0, 1440, 1920, 2520}, 96}}), 1},
        {"the primary grew: the monitor below it shifted down",
         {0, 1080, 1920, 2160}, "",
         named_layout({{"", {0, 0, 2560, 1440}, 96}, {"", {2560, 0, 4480, 1080}, 96},
                       {"", {0, 1440, 1920, 2520}, 96}}), 2},
        {"the primary role moved away: the pet's monitor now has a negative origin",
         hd, "A", named_layout({{"B", hd, 96}, {"A", {-1920, 0, 0, 1080}, 96}}), 1},
        {"a monitor moved down by 200 pixels",
         {1920, 0, 3840, 1080}, "", named_layout({{"", hd, 96}, {"", {1920, 200, 3840, 1280}, 96}}), 1},
        {"a monitor moved up by 200 pixels",
         {1920, 200, 3840, 1280}, "", named_layout({{"", hd, 96}, {"", {1920, 0, 3840, 1080}, 96}}), 1},
        {"moved from the right to the left, a newcomer plugged in where it was",
         {1920, 0, 3840, 1080}, "B",
         named_layout({{"A", hd, 96}, {"C", {1920, 0, 3840, 1080}, 96}, {"B", {-1920, 0, 0, 1080}, 96}}), 2},
        {"unplugged: the primary, listed second",
         {1920, 0, 3840, 1080}, "B", named_layout({{"C", {-1280, 0, 0, 1024}, 96}, {"A", hd, 96}}, 1), 1},
        {"cloned monitors: the one at exactly the old rectangle",
         {0, 0, 1280, 1024}, "", named_layout({{"", hd, 96}, {"", {0, 0, 1280, 1024}, 96}}), 1},
        {"overlapping monitors: the exact rectangle before the larger overlap",
         {1000, 0, 2000, 800}, "",
         named_layout({{"", hd, 96}, {"", {500, 0, 2500, 1000}, 96}, {"", {1000, 0, 2000, 800}, 96}}), 2},
        {"overlapping monitors: the larger overlap",
         {1000, 0, 2200, 800}, "",
         named_layout({{"", hd, 96}, {"", {500, 0, 2500, 1000}, 96}, {"", {1200, 0, 2000, 800}, 96}}), 1},
        {"L-shaped with a gap: the monitor below and to the right moved further away",
         {2000, 1180, 3280, 2204}, "",
         named_layout({{"", hd, 96}, {"", {2100, 1280, 3380, 2304}, 96}}), 1},
        {"L-shaped with a gap: nothing left where the pet was",
         {2000, 1180, 3280, 2204}, "", named_layout({{"", hd, 96}, {"", {0, 1180, 1280, 2204}, 96}}), 0},
        {"a name seen twice: the rectangle decides between them",
         {1920, 0, 3840, 1080}, "D",
         named_layout({{"D", hd, 96}, {"D", {1920, 0, 3840, 1080}, 96}}), 1},
    };
    for (const ChangeCase& c : cases)
        EXPECT_EQ(monitor_after_change(c.now, c.old, c.name), c.expected) << c.what;
}

// Margins as the Options dialog and start-up judge them: on the primary monitor, at the
// scale the next start takes there before margins; what passes is applied at that scale.
struct MarginCase {
    ScreenRect monitor;
    int32_t setting;
    int32_t dpi;
    Margins margins;
    bool accepted;
};

TEST(Margins, OneRuleForTheDialogAndStartUpAtTheScaleTheStartTakes) {
    const ScreenRect xga = {0, 0, 1024, 768};
    const ScreenRect hd = {0, 0, 1920, 1080};
    const MarginCase cases[] = {
        {xga, 0, 96, {0, 487, 0, 487}, true},   // exactly one frame left across
        {xga, 0, 96, {0, 488, 0, 487}, false},
        {xga, 0, 96, {359, 0, 359, 0}, true},
        {xga, 0, 96, {-1, 0, 0, 0}, false},
        {xga, 0, 96, {0, 0, 100, 1100}, false},  // meant for a larger monitor
        // At scale 2 each margin is rounded up to whole pet pixels: 231 + 232 + 50 > 512.
        {xga, 2, 96, {0, 461, 0, 463}, false},
        {xga, 0, 192, {0, 461, 0, 463}, false},
        {xga, 2, 96, {0, 460, 0, 462}, true},
        {xga, 2, 96, {0, 1, 0, 923}, false},  // 1 + 462 + 50 > 512
        {xga, 2, 96, {31, 100, 0, 0}, true},
        // Room for the pet at scale 1, none at the 2 that 192 DPI gives: refused, not
        // taken at a lowered scale.
        {hd, 0, 192, {0, 920, 0, 920}, false},
        {hd, 1, 192, {0, 920, 0, 920}, true},
        {hd, 0, 192, {0, 910, 0, 910}, true},  // 455 + 455 + 50 = 960
        {{0, 0, 2560, 1440}, 4, 96, {0, 1200, 0, 1160}, true},  // 300 + 290 + 50 = 640
        {{0, 0, 2560, 1440}, 4, 96, {0, 1197, 0, 1163}, false},  // 300 + 291 + 50 > 640
        {{0, 0, 2560, 1440}, 4, 96, {0, 1200, 0, 1161}, false},
        // A small primary lowers the scale before margins are judged: 1280 x 720 at 4 is
        // 320 x 180, too small; at 3, 426 x 240.
        {{0, 0, 1280, 720}, 4, 96, {0, 561, 0, 561}, true},  // 187 + 187 + 50 = 424
        {{0, 0, 1280, 720}, 4, 96, {0, 567, 0, 567}, false},  // 189 + 189 + 50 > 426
        {xga, 0, 96, {0, 2147483647, 0, 2147483647}, false},
    };
    for (const MarginCase& c : cases) {
        const Margins& m = c.margins;
        const bool accepted = margins_fit_on_primary(c.monitor, c.dpi, c.setting, m, frame);
        SCOPED_TRACE(testing::Message() << "setting " << c.setting << " dpi " << c.dpi << " margins " << m.top
                                        << "," << m.left << "," << m.bottom << "," << m.right);
        EXPECT_EQ(accepted, c.accepted);
        if (!accepted) continue;
        // What passes is taken as it is, at the scale it was judged at.
        const int32_t scale = choose_scale(c.setting, c.dpi, c.monitor, m, frame);
        EXPECT_EQ(scale, scale_for_monitor(c.setting, c.dpi, c.monitor));
        const World world = world_on(c.monitor, scale, m, frame);
        auto up = [scale](int32_t margin) { return (margin + scale - 1) / scale; };
        EXPECT_EQ(world.margins.top, up(m.top));
        EXPECT_EQ(world.margins.left, up(m.left));
        EXPECT_EQ(world.margins.bottom, up(m.bottom));
        EXPECT_EQ(world.margins.right, up(m.right));
    }
}

// The pet's world after a change, as both shells take it: from the index the pet's monitor
// is found at, its name, DPI and rectangle together.
World world_after_change(const MonitorLayout& now, const World& pet, bool roam) {
    return world_in(now, pet_monitor_after_change(now, pet, roam), 0, 96, no_margins, frame);
}

TEST(Monitors, ThePetsWorldAfterAChangeComesWholeFromOneMonitor) {
    const ScreenRect hd = {0, 0, 1920, 1080};
    const ScreenRect right = {1920, 0, 3840, 1080};
    const MonitorLayout a_b = named_layout({{"A", hd, 96}, {"B", right, 96}});
    World pet = world_in(a_b, 1, 0, 96, no_margins, frame);
    // Another monitor plugged in where the pet's stood: the same place and scale, but the
    // pet now lives on C, and follows C when C moves.
    pet = world_after_change(named_layout({{"A", hd, 96}, {"C", right, 96}}), pet, true);
    EXPECT_STREQ(pet.name, "C");
    const MonitorLayout c_left = named_layout({{"A", hd, 96}, {"C", {-1920, 0, 0, 1080}, 96}});
    EXPECT_EQ(world_after_change(c_left, pet, true).monitor.left, -1920);
    // (A pet that had kept the name B would have gone to the primary.)
    World stale = pet;
    std::snprintf(stale.name, monitor_name_size, "B");
    EXPECT_STREQ(world_after_change(c_left, stale, true).name, "A");

    // B, at 192 DPI, cloned onto A: the pet stays on B, with B's name and scale, though
    // A lies at the same rectangle and is listed first.
    pet = world_in(named_layout({{"A", hd, 96}, {"B", right, 192}}), 1, 0, 96, no_margins, frame);
    pet = world_after_change(named_layout({{"A", hd, 96}, {"B", hd, 192}}), pet, true);
    EXPECT_STREQ(pet.name, "B");
    EXPECT_EQ(pet.scale, 2);
    // Extended again: still B, at its new place.
    pet = world_after_change(named_layout({{"A", hd, 96}, {"B", right, 192}}), pet, true);
    EXPECT_STREQ(pet.name, "B");
    EXPECT_EQ(pet.monitor.left, 1920);

    // Primary only: the primary, wherever it is listed; no monitors at all: none.
    const MonitorLayout primary_second = named_layout({{"B", right, 96}, {"A", hd, 96}}, 1);
    EXPECT_EQ(pet_monitor_after_change(primary_second, pet, false), 1);
    EXPECT_EQ(pet_monitor_after_change(named_layout({}), pet, true), -1);
    EXPECT_EQ(primary_index(named_layout({{"B", right, 96}, {"A", hd, 96}}, 5)), 0);
}

TEST(Monitors, AFullScreenWindowIsJudgedAgainstThePetsMonitorAsItIsNow) {
    // The pet stepped aside on a 1920 x 1080 monitor; the full-screen program switched it to
    // 1280 x 720 and its window followed. The pet's world waits with the change.
    const World pet = world_in(named_layout({{"A", {0, 0, 1920, 1080}, 96}}), 0, 0, 96, no_margins, frame);
    const ScreenRect cover = {0, 0, 1280, 720};
    EXPECT_FALSE(covers(cover, pet.monitor));
    const MonitorLayout now = named_layout({{"A", cover, 96}});
    EXPECT_TRUE(covers(cover, pet_monitor_now(now, pet, true)));
    EXPECT_TRUE(covers(cover, pet_monitor_now(now, pet, false)));
    // The same window beside the pet's monitor, on another one, covers nothing of it.
    const MonitorLayout two = named_layout({{"B", {-1280, 0, 0, 720}, 96}, {"A", {0, 0, 1600, 900}, 96}}, 1);
    EXPECT_FALSE(covers({-1280, 0, 0, 720}, pet_monitor_now(two, pet, true)));
    // Nothing listed: the old rectangle.
    EXPECT_TRUE(same_rect(pet_monitor_now(named_layout({}), pet, true), pet.monitor));
}

TEST(Held, TheGrabbedSpotStaysUnderThePointerAtAnyScale) {
    const ScreenRect laptop = {-1920, -200, 0, 880};
    const ScreenPoint pointers[] = {{-1500, 300}, {-1, -200}, {-1920, 879}, {-1201, 77}};
    const ScreenPoint grabs[] = {{0, 0}, {10, 12}, {49, 50}};
    for (int32_t scale = 1; scale <= 4; ++scale) {
        const World world = world_on(laptop, scale, no_margins, frame);
        for (const ScreenPoint pointer : pointers)
            for (const ScreenPoint grab : grabs) {
                const ScreenPoint at = held_under(world, pointer, grab.x, grab.y);
                // The grabbed pet pixel's block of screen pixels holds the pointer.
                const ScreenPoint block = to_screen(world, at.x + grab.x, at.y + grab.y);
                EXPECT_TRUE(contains({block.x, block.y, block.x + scale, block.y + scale}, pointer))
                    << "scale " << scale << " pointer " << pointer.x << "," << pointer.y << " grab " << grab.x
                    << "," << grab.y;
            }
    }
    // The monitor goes from 96 to 192 DPI under a still pointer: the pet is placed anew
    // around the grabbed spot, not kept at its corner as a pet that is not held is.
    const World at_one = world_on(laptop, 1, no_margins, frame);
    const World at_two = world_on(laptop, 2, no_margins, frame);
    const ScreenPoint pointer = {-1500, 300};
    const ScreenPoint before = held_under(at_one, pointer, 10, 12);
    const ScreenPoint after = held_under(at_two, pointer, 10, 12);
    const ScreenPoint corner = to_screen(at_two, after.x, after.y);
    EXPECT_EQ(corner.x, -1500 - 20);
    EXPECT_EQ(corner.y, 300 - 24);
    const ScreenPoint kept = carry_over(at_one, at_two, before.x, before.y);
    EXPECT_NE(to_screen(at_two, kept.x, kept.y).x, corner.x);
}

struct ScaleCase {
    const char* what;
    ScreenRect monitor;
    int32_t setting;
    int32_t dpi;
    int32_t scale;
};

TEST(Scale, EachMonitorGetsItsOwnScaleWithAWorldOfAtLeast320By240) {
    const ScaleCase cases[] = {
        {"Scale=4 on a 4K primary", {0, 0, 3840, 2160}, 4, 96, 4},
        {"Scale=4 on a portrait 1080 x 1920 beside it", {3840, 0, 4920, 1920}, 4, 96, 3},
        {"Scale=8 on 1280 x 1024", {0, 0, 1280, 1024}, 8, 96, 4},
        {"Scale=4 after a change from 1920 x 1080 to 1280 x 720", {0, 0, 1280, 720}, 4, 96, 3},
        {"Scale=0 on a 150 % laptop", {0, 0, 2880, 1800}, 0, 144, 2},
        {"Scale=0 on the 100 % monitor beside it", {2880, 0, 4800, 1080}, 0, 96, 1},
        {"Scale=0 at 250 % on a small screen", {0, 0, 1280, 800}, 0, 240, 3},
    };
    for (const ScaleCase& c : cases) {
        const int32_t scale = scale_for_monitor(c.setting, c.dpi, c.monitor);
        EXPECT_EQ(scale, c.scale) << c.what;
        const World world = world_on(c.monitor, scale, no_margins, frame);
        EXPECT_GE(world.width, min_world_width) << c.what;
        EXPECT_GE(world.height, min_world_height) << c.what;
    }
    // Each monitor of a mixed desk at its own DPI; an unknown DPI takes the fallback.
    const MonitorLayout desk = named_layout(
        {{"laptop", {0, 0, 2880, 1800}, 144}, {"office", {2880, 0, 4800, 1080}, 96}, {"tv", {4800, 0, 8640, 2160}, 0}});
    EXPECT_EQ(world_in(desk, 0, 0, 96, no_margins, frame).scale, 2);
    EXPECT_EQ(world_in(desk, 1, 0, 192, no_margins, frame).scale, 1);
    EXPECT_EQ(world_in(desk, 2, 0, 192, no_margins, frame).scale, 2);
    EXPECT_STREQ(world_in(desk, 1, 0, 96, no_margins, frame).name, "office");
    // Margins that leave no room at a monitor's scale lower it there.
    EXPECT_EQ(world_in(desk, 0, 0, 96, {0, 700, 0, 700}, frame).scale, 2);
    EXPECT_EQ(world_in(desk, 0, 0, 96, {0, 1400, 0, 1400}, frame).scale, 1);
}

TEST(World, ThePetKeepsItsPlaceOnTheScreenAcrossAChangeOfScale) {
    const World at_two = world_on({-2880, 0, 0, 1800}, 2, no_margins, frame);
    const World at_one = world_on({-1920, 0, 0, 1080}, 1, no_margins, frame);
    const World at_three = world_on({0, 0, 3840, 2160}, 3, no_margins, frame);
    // 100 pet pixels at scale 2 are 200 screen pixels from the corner.
    ScreenPoint p = carry_over(at_two, at_one, 100, 31);
    EXPECT_EQ(p.x, 200);
    EXPECT_EQ(p.y, 62);
    p = carry_over(at_two, at_three, 100, 31);
    EXPECT_EQ(p.x, 66);  // 200 / 3 rounded down
    EXPECT_EQ(p.y, 20);
    // The same scale keeps the pet's own coordinates, wherever the monitor moved.
    p = carry_over(at_one, world_on({0, 500, 1920, 1580}, 1, no_margins, frame), 17, 23);
    EXPECT_EQ(p.x, 17);
    EXPECT_EQ(p.y, 23);
}

}  // namespace
