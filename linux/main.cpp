// The program's entry point: takes the command line, and either answers an option (help,
// version, the autostart entry) or runs the pet on the Wayland or the X11 pet shell until
// Exit. The exit status is 0 after a run and after a failed start, 1 without a display or
// when an option's answer cannot be written, 2 for an unknown option.
#include <FL/Fl.H>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "pet.h"
#include "version.h"

extern const PetShell x11_shell;
#if TUVO_WAYLAND
extern const PetShell wayland_shell;
bool wayland_offers_layer_shell();
#endif

namespace {

// FLTK's wait returns after every event or timeout it handled; this only bounds a wait in
// which nothing at all happens.
constexpr double longest_wait = 1e20;

// |status|, when the option's answer reached standard output whole; 1 when it did not
// (a full disk, say), which a script reading it must be told.
int answered(int status) {
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return status;
    std::fprintf(stderr, "tuvo: cannot write to standard output: %s\n", std::strerror(errno));
    return 1;
}

// The Wayland shell where the compositor can hold the pet (a layer shell), else the X11
// one, which runs through XWayland where there is a compositor without it. Null, after
// saying why, for a shell this program was built without.
const PetShell* pick_shell(Backend backend) {
#if TUVO_WAYLAND
    switch (backend) {
    case backend_wayland: return &wayland_shell;
    case backend_x11: return &x11_shell;
    case backend_auto: break;
    }
    return wayland_offers_layer_shell() ? &wayland_shell : &x11_shell;
#else
    if (backend != backend_wayland) return &x11_shell;
    std::fprintf(stderr, "tuvo: this program was built without Wayland (libwayland-dev)\n");
    return nullptr;
#endif
}

}  // namespace

int main(int argc, char** argv) {
    // A write past the file size limit fails with EFBIG, which the saves report, instead of
    // ending the program half-way through a file.
    std::signal(SIGXFSZ, SIG_IGN);
    const CommandLine line = parse_command_line(argc, argv);
    switch (line.action) {
    case print_help: std::fputs(usage_text, stdout); return answered(0);
    case print_version: std::printf("tuvo %s\n", TUVO_VERSION_TEXT); return answered(0);
    case autostart_on: return answered(set_autostart(true));
    case autostart_off: return answered(set_autostart(false));
    case bad_option: std::fprintf(stderr, "tuvo: unknown option '%s' (try --help)\n", line.bad); return 2;
    case run_pet: break;
    }
    // The pet's own connection; FLTK opens its own only when a menu or dialog is shown.
    shell = pick_shell(line.backend);
    if (!shell || !shell->connect()) return 1;
    running = 1;
    if (start_pet(argc, argv))
        while (running) Fl::wait(longest_wait);
    end_pet();
    return 0;
}
