// The pet window's procedure: takes the window's messages and turns each timer tick
// into one behaviour (or drag) step and its presentation, the mouse into picking the
// pet up, carrying and dropping it, and the context menu into its commands.
#include "app.h"
#include "display.h"
#include "resource.h"

int32_t dragging = 0;
int32_t grab_x = 0;
int32_t grab_y = 0;
HCURSOR saved_cursor = nullptr;

namespace {

// Set while end_drag gives the capture back itself, so the capture-change notice that
// ReleaseCapture sends does not end the same drag a second time.
bool releasing_capture = false;

int32_t signed_low(LPARAM value) { return static_cast<int16_t>(LOWORD(value)); }
int32_t signed_high(LPARAM value) { return static_cast<int16_t>(HIWORD(value)); }

int32_t clamp(int32_t value, int32_t high) {
    if (value < 0) return 0;
    return value > high ? high : value;
}

void on_paint(HWND window) {
    if (halted) {
        // Nothing is drawn, but the update region must go, or the paint message
        // would come back at once for as long as the warning box stays open.
        ValidateRect(window, nullptr);
        return;
    }
    paint_frame(window);
}

void on_command(HWND window, WPARAM wparam) {
    switch (LOWORD(wparam)) {
    case IDM_EXIT: DestroyWindow(main_window); break;
    case IDM_ABOUT: open_about_dialog(window); break;
    case IDM_OPTIONS: open_options_dialog(window); break;
    default: break;  // Continue only closes the menu
    }
}

void on_context_menu(HWND window, LPARAM lparam) {
    // Signed: while the pet holds the capture the pointer may lie left of or above it.
    POINT at = {signed_low(lparam), signed_high(lparam)};
    ClientToScreen(window, &at);
    TrackPopupMenu(context_menu, 0, at.x, at.y, 0, window, nullptr);
}

// Ends a drag as the left button's release does. The capture is given back only when
// the pet still holds it: someone who took it away keeps it.
void finish_drag(bool give_back_capture) {
    if (!dragging) return;
    grab_x = 0;
    grab_y = 0;
    SetCursor(saved_cursor);
    if (give_back_capture) {
        releasing_capture = true;
        ReleaseCapture();
        releasing_capture = false;
    }
    dragging = 0;
    drag_release();
}

// Whoever takes the capture away during a drag (the menu, another program, a system
// key), the drag ends as a release would end it, release reaction included.
void on_capture_changed() {
    if (!releasing_capture) finish_drag(false);
}

void on_destroy(HWND window) {
    KillTimer(window, tick_timer);
    release_display();
    PostQuitMessage(0);
}

}  // namespace

void on_tick(HWND window) {
    if (halted) return;
    if (step_aside_for_full_screen(window)) return;
    const TickChange change = step_engine(dragging);
    // The shape changes before the window is redrawn or moved.
    if (display_mode != display_blended && change.frame_changed) apply_frame_shape();
    if (!change.frame_changed && !change.moved) return;
    present_frame(window, change.old_x, change.old_y, 1);
}

void begin_drag(HWND window, int32_t x, int32_t y) {
    // A press while still held (its release was lost) takes hold again without a second
    // grab, which would save the held action and the drag cursor in place of the real ones.
    const bool held = dragging;
    SetCapture(window);
    if (!held) saved_cursor = SetCursor(drag_cursor);
    dragging = 1;
    // The grab point in the pet's own pixels.
    grab_x = clamp(x / pet_scale, frame_width);
    grab_y = clamp(y / pet_scale, frame_height);
    if (!held) drag_grab();
}

void end_drag() { finish_drag(true); }

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CREATE: return 0;
    case WM_DESTROY: on_destroy(window); return 0;
    case WM_SIZE: return 0;
    case WM_PAINT: on_paint(window); return 0;
    case WM_COMMAND: on_command(window, wparam); return 0;
    case WM_TIMER: on_tick(window); return 0;
    case WM_MOUSEMOVE: drag_move(window, wparam, signed_low(lparam), signed_high(lparam)); return 0;
    case WM_LBUTTONDOWN: begin_drag(window, signed_low(lparam), signed_high(lparam)); return 0;
    case WM_LBUTTONUP: end_drag(); return 0;
    case WM_LBUTTONDBLCLK: on_context_menu(window, lparam); return 0;
    case WM_RBUTTONDOWN: on_context_menu(window, lparam); return 0;
    case WM_RBUTTONUP: return 0;
    case WM_CAPTURECHANGED: on_capture_changed(); return 0;
    case WM_DISPLAYCHANGE: on_display_change(window); return 0;
    // The pet sizes and places itself at its monitor's scale; the suggested rectangle is
    // not taken.
    case WM_DPICHANGED: on_display_change(window); return 0;
    default: return DefWindowProcA(window, message, wparam, lparam);
    }
}
