// Display benchmark: takes the built-in sprite and mask sheets and prints, for each of
// the display's per-frame operations, the mean cost of one call in microseconds, timed
// with QueryPerformanceCounter over every image, plain and mirrored, many times over.
// The best of several rounds is printed, since the machine may be busy with other work.
//   tuvo_display_bench [ROUNDS]
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "app.h"
#include "display.h"

namespace {

int print_box(HWND, const char* text, const char*, UINT) {
    std::fprintf(stderr, "box: %s\n", text);
    return IDOK;
}

double seconds_now() {
    static LARGE_INTEGER frequency = {};
    if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return double(now.QuadPart) / double(frequency.QuadPart);
}

// Best mean over the rounds of one call of the operation, in microseconds; each round
// calls it once for every image in both orientations, repeats times over.
template <typename Operation>
double best_mean(int rounds, int repeats, Operation operation) {
    double best = 1e30;
    const int calls = repeats * 2 * engine->image_count;
    for (int round = 0; round < rounds; ++round) {
        const double start = seconds_now();
        for (int repeat = 0; repeat < repeats; ++repeat)
            for (int32_t mirrored = 0; mirrored < 2; ++mirrored)
                for (int32_t image = 0; image < engine->image_count; ++image) operation(image, mirrored);
        const double mean = (seconds_now() - start) * 1e6 / calls;
        if (mean < best) best = mean;
    }
    return best;
}

bool start_display(int32_t mode) {
    if (main_window) DestroyWindow(main_window);
    display_mode = mode;
    main_window = CreateWindowExA(WS_EX_TOOLWINDOW, window_class_name, window_title, WS_POPUP, 0, 0,
                                  frame_width, frame_height, nullptr, nullptr, app_instance, nullptr);
    if (!main_window || !init_display(main_window)) return false;
    return apply_first_shape(main_window) == 1;
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 5;
    message_box = print_box;
    app_instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA window_class = {};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = main_window_proc;
    window_class.hInstance = app_instance;
    window_class.lpszClassName = window_class_name;
    RegisterClassExA(&window_class);
    screen_width = GetSystemMetrics(SM_CXSCREEN);
    screen_height = GetSystemMetrics(SM_CYSCREEN);
    frame_width = frame_height = window_width = window_height = 50;
    timer_interval = 150;
    if (!init_engine()) return 1;

    // Mode 2: the shape of each frame built anew from the mask bits.
    if (!start_display(display_built)) return 1;
    const double build = best_mean(rounds, 4, [](int32_t image, int32_t mirrored) {
        HRGN shape = nullptr;
        build_frame_shape(&shape, image, mirrored);
        if (shape) DeleteObject(shape);
    });
    const double apply_built = best_mean(rounds, 2, [](int32_t image, int32_t mirrored) {
        shown_image = image;
        shown_mirrored = mirrored;
        apply_frame_shape();
    });

    // Mode 1: a copy of the stored shape, as apply_frame_shape makes it.
    if (!start_display(display_stored)) return 1;
    const double precompute_start = seconds_now();
    HRGN* kept = shapes;
    HRGN* kept_mirrored = mirrored_shapes;
    shapes = mirrored_shapes = nullptr;
    precompute_shapes();
    const double precompute = (seconds_now() - precompute_start) * 1e3;
    for (int32_t i = 0; i < engine->image_count; ++i) {
        if (shapes[i]) DeleteObject(shapes[i]);
        if (mirrored_shapes[i]) DeleteObject(mirrored_shapes[i]);
    }
    std::free(shapes);
    std::free(mirrored_shapes);
    shapes = kept;
    mirrored_shapes = kept_mirrored;
    const double copy = best_mean(rounds, 20, [](int32_t image, int32_t mirrored) {
        HRGN copied = CreateRectRgn(0, 0, 0, 0);
        CombineRgn(copied, mirrored ? mirrored_shapes[image] : shapes[image], nullptr, RGN_COPY);
        DeleteObject(copied);
    });
    const double apply_stored = best_mean(rounds, 2, [](int32_t image, int32_t mirrored) {
        shown_image = image;
        shown_mirrored = mirrored;
        apply_frame_shape();
    });
    const double compose_plain = best_mean(rounds, 10, [](int32_t image, int32_t mirrored) {
        shown_image = image;
        shown_mirrored = mirrored;
        compose_frame();
    });

    // Mode 0: the frame blended over the desktop snapshot by the key colour.
    if (!start_display(display_blended)) return 1;
    const double compose_blended = best_mean(rounds, 10, [](int32_t image, int32_t mirrored) {
        shown_image = image;
        shown_mirrored = mirrored;
        compose_frame();
    });
    DestroyWindow(main_window);

    std::printf("mean cost of one call, best of %d rounds, microseconds\n", rounds);
    std::printf("  mode 2  shape build (build_frame_shape)                %9.1f\n", build);
    std::printf("  mode 2  apply_frame_shape, build and SetWindowRgn      %9.1f\n", apply_built);
    std::printf("  mode 1  region copy (CreateRectRgn + RGN_COPY)         %9.1f\n", copy);
    std::printf("  mode 1  apply_frame_shape, copy and SetWindowRgn       %9.1f\n", apply_stored);
    std::printf("  mode 1  all 340 shapes built at start-up (ms)          %9.1f\n", precompute);
    std::printf("  mode 1/2 frame assembled (compose_frame)               %9.1f\n", compose_plain);
    std::printf("  mode 0  frame blended over the snapshot (compose_frame) %8.1f\n", compose_blended);
    return 0;
}
