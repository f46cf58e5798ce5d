// The pet's buffers: takes the frame on show, the pet's scale and its output's, and
// returns the picture in a shared-memory ARGB buffer, each pet pixel a solid square of
// device pixels, clear elsewhere. A few buffers are reused; one the compositor still holds
// is never drawn into, and a picture waits for one to be released.
#include <sys/mman.h>
#include <unistd.h>

#include <cstring>

#include "wayland.h"

PetBuffer buffers[buffer_count] = {};
int32_t drawn_buffer = -1;
int32_t drawn_image = 0;
int32_t drawn_mirrored = 0;
int32_t picture_waiting = 0;

namespace {

constexpr const char* no_bitmap = "Insufficient memory to create bitmap image";

unsigned long colour_table[art_sheet_colours] = {};

void on_release(void* data, wl_buffer*) {
    PetBuffer& b = buffers[reinterpret_cast<intptr_t>(data)];
    b.state.busy = 0;
}

const wl_buffer_listener buffer_listener = {on_release};

void free_buffer(PetBuffer& b) {
    if (b.buffer) wl_buffer_destroy(b.buffer);
    if (b.pixels) munmap(b.pixels, b.bytes);
    b = {};
}

// Buffer |index| anew at |side| device pixels square, every pixel clear.
bool make_buffer(int32_t index, int32_t side) {
    PetBuffer& b = buffers[index];
    free_buffer(b);
    const size_t bytes = size_t(side) * size_t(side) * 4;
    const int fd = memfd_create("tuvo-pet", MFD_CLOEXEC);
    if (fd < 0) return false;
    if (ftruncate(fd, off_t(bytes)) != 0) {
        close(fd);
        return false;
    }
    void* pixels = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (pixels == MAP_FAILED) {
        close(fd);
        return false;
    }
    wl_shm_pool* pool = wl_shm_create_pool(wl.shm, fd, int32_t(bytes));
    b.buffer = wl_shm_pool_create_buffer(pool, 0, side, side, side * 4, WL_SHM_FORMAT_ARGB8888);
    wl_shm_pool_destroy(pool);
    close(fd);
    wl_buffer_add_listener(b.buffer, &buffer_listener, reinterpret_cast<void*>(intptr_t(index)));
    b.pixels = static_cast<uint32_t*>(pixels);
    b.bytes = bytes;
    b.state = {side, 0};
    return true;
}

int32_t picture_side() {
    const PetOutput* o = pet_output();
    return surface_size(window_width, o ? o->place.scale120 : scale_unit).device;
}

}  // namespace

bool init_buffers() {
    argb_colour_table(art_sprites, art_key_index, colour_table);
    return true;
}

void draw_picture() {
    const int32_t side = picture_side();
    BufferState states[buffer_count];
    for (int32_t i = 0; i < buffer_count; ++i) states[i] = buffers[i].state;
    const int32_t index = pick_buffer(states, buffer_count, side);
    if (index < 0) {
        picture_waiting = 1;  // drawn when the compositor lets one go
        return;
    }
    PetBuffer& b = buffers[index];
    if (b.state.side != side && !make_buffer(index, side)) {
        halt_with_warning(no_bitmap);
        return;
    }
    // Beyond the picture the buffer stays clear; a picture of another scale may have left
    // pixels there.
    if (b.scale != pet_scale) std::memset(b.pixels, 0, b.bytes);
    b.scale = pet_scale;
    cut_frame_words(art_sprites, art_sheet_columns, art_cell_size, shown_image, shown_mirrored, pet_scale,
                    colour_table, reinterpret_cast<char*>(b.pixels), size_t(side) * 4);
    drawn_buffer = index;
    drawn_image = shown_image;
    drawn_mirrored = shown_mirrored;
    picture_waiting = 0;
}

void release_buffers() {
    for (PetBuffer& b : buffers) free_buffer(b);
    drawn_buffer = -1;
    picture_waiting = 0;
}
