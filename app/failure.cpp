// Process-wide values of the shell, the failure routines every part reports through,
// and the list of open modeless dialogs that the message loop routes keyboard input to.
#include <cstdlib>

#include "app.h"

HINSTANCE app_instance = nullptr;
HWND main_window = nullptr;
int32_t window_width = 0;
int32_t window_height = 0;
int32_t display_mode = display_stored;
int32_t halted = 0;
DialogNode* open_dialogs = nullptr;
long app_alloc_fail_countdown = 0;
long system_fail_countdown = 0;

MessageBoxFunction message_box = MessageBoxA;

void* alloc_or_quit(size_t bytes) {
    void* block = nullptr;
    if (app_alloc_fail_countdown <= 0 || --app_alloc_fail_countdown > 0)
        block = std::calloc(1, bytes ? bytes : 1);
    if (block) return block;
    message_box(main_window, "Out of memory", box_caption, MB_OK | MB_ICONERROR);
    if (main_window) DestroyWindow(main_window);
    return nullptr;
}

bool system_forced_failure() { return system_fail_countdown > 0 && --system_fail_countdown == 0; }

void halt_with_warning(HWND window, const char* text) {
    // Set first: ticks and paints that arrive while the box is open must do nothing.
    halted = 1;
    message_box(main_window, text, box_caption, MB_OK | MB_ICONWARNING);
    if (!window) return;
    if (window != main_window) DestroyWindow(window);
    if (main_window) DestroyWindow(main_window);
}

void error_box(const char* text) {
    message_box(nullptr, text, box_caption, MB_OK | MB_ICONERROR);
}

void register_dialog(HWND dialog) {
    DialogNode* node = static_cast<DialogNode*>(alloc_or_quit(sizeof(DialogNode)));
    if (!node) return;
    node->dialog = dialog;
    node->next = open_dialogs;
    open_dialogs = node;
}

void unregister_dialog(HWND dialog) {
    for (DialogNode** link = &open_dialogs; *link; link = &(*link)->next) {
        if ((*link)->dialog != dialog) continue;
        DialogNode* node = *link;
        *link = node->next;
        std::free(node);
        return;
    }
}

bool route_dialog_message(MSG* message) {
    for (DialogNode* node = open_dialogs; node; node = node->next)
        if (IsDialogMessageA(node->dialog, message)) return true;
    return false;
}
