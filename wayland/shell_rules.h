// The Wayland pet shell's rules that need no compositor: takes the outputs' logical places,
// sizes and scales, pointer positions, pictures and the buffers' states, and returns the
// device-space layout the shared pet side lives in, the conversions between it and the
// compositor's logical coordinates, surface sizes, the buffer to draw in, damage and the
// cursors' pixels.
#pragma once

#include <cstdint>
#include <vector>

#include <X11/Xlib.h>

#include "art_data.h"
#include "desktop.h"

// Scales in 120ths, as the compositor's fractional scales are counted: 120 is 1, 180 is 1.5.
constexpr int32_t scale_unit = 120;

// One output as the compositor describes it: its place and size in the logical layout, its
// size in device pixels and its scale.
struct OutputPlace {
    int32_t x, y;           // logical
    int32_t width, height;  // logical
    int32_t device_width, device_height;
    int32_t scale120;
    char name[monitor_name_size];
};

// The scale an output's two sizes show: device pixels per logical pixel in 120ths, rounded
// to the nearest (the compositor rounds the logical size it tells); 120 when unknown.
int32_t scale_from_sizes(int32_t device, int32_t logical);

// --- device space ----------------------------------------------------------------------
// The shared pet side counts in one plane of whole device pixels. Each output stands in it
// at its logical origin times |factor| (the largest scale rounded up), sized by its own
// device pixels: rectangles never overlap, and where every output has the same whole scale
// the plane is exactly the desktop in device pixels.
int32_t device_factor(const OutputPlace* outputs, int32_t count);
ScreenRect device_rect(const OutputPlace& output, int32_t factor);
// The layout the pet side reads: each output's device rectangle, name and DPI (96 x its
// scale); the primary is the first output. No output at all: one 1 x 1 monitor, so that
// the pet side always has a world (the pet waits there for an output to come).
MonitorLayout device_layout(const OutputPlace* outputs, int32_t count, ScreenRect fallback);

// Index of the output holding the logical point (x, y), else the nearest; -1 without any.
int32_t output_at(const OutputPlace* outputs, int32_t count, double x, double y);
// The logical point (x, y) in device space, through |output| (its place and scale; a point
// outside it goes on at the same scale), rounded down.
ScreenPoint logical_to_device(const OutputPlace& output, int32_t factor, double x, double y);
// A device point as logical pixels from output's top-left corner (rounded down): where a
// surface anchored there must stand to show it.
ScreenPoint device_to_logical_offset(const OutputPlace& output, int32_t factor, ScreenPoint point);
// The closest point to (x, y) on any output, as the compositor keeps its pointer there.
void clamp_to_outputs(const OutputPlace* outputs, int32_t count, double* x, double* y);

// A length of device pixels in logical pixels on an output of |scale120|, rounded down or
// up; and logical pixels (fractional) in device pixels, rounded down.
int32_t logical_floor(int32_t device, int32_t scale120);
int32_t logical_ceil(int32_t device, int32_t scale120);
int32_t device_floor(double logical, int32_t scale120);

// --- surfaces --------------------------------------------------------------------------
// A square surface for a picture |side| device pixels wide: its logical side, the smallest
// that holds the picture and whose device size is a whole number of pixels, and that
// device size (the buffer's side; the picture at its top-left corner, the rest clear).
// Only then is each buffer pixel one device pixel wherever the surface stands.
struct SurfaceSize {
    int32_t logical;
    int32_t device;
};
SurfaceSize surface_size(int32_t side, int32_t scale120);
// Rectangles of pet pixels (outline_rectangles at scale 1), each pet pixel |pet_scale|
// device pixels, as surface-local logical rectangles on an output of |scale120|, each grown
// to whole logical pixels: x, y, width, height, four numbers a rectangle.
void logical_rectangles(const std::vector<XRectangle>& rects, int32_t pet_scale, int32_t scale120,
                        std::vector<int32_t>* out);

// --- buffers ---------------------------------------------------------------------------
struct BufferState {
    int32_t side;  // device pixels; 0 while not made
    int32_t busy;  // the compositor holds it (attached, not released yet)
};
// The buffer to draw the next picture in, |side| device pixels square: a free one of that
// side, else a free one to make anew at that side; -1 when the compositor holds them all.
int32_t pick_buffer(const BufferState* buffers, int32_t count, int32_t side);

// The smallest box of pet pixels where two pictures of |sheet| (cells of |cell| pixels,
// |columns| across; image, mirrored) differ; empty (right <= left) when they are the same.
ScreenRect changed_pixels(const ArtIndexedPicture& sheet, int32_t columns, int32_t cell, int32_t image_a,
                          int32_t mirrored_a, int32_t image_b, int32_t mirrored_b);

// The sheet's colours as premultiplied ARGB words, the key colour clear.
void argb_colour_table(const ArtIndexedPicture& sheet, uint8_t key_index, unsigned long* table);

// --- cursors ---------------------------------------------------------------------------
// |cursor| as ARGB words, art_cursor_size x |scale| pixels square, each of its pixels a
// |scale| square: white, black or clear.
void cursor_argb(const ArtCursor& cursor, int32_t scale, uint32_t* out);
