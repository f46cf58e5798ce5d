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
Margins screen_margins = {0, 0, 0, 0};
int32_t stepped_aside = 0;
int32_t layout_pending = 0;
MonitorReader read_monitors = system_monitors;
ProcessIdFunction own_process_id = GetCurrentProcessId;
NotificationStateFunction notification_state = shell_notification_state;
PointerFunction pointer_position = GetCursorPos;

namespace {

ScreenRect screen_rect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// Looked up once in the system's library, or null where the system has none: each
// monitor's own DPI came with Windows 8.1, the shell's notification state with Vista.
typedef HRESULT(WINAPI* DpiForMonitorFunction)(HMONITOR monitor, int kind, UINT* x, UINT* y);
typedef HRESULT(WINAPI* UserNotificationStateFunction)(int* state);

// A function of a system library, or null; the cast goes through void* as the looked-up
// address has no type of its own.
void* system_function(const char* library, const char* name) {
    HMODULE module = GetModuleHandleA(library);
    if (!module) module = LoadLibraryA(library);
    return module ? reinterpret_cast<void*>(GetProcAddress(module, name)) : nullptr;
}

DpiForMonitorFunction dpi_for_monitor() {
    static bool looked = false;
    static DpiForMonitorFunction found = nullptr;
    if (!looked) {
        looked = true;
        found = reinterpret_cast<DpiForMonitorFunction>(system_function("shcore.dll", "GetDpiForMonitor"));
    }
    return found;
}

// The effective DPI the user chose for the monitor; 0 when the system cannot tell.
int32_t monitor_dpi(HMONITOR monitor) {
    constexpr int effective_dpi = 0;  // MDT_EFFECTIVE_DPI
    DpiForMonitorFunction get = dpi_for_monitor();
    UINT x = 0, y = 0;
    if (!get || get(monitor, effective_dpi, &x, &y) != S_OK) return 0;
    return static_cast<int32_t>(x);
}

BOOL CALLBACK add_monitor(HMONITOR monitor, HDC, LPRECT, LPARAM layout_address) {
    MonitorLayout* layout = reinterpret_cast<MonitorLayout*>(layout_address);
    MONITORINFOEXA info = {};
    info.cbSize = sizeof info;
    if (layout->count >= max_monitors || !GetMonitorInfoA(monitor, &info)) return TRUE;
    const int32_t i = layout->count++;
    if (info.dwFlags & MONITORINFOF_PRIMARY) layout->primary = i;
    layout->monitors[i] = screen_rect(info.rcMonitor);
    lstrcpynA(layout->names[i], info.szDevice, monitor_name_size);
    layout->dpis[i] = monitor_dpi(monitor);
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

namespace {

// The world on monitor |index| of |layout| at the scale chosen there: by the monitor's own
// DPI where the layout lists it, else by the system's (|fallback_dpi|). Its name and DPI
// come from that index, never from another monitor at the same rectangle (a clone). The
// primary screen as the system measures it when the layout lists none.
World world_for(const MonitorLayout& layout, int32_t index, int32_t fallback_dpi) {
    if (index >= 0) return world_in(layout, index, scale_setting, fallback_dpi, screen_margins, frame_width);
    const ScreenRect monitor = primary_screen();
    const int32_t scale = choose_scale(scale_setting, fallback_dpi, monitor, screen_margins, frame_width);
    return world_on(monitor, scale, screen_margins, frame_width);
}

// The primary monitor and its DPI, as the layout lists them.
ScreenRect primary_of(const MonitorLayout& layout, int32_t* dpi) {
    const int32_t p = primary_index(layout);
    *dpi = p >= 0 && layout.dpis[p] > 0 ? layout.dpis[p] : system_dpi();
    return p >= 0 ? layout.monitors[p] : primary_screen();
}

// The pet's monitor as it is now, for telling whether a full-screen window covers it: a
// change of the monitors that waits for the pet's return has moved or resized it already.
ScreenRect monitor_to_cover() {
    if (!layout_pending) return pet_world.monitor;
    return pet_monitor_now(read_monitors(), pet_world, roam_monitors);
}

// Where the pet stands in the world it has just entered after the monitors changed, coming
// from |before|: a held pet with the grabbed spot of its body under the pointer, any other
// at its place on the monitor in screen pixels; inside the margins either way.
void place_after_change(const World& before, int32_t x, int32_t y) {
    POINT pointer;
    ScreenPoint at = dragging && pointer_position(&pointer)
                         ? held_under(pet_world, {pointer.x, pointer.y}, grab_x, grab_y)
                         : carry_over(before, pet_world, x, y);
    clamp_to_margins(&at.x, &at.y);
    set_pet_position(at.y, at.x);
}

}  // namespace

void enter_first_world() {
    const MonitorLayout layout = read_monitors();
    const int32_t fallback_dpi = system_dpi();
    const int32_t primary = primary_index(layout);
    if (primary >= 0) {
        const int32_t dpi = layout.dpis[primary] > 0 ? layout.dpis[primary] : fallback_dpi;
        judge_start_margins(layout.monitors[primary], dpi);
    }
    screen_margins = {margin_top, margin_left, margin_bottom, margin_right};
    const World first = world_for(layout, primary, fallback_dpi);
    pet_scale = first.scale;
    enter_world(first);
}

void keep_pet_scale() {
    World kept = world_on(pet_world.monitor, pet_scale, screen_margins, frame_width);
    lstrcpynA(kept.name, pet_world.name, monitor_name_size);
    enter_world(kept);
}

int32_t scale_at(ScreenPoint point) {
    const MonitorLayout layout = read_monitors();
    const int32_t i = monitor_at(layout, point);
    if (i < 0 || same_rect(layout.monitors[i], pet_world.monitor)) return pet_scale;
    return world_in(layout, i, scale_setting, system_dpi(), screen_margins, frame_width).scale;
}

bool margins_fit_next_start(int32_t top, int32_t left, int32_t bottom, int32_t right) {
    int32_t dpi = 0;
    const ScreenRect primary = primary_of(read_monitors(), &dpi);
    return margins_fit_on_primary(primary, dpi, scale_setting, {top, left, bottom, right}, frame_width);
}

ScreenPoint pet_on_screen() { return to_screen(pet_world, window_x, window_y); }

bool follow_pointer(ScreenPoint pointer) {
    if (!roam_monitors || contains(pet_world.monitor, pointer)) return false;
    const MonitorLayout layout = read_monitors();
    const int32_t under = monitor_at(layout, pointer);
    if (under < 0 || same_rect(layout.monitors[under], pet_world.monitor)) return false;
    enter_world(world_in(layout, under, scale_setting, system_dpi(), screen_margins, frame_width));
    return true;
}

void on_display_change(HWND window) {
    // A full-screen program that changes the resolution must not leave the pet clamped
    // into its smaller screen, nor give it a snapshot of itself: the change waits.
    if (stepped_aside) {
        layout_pending = 1;
        return;
    }
    layout_pending = 0;
    const MonitorLayout layout = read_monitors();
    const World now = world_for(layout, pet_monitor_after_change(layout, pet_world, roam_monitors), system_dpi());
    // Another monitor may now stand where the pet's stood: the pet lives on that one, and
    // follows it by its name from now on, even when nothing else changes.
    lstrcpynA(pet_world.name, now.name, monitor_name_size);
    if (same_rect(now.monitor, pet_world.monitor) && now.scale == pet_world.scale) return;
    const World before = pet_world;
    const int32_t old_x = window_x, old_y = window_y;
    enter_world(now);
    place_after_change(before, old_x, old_y);
    if (now.scale != pet_scale) {
        // What the old snapshot shows of the screen is out of date.
        forget_backdrop();
        if (rescale_display(window)) return;
        keep_pet_scale();
        if (dragging) {
            place_after_change(before, old_x, old_y);
        } else {
            int32_t x = window_x, y = window_y;
            clamp_to_margins(&x, &y);
            set_pet_position(y, x);
        }
    }
    // As from a place a whole frame away: the window moves to the monitor's new place
    // and, in mode 0, takes its snapshot anew.
    present_frame(window, window_x + frame_width, window_y, 1);
}

int shell_notification_state() {
    static bool looked = false;
    static UserNotificationStateFunction query = nullptr;
    if (!looked) {
        looked = true;
        query = reinterpret_cast<UserNotificationStateFunction>(
            system_function("shell32.dll", "SHQueryUserNotificationState"));
    }
    int state = 0;
    if (!query || query(&state) != S_OK) return 0;
    return state;
}

bool shell_reports_full_screen() {
    constexpr int direct3d_full_screen = 3;  // QUNS_RUNNING_D3D_FULL_SCREEN
    constexpr int presentation_mode = 4;     // QUNS_PRESENTATION_MODE
    const int state = notification_state();
    return state == direct3d_full_screen || state == presentation_mode;
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
    if (!GetWindowRect(front, &area) || !covers(screen_rect(area), monitor_to_cover())) return false;
    return !desktop_window(front);
}

bool step_aside_for_full_screen(HWND window) {
    // A held pet stays with the user's hand.
    if (!step_aside || dragging) return false;
    // An exclusive full-screen game or a presentation may own no window the test above
    // can see; the shell knows of them.
    const int32_t covered = full_screen_foreground() || shell_reports_full_screen() ? 1 : 0;
    if (covered == stepped_aside) return covered;
    stepped_aside = covered;
    if (covered) {
        ShowWindow(window, SW_HIDE);
    } else {
        // A change of the monitors while away is applied now, still hidden, so that the
        // snapshot of mode 0 shows the desktop without the pet.
        if (layout_pending) on_display_change(window);
        // Back where and as it was, on top again.
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
    // The tick that hides or shows the pet does nothing else: it comes back as it went.
    return true;
}
