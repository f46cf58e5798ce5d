// Changes of the monitors under a living pet, through the monitor, pointer and shell seams:
// a monitor plugged in where the pet's stood lends it its name, a clone keeps its own name
// and scale, a full-screen program that shrinks its monitor keeps the pet aside, and a held
// pet whose monitor changes its scale keeps the grabbed spot under the pointer.
#include <gtest/gtest.h>

#include <initializer_list>

#include "support.h"

namespace {

constexpr ScreenRect left_hd = {0, 0, 1920, 1080};
constexpr ScreenRect right_hd = {1920, 0, 3840, 1080};
constexpr const char* display1 = "\\\\.\\DISPLAY1";
constexpr const char* display2 = "\\\\.\\DISPLAY2";
constexpr const char* display3 = "\\\\.\\DISPLAY3";

struct NamedMonitor {
    const char* name;
    ScreenRect rect;
    int32_t dpi;
};

MonitorLayout desk;
MonitorLayout read_desk() { return desk; }

void set_desk(std::initializer_list<NamedMonitor> monitors, int32_t primary = 0) {
    desk = {};
    for (const NamedMonitor& m : monitors) {
        lstrcpynA(desk.names[desk.count], m.name, monitor_name_size);
        desk.dpis[desk.count] = m.dpi;
        desk.monitors[desk.count++] = m.rect;
    }
    desk.primary = primary;
}

POINT pointer_now = {0, 0};
BOOL WINAPI read_pointer(POINT* at) {
    *at = pointer_now;
    return TRUE;
}

DWORD WINAPI no_process() { return 0; }
int no_shell_state() { return 0; }

class MonitorChange : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(start_hidden_pet(display_built));
        read_monitors = read_desk;
        pointer_position = read_pointer;
        notification_state = no_shell_state;
        roam_monitors = 1;
        scale_setting = 0;
        screen_margins = {0, 0, 0, 0};
        pet_scale = 1;
        set_desk({{display1, left_hd, 96}, {display2, right_hd, 96}});
    }
    void TearDown() override {
        if (cover) DestroyWindow(cover);
        end_drag();
        stop_hidden_pet();
        read_monitors = system_monitors;
        pointer_position = GetCursorPos;
        notification_state = shell_notification_state;
        own_process_id = GetCurrentProcessId;
        roam_monitors = step_aside = stepped_aside = layout_pending = 0;
        pet_scale = 1;
        window_width = window_height = 50;
        enter_world(world_on({0, 0, 1024, 768}, 1, screen_margins, 50));
    }
    // The pet on monitor |index| of the desk at scale 1, 100 pixels from its corner.
    void live_on(int32_t index) {
        enter_world(world_in(desk, index, 1, 96, screen_margins, 50));
        set_pet_position(100, 100);
        const RECT at = pet_rect();
        MoveWindow(main_window, at.left, at.top, 50, 50, FALSE);
    }
    void display_change() { SendMessageA(main_window, WM_DISPLAYCHANGE, 32, MAKELPARAM(1920, 1080)); }
    void tick() { SendMessageA(main_window, WM_TIMER, tick_timer, 0); }
    RECT placed() {
        RECT r;
        GetWindowRect(main_window, &r);
        return r;
    }
    HWND cover = nullptr;
};

TEST_F(MonitorChange, AMonitorPluggedInWhereThePetsStoodLendsItItsName) {
    live_on(1);
    // The pet's monitor goes; another takes its place: nothing moves, but the pet now
    // lives on the newcomer.
    set_desk({{display1, left_hd, 96}, {display3, right_hd, 96}});
    display_change();
    EXPECT_STREQ(pet_world.name, display3);
    EXPECT_EQ(placed().left, 1920 + 100);
    // The newcomer moves left of the primary: the pet goes with it.
    set_desk({{display1, left_hd, 96}, {display3, {-1920, 0, 0, 1080}, 96}});
    display_change();
    EXPECT_STREQ(pet_world.name, display3);
    EXPECT_EQ(pet_world.monitor.left, -1920);
    EXPECT_EQ(placed().left, -1920 + 100);
    EXPECT_EQ(placed().top, 100);
}

TEST_F(MonitorChange, AClonedMonitorKeepsItsOwnNameAndScale) {
    live_on(1);
    // The pet's monitor, at 192 DPI, cloned onto the primary, which is listed first.
    set_desk({{display1, left_hd, 96}, {display2, left_hd, 192}});
    display_change();
    EXPECT_STREQ(pet_world.name, display2);
    EXPECT_EQ(pet_scale, 2);
    EXPECT_EQ(placed().right - placed().left, 100);
    // Extended again: the pet is still on its own monitor.
    set_desk({{display1, left_hd, 96}, {display2, right_hd, 192}});
    display_change();
    EXPECT_STREQ(pet_world.name, display2);
    EXPECT_EQ(pet_world.monitor.left, 1920);
    EXPECT_EQ(placed().left, 1920 + 100);
    // At start, a clone listed before the primary lends it neither its name nor its DPI.
    set_desk({{display2, {0, 0, 1024, 768}, 192}, {display1, {0, 0, 1024, 768}, 96}}, 1);
    enter_first_world();
    EXPECT_STREQ(pet_world.name, display1);
    EXPECT_EQ(pet_scale, 1);
}

TEST_F(MonitorChange, PetStaysAsideWhileTheFullScreenProgramShrinksItsMonitor) {
    set_desk({{display1, {0, 0, 1024, 768}, 96}});
    live_on(0);
    ShowWindow(main_window, SW_SHOWNOACTIVATE);
    step_aside = 1;
    own_process_id = no_process;
    cover = CreateWindowExA(0, "STATIC", "cover", WS_POPUP, 0, 0, 1024, 768, nullptr, nullptr, app_instance,
                            nullptr);
    ASSERT_NE(cover, nullptr);
    ShowWindow(cover, SW_SHOW);
    SetForegroundWindow(cover);
    ASSERT_EQ(GetForegroundWindow(), cover);
    tick();
    ASSERT_FALSE(IsWindowVisible(main_window));
    // The program switches its monitor to 800 x 600 and its window follows.
    set_desk({{display1, {0, 0, 800, 600}, 96}});
    display_change();
    MoveWindow(cover, 0, 0, 800, 600, FALSE);
    for (int i = 0; i < 3; ++i) {
        tick();
        EXPECT_FALSE(IsWindowVisible(main_window)) << "tick " << i;
    }
    EXPECT_EQ(screen_width, 1024);  // the change still waits
    DestroyWindow(cover);
    cover = nullptr;
    tick();
    EXPECT_TRUE(IsWindowVisible(main_window));
    EXPECT_EQ(screen_width, 800);
    EXPECT_EQ(layout_pending, 0);
}

TEST_F(MonitorChange, HeldPetKeepsTheGrabbedSpotUnderThePointerWhenItsMonitorScalesUp) {
    live_on(1);
    begin_drag(main_window, 10, 12);
    pointer_now = {2500, 500};
    drag_move(main_window, MK_LBUTTON, 2500 - placed().left, 500 - placed().top);
    ASSERT_EQ(placed().left, 2490);
    ASSERT_EQ(placed().top, 488);
    // The monitor goes to 192 DPI under the still pointer: the window doubles around the
    // grabbed spot, 10 x 2 and 12 x 2 screen pixels in.
    set_desk({{display1, left_hd, 96}, {display2, right_hd, 192}});
    SendMessageA(main_window, WM_DPICHANGED, MAKEWPARAM(192, 192), 0);
    EXPECT_EQ(pet_scale, 2);
    EXPECT_EQ(placed().right - placed().left, 100);
    EXPECT_EQ(placed().left, 2500 - 20);
    EXPECT_EQ(placed().top, 500 - 24);
    // The next move to the same place finds it there already.
    drag_move(main_window, MK_LBUTTON, 20, 24);
    EXPECT_EQ(placed().left, 2480);
    EXPECT_EQ(placed().top, 476);
    // And back to 96 DPI.
    set_desk({{display1, left_hd, 96}, {display2, right_hd, 96}});
    SendMessageA(main_window, WM_DPICHANGED, MAKEWPARAM(96, 96), 0);
    EXPECT_EQ(pet_scale, 1);
    EXPECT_EQ(placed().left, 2490);
    EXPECT_EQ(placed().top, 488);
}

}  // namespace
