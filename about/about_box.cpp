// The About box's life: takes the menu's About command and opens the box with a freshly
// chosen animation and its own timer; creates every bitmap and memory device context the
// painting needs, and frees all of them when the box is destroyed.
#include <iterator>

#include "about.h"
#include "app.h"
#include "display.h"
#include "resource.h"

int32_t about_open = 0;
HDC logo_dc, logo_mask_dc, panel_bg_dc, tile_dc, cat_mask_dc, cat_dc, canvas_dc;
HBITMAP logo_bitmap, logo_mask_bitmap, panel_bitmap, tile_bitmap, cat_mask_bitmap, cat_bitmap,
    canvas_bitmap;
int32_t client_width, client_height;
int32_t logo_width, logo_height, panel_width, panel_height, tile_width, tile_height;
int32_t panel_x, panel_y;
int32_t about_scale = 1;
long about_fail_countdown = 0;

bool about_forced_failure() { return about_fail_countdown > 0 && --about_fail_countdown == 0; }

namespace {

HDC* const device_contexts[] = {&logo_dc, &logo_mask_dc, &panel_bg_dc, &tile_dc,
                                &cat_mask_dc, &cat_dc, &canvas_dc};
HBITMAP* const bitmaps[] = {&logo_bitmap, &logo_mask_bitmap, &panel_bitmap, &tile_bitmap,
                            &cat_mask_bitmap, &cat_bitmap, &canvas_bitmap};

// A forced failure must not leak what was really created.
HBITMAP checked(HBITMAP bitmap) {
    if (!bitmap || !about_forced_failure()) return bitmap;
    DeleteObject(bitmap);
    return nullptr;
}

// Loads a bitmap resource and reads its size; false when either fails.
bool load_bitmap(int id, HBITMAP* bitmap, int32_t* width, int32_t* height) {
    *bitmap = checked(LoadBitmapA(app_instance, MAKEINTRESOURCEA(id)));
    if (!*bitmap) return false;
    BITMAP info;
    if (!GetObjectA(*bitmap, sizeof info, &info)) return false;
    *width = info.bmWidth;
    *height = info.bmHeight;
    return true;
}

// The steps that need the dialog's window device context; returns the failure's
// message, or null when everything exists.
const char* create_objects(HWND dialog, HDC window_dc) {
    const char* no_bitmap = "Insufficient memory to create bitmap image";
    if (!load_bitmap(IDB_LOGO, &logo_bitmap, &logo_width, &logo_height))
        return "Fail to load bitmap image";
    logo_mask_bitmap = checked(CreateBitmap(logo_width, logo_height, 1, 1, nullptr));
    if (!logo_mask_bitmap) return no_bitmap;
    if (!load_bitmap(IDB_PANEL, &panel_bitmap, &panel_width, &panel_height) ||
        !load_bitmap(IDB_TILE, &tile_bitmap, &tile_width, &tile_height))
        return "Fail to load bitmap image";
    cat_mask_bitmap = checked(CreateBitmap(frame_width, frame_height, 1, 1, nullptr));
    if (!cat_mask_bitmap) return no_bitmap;
    cat_bitmap = checked(CreateCompatibleBitmap(window_dc, frame_width, frame_height));
    if (!cat_bitmap) return no_bitmap;
    canvas_bitmap = checked(CreateCompatibleBitmap(window_dc, panel_width, panel_height));
    if (!canvas_bitmap) return no_bitmap;
    for (HDC* dc : device_contexts) {
        *dc = CreateCompatibleDC(window_dc);
        if (*dc && about_forced_failure()) {
            DeleteDC(*dc);
            *dc = nullptr;
        }
        if (!*dc) return "Insufficient memory to create memory device";
    }
    for (size_t i = 0; i < std::size(bitmaps); ++i) SelectObject(*device_contexts[i], *bitmaps[i]);
    RECT client;
    GetClientRect(dialog, &client);
    client_width = client.right - client.left;
    client_height = client.bottom - client.top;
    UINT_PTR timer = SetTimer(dialog, about_timer, engine->about_tick_interval, nullptr);
    if (timer && about_forced_failure()) {
        KillTimer(dialog, about_timer);
        timer = 0;
    }
    if (!timer) return "Too many clocks or timers! Fail to set timer";
    return nullptr;
}

HWND picture_control(HWND dialog) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP) return child;
    return nullptr;
}

// The picture control takes |picture| enlarged pixel for pixel to |scale| (|picture|
// itself at scale 1), and the bitmap it held is deleted, unless that is |picture|.
void show_picture_at(HWND child, HDC window_dc, HBITMAP picture, int32_t scale) {
    BITMAP info;
    if (!picture || !GetObjectA(picture, sizeof info, &info)) return;
    HBITMAP shown = scale == 1 ? picture : CreateCompatibleBitmap(window_dc, info.bmWidth * scale, info.bmHeight * scale);
    HDC from = CreateCompatibleDC(window_dc), to = CreateCompatibleDC(window_dc);
    if (shown && from && to) {
        if (shown != picture) {
            HGDIOBJ old_from = SelectObject(from, picture), old_to = SelectObject(to, shown);
            scaled_copy_at(scale, to, 0, 0, info.bmWidth, info.bmHeight, from, 0, 0, SRCCOPY);
            SelectObject(from, old_from);
            SelectObject(to, old_to);
        }
        HGDIOBJ replaced = reinterpret_cast<HGDIOBJ>(
            SendMessageA(child, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(shown)));
        if (replaced && replaced != picture) DeleteObject(replaced);
        shown = nullptr;
    }
    if (shown && shown != picture) DeleteObject(shown);
    if (from) DeleteDC(from);
    if (to) DeleteDC(to);
}

// At the box's opening the picture control holds the bitmap it loaded from the template:
// at a larger scale it gets an enlarged copy instead, and the original goes.
void scale_picture(HWND dialog, HDC window_dc) {
    if (about_scale == 1) return;
    HWND child = picture_control(dialog);
    if (!child) return;
    HBITMAP original = reinterpret_cast<HBITMAP>(SendMessageA(child, STM_GETIMAGE, IMAGE_BITMAP, 0));
    show_picture_at(child, window_dc, original, about_scale);
    if (original && reinterpret_cast<HBITMAP>(SendMessageA(child, STM_GETIMAGE, IMAGE_BITMAP, 0)) != original)
        DeleteObject(original);
}

// The scale of the monitor the box is on.
int32_t scale_of(HWND dialog) {
    RECT area;
    if (!GetWindowRect(dialog, &area)) return pet_scale;
    return scale_at({area.left + (area.right - area.left) / 2, area.top + (area.bottom - area.top) / 2});
}

void on_init(HWND dialog) {
    about_open = 1;
    register_dialog(dialog);
    // Without memory for the list node the pet window, and with it this box, is gone.
    if (!IsWindow(dialog)) return;
    for (HDC* dc : device_contexts) *dc = nullptr;
    for (HBITMAP* bitmap : bitmaps) *bitmap = nullptr;
    client_width = client_height = 0;
    logo_width = logo_height = panel_width = panel_height = tile_width = tile_height = 0;
    HDC window_dc = GetWindowDC(dialog);
    if (window_dc && about_forced_failure()) {
        ReleaseDC(dialog, window_dc);
        window_dc = nullptr;
    }
    if (!window_dc) {
        halt_with_warning(dialog, "Fail to identify the dialog window");
        return;
    }
    about_scale = scale_of(dialog);
    const char* failure = create_objects(dialog, window_dc);
    if (!failure) scale_picture(dialog, window_dc);
    ReleaseDC(dialog, window_dc);
    if (failure) {
        halt_with_warning(dialog, failure);
        return;
    }
    const POINT origin = about_panel_origin(client_width, client_height);
    panel_x = origin.x;
    panel_y = origin.y;
    pick_about_action();
    awaiting_first_paint = 1;
}

// The picture control loaded its bitmap from the template; taking it back out of the
// control leaves it with one owner, who deletes it.
void release_picture(HWND dialog) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_BITMAP) continue;
        char name[16];
        if (!GetClassNameA(child, name, sizeof name) || lstrcmpiA(name, "Static") != 0) continue;
        HGDIOBJ picture = reinterpret_cast<HGDIOBJ>(
            SendMessageA(child, STM_SETIMAGE, IMAGE_BITMAP, 0));
        if (picture) DeleteObject(picture);
    }
}

void on_destroy(HWND dialog) {
    KillTimer(dialog, about_timer);
    for (HDC* dc : device_contexts) {
        if (*dc) DeleteDC(*dc);
        *dc = nullptr;
    }
    for (HBITMAP* bitmap : bitmaps) {
        if (*bitmap) DeleteObject(*bitmap);
        *bitmap = nullptr;
    }
    release_picture(dialog);
    // However the box goes (its buttons, a halt, or the pet window taking its owned
    // windows with it), it leaves the dialog list and may be opened again.
    unregister_dialog(dialog);
    about_open = 0;
}

// The box moved to a monitor of another scale, or its monitor's scale changed: the
// system sizes the box and its controls; the picture, the title and the panel follow.
void on_dpi_changed(HWND dialog) {
    const int32_t scale = scale_of(dialog);
    RECT client;
    GetClientRect(dialog, &client);
    client_width = client.right - client.left;
    client_height = client.bottom - client.top;
    const POINT origin = about_panel_origin(client_width, client_height);
    panel_x = origin.x;
    panel_y = origin.y;
    if (scale != about_scale) {
        about_scale = scale;
        HWND child = picture_control(dialog);
        HBITMAP original = LoadBitmapA(app_instance, MAKEINTRESOURCEA(IDB_PORTRAIT));
        HDC window_dc = GetWindowDC(dialog);
        if (child && original && window_dc) show_picture_at(child, window_dc, original, scale);
        if (window_dc) ReleaseDC(dialog, window_dc);
        // Unless the control took it as it is, the loaded original is ours to delete.
        if (original && (!child || reinterpret_cast<HBITMAP>(SendMessageA(child, STM_GETIMAGE, IMAGE_BITMAP, 0)) != original))
            DeleteObject(original);
    }
    InvalidateRect(dialog, nullptr, TRUE);
}

}  // namespace

INT_PTR CALLBACK about_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: on_init(dialog); return TRUE;
    case WM_PAINT: paint_about(dialog); return FALSE;
    case WM_TIMER: on_about_tick(dialog); return FALSE;
    case WM_DESTROY: on_destroy(dialog); return FALSE;
    case WM_DPICHANGED: on_dpi_changed(dialog); return FALSE;
    case WM_COMMAND:
        if (wparam != IDOK && wparam != IDCANCEL) return FALSE;
        DestroyWindow(dialog);
        return TRUE;
    default: return FALSE;
    }
}

void open_about_dialog(HWND owner) {
    if (about_open) return;
    // The wide-character function, so that the template's texts reach the controls as
    // written whatever the system's ANSI code page.
    CreateDialogParamW(app_instance, MAKEINTRESOURCEW(IDD_ABOUT), owner, about_dialog_proc, 0);
}
