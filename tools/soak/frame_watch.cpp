// Watches the running pet from another process of the same Wine prefix and counts what
// it shows: every change of its window region (a new frame in display modes 1 and 2)
// and every change of its position. Polls about once a millisecond, which is ten times
// faster than the shortest tick, so no change goes unseen.
//   frame_watch SECONDS [STOP_AFTER]   stops early once regions + moves reach STOP_AFTER
// Prints "regions N moves M samples S seconds T" at the end, a line "box TEXT" and exit
// status 2 if a message box of the pet appears, status 1 if the pet window vanishes.
//   frame_watch dialogs         prints the number of the pet's open dialogs
//   frame_watch close-dialogs   cancels each of them, as Esc would
//   frame_watch command ID      sends the pet the menu command ID, as its menu would
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// A digest of the region's rectangles; two different frames practically never agree.
unsigned long long region_digest(HWND pet, HRGN scratch, std::vector<char>& buffer) {
    if (GetWindowRgn(pet, scratch) == ERROR) return 0;
    const DWORD size = GetRegionData(scratch, 0, nullptr);
    if (size == 0) return 0;
    if (buffer.size() < size) buffer.resize(size);
    if (GetRegionData(scratch, size, reinterpret_cast<RGNDATA*>(buffer.data())) == 0) return 0;
    unsigned long long h = 1469598103934665603ull;
    for (DWORD i = 0; i < size; ++i) h = (h ^ static_cast<unsigned char>(buffer[i])) * 1099511628211ull;
    return h;
}

struct DialogSearch {
    DWORD thread;
    int found;
    bool cancel;
};

BOOL CALLBACK visit_window(HWND window, LPARAM context) {
    DialogSearch& search = *reinterpret_cast<DialogSearch*>(context);
    char name[16];
    if (GetWindowThreadProcessId(window, nullptr) != search.thread) return TRUE;
    if (!GetClassNameA(window, name, sizeof name) || lstrcmpA(name, "#32770") != 0) return TRUE;
    if (!(GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE)) return TRUE;
    ++search.found;
    if (search.cancel) PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

// The pet's visible dialogs: top-level windows of the dialog class on the pet's thread.
int pet_dialogs(bool cancel) {
    HWND pet = FindWindowA("TuvoWClass", "Tuvo");
    if (!pet) return -1;
    DialogSearch search = {GetWindowThreadProcessId(pet, nullptr), 0, cancel};
    EnumWindows(visit_window, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: frame_watch SECONDS [STOP_AFTER]\n");
        return 64;
    }
    if (lstrcmpA(argv[1], "dialogs") == 0 || lstrcmpA(argv[1], "close-dialogs") == 0) {
        const int found = pet_dialogs(argv[1][0] == 'c');
        std::printf("%d\n", found);
        return found < 0 ? 1 : 0;
    }
    if (lstrcmpA(argv[1], "command") == 0 && argc > 2) {
        HWND pet = FindWindowA("TuvoWClass", "Tuvo");
        return pet && PostMessageA(pet, WM_COMMAND, std::atoi(argv[2]), 0) ? 0 : 1;
    }
    const double seconds = std::atof(argv[1]);
    const long long stop_after = argc > 2 ? std::atoll(argv[2]) : 0;
    HWND pet = FindWindowA("TuvoWClass", "Tuvo");
    if (!pet) {
        std::printf("no pet\n");
        return 1;
    }
    timeBeginPeriod(1);
    HRGN scratch = CreateRectRgn(0, 0, 0, 0);
    std::vector<char> buffer;
    unsigned long long shape = region_digest(pet, scratch, buffer);
    RECT where;
    GetWindowRect(pet, &where);
    long long regions = 0, moves = 0, samples = 0;
    const DWORD start = GetTickCount();
    int status = 0;
    while (GetTickCount() - start < seconds * 1000) {
        Sleep(1);
        ++samples;
        if (!IsWindow(pet)) {
            status = 1;
            break;
        }
        const unsigned long long now = region_digest(pet, scratch, buffer);
        if (now != shape) {
            ++regions;
            shape = now;
        }
        RECT r;
        GetWindowRect(pet, &r);
        if (r.left != where.left || r.top != where.top) {
            ++moves;
            where = r;
        }
        if ((samples & 255) == 0) {
            HWND box = FindWindowA("#32770", "Tuvo");
            HWND text = box ? FindWindowExA(box, nullptr, "Static", nullptr) : nullptr;
            char words[256] = "";
            // A static that is not the icon holds the message.
            while (text && GetWindowTextA(text, words, sizeof words) == 0)
                text = FindWindowExA(box, text, "Static", nullptr);
            if (box && GetWindowLongA(box, GWL_STYLE) & WS_VISIBLE && words[0]) {
                std::printf("box %s\n", words);
                status = 2;
                break;
            }
        }
        if (stop_after > 0 && regions + moves >= stop_after) break;
    }
    std::printf("regions %lld moves %lld samples %lld seconds %.1f\n", regions, moves, samples,
                (GetTickCount() - start) / 1000.0);
    DeleteObject(scratch);
    timeEndPeriod(1);
    return status;
}
