// Sprite sheet and frame masks: takes the bitmap resources and the display mode, and
// creates every device context and bitmap the display keeps for the run, with the mask
// sheet read into memory as packed bottom-up rows.
#include <cstring>

#include "app.h"
#include "display.h"
#include "resource.h"

HDC sheet_dc = nullptr;
HDC compose_dc = nullptr;
HDC mask_dc = nullptr;
HDC backdrop_dc = nullptr;
HDC scratch_dc = nullptr;
HDC key_mask_dc = nullptr;
HDC screen_dc = nullptr;
HBITMAP sprite_sheet = nullptr;
HBITMAP mask_sheet = nullptr;
HBITMAP compose_bitmap = nullptr;
HBITMAP backdrop_bitmap = nullptr;
HBITMAP scratch_bitmap = nullptr;
HBITMAP key_mask_bitmap = nullptr;
HCURSOR drag_cursor = nullptr;
HMENU context_menu = nullptr;

int32_t sheet_width = 0;
int32_t sheet_height = 0;
int32_t sheet_columns = 0;
int32_t sheet_rows = 0;
int32_t mask_width = 0;
int32_t mask_height = 0;
int32_t mask_columns = 0;
int32_t mask_rows = 0;
int32_t mask_stride = 0;
uint8_t* mask_bits = nullptr;
int32_t mask_inverted = 0;

namespace {

constexpr const char* no_window_dc = "Fail to identify the window device context";
constexpr const char* no_cursor = "Fail to load the cursor image";
constexpr const char* no_memory_dc = "Fail to create the window device context";
constexpr const char* no_sheet = "Insufficient memory to load bitmap image";
constexpr const char* bad_sheet = "Unexpected error: Data error in bitmap image";
constexpr const char* no_bitmap = "Insufficient memory to create bitmap image";
constexpr const char* no_menu = "Insufficient memory to load pop-up menu";

// A 1-bit request: the header and both colour-table entries.
struct MonoBitmapInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colours[2];
};

HWND reference_window = nullptr;
HDC window_dc = nullptr;

// The objects made so far stay with their globals; the destroy handling of the pet
// window deletes them.
int fail(const char* text) {
    if (window_dc) ReleaseDC(reference_window, window_dc);
    window_dc = nullptr;
    halt_with_warning(nullptr, text);
    return 0;
}

// The system's requests, each of which a test may have refused (system_forced_failure).
HDC memory_dc() { return system_forced_failure() ? nullptr : CreateCompatibleDC(window_dc); }

HDC whole_display_dc() {
    return system_forced_failure() ? nullptr : CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
}

HBITMAP frame_bitmap() {
    if (system_forced_failure()) return nullptr;
    return CreateCompatibleBitmap(window_dc, window_width, window_height);
}

HBITMAP monochrome_frame_bitmap() {
    return system_forced_failure() ? nullptr : CreateBitmap(window_width, window_height, 1, 1, nullptr);
}

HCURSOR load_cursor(int id) {
    return system_forced_failure() ? nullptr : LoadCursorA(app_instance, MAKEINTRESOURCEA(id));
}

HMENU load_menu(int id) {
    return system_forced_failure() ? nullptr : LoadMenuA(app_instance, MAKEINTRESOURCEA(id));
}

HMENU first_submenu(HMENU menu) { return system_forced_failure() ? nullptr : GetSubMenu(menu, 0); }

bool load_sheet(int id, HBITMAP* bitmap, int32_t* width, int32_t* height) {
    *bitmap = system_forced_failure() ? nullptr : LoadBitmapA(app_instance, MAKEINTRESOURCEA(id));
    BITMAP info;
    if (!*bitmap || system_forced_failure() || !GetObjectA(*bitmap, sizeof info, &info)) return false;
    *width = info.bmWidth;
    *height = info.bmHeight;
    return true;
}

int read_mask() {
    if (!load_sheet(IDB_MASK, &mask_sheet, &mask_width, &mask_height)) return fail(no_sheet);
    mask_columns = mask_width / frame_width;
    mask_rows = mask_height / frame_height;
    if (mask_columns * mask_rows < engine->image_count) return fail(bad_sheet);
    mask_stride = ((mask_width + 7) / 8 + 3) / 4 * 4;
    mask_bits = static_cast<uint8_t*>(alloc_or_quit(size_t(mask_stride) * mask_height));
    if (!mask_bits) {
        // The allocator has shown its box and destroyed the window.
        ReleaseDC(reference_window, window_dc);
        window_dc = nullptr;
        return 0;
    }
    std::memset(mask_bits, 0, size_t(mask_stride) * mask_height);
    MonoBitmapInfo request;
    std::memset(&request, 0, sizeof request);
    request.header.biSize = sizeof(BITMAPINFOHEADER);
    request.header.biWidth = mask_width;
    request.header.biHeight = mask_height;  // positive: rows come bottom-up
    request.header.biPlanes = 1;
    request.header.biBitCount = 1;
    request.header.biCompression = BI_RGB;
    // Read before the bitmap is selected anywhere.
    GetDIBits(mask_dc, mask_sheet, 0, mask_height, mask_bits,
              reinterpret_cast<BITMAPINFO*>(&request), DIB_RGB_COLORS);
    SelectObject(mask_dc, mask_sheet);
    const RGBQUAD& first = request.colours[0];
    mask_inverted = (first.rgbBlue || first.rgbGreen || first.rgbRed) ? 1 : 0;
    return 1;
}

}  // namespace

RECT image_rect(int32_t image, int32_t columns) {
    const int32_t left = image % columns * frame_width;
    const int32_t top = image / columns * frame_height;
    return RECT{left, top, left + frame_width, top + frame_height};
}

MaskSheet mask_sheet_in_memory() {
    return {mask_bits, mask_stride, mask_width, mask_height, mask_columns, mask_inverted};
}

bool mask_opaque(int32_t x, int32_t y) { return mask_sheet_opaque(mask_sheet_in_memory(), x, y); }

int init_display(HWND window) {
    reference_window = window;
    window_dc = system_forced_failure() ? nullptr : GetWindowDC(window);
    if (!window_dc) return fail(no_window_dc);
    drag_cursor = load_cursor(IDC_HAND_GRAB);
    if (!drag_cursor) return fail(no_cursor);
    if (display_mode == display_blended) {
        if (!(backdrop_dc = memory_dc())) return fail(no_memory_dc);
        if (!(scratch_dc = memory_dc())) return fail(no_memory_dc);
        if (!(key_mask_dc = memory_dc())) return fail(no_memory_dc);
        if (!(screen_dc = whole_display_dc())) return fail(no_memory_dc);
    } else if (!(mask_dc = memory_dc())) {
        return fail(no_memory_dc);
    }
    if (!(compose_dc = memory_dc())) return fail(no_memory_dc);
    if (!(sheet_dc = memory_dc())) return fail(no_memory_dc);

    if (display_mode != display_blended) {
        if (!read_mask()) return 0;
    } else {
        if (!(backdrop_bitmap = frame_bitmap())) return fail(no_bitmap);
        if (!(scratch_bitmap = frame_bitmap())) return fail(no_bitmap);
        if (!(key_mask_bitmap = monochrome_frame_bitmap())) return fail(no_bitmap);
        SelectObject(backdrop_dc, backdrop_bitmap);
        SelectObject(scratch_dc, scratch_bitmap);
        SelectObject(key_mask_dc, key_mask_bitmap);
    }
    if (!(compose_bitmap = frame_bitmap())) return fail(no_bitmap);
    if (!load_sheet(IDB_SPRITES, &sprite_sheet, &sheet_width, &sheet_height)) return fail(no_sheet);
    sheet_columns = sheet_width / frame_width;
    sheet_rows = sheet_height / frame_height;
    if (sheet_columns * sheet_rows < engine->image_count) return fail(bad_sheet);
    SelectObject(compose_dc, compose_bitmap);
    SelectObject(sheet_dc, sprite_sheet);
    ReleaseDC(window, window_dc);
    window_dc = nullptr;

    HMENU menu = load_menu(IDR_CONTEXT_MENU);
    if (!menu) return fail(no_menu);
    if (!(context_menu = first_submenu(menu))) {
        DestroyMenu(menu);
        return fail(no_menu);
    }
    return 1;
}
