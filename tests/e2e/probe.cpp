// The end-to-end probe: runs beside tuvo.exe in the same Wine prefix and prints what
// another process can see of the pet window and of message boxes, one fact per line.
//   probe window         class, title, styles, rectangle, region of "Tuvo"
//   probe box            text of the first "Tuvo" message box, or nothing
//   probe close-box      presses OK on it
//   probe region-file F  writes the region's 50 x 50 cells as 0/1 rows to F
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

HWND find_pet() { return FindWindowA("TuvoWClass", "Tuvo"); }

HWND find_box() { return FindWindowA("#32770", "Tuvo"); }

int print_window() {
    HWND pet = find_pet();
    if (!pet) return 1;
    char name[64];
    GetClassNameA(pet, name, sizeof name);
    std::printf("class %s\n", name);
    GetWindowTextA(pet, name, sizeof name);
    std::printf("title %s\n", name);
    std::printf("style %08lx\n", static_cast<unsigned long>(GetWindowLongA(pet, GWL_STYLE)));
    std::printf("exstyle %08lx\n", static_cast<unsigned long>(GetWindowLongA(pet, GWL_EXSTYLE)));
    std::printf("visible %d\n", IsWindowVisible(pet) ? 1 : 0);
    RECT box;
    GetWindowRect(pet, &box);
    std::printf("rect %ld %ld %ld %ld\n", box.left, box.top, box.right, box.bottom);
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    const int kind = GetWindowRgn(pet, shape);
    int inside = 0;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 50; ++x) inside += PtInRegion(shape, x, y) ? 1 : 0;
    std::printf("region %d %d\n", kind, inside);
    DeleteObject(shape);
    return 0;
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

int write_region(const char* file) {
    HWND pet = find_pet();
    if (!pet) return 1;
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    GetWindowRgn(pet, shape);
    FILE* out = std::fopen(file, "w");
    if (!out) return 1;
    for (int y = 0; y < 50; ++y) {
        for (int x = 0; x < 50; ++x) std::fputc(PtInRegion(shape, x, y) ? '1' : '0', out);
        std::fputc('\n', out);
    }
    std::fclose(out);
    DeleteObject(shape);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "window") == 0) return print_window();
    if (argc >= 2 && std::strcmp(argv[1], "box") == 0) return print_box();
    if (argc >= 2 && std::strcmp(argv[1], "close-box") == 0) return close_box();
    if (argc >= 3 && std::strcmp(argv[1], "region-file") == 0) return write_region(argv[2]);
    std::fprintf(stderr, "usage: probe window|box|close-box|region-file FILE\n");
    return 2;
}
