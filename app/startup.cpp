// Start-up and the message loop: takes the instance and the show command, and returns
// the pet running in a bare top-most tool window, or 0 after a failed start.
#include "app.h"
#include "display.h"
#include "resource.h"

namespace {

constexpr LONG_PTR frame_bits = 0xFF3BFFFF;  // clears WS_BORDER, WS_DLGFRAME, WS_THICKFRAME

void register_window_class() {
    WNDCLASSEXA window_class = {};
    window_class.cbSize = sizeof window_class;
    window_class.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    window_class.lpfnWndProc = main_window_proc;
    window_class.hInstance = app_instance;
    window_class.hIcon = LoadIconA(app_instance, MAKEINTRESOURCEA(IDI_TUVO));
    // The small icon from the group's own 16 x 16 image rather than a shrunken large one.
    window_class.hIconSm = static_cast<HICON>(
        LoadImageA(app_instance, MAKEINTRESOURCEA(IDI_TUVO), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                   GetSystemMetrics(SM_CYSMICON), 0));
    window_class.hCursor = LoadCursorA(app_instance, MAKEINTRESOURCEA(IDC_HAND_OPEN));
    window_class.hbrBackground = nullptr;  // the window paints every pixel itself
    window_class.lpszClassName = window_class_name;
    RegisterClassExA(&window_class);
}

void strip_frame(HWND window) {
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    const LONG ex_style = GetWindowLongA(window, GWL_EXSTYLE);
    SetWindowLongA(window, GWL_STYLE, static_cast<LONG>(style & frame_bits));
    SetWindowLongA(window, GWL_EXSTYLE, (ex_style & ~WS_EX_APPWINDOW) | WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
    window_rect = pet_rect();
    SetWindowPos(window, nullptr, window_rect.left, window_rect.top, window_width, window_height,
                 SWP_NOZORDER | SWP_FRAMECHANGED | SWP_HIDEWINDOW);
}

// A failed start leaves nothing behind: destroying the hidden window releases the
// display objects made so far.
int abandon_start() {
    if (main_window && IsWindow(main_window)) DestroyWindow(main_window);
    return 0;
}

}  // namespace

int start_pet(HINSTANCE instance, int show_command) {
    app_instance = instance;
    register_window_class();
    screen_width = GetSystemMetrics(SM_CXSCREEN);
    screen_height = GetSystemMetrics(SM_CYSCREEN);
    frame_width = frame_height = 50;
    build_settings_path();
    load_settings();
    load_desktop_settings();
    enter_first_world();
    if (!init_engine()) return 0;
    window_width = frame_width * pet_scale;
    window_height = frame_height * pet_scale;
    main_window = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, window_class_name, window_title,
                                  WS_DLGFRAME, CW_USEDEFAULT, CW_USEDEFAULT, window_width,
                                  window_height, nullptr, nullptr, app_instance, nullptr);
    // Without a window there is nothing to show, time or end: stop here, or the process
    // would wait for ever for a quit that nothing can post.
    if (!main_window) {
        halt_with_warning(nullptr, "Fail to create the main window");
        return 0;
    }
    strip_frame(main_window);
    if (!init_display(main_window)) return abandon_start();
    if (!apply_first_shape(main_window)) return abandon_start();
    const bool timer_set =
        !system_forced_failure() && SetTimer(main_window, tick_timer, engine->tick_interval, nullptr);
    if (!timer_set) {
        halt_with_warning(nullptr, "Too many clocks or timers! Fail to set timer");
        return abandon_start();
    }
    ShowWindow(main_window, show_command);
    UpdateWindow(main_window);
    return 1;
}

int run_message_loop() {
    MSG message = {};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (route_dialog_message(&message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
