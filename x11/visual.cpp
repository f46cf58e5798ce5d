// The pet window's visual: takes the display mode and what the server offers, and returns
// a 32-bit ARGB visual with a colour map of its own where the server has one (its alpha
// lets only the cat show), else the default visual, and whether the root shows the screen.
#include "visual.h"

#include <X11/Xutil.h>
#include <X11/extensions/Xrandr.h>

#include <cstring>

#include "x11.h"

Visual* pet_visual = nullptr;
int32_t pet_depth = 0;
Colormap pet_colormap = None;
int32_t see_through = 0;
int32_t root_holds_screen = 1;
int32_t blended_over_snapshot = 0;

namespace {

bool own_colormap = false;

// RandR outputs that XWayland made for the compositor's outputs, named XWAYLAND0,
// XWAYLAND1 and so on before XWayland had an extension of its own (Debian 12's 22.1).
bool outputs_of_xwayland() {
    int event_base = 0, error_base = 0;
    if (!XRRQueryExtension(pet_display, &event_base, &error_base)) return false;
    XRRScreenResources* resources = XRRGetScreenResourcesCurrent(pet_display, DefaultRootWindow(pet_display));
    if (!resources) return false;
    bool named = false;
    for (int i = 0; i < resources->noutput && !named; ++i) {
        XRROutputInfo* output = XRRGetOutputInfo(pet_display, resources, resources->outputs[i]);
        if (!output) continue;
        named = output->name && std::strncmp(output->name, "XWAYLAND", 8) == 0;
        XRRFreeOutputInfo(output);
    }
    XRRFreeScreenResources(resources);
    return named;
}

// XWayland's root window holds only X's own windows, never the Wayland desktop around
// them. Newer XWayland servers announce themselves with an extension of their name.
bool server_is_xwayland() {
    int opcode = 0, event = 0, error = 0;
    return XQueryExtension(pet_display, "XWAYLAND", &opcode, &event, &error) || outputs_of_xwayland();
}

}  // namespace

void choose_visual() {
    const int screen = DefaultScreen(pet_display);
    root_holds_screen = server_is_xwayland() ? 0 : 1;
    blended_over_snapshot = display_mode == display_blended && root_holds_screen;
    pet_visual = DefaultVisual(pet_display, screen);
    pet_depth = DefaultDepth(pet_display, screen);
    pet_colormap = DefaultColormap(pet_display, screen);
    see_through = 0;
    // Mode 0 over a snapshot copies the root's pixels, which needs the root's depth.
    if (blended_over_snapshot) return;
    XVisualInfo info = {};
    if (!XMatchVisualInfo(pet_display, screen, 32, TrueColor, &info)) return;
    const Colormap map = XCreateColormap(pet_display, RootWindow(pet_display, screen), info.visual, AllocNone);
    if (!map) return;
    pet_visual = info.visual;
    pet_depth = 32;
    pet_colormap = map;
    own_colormap = true;
    see_through = 1;
}

void release_visual() {
    if (own_colormap) XFreeColormap(pet_display, pet_colormap);
    own_colormap = false;
    pet_colormap = None;
}
