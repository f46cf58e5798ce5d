// The Wayland pet shell, between its own files: the pet's connection to the compositor and
// the globals it binds, the outputs and the device space the pet side counts in, the layer
// surface and its buffers, the pointer and its cursors, and the full-screen toplevels.
// Everything here runs on the pet's own connection; wayland_shell is what the shared pet
// side calls.
#pragma once

#include <wayland-client.h>

#include <vector>

#include "fractional-scale-v1-client-protocol.h"
#include "pet.h"
#include "relative-pointer-unstable-v1-client-protocol.h"
#include "shell_rules.h"
#include "viewporter-client-protocol.h"
#include "wlr-foreign-toplevel-management-unstable-v1-client-protocol.h"
#include "xdg-output-unstable-v1-client-protocol.h"
// The layer shell's generated header names an argument "namespace", a word C++ keeps.
#define namespace layer_namespace
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#undef namespace

extern const PetShell wayland_shell;

// --- the connection (connection.cpp) ---------------------------------------------------
struct Globals {
    wl_display* display;
    wl_registry* registry;
    wl_compositor* compositor;
    wl_shm* shm;
    wl_seat* seat;
    zwlr_layer_shell_v1* layer_shell;
    zxdg_output_manager_v1* output_manager;
    wp_viewporter* viewporter;
    wp_fractional_scale_manager_v1* fractional;
    zwp_relative_pointer_manager_v1* relative;
    // Bound only when the pet watches for full-screen programs: its news is about every
    // window.
    uint32_t toplevels_name, toplevels_version;
};
extern Globals wl;
// Whether WAYLAND_DISPLAY names a compositor the pet can live on: when it does, the
// connection stays open for wayland_shell; nothing is said either way.
bool wayland_offers_layer_shell();
// Connects to the compositor named by the environment and binds its globals; false, after
// saying why, and nothing left open, when there is none, it offers no layer shell, or no
// X display is there for the menu and dialogs.
bool open_connection();
void close_connection();
// The compositor went away, or refused a request: the pet cannot go on.
[[noreturn]] void lost_compositor();
int wayland_connection();
// Every event the connection holds handled; with |read|, those on its socket read first.
// Without, the next read is prepared for FLTK's wait.
void take_wayland_events(bool read);
void flush_wayland();

// --- outputs (outputs.cpp) -------------------------------------------------------------
struct PetOutput {
    uint32_t name;  // the registry's
    wl_output* output;
    zxdg_output_v1* xdg;
    int32_t done;  // described at least once
    OutputPlace place;
    // What the compositor told, put together on each done.
    int32_t geometry_x, geometry_y, transform, mode_width, mode_height, whole_scale;
    int32_t logical_x, logical_y, logical_width, logical_height, have_logical;
    int32_t preferred120;  // the pet's surface's preferred scale there, 0 unknown
};
extern std::vector<PetOutput*> outputs;
void add_output(uint32_t name, uint32_t version);
void remove_output(uint32_t name);
// The outputs in device space, as the shared side reads them; no round trip.
MonitorLayout read_output_layout();
// From now on a change of the outputs is noted for the loop (layout_changed).
void watch_outputs();
// The output the pet lives on (its world's monitor), or null while there is none.
PetOutput* pet_output();
int32_t device_space_factor();
// A logical point of the compositor's layout in device space.
ScreenPoint to_device_space(double x, double y);
// The logical places of the shown outputs, in the order of the layout.
const std::vector<OutputPlace>& output_places();
// The menu and dialogs' screen (XWayland's root, the compositor's logical layout).
ScreenPoint xwayland_point(ScreenPoint point);
int32_t xwayland_scale();
// The pet's surface reports the scale the compositor prefers for it on its output.
void note_preferred_scale(PetOutput* output, int32_t scale120);

// --- the layer surface (surface.cpp) ---------------------------------------------------
struct PetSurface {
    wl_surface* surface;
    zwlr_layer_surface_v1* layer;
    wp_viewport* viewport;
    wp_fractional_scale_v1* fractional;
    PetOutput* output;
    int32_t configured;  // the compositor's first configure acknowledged
    int32_t mapped;      // a buffer attached since
    // As last committed: logical place on its output and size, the buffer's scale and the
    // output scale the size was worked out for.
    int32_t margin_left, margin_top, logical_side, buffer_scale, scale120;
    int32_t buffer;  // the buffer shown, -1 none
    int32_t image, mirrored;  // the picture it holds
};
extern PetSurface pet_surface;
// The surface the pointer was pressed on, while held, when the pet has since moved to a
// surface on another output: kept, empty and clear, so that the compositor goes on
// sending it the drag until the release.
extern PetSurface held_surface;
// The pet's surface on the pet's output, unmapped until the compositor configures it.
bool make_pet_surface();
// The pet shown from now on (its surface mapped once configured), hidden for a
// full-screen program, and back.
void show_pet_surface();
void hide_pet_surface();
void show_pet_surface_again();
void drop_surface(PetSurface* s);
// The pet at its place with the picture drawn last: everything that changed, one commit.
void present_pet(bool picture_changed);
// The held surface after the release: it goes.
void let_held_surface_go();
// Where the pet's surface stands on the layout, logical.
void surface_origin(const PetSurface& s, double* x, double* y);
void set_input_shape();
void release_regions();

// --- the trail (trail.cpp) -------------------------------------------------------------
// A clear surface that follows the pet's surface one move behind on outputs away from the
// layout's origin, where a compositor may not repaint what a moved surface left.
void make_trail(PetOutput* output);
// The pet's surface stood at (left, top), |side| logical pixels square, before its move.
void sweep_behind(int32_t left, int32_t top, int32_t side);
void drop_trail();
void release_trail();

// --- buffers (buffers.cpp) -------------------------------------------------------------
constexpr int32_t buffer_count = 4;
struct PetBuffer {
    wl_buffer* buffer;
    uint32_t* pixels;
    size_t bytes;
    int32_t scale;  // the pet scale of the picture in it
    BufferState state;
};
extern PetBuffer buffers[buffer_count];
// The buffer holding the picture drawn last (-1 none), and which picture that is.
extern int32_t drawn_buffer;
extern int32_t drawn_image, drawn_mirrored;
// A picture waits for a buffer the compositor still holds.
extern int32_t picture_waiting;
bool init_buffers();
// The frame on show into a free buffer at the size of the pet's surface.
void draw_picture();
void release_buffers();

// --- the pointer (pointer.cpp) ---------------------------------------------------------
void bind_seat(wl_registry* registry, uint32_t name, uint32_t version);
// Takes the presses, releases and moves noted while the compositor's events were read.
void take_pointer_notes();
// The pointer's cursor: the grabbing hand while held.
void show_cursor(bool held);
// True while the left button pressed on |surface| is down.
bool pointer_held_on(wl_surface* surface);
// Where the pointer is as far as we know (no round trip), in device space.
ScreenPoint pointer_in_device_space();
// A surface goes: the pointer is no longer on it.
void forget_surface(wl_surface* surface);
void release_pointer_objects();

// --- cursors (cursors.cpp) -------------------------------------------------------------
bool make_pointer_cursors();
// The open or the grabbing hand at the pet's output's scale; null when it cannot be made.
wl_surface* cursor_surface(bool held);
void release_cursors();

// --- full-screen programs (toplevels.cpp) ----------------------------------------------
void watch_toplevels();
void toplevels_world_changed();
void settle_toplevels();
void release_toplevels();
