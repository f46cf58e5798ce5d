#include "support.h"

#include <cstdio>
#include <cstdlib>

std::vector<RecordedBox> boxes;
std::function<void()> while_box_open;

namespace {

int record_box(HWND owner, const char* text, const char* caption, UINT type) {
    boxes.push_back({owner, text, caption, type});
    if (while_box_open) while_box_open();
    return IDOK;
}

bool class_registered = false;

}  // namespace

void reset_shell() {
    message_box = record_box;
    boxes.clear();
    while_box_open = nullptr;
    halted = 0;
    dragging = 0;
    grab_x = grab_y = 0;
    app_alloc_fail_countdown = 0;
}

std::string fresh_settings_file(const char* name) {
    reset_shell();
    screen_width = 1024;
    screen_height = 768;
    frame_width = frame_height = 50;
    char directory[path_size];
    module_directory(GetModuleHandleA(nullptr), directory);
    const std::string path = std::string(directory) + name;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
    std::snprintf(settings_path, sizeof settings_path, "%s", path.c_str());
    return path;
}

bool start_hidden_pet(int32_t mode) {
    reset_shell();
    app_instance = GetModuleHandleA(nullptr);
    if (!class_registered) {
        WNDCLASSEXA window_class = {};
        window_class.cbSize = sizeof window_class;
        window_class.style = CS_DBLCLKS;
        window_class.lpfnWndProc = main_window_proc;
        window_class.hInstance = app_instance;
        window_class.lpszClassName = window_class_name;
        class_registered = RegisterClassExA(&window_class) != 0;
    }
    screen_width = 1024;
    screen_height = 768;
    frame_width = frame_height = 50;
    window_width = window_height = 50;
    margin_top = margin_left = margin_bottom = margin_right = 0;
    timer_interval = 150;
    display_mode = mode;
    engine_seed = 7;
    if (!engine && !init_engine()) return false;
    main_window = CreateWindowExA(WS_EX_TOOLWINDOW, window_class_name, window_title, WS_POPUP, 0, 0,
                                  50, 50, nullptr, nullptr, app_instance, nullptr);
    if (!main_window) return false;
    return init_display(main_window) == 1;
}

void stop_hidden_pet() {
    if (main_window && IsWindow(main_window)) DestroyWindow(main_window);
    main_window = nullptr;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {}  // drops the quit message
    halted = 0;
    message_box = record_box;
}
