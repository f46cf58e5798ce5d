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

// The picture control shows its bitmap at the pet's scale too: it gets a copy enlarged
// pixel for pixel, and the bitmap it loaded from the template is deleted.
void scale_picture(HWND dialog, HDC window_dc) {
    if (pet_scale == 1) return;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_BITMAP) continue;
        HBITMAP picture = reinterpret_cast<HBITMAP>(SendMessageA(child, STM_GETIMAGE, IMAGE_BITMAP, 0));
        BITMAP info;
        if (!picture || !GetObjectA(picture, sizeof info, &info)) continue;
        HBITMAP larger = CreateCompatibleBitmap(window_dc, info.bmWidth * pet_scale, info.bmHeight * pet_scale);
        HDC from = CreateCompatibleDC(window_dc), to = CreateCompatibleDC(window_dc);
        if (larger && from && to) {
            HGDIOBJ old_from = SelectObject(from, picture), old_to = SelectObject(to, larger);
            scaled_copy(to, 0, 0, info.bmWidth, info.bmHeight, from, 0, 0, SRCCOPY);
            SelectObject(from, old_from);
            SelectObject(to, old_to);
            HGDIOBJ replaced = reinterpret_cast<HGDIOBJ>(
                SendMessageA(child, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(larger)));
            if (replaced) DeleteObject(replaced);
            larger = nullptr;
        }
        if (larger) DeleteObject(larger);
        if (from) DeleteDC(from);
        if (to) DeleteDC(to);
    }
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

}  // namespace

INT_PTR CALLBACK about_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: on_init(dialog); return TRUE;
    case WM_PAINT: paint_about(dialog); return FALSE;
    case WM_TIMER: on_about_tick(dialog); return FALSE;
    case WM_DESTROY: on_destroy(dialog); return FALSE;
    case WM_COMMAND:
        if (wparam != IDOK && wparam != IDCANCEL) return FALSE;
        DestroyWindow(dialog);
        return TRUE;
    default: return FALSE;
    }
}

void open_about_dialog(HWND owner) {
    if (about_open) return;
    CreateDialogParamA(app_instance, MAKEINTRESOURCEA(IDD_ABOUT), owner, about_dialog_proc, 0);
}
