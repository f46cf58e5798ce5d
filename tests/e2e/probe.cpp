// The end-to-end probe: runs beside tuvo.exe in the same Wine prefix and prints what
// another process can see of the pet windows, their menus and message boxes, one fact
// per line. A pet is named by the hexadecimal handle "probe windows" prints; without
// one, the first pet window found is meant.
//   probe windows            one line per pet window: handle, visible, rectangle
//   probe window [PET]       class, title, styles, rectangle, region of one pet
//   probe alive PET          exit 0 when the pet's thread answers a message within 2 s
//   probe menu               rectangle of the open pop-up menu, exit 1 when none is open
//   probe box                text of the first "Tuvo" message box, exit 1 when none
//   probe close-box          presses OK on it
//   probe region-file F [PET]  writes the region as 0/1 rows to F, one cell for each pixel
//                            of the window (50 x 50 for an unscaled pet), and prints the
//                            window's rectangle as "window" does
//   probe backdrop           covers the screen with a pattern window until killed
//   probe cover              a caption-less pop-up over the whole primary monitor, brought
//                            to the foreground, until killed
//   probe maximised          a captioned window, maximised and brought to the foreground,
//                            until killed
//   probe foreground         handle, class, style and rectangle of the foreground window
// The probe counts in physical pixels whatever the prefix's DPI, as the pet does.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr const char* pet_class = "TuvoWClass";

struct PetList {
    HWND found[16];
    int count;
};

BOOL CALLBACK collect_pet(HWND window, LPARAM list_address) {
    PetList* list = reinterpret_cast<PetList*>(list_address);
    char name[64];
    if (!GetClassNameA(window, name, sizeof name) || std::strcmp(name, pet_class) != 0) return TRUE;
    if (list->count < 16) list->found[list->count++] = window;
    return TRUE;
}

PetList all_pets() {
    PetList list = {};
    EnumWindows(collect_pet, reinterpret_cast<LPARAM>(&list));
    return list;
}

HWND named_pet(int argc, char** argv, int index) {
    if (argc > index) {
        HWND pet = reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoull(argv[index], nullptr, 16)));
        return IsWindow(pet) ? pet : nullptr;
    }
    return FindWindowA(pet_class, "Tuvo");
}

HWND find_box() { return FindWindowA("#32770", "Tuvo"); }

void print_rect(const char* label, HWND window) {
    RECT box;
    GetWindowRect(window, &box);
    std::printf("%s %ld %ld %ld %ld\n", label, box.left, box.top, box.right, box.bottom);
}

int print_pets() {
    const PetList list = all_pets();
    for (int i = 0; i < list.count; ++i) {
        RECT box;
        GetWindowRect(list.found[i], &box);
        std::printf("%llx %d %ld %ld %ld %ld\n",
                    static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(list.found[i])),
                    IsWindowVisible(list.found[i]) ? 1 : 0, box.left, box.top, box.right, box.bottom);
    }
    return 0;
}

// The window's width and height.
SIZE window_size(HWND window) {
    RECT box;
    GetWindowRect(window, &box);
    return SIZE{box.right - box.left, box.bottom - box.top};
}

int print_window(HWND pet) {
    if (!pet) return 1;
    char name[64];
    GetClassNameA(pet, name, sizeof name);
    std::printf("class %s\n", name);
    GetWindowTextA(pet, name, sizeof name);
    std::printf("title %s\n", name);
    std::printf("style %08lx\n", static_cast<unsigned long>(GetWindowLongA(pet, GWL_STYLE)));
    std::printf("exstyle %08lx\n", static_cast<unsigned long>(GetWindowLongA(pet, GWL_EXSTYLE)));
    std::printf("visible %d\n", IsWindowVisible(pet) ? 1 : 0);
    print_rect("rect", pet);
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    const int kind = GetWindowRgn(pet, shape);
    const SIZE size = window_size(pet);
    int inside = 0;
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x) inside += PtInRegion(shape, x, y) ? 1 : 0;
    std::printf("region %d %d\n", kind, inside);
    DeleteObject(shape);
    return 0;
}

int check_alive(HWND pet) {
    if (!pet) return 1;
    DWORD_PTR answer = 0;
    return SendMessageTimeoutA(pet, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer) ? 0 : 1;
}

int print_menu() {
    for (HWND menu = FindWindowA("#32768", nullptr); menu;
         menu = FindWindowExA(nullptr, menu, "#32768", nullptr)) {
        if (!IsWindowVisible(menu)) continue;
        print_rect("menu", menu);
        return 0;
    }
    return 1;
}

int print_box() {
    HWND box = find_box();
    if (!box) return 1;
    char text[256] = "";
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[32];
        GetClassNameA(child, name, sizeof name);
        GetWindowTextA(child, text, sizeof text);
        if (_stricmp(name, "Static") == 0 && text[0]) break;
        text[0] = '\0';
    }
    std::printf("box %s\n", text);
    return 0;
}

int close_box() {
    HWND box = find_box();
    if (!box) return 1;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    return 0;
}

int write_region(const char* file, HWND pet) {
    if (!pet) return 1;
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    GetWindowRgn(pet, shape);
    const SIZE size = window_size(pet);
    // The window's place at the same moment, for pointing into the region on the screen.
    print_rect("rect", pet);
    FILE* out = std::fopen(file, "w");
    if (!out) return 1;
    for (int y = 0; y < size.cy; ++y) {
        for (int x = 0; x < size.cx; ++x) std::fputc(PtInRegion(shape, x, y) ? '1' : '0', out);
        std::fputc('\n', out);
    }
    std::fclose(out);
    DeleteObject(shape);
    return 0;
}

// The backdrop: red follows x and green follows y (both modulo 256) with blue 77, a
// blue that no colour of the cat has, so every pixel of the pet differs from it and a
// snapshot taken from the wrong place shows. It stands for the desktop: a press that
// misses the pet makes it the foreground window, as a press on the desktop would, so it
// bears the class name of the desktop's window on Windows, Progman.
std::vector<uint32_t> pattern;
int pattern_width = 0, pattern_height = 0;

LRESULT CALLBACK backdrop_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = pattern_width;
        info.bmiHeader.biHeight = -pattern_height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        SetDIBitsToDevice(dc, 0, 0, pattern_width, pattern_height, 0, 0, 0, pattern_height,
                          pattern.data(), &info, DIB_RGB_COLORS);
        EndPaint(window, &paint);
        return 0;
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(window, message, wparam, lparam);
}

int run_backdrop() {
    pattern_width = GetSystemMetrics(SM_CXSCREEN);
    pattern_height = GetSystemMetrics(SM_CYSCREEN);
    pattern.resize(size_t(pattern_width) * pattern_height);
    for (int y = 0; y < pattern_height; ++y)
        for (int x = 0; x < pattern_width; ++x)
            pattern[size_t(y) * pattern_width + x] = uint32_t(x & 255) << 16 | uint32_t(y & 255) << 8 | 77;
    WNDCLASSA window_class = {};
    window_class.lpfnWndProc = backdrop_proc;
    window_class.hInstance = GetModuleHandleA(nullptr);
    window_class.lpszClassName = "Progman";
    RegisterClassA(&window_class);
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, "Progman", "backdrop",
                                  WS_POPUP, 0, 0, pattern_width, pattern_height, nullptr, nullptr,
                                  window_class.hInstance, nullptr);
    if (!window) return 1;
    ShowWindow(window, SW_SHOWNOACTIVATE);
    SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}

// A window that stays in the foreground until the probe is killed: a caption-less pop-up
// covering the primary monitor exactly (a full-screen program), or a captioned window
// maximised (which, without a task bar, covers the screen too but is no full-screen
// program). It is painted one flat colour, (10, 20, 30), so a screenshot tells whether
// anything shows on top of it.
LRESULT CALLBACK foreground_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(window, message, wparam, lparam);
}

int run_foreground_window(bool full_screen) {
    WNDCLASSA window_class = {};
    window_class.lpfnWndProc = foreground_proc;
    window_class.hInstance = GetModuleHandleA(nullptr);
    window_class.hbrBackground = CreateSolidBrush(RGB(10, 20, 30));
    window_class.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    window_class.lpszClassName = "TuvoProbeForeground";
    RegisterClassA(&window_class);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& area = monitor.rcMonitor;
    // Without a window manager nobody maximises a window: the captioned one starts where
    // Windows would put it maximised, over the whole monitor with its sizing borders just
    // outside, and is then shown maximised.
    const int border = full_screen ? 0 : GetSystemMetrics(SM_CXSIZEFRAME) + GetSystemMetrics(SM_CXPADDEDBORDER);
    HWND window = CreateWindowExA(0, "TuvoProbeForeground", full_screen ? "full screen" : "maximised",
                                  full_screen ? WS_POPUP : WS_OVERLAPPEDWINDOW, area.left - border,
                                  area.top - border, area.right - area.left + 2 * border,
                                  area.bottom - area.top + 2 * border, nullptr, nullptr,
                                  window_class.hInstance, nullptr);
    if (!window) return 1;
    ShowWindow(window, full_screen ? SW_SHOW : SW_SHOWMAXIMIZED);
    UpdateWindow(window);
    SetForegroundWindow(window);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

int print_foreground() {
    HWND window = GetForegroundWindow();
    if (!window) return 1;
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    RECT box;
    GetWindowRect(window, &box);
    std::printf("foreground %llx %s %08lx %ld %ld %ld %ld\n",
                static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)), name,
                static_cast<unsigned long>(GetWindowLongA(window, GWL_STYLE)), box.left, box.top,
                box.right, box.bottom);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: probe windows|window|alive|menu|box|close-box|region-file|backdrop|"
                             "cover|maximised|foreground\n");
        return 2;
    }
    // Physical pixels at any DPI: the pet declares itself DPI-aware, so must its observer.
    SetProcessDPIAware();
    const char* command = argv[1];
    if (std::strcmp(command, "windows") == 0) return print_pets();
    if (std::strcmp(command, "window") == 0) return print_window(named_pet(argc, argv, 2));
    if (std::strcmp(command, "alive") == 0) return check_alive(named_pet(argc, argv, 2));
    if (std::strcmp(command, "menu") == 0) return print_menu();
    if (std::strcmp(command, "box") == 0) return print_box();
    if (std::strcmp(command, "close-box") == 0) return close_box();
    if (std::strcmp(command, "region-file") == 0 && argc >= 3)
        return write_region(argv[2], named_pet(argc, argv, 3));
    if (std::strcmp(command, "backdrop") == 0) return run_backdrop();
    if (std::strcmp(command, "cover") == 0) return run_foreground_window(true);
    if (std::strcmp(command, "maximised") == 0) return run_foreground_window(false);
    if (std::strcmp(command, "foreground") == 0) return print_foreground();
    std::fprintf(stderr, "probe: unknown command %s\n", command);
    return 2;
}
