// The dialog probe: runs beside tuvo.exe in the same Wine prefix and inspects the pet's
// Options and About dialogs from outside, one fact per line. KIND is "options" (the
// dialog with the speed field) or "about" (the other one).
//   dialog_probe list                 one line per dialog: kind, window rect, title
//   dialog_probe get KIND ID          text of control ID
//   dialog_probe set KIND ID TEXT     sets it
//   dialog_probe checked KIND ID      1 when the button is checked
//   dialog_probe rect KIND ID         control's screen rectangle (ID 0: the client area)
//   dialog_probe press KIND ID        posts the command ID (1 OK, 2 Cancel)
//   dialog_probe move KIND X Y        moves the dialog's top-left corner to X, Y
//   dialog_probe menu                 succeeds while a pop-up menu is shown
//   dialog_probe panel                screen rectangle of the About animation panel
//   dialog_probe watch-strip MS       samples the panel's left strip for MS milliseconds
//                                     and prints how often it changed
//   dialog_probe texts KIND           reads the caption and every control's text with the
//                                     wide-character WM_GETTEXT and compares each whole
//                                     string with the template's; prints the mismatches
//                                     and succeeds when there are none
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "texts.h"

namespace {

constexpr int speed_field = 1007;
constexpr int panel_w = 76, panel_h = 70;

HWND pet() { return FindWindowA("TuvoWClass", "Tuvo"); }

struct Found {
    HWND owner;
    std::vector<HWND> dialogs;
};

BOOL CALLBACK collect(HWND window, LPARAM data) {
    Found* found = reinterpret_cast<Found*>(data);
    char name[32];
    GetClassNameA(window, name, sizeof name);
    if (std::strcmp(name, "#32770") == 0 && GetWindow(window, GW_OWNER) == found->owner)
        found->dialogs.push_back(window);
    return TRUE;
}

std::vector<HWND> dialogs() {
    Found found = {pet(), {}};
    if (found.owner) EnumWindows(collect, reinterpret_cast<LPARAM>(&found));
    return found.dialogs;
}

const char* kind_of(HWND dialog) { return GetDlgItem(dialog, speed_field) ? "options" : "about"; }

HWND find(const char* kind) {
    for (HWND dialog : dialogs())
        if (std::strcmp(kind_of(dialog), kind) == 0) return dialog;
    return nullptr;
}

void print_utf8(const wchar_t* text) {
    char out[1024];
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, out, sizeof out, nullptr, nullptr);
    if (n > 0) std::fwrite(out, 1, n - 1, stdout);
}

int list() {
    for (HWND dialog : dialogs()) {
        RECT box;
        GetWindowRect(dialog, &box);
        wchar_t title[256] = L"";
        GetWindowTextW(dialog, title, 256);
        std::printf("%s %ld %ld %ld %ld %d ", kind_of(dialog), box.left, box.top, box.right,
                    box.bottom, IsWindowVisible(dialog) ? 1 : 0);
        print_utf8(title);
        std::printf("\n");
    }
    return 0;
}

RECT client_on_screen(HWND dialog) {
    RECT client;
    GetClientRect(dialog, &client);
    MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return client;
}

RECT panel_rect(HWND dialog) {
    RECT client;
    GetClientRect(dialog, &client);
    const RECT screen = client_on_screen(dialog);
    const int x = 192 * client.right / 255, y = 82 * client.bottom / 193;
    return {screen.left + x, screen.top + y, screen.left + x + panel_w, screen.top + y + panel_h};
}

// Milliseconds between changes of the left strip's pixels, read from the screen.
int watch_strip(HWND dialog, int duration) {
    const RECT panel = panel_rect(dialog);
    const int x = panel.left + 2, y = panel.top, w = 7, h = panel_h;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    SelectObject(memory, bitmap);
    std::vector<unsigned char> last(w * h * 4), now(w * h * 4);
    BitBlt(memory, 0, 0, w, h, screen, x, y, SRCCOPY);
    GdiFlush();
    std::memcpy(last.data(), bits, last.size());
    const DWORD start = GetTickCount();
    DWORD first_change = 0, last_change = 0;
    int changes = 0;
    while (GetTickCount() - start < static_cast<DWORD>(duration)) {
        Sleep(5);
        BitBlt(memory, 0, 0, w, h, screen, x, y, SRCCOPY);
        GdiFlush();
        std::memcpy(now.data(), bits, now.size());
        if (now == last) continue;
        last.swap(now);
        const DWORD at = GetTickCount();
        if (changes == 0) first_change = at;
        last_change = at;
        ++changes;
    }
    DeleteDC(memory);
    DeleteObject(bitmap);
    ReleaseDC(nullptr, screen);
    const int interval = changes > 1 ? static_cast<int>((last_change - first_change) / (changes - 1)) : 0;
    std::printf("changes %d interval %d\n", changes, interval);
    return 0;
}

std::wstring wide(const char* utf8) {
    wchar_t out[512] = L"";
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, out, 512);
    return out;
}

std::wstring text_of(HWND window) {
    wchar_t text[512] = L"";
    SendMessageW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
    return text;
}

// The caption and the controls' texts in template order, as the resource script gives
// them; static controls carry no identifier of their own, so order tells them apart.
int compare_texts(HWND dialog, const char* kind) {
    const bool options = std::strcmp(kind, "options") == 0;
    const std::vector<const char*> expected =
        options ? std::vector<const char*>{TEXT_OK, TEXT_CANCEL, TEXT_MODE_STORED, TEXT_MODE_BUILT,
                                           TEXT_MODE_BLENDED, TEXT_TOP, TEXT_LEFT, TEXT_BOTTOM, TEXT_RIGHT,
                                           nullptr, nullptr, nullptr, nullptr, TEXT_SPEED, nullptr, TEXT_NEXT_START,
                                           TEXT_DISPLAY_MODE,
                                           TEXT_BOUNDARY}
                : std::vector<const char*>{TEXT_OK, TEXT_ABOUT_STORY, TEXT_ABOUT_CONTACT, TEXT_ABOUT_CREDIT,
                                           nullptr, ""};
    int mismatches = 0;
    auto compare = [&](const std::wstring& seen, const char* want, const char* what) {
        if (seen == wide(want)) return;
        ++mismatches;
        std::printf("%s: ", what);
        print_utf8(seen.c_str());
        std::printf(" (expected %s)\n", want);
    };
    compare(text_of(dialog), options ? OPTIONS_CAPTION : ABOUT_CAPTION, "caption");
    size_t i = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT), ++i) {
        char what[32];
        std::snprintf(what, sizeof what, "control %u", static_cast<unsigned>(i));
        if (i >= expected.size()) {
            compare(text_of(child), "(none)", what);
            continue;
        }
        // The picture control holds a bitmap and the edit fields the settings' numbers:
        // no template texts.
        if (expected[i]) compare(text_of(child), expected[i], what);
    }
    if (i != expected.size()) {
        ++mismatches;
        std::printf("%u controls, expected %u\n", static_cast<unsigned>(i), static_cast<unsigned>(expected.size()));
    }
    return mismatches == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const char* command = argv[1];
    if (std::strcmp(command, "list") == 0) return list();
    if (std::strcmp(command, "menu") == 0) {
        HWND menu = FindWindowA(MAKEINTATOM(0x8000), nullptr);
        return menu && IsWindowVisible(menu) ? 0 : 1;
    }
    HWND about = find("about");
    if (std::strcmp(command, "panel") == 0 && about) {
        const RECT r = panel_rect(about);
        std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
        return 0;
    }
    if (std::strcmp(command, "watch-strip") == 0 && about && argc >= 3)
        return watch_strip(about, std::atoi(argv[2]));
    if (std::strcmp(command, "texts") == 0 && argc >= 3) {
        HWND dialog = find(argv[2]);
        return dialog ? compare_texts(dialog, argv[2]) : 1;
    }
    if (argc < 4) return 2;
    HWND dialog = find(argv[2]);
    const int id = std::atoi(argv[3]);  // the x coordinate for "move"
    if (!dialog) return 1;
    if (std::strcmp(command, "get") == 0) {
        wchar_t text[256] = L"";
        GetDlgItemTextW(dialog, id, text, 256);
        print_utf8(text);
        std::printf("\n");
        return 0;
    }
    if (std::strcmp(command, "set") == 0 && argc >= 5)
        return SetDlgItemTextA(dialog, id, argv[4]) ? 0 : 1;
    if (std::strcmp(command, "checked") == 0) {
        std::printf("%d\n", IsDlgButtonChecked(dialog, id) == BST_CHECKED ? 1 : 0);
        return 0;
    }
    if (std::strcmp(command, "rect") == 0) {
        RECT r = client_on_screen(dialog);
        if (id != 0) {
            HWND control = GetDlgItem(dialog, id);
            if (!control) return 1;
            GetWindowRect(control, &r);
        }
        std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
        return 0;
    }
    if (std::strcmp(command, "move") == 0 && argc >= 5)
        return SetWindowPos(dialog, nullptr, id, std::atoi(argv[4]), 0, 0,
                            SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) ? 0 : 1;
    if (std::strcmp(command, "press") == 0) return PostMessageA(dialog, WM_COMMAND, id, 0) ? 0 : 1;
    return 2;
}
