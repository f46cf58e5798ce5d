// Full-screen courtesy on Wayland: takes the compositor's list of toplevel windows (their
// states and the outputs they are on), and returns the judgement whether an activated
// full-screen one is on the pet's output, for the shared pet side to step aside by.
// Driven by the compositor's news; without the foreign-toplevel protocol nothing happens.
#include <algorithm>
#include <cstring>

#include "wayland.h"

namespace {

struct Toplevel {
    zwlr_foreign_toplevel_handle_v1* handle;
    int32_t activated, fullscreen;                  // as of the last done
    int32_t pending_activated, pending_fullscreen;  // since
    std::vector<wl_output*> outputs;
};

zwlr_foreign_toplevel_manager_v1* manager = nullptr;
std::vector<Toplevel*> toplevels;
bool judge_pending = false;

Toplevel* toplevel_of(void* data) { return static_cast<Toplevel*>(data); }

void on_title(void*, zwlr_foreign_toplevel_handle_v1*, const char*) {}
void on_app_id(void*, zwlr_foreign_toplevel_handle_v1*, const char*) {}

void on_output_enter(void* data, zwlr_foreign_toplevel_handle_v1*, wl_output* output) {
    Toplevel* t = toplevel_of(data);
    if (std::find(t->outputs.begin(), t->outputs.end(), output) == t->outputs.end()) t->outputs.push_back(output);
    judge_pending = true;
}

void on_output_leave(void* data, zwlr_foreign_toplevel_handle_v1*, wl_output* output) {
    Toplevel* t = toplevel_of(data);
    t->outputs.erase(std::remove(t->outputs.begin(), t->outputs.end(), output), t->outputs.end());
    judge_pending = true;
}

void on_state(void* data, zwlr_foreign_toplevel_handle_v1*, wl_array* states) {
    Toplevel* t = toplevel_of(data);
    t->pending_activated = t->pending_fullscreen = 0;
    const uint32_t* state = static_cast<const uint32_t*>(states->data);
    for (size_t i = 0; i < states->size / sizeof(uint32_t); ++i) {
        if (state[i] == ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_ACTIVATED) t->pending_activated = 1;
        if (state[i] == ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_FULLSCREEN) t->pending_fullscreen = 1;
    }
}

void on_done(void* data, zwlr_foreign_toplevel_handle_v1*) {
    Toplevel* t = toplevel_of(data);
    t->activated = t->pending_activated;
    t->fullscreen = t->pending_fullscreen;
    judge_pending = true;
}

void forget(Toplevel* t) {
    zwlr_foreign_toplevel_handle_v1_destroy(t->handle);
    toplevels.erase(std::remove(toplevels.begin(), toplevels.end(), t), toplevels.end());
    delete t;
}

void on_closed(void* data, zwlr_foreign_toplevel_handle_v1*) {
    forget(toplevel_of(data));
    judge_pending = true;
}

void on_parent(void*, zwlr_foreign_toplevel_handle_v1*, zwlr_foreign_toplevel_handle_v1*) {}

const zwlr_foreign_toplevel_handle_v1_listener handle_listener = {
    on_title, on_app_id, on_output_enter, on_output_leave, on_state, on_done, on_closed, on_parent};

void on_toplevel(void*, zwlr_foreign_toplevel_manager_v1*, zwlr_foreign_toplevel_handle_v1* handle) {
    Toplevel* t = new Toplevel();
    t->handle = handle;
    toplevels.push_back(t);
    zwlr_foreign_toplevel_handle_v1_add_listener(handle, &handle_listener, t);
}

void on_finished(void*, zwlr_foreign_toplevel_manager_v1*) {
    zwlr_foreign_toplevel_manager_v1_destroy(manager);
    manager = nullptr;
}

const zwlr_foreign_toplevel_manager_v1_listener manager_listener = {on_toplevel, on_finished};

}  // namespace

void watch_toplevels() {
    if (!desktop_settings.fullscreen || !wl.toplevels_name || manager) return;
    const uint32_t version = wl.toplevels_version < 3 ? wl.toplevels_version : 3;
    manager = static_cast<zwlr_foreign_toplevel_manager_v1*>(
        wl_registry_bind(wl.registry, wl.toplevels_name, &zwlr_foreign_toplevel_manager_v1_interface, version));
    zwlr_foreign_toplevel_manager_v1_add_listener(manager, &manager_listener, nullptr);
}

void toplevels_world_changed() {
    if (manager) judge_pending = true;
}

void settle_toplevels() {
    if (!judge_pending) return;
    judge_pending = false;
    const PetOutput* o = pet_output();
    int32_t covered = 0;
    for (const Toplevel* t : toplevels)
        if (o && t->activated && t->fullscreen &&
            std::find(t->outputs.begin(), t->outputs.end(), o->output) != t->outputs.end())
            covered = 1;
    full_screen_covered = covered;
}

void release_toplevels() {
    while (!toplevels.empty()) forget(toplevels.back());
    if (manager) zwlr_foreign_toplevel_manager_v1_destroy(manager);
    manager = nullptr;
}
