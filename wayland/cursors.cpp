// The pointer's cursors over the pet: takes our two hand pictures and the pet's output's
// scale, and returns a cursor surface for each, the picture enlarged to the output's whole
// scale (each of its pixels a solid square) and shown at that buffer scale, crisp.
#include <sys/mman.h>
#include <unistd.h>

#include "wayland.h"

namespace {

// Cursor pictures at one scale.
struct CursorPicture {
    wl_surface* surface;
    wl_buffer* buffer;
    void* pixels;
    size_t bytes;
};
CursorPicture open_hand = {}, grab_hand = {};
int32_t cursor_scale = 0;

void free_cursor(CursorPicture& c) {
    if (c.buffer) wl_buffer_destroy(c.buffer);
    if (c.pixels) munmap(c.pixels, c.bytes);
    if (c.surface) wl_surface_destroy(c.surface);
    c = {};
}

bool make_cursor(const ArtCursor& art, int32_t scale, CursorPicture* c) {
    const int32_t side = art_cursor_size * scale;
    const size_t bytes = size_t(side) * size_t(side) * 4;
    const int fd = memfd_create("tuvo-cursor", MFD_CLOEXEC);
    if (fd < 0) return false;
    void* pixels = ftruncate(fd, off_t(bytes)) == 0 ? mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0)
                                                    : MAP_FAILED;
    if (pixels == MAP_FAILED) {
        close(fd);
        return false;
    }
    cursor_argb(art, scale, static_cast<uint32_t*>(pixels));
    wl_shm_pool* pool = wl_shm_create_pool(wl.shm, fd, int32_t(bytes));
    c->buffer = wl_shm_pool_create_buffer(pool, 0, side, side, side * 4, WL_SHM_FORMAT_ARGB8888);
    wl_shm_pool_destroy(pool);
    close(fd);
    c->pixels = pixels;
    c->bytes = bytes;
    // The picture never changes: the compositor may keep the buffer as long as it likes.
    c->surface = wl_compositor_create_surface(wl.compositor);
    wl_surface_set_buffer_scale(c->surface, scale);
    wl_surface_attach(c->surface, c->buffer, 0, 0);
    wl_surface_damage_buffer(c->surface, 0, 0, side, side);
    wl_surface_commit(c->surface);
    return true;
}

// The cursors at the pet's output's scale (whole: a cursor surface takes buffer scales).
bool cursors_at_output_scale() {
    const PetOutput* o = pet_output();
    const int32_t scale120 = o ? o->place.scale120 : scale_unit;
    const int32_t scale = (scale120 + scale_unit - 1) / scale_unit;
    if (scale == cursor_scale && open_hand.surface) return true;
    free_cursor(open_hand);
    free_cursor(grab_hand);
    cursor_scale = scale;
    return make_cursor(art_hand_open, scale, &open_hand) && make_cursor(art_hand_grab, scale, &grab_hand);
}

}  // namespace

bool make_pointer_cursors() { return cursors_at_output_scale(); }

wl_surface* cursor_surface(bool held) {
    if (!cursors_at_output_scale()) return nullptr;
    return held ? grab_hand.surface : open_hand.surface;
}

void release_cursors() {
    free_cursor(open_hand);
    free_cursor(grab_hand);
    cursor_scale = 0;
}
