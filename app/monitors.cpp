// The shell's side of the desktop: takes the display's scaling, the monitors and the
// foreground window, and returns the pet's scale, the world the engine lives in, the pet
// carried across monitors, put back inside a changed screen and kept out of the way of
// full-screen programs.
#include "app.h"
#include "display.h"

// Until the settings are read: one screen at scale 1, top-most over everything.
int32_t pet_scale = 1;
int32_t scale_setting = 0;
int32_t roam_monitors = 0;
int32_t step_aside = 0;
World pet_world = {{0, 0, 0, 0}, 1, 0, 0, {0, 0, 0, 0}, ""};
Margins screen_margins = {0, 0, 0, 0};
int32_t stepped_aside = 0;
MonitorReader read_monitors = system_monitors;
ProcessIdFunction own_process_id = GetCurrentProcessId;

namespace {

ScreenRect screen_rect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

BOOL CALLBACK add_monitor(HMONITOR monitor, HDC, LPRECT, LPARAM layout_address) {
    MonitorLayout* layout = reinterpret_cast<MonitorLayout*>(layout_address);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (layout->count >= max_monitors || !GetMonitorInfoA(monitor, &info)) return TRUE;
    if (info.dwFlags & MONITORINFOF_PRIMARY) layout->primary = layout->count;
    layout->monitors[layout->count++] = screen_rect(info.rcMonitor);
    return TRUE;
}

ScreenRect primary_screen() {
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

int32_t system_dpi() {
    HDC screen = GetDC(nullptr);
    const int32_t dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : default_dpi;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : default_dpi;
}

// The desktop and the shell's own desktop windows are no programs to make way for.
bool desktop_window(HWND window) {
    if (window == GetDesktopWindow() || window == GetShellWindow()) return true;
    char name[16];
    if (!GetClassNameA(window, name, sizeof name)) return false;
    return lstrcmpiA(name, "Progman") == 0 || lstrcmpiA(name, "WorkerW") == 0;
}

}  // namespace

MonitorLayout system_monitors() {
    MonitorLayout layout = {};
    EnumDisplayMonitors(nullptr, nullptr, add_monitor, reinterpret_cast<LPARAM>(&layout));
    if (layout.count == 0) {  // no answer: the primary screen alone
        layout.count = 1;
        layout.monitors[0] = primary_screen();
    }
    return layout;
}

void enter_world(const World& world) {
    pet_world = world;
    screen_width = world.width;
    screen_height = world.height;
    margin_top = world.margins.top;
    margin_left = world.margins.left;
    margin_bottom = world.margins.bottom;
    margin_right = world.margins.right;
}

void enter_first_world() {
    const ScreenRect primary = {0, 0, screen_width, screen_height};
    screen_margins = {margin_top, margin_left, margin_bottom, margin_right};
    const int32_t dpi = scale_setting >= 1 && scale_setting <= max_scale ? default_dpi : system_dpi();
    pet_scale = choose_scale(scale_setting, dpi, primary, screen_margins, frame_width);
    enter_world(world_on(primary, pet_scale, screen_margins, frame_width));
}

bool margins_fit_next_start(int32_t top, int32_t left, int32_t bottom, int32_t right) {
    const MonitorLayout layout = read_monitors();
    const int32_t p = layout.primary >= 0 && layout.primary < layout.count ? layout.primary : 0;
    const ScreenRect primary = layout.count > 0 ? layout.monitors[p] : primary_screen();
    const int32_t dpi = layout.count > 0 && layout.dpis[p] > 0 ? layout.dpis[p] : system_dpi();
    const int32_t scale = scale_for_monitor(scale_setting, dpi, primary);
    return margins_fit_on(primary, scale, {top, left, bottom, right}, frame_width);
}

ScreenPoint pet_on_screen() { return to_screen(pet_world, window_x, window_y); }

bool follow_pointer(ScreenPoint pointer) {
    if (!roam_monitors || contains(pet_world.monitor, pointer)) return false;
    const MonitorLayout layout = read_monitors();
    const int32_t under = monitor_at(layout, pointer);
    if (under < 0 || same_rect(layout.monitors[under], pet_world.monitor)) return false;
    enter_world(world_on(layout.monitors[under], pet_scale, screen_margins, frame_width));
    return true;
}

void on_display_change(HWND window) {
    ScreenRect monitor = primary_screen();
    if (roam_monitors) {
        const MonitorLayout layout = read_monitors();
        const int32_t now = monitor_after_change(layout, pet_world.monitor);
        if (now >= 0 && now < layout.count) monitor = layout.monitors[now];
    }
    if (same_rect(monitor, pet_world.monitor)) return;
    enter_world(world_on(monitor, pet_scale, screen_margins, frame_width));
    // The pet keeps its place on its monitor as far as the new world allows.
    int32_t x = window_x, y = window_y;
    clamp_to_margins(&x, &y);
    set_pet_position(y, x);
    // As from a place a whole frame away: the window moves to the monitor's new place
    // and, in mode 0, takes its snapshot anew.
    present_frame(window, x + frame_width, y, 1);
}

bool full_screen_foreground() {
    HWND front = GetForegroundWindow();
    if (!front || !IsWindowVisible(front) || IsIconic(front)) return false;
    DWORD process = 0;
    GetWindowThreadProcessId(front, &process);
    if (process == own_process_id()) return false;
    // A window with a caption is a maximised window, however much it covers; one that
    // declines activation is a backdrop (a wallpaper's, say), not a program being watched.
    if ((GetWindowLongA(front, GWL_STYLE) & WS_CAPTION) == WS_CAPTION) return false;
    if (GetWindowLongA(front, GWL_EXSTYLE) & WS_EX_NOACTIVATE) return false;
    RECT area;
    if (!GetWindowRect(front, &area) || !covers(screen_rect(area), pet_world.monitor)) return false;
    return !desktop_window(front);
}

bool step_aside_for_full_screen(HWND window) {
    // A held pet stays with the user's hand.
    if (!step_aside || dragging) return false;
    const int32_t covered = full_screen_foreground() ? 1 : 0;
    if (covered == stepped_aside) return covered;
    stepped_aside = covered;
    if (covered)
        ShowWindow(window, SW_HIDE);
    else  // back where and as it was, on top again
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    // The tick that hides or shows the pet does nothing else: it comes back as it went.
    return true;
}
