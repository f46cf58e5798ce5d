// A stand-in for the menu and dialogs' side while it is not in the tree: takes the pet's
// calls and reports them on stderr; the menu answers with the command named in
// TUVO_STUB_MENU (continue, options, about, exit), else with none. Not in the real program.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "x11.h"

int32_t pick_menu_command(int32_t x, int32_t y, int32_t scale) {
    std::fprintf(stderr, "stub: menu at %d,%d scale %d\n", int(x), int(y), int(scale));
    const char* choice = std::getenv("TUVO_STUB_MENU");
    if (!choice) return command_none;
    const struct {
        const char* name;
        int32_t command;
    } commands[] = {{"continue", command_continue},
                    {"options", command_options},
                    {"about", command_about},
                    {"exit", command_exit}};
    for (const auto& c : commands)
        if (std::strcmp(choice, c.name) == 0) return c.command;
    return command_none;
}

void open_options_dialog() { std::fprintf(stderr, "stub: options\n"); }
void open_about_dialog() { std::fprintf(stderr, "stub: about\n"); }
void close_dialogs() {}

void show_box(const char* text, BoxIcon icon) {
    std::fprintf(stderr, "stub: box (%s): %s\n", icon == box_error ? "error" : "warning", text);
}
