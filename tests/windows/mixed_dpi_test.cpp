// Mixed-DPI desks through the monitor seam: a 96-DPI primary beside a 144-DPI monitor.
// The pet carried across takes each monitor's scale (window, shapes, grab point), follows
// WM_DPICHANGED, waits with a layout change while stepped aside, steps aside for what
// the shell reports; the Options dialog judges margins as the next start does; the About
// box paints at the scale of the monitor it is on.
#include <gtest/gtest.h>

#include <string>

#include "about.h"
#include "resource.h"
#include "support.h"

namespace {

constexpr ScreenRect office = {0, 0, 1024, 768};    // primary, 96 DPI
constexpr ScreenRect laptop = {1024, 0, 2944, 1080};  // 144 DPI: scale 2, a 960 x 540 world

MonitorLayout desk;
MonitorLayout read_desk() { return desk; }

void set_desk(int32_t office_dpi, int32_t laptop_dpi, ScreenRect second = laptop) {
    desk = {};
    desk.count = 2;
    desk.monitors[0] = office;
    desk.monitors[1] = second;
    lstrcpynA(desk.names[0], "\\\\.\\DISPLAY1", monitor_name_size);
    lstrcpynA(desk.names[1], "\\\\.\\DISPLAY2", monitor_name_size);
    desk.dpis[0] = office_dpi;
    desk.dpis[1] = laptop_dpi;
}

int state_now = 0;
int reported_state() { return state_now; }

RECT placed() {
    RECT r;
    GetWindowRect(main_window, &r);
    return r;
}

// The window's shape, and whether it is the outline of the frame on show at |scale|.
bool shape_is_outline(int32_t scale) {
    HRGN held = CreateRectRgn(0, 0, 0, 0);
    const bool got = GetWindowRgn(main_window, held) != ERROR;
    const int32_t kept = pet_scale;
    pet_scale = scale;
    HRGN outline = nullptr;
    build_frame_shape(&outline, shown_image, shown_mirrored);
    pet_scale = kept;
    const bool same = got && outline && EqualRgn(held, outline);
    DeleteObject(held);
    if (outline) DeleteObject(outline);
    return same;
}

class MixedDpi : public ::testing::Test {
protected:
    void start(int32_t mode) {
        ASSERT_TRUE(start_hidden_pet(mode));
        set_desk(96, 144);
        read_monitors = read_desk;
        roam_monitors = 1;
        scale_setting = 0;
        screen_margins = {0, 0, 0, 0};
        pet_scale = 1;
        enter_world(world_on(office, 1, screen_margins, 50));
        if (mode == display_stored) {
            ASSERT_EQ(precompute_shapes(), 1);
        }
        ASSERT_EQ(apply_first_shape(main_window), 1);
        set_pet_position(100, 100);
        window_rect = pet_rect();
        MoveWindow(main_window, 100, 100, 50, 50, FALSE);
    }
    void TearDown() override {
        stop_hidden_pet();
        read_monitors = system_monitors;
        notification_state = shell_notification_state;
        roam_monitors = 0;
        step_aside = 0;
        stepped_aside = 0;
        layout_pending = 0;
        own_process_id = GetCurrentProcessId;
        pet_scale = 1;
        window_width = window_height = 50;
        scale_setting = 0;
        enter_world(world_on(office, 1, screen_margins, 50));
    }
    // The pointer at (x, y) on the screen while the pet is held.
    void pointer_at(int32_t x, int32_t y) {
        const RECT r = placed();
        drag_move(main_window, MK_LBUTTON, x - r.left, y - r.top);
    }
};

TEST_F(MixedDpi, CarriedPetTakesEachMonitorsScaleWithTheGrabbedSpotUnderThePointer) {
    for (int32_t mode : {display_built, display_stored, display_blended}) {
        SCOPED_TRACE(testing::Message() << "mode " << mode);
        start(mode);
        begin_drag(main_window, 10, 12);  // pet pixel (10, 12)
        for (int crossing = 0; crossing < 2; ++crossing) {
            HRGN* const* sets_before = crossing ? shape_sets[2] : nullptr;
            pointer_at(1500, 300);
            EXPECT_EQ(pet_scale, 2);
            EXPECT_EQ(screen_width, 960);
            // The same spot of the body, 10 x 2 and 12 x 2 screen pixels in, under the pointer.
            EXPECT_EQ(placed().left, 1500 - 20);
            EXPECT_EQ(placed().top, 300 - 24);
            EXPECT_EQ(placed().right - placed().left, 100);
            EXPECT_EQ(placed().bottom - placed().top, 100);
            if (mode == display_blended) {
                BITMAP snapshot;
                ASSERT_NE(GetObjectA(backdrop_bitmap, sizeof snapshot, &snapshot), 0);
                EXPECT_EQ(snapshot.bmWidth, 100);
                compose_frame();
                int key = 0;
                for (int y = 0; y < 100; ++y)
                    for (int x = 0; x < 100; ++x) key += GetPixel(compose_dc, x, y) == key_colour;
                EXPECT_EQ(key, 0);
            } else {
                EXPECT_TRUE(shape_is_outline(2));
            }
            if (mode == display_stored && sets_before) {
                // Back on a scale used before: its stored set, not a new one.
                EXPECT_EQ(shape_sets[2][0], sets_before[0]);
            }
            pointer_at(500, 300);
            EXPECT_EQ(pet_scale, 1);
            EXPECT_EQ(placed().left, 490);
            EXPECT_EQ(placed().top, 288);
            EXPECT_EQ(placed().right - placed().left, 50);
            if (mode != display_blended) {
                EXPECT_TRUE(shape_is_outline(1));
            }
        }
        if (mode == display_stored) {
            EXPECT_NE(shape_sets[1][0], nullptr);
            EXPECT_NE(shape_sets[2][1], nullptr);
            EXPECT_EQ(shape_sets[3][0], nullptr);
        }
        end_drag();
        stop_hidden_pet();
    }
}

TEST_F(MixedDpi, DpiChangeOfThePetsMonitorRescalesItInItsPlace) {
    start(display_built);
    begin_drag(main_window, 0, 0);
    pointer_at(1224, 200);
    end_drag();
    ASSERT_EQ(pet_scale, 2);
    ASSERT_EQ(placed().left, 1224);
    struct Step {
        int32_t dpi;
        int32_t scale;
        int32_t left, top;  // where the window stands: the same screen pixels, rounded down
    };
    const Step steps[] = {{96, 1, 1224, 200}, {288, 3, 1222, 198}, {192, 2, 1222, 198}};
    for (const Step& step : steps) {
        set_desk(96, step.dpi);
        SendMessageA(main_window, WM_DPICHANGED, MAKEWPARAM(step.dpi, step.dpi), 0);
        EXPECT_EQ(pet_scale, step.scale) << step.dpi;
        EXPECT_EQ(placed().right - placed().left, 50 * step.scale) << step.dpi;
        EXPECT_EQ(placed().left, step.left) << step.dpi;
        EXPECT_EQ(placed().top, step.top) << step.dpi;
        EXPECT_STREQ(pet_world.name, "\\\\.\\DISPLAY2");
        EXPECT_TRUE(shape_is_outline(step.scale)) << step.dpi;
    }
}

TEST_F(MixedDpi, StartsAtThePrimaryMonitorsOwnScale) {
    start(display_built);
    set_desk(192, 96);
    screen_width = 1024;
    screen_height = 768;
    enter_first_world();
    EXPECT_EQ(pet_scale, 2);
    EXPECT_EQ(screen_width, 512);
    set_desk(96, 192);
    screen_width = 1024;
    screen_height = 768;
    enter_first_world();
    EXPECT_EQ(pet_scale, 1);
}

TEST_F(MixedDpi, ShellsFullScreenStatesSendThePetAside) {
    start(display_built);
    ShowWindow(main_window, SW_SHOWNOACTIVATE);
    step_aside = 1;
    notification_state = reported_state;
    // 1 no user, 2 busy, 3 Direct3D full screen, 4 presentation, 5 accepting, 6 quiet time, 7 an app.
    for (int state = 0; state <= 7; ++state) {
        state_now = state;
        SendMessageA(main_window, WM_TIMER, tick_timer, 0);
        EXPECT_EQ(IsWindowVisible(main_window) == 0, state == 3 || state == 4) << state;
    }
    state_now = 0;
    SendMessageA(main_window, WM_TIMER, tick_timer, 0);
    EXPECT_TRUE(IsWindowVisible(main_window));
}

TEST_F(MixedDpi, LayoutChangeWhileSteppedAsideWaitsForThePetsReturn) {
    start(display_blended);
    ShowWindow(main_window, SW_SHOWNOACTIVATE);
    step_aside = 1;
    notification_state = reported_state;
    set_pet_position(700, 950);
    present_frame(main_window, 100, 100, 1);
    state_now = 3;
    SendMessageA(main_window, WM_TIMER, tick_timer, 0);
    ASSERT_FALSE(IsWindowVisible(main_window));
    // The full-screen program switches the screen to 800 x 600.
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 50; ++x) SetPixel(backdrop_dc, x, y, RGB(1, 2, 3));
    desk = {};
    desk.count = 1;
    desk.monitors[0] = {0, 0, 800, 600};
    lstrcpynA(desk.names[0], "\\\\.\\DISPLAY1", monitor_name_size);
    SendMessageA(main_window, WM_DISPLAYCHANGE, 32, MAKELPARAM(800, 600));
    EXPECT_EQ(window_x, 950);
    EXPECT_EQ(window_y, 700);
    EXPECT_EQ(placed().left, 950);
    EXPECT_EQ(GetPixel(backdrop_dc, 10, 10), RGB(1, 2, 3));  // no snapshot of the program
    // Still away at the next tick, and still in place.
    SendMessageA(main_window, WM_TIMER, tick_timer, 0);
    EXPECT_EQ(window_x, 950);
    // The program goes, the screen is what it now is: the pet comes back inside it.
    state_now = 0;
    SendMessageA(main_window, WM_TIMER, tick_timer, 0);
    EXPECT_TRUE(IsWindowVisible(main_window));
    EXPECT_EQ(screen_width, 800);
    EXPECT_EQ(window_x, 750);
    EXPECT_EQ(window_y, 550);
    EXPECT_EQ(placed().left, 750);
    EXPECT_NE(GetPixel(backdrop_dc, 10, 10), RGB(1, 2, 3));
    EXPECT_EQ(layout_pending, 0);
}

// The Options dialog, opened over the pet wherever it lives, judges margins on the
// primary monitor at the scale the next start takes there.
class MarginsOfTheNextStart : public MixedDpi {
protected:
    std::string path;
    void SetUp() override {
        start(display_built);
        path = fresh_settings_file("mixed_dpi_test.ini");
        saved_settings = {display_built, 0, 0, 0, 0, 150};
    }
    void TearDown() override {
        DeleteFileA(path.c_str());
        MixedDpi::TearDown();
    }
    // The box OK brings up, or "" when the dialog saved and closed.
    std::string press_ok(const char* top, const char* left, const char* bottom, const char* right) {
        boxes.clear();
        open_options_dialog(main_window);
        HWND dialog = open_dialogs ? open_dialogs->dialog : nullptr;
        if (!dialog) return "no dialog";
        SetDlgItemTextA(dialog, IDC_TOP_MARGIN, top);
        SetDlgItemTextA(dialog, IDC_LEFT_MARGIN, left);
        SetDlgItemTextA(dialog, IDC_BOTTOM_MARGIN, bottom);
        SetDlgItemTextA(dialog, IDC_RIGHT_MARGIN, right);
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
        const std::string box = boxes.empty() ? "" : boxes[0].text;
        if (IsWindow(dialog)) DestroyWindow(dialog);
        return box;
    }
};

TEST_F(MarginsOfTheNextStart, OnThePrimaryWhereverThePetLives) {
    const std::string too_large = "Margin too large !  Please Re-enter ..";
    // The pet on a larger secondary: margins that fit there leave no room on the primary.
    set_desk(96, 96, {1024, 0, 2304, 1024});
    enter_world(world_on(desk.monitors[1], 1, screen_margins, 50));
    EXPECT_EQ(press_ok("0", "0", "100", "1100"), too_large);
    // On a smaller secondary: margins that fit the primary are taken.
    set_desk(96, 96, {1024, 0, 1664, 480});
    enter_world(world_on(desk.monitors[1], 1, screen_margins, 50));
    EXPECT_EQ(press_ok("0", "400", "0", "400"), "");
    EXPECT_EQ(GetPrivateProfileIntA("Setup", "Left Margin", -1, settings_path), 400u);
    // At scale 2 each margin is whole pet pixels, as start-up applies them.
    scale_setting = 2;
    EXPECT_EQ(press_ok("0", "461", "0", "463"), too_large);
    EXPECT_EQ(press_ok("0", "460", "0", "462"), "");
    EXPECT_EQ(GetPrivateProfileIntA("Setup", "Right Margin", -1, settings_path), 462u);
}

TEST_F(MixedDpi, AboutBoxPaintsAtTheScaleOfTheMonitorItIsOn) {
    start(display_built);
    // Two monitors within the real screen, so that what the box shows can be read back:
    // the pet's narrow one at 96 DPI and a 192-DPI one right of it.
    desk = {};
    desk.count = 2;
    desk.monitors[0] = {0, 0, 300, 768};
    desk.monitors[1] = {300, 0, 1024, 768};
    desk.dpis[0] = 96;
    desk.dpis[1] = 192;
    enter_world(world_on(desk.monitors[0], 1, screen_margins, 50));
    set_pet_position(10, 10);
    MoveWindow(main_window, 10, 10, 50, 50, FALSE);
    open_about_dialog(main_window);
    ASSERT_NE(open_dialogs, nullptr);
    HWND dialog = open_dialogs->dialog;
    EXPECT_EQ(about_scale, 1);
    HWND portrait = nullptr;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP) portrait = child;
    ASSERT_NE(portrait, nullptr);
    auto portrait_width = [portrait]() {
        BITMAP info = {};
        GetObjectA(reinterpret_cast<HBITMAP>(SendMessageA(portrait, STM_GETIMAGE, IMAGE_BITMAP, 0)),
                   sizeof info, &info);
        return info.bmWidth;
    };
    const LONG width = portrait_width();
    // Dragged onto the 192-DPI monitor: the system sends WM_DPICHANGED.
    SetWindowPos(dialog, nullptr, 400, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(dialog, WM_DPICHANGED, MAKEWPARAM(192, 192), 0);
    EXPECT_EQ(about_scale, 2);
    EXPECT_EQ(portrait_width(), width * 2);
    // Its panel in 2 x 2 blocks.
    HDC shown = GetDC(dialog);
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    int wrong = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x)
            wrong += GetPixel(shown, panel_x + x, panel_y + y) != GetPixel(canvas_dc, x / 2, y / 2);
    ReleaseDC(dialog, shown);
    EXPECT_EQ(wrong, 0);
    // And back.
    SetWindowPos(dialog, nullptr, -250, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(dialog, WM_DPICHANGED, MAKEWPARAM(96, 96), 0);
    EXPECT_EQ(about_scale, 1);
    EXPECT_EQ(portrait_width(), width);
    DestroyWindow(dialog);
}

}  // namespace
