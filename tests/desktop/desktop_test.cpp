// The desktop's geometry over a table of monitor layouts: the pet's scale from the
// display and the settings, the world on a monitor with its margins, the monitor under a
// point and after a change of the layout, and the mapping between world and screen.
#include <gtest/gtest.h>

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
