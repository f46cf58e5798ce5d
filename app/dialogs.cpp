// The Options dialog: takes the saved settings, lets the user edit the display mode,
// the four margins and the tick interval, and writes the accepted values to the
// settings file for the next start. The values in force are never touched.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app.h"
#include "parse.h"
#include "resource.h"

int32_t options_open = 0;

namespace {

constexpr int field_chars = 79;
constexpr int32_t slowest_tick = 1000;
constexpr int32_t fastest_tick = 10;

void error(HWND dialog, const char* text) {
    message_box(dialog, text, box_caption, MB_OK | MB_ICONERROR);
}

void set_field(HWND dialog, int id, int32_t value) {
    char text[20];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
    SetDlgItemTextA(dialog, id, text);
}

void set_radio(HWND dialog, int id, bool selected) {
    CheckDlgButton(dialog, id, selected ? BST_CHECKED : BST_UNCHECKED);
}

bool selected(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void on_init(HWND dialog) {
    options_open = 1;
    register_dialog(dialog);
    if (!IsWindow(dialog)) return;  // no memory: the pet window took the dialog with it
    set_radio(dialog, IDC_MODE_STORED, saved_settings.mode == display_stored);
    set_radio(dialog, IDC_MODE_BUILT, saved_settings.mode == display_built);
    set_radio(dialog, IDC_MODE_BLENDED, saved_settings.mode == display_blended);
    set_field(dialog, IDC_TOP_MARGIN, saved_settings.top_margin);
    set_field(dialog, IDC_BOTTOM_MARGIN, saved_settings.bottom_margin);
    set_field(dialog, IDC_LEFT_MARGIN, saved_settings.left_margin);
    set_field(dialog, IDC_RIGHT_MARGIN, saved_settings.right_margin);
    set_field(dialog, IDC_SPEED, saved_settings.timer);
}

void close(HWND dialog) { DestroyWindow(dialog); }

void on_accept(HWND dialog) {
    int32_t top = 0, bottom = 0, left = 0, right = 0, tick = 0;
    // All four are read, even after an invalid one.
    int invalid = !read_field(dialog, IDC_TOP_MARGIN, &top);
    invalid += !read_field(dialog, IDC_BOTTOM_MARGIN, &bottom);
    invalid += !read_field(dialog, IDC_LEFT_MARGIN, &left);
    invalid += !read_field(dialog, IDC_RIGHT_MARGIN, &right);
    if (invalid) {
        error(dialog, "Invalid Margin Values !  Please Re-enter ..");
        return;
    }
    if (!margins_fit(top, left, bottom, right)) {
        error(dialog, "Margin too large !  Please Re-enter ..");
        return;
    }
    if (!read_field(dialog, IDC_SPEED, &tick) || tick < fastest_tick || tick > slowest_tick) {
        error(dialog, "Invalid Speed Value !  Please Re-enter ..");
        return;
    }
    // A later button overrides an earlier one; with none selected the saved mode stays.
    int32_t mode = saved_settings.mode;
    if (selected(dialog, IDC_MODE_STORED)) mode = display_stored;
    if (selected(dialog, IDC_MODE_BUILT)) mode = display_built;
    if (selected(dialog, IDC_MODE_BLENDED)) mode = display_blended;
    const Settings entered = {mode, top, left, bottom, right, tick};
    const Settings& old = saved_settings;
    if (entered.top_margin != old.top_margin || entered.bottom_margin != old.bottom_margin ||
        entered.left_margin != old.left_margin || entered.right_margin != old.right_margin ||
        entered.mode != old.mode || entered.timer != old.timer) {
        saved_settings = entered;
        save_settings();
    }
    close(dialog);
}

}  // namespace

bool read_field(HWND dialog, int id, int32_t* value) {
    // A text longer than the buffer is refused outright: judging only its first part
    // would accept "20" followed by blanks and anything at all.
    HWND field = GetDlgItem(dialog, id);
    if (!field || GetWindowTextLengthA(field) > field_chars) return false;
    char text[field_chars + 1] = "";
    GetWindowTextA(field, text, sizeof text);
    trim_blanks(text);
    if (text[0] == '\0' || !is_digits(text) || std::strlen(text) >= 5) return false;
    *value = static_cast<int32_t>(std::strtol(text, nullptr, 10));
    return true;
}

INT_PTR CALLBACK options_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: on_init(dialog); return TRUE;
    case WM_COMMAND:
        if (wparam == IDOK) {
            on_accept(dialog);
            return TRUE;
        }
        if (wparam == IDCANCEL) {
            close(dialog);
            return TRUE;
        }
        return FALSE;
    case WM_DESTROY:
        // However the dialog goes (its buttons or the pet window taking its owned
        // windows with it), it leaves the dialog list and may be opened again.
        unregister_dialog(dialog);
        options_open = 0;
        return FALSE;
    default: return FALSE;
    }
}

void open_options_dialog(HWND owner) {
    if (options_open) return;
    CreateDialogParamA(app_instance, MAKEINTRESOURCEA(IDD_OPTIONS), owner, options_dialog_proc, 0);
}
