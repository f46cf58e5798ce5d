// The Options dialog: takes the saved settings, lets the user edit the display mode,
// the four margins and the tick interval, and writes the accepted values to the
// settings file for the next start. The values in force are never touched.
#include <cstdio>

#include "app.h"
#include "resource.h"

int32_t options_open = 0;

namespace {

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

bool read_entry(void* dialog, OptionField field, int32_t* value) {
    static const int ids[] = {IDC_TOP_MARGIN, IDC_BOTTOM_MARGIN, IDC_LEFT_MARGIN, IDC_RIGHT_MARGIN, IDC_SPEED};
    return read_field(static_cast<HWND>(dialog), ids[field], value);
}

void on_accept(HWND dialog) {
    Settings entered = saved_settings;
    const OptionsVerdict verdict = judge_options(read_entry, dialog, margins_fit_next_start, &entered);
    if (verdict != options_accepted) {
        message_box(dialog, options_refusal(verdict), box_caption, MB_OK | MB_ICONERROR);
        return;
    }
    const bool stored = selected(dialog, IDC_MODE_STORED);
    const bool built = selected(dialog, IDC_MODE_BUILT);
    const bool blended = selected(dialog, IDC_MODE_BLENDED);
    entered.mode = chosen_mode(saved_settings.mode, stored, built, blended);
    if (!same_settings(entered, saved_settings)) {
        saved_settings = entered;
        save_settings();
    }
    close(dialog);
}

}  // namespace

bool read_field(HWND dialog, int id, int32_t* value) {
    HWND field = GetDlgItem(dialog, id);
    if (!field) return false;
    const int length = GetWindowTextLengthA(field);
    char text[option_field_chars + 1] = "";
    // A text too long is refused without reading it.
    if (length <= option_field_chars) GetWindowTextA(field, text, sizeof text);
    return read_option_field(text, static_cast<size_t>(length < 0 ? 0 : length), value);
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
    // The wide-character function, so that the template's texts reach the controls as
    // written whatever the system's ANSI code page.
    CreateDialogParamW(app_instance, MAKEINTRESOURCEW(IDD_OPTIONS), owner, options_dialog_proc, 0);
}
