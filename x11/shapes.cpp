// Window shapes: takes the embedded mask sheet and the frame on show, and returns the
// window shaped to exactly the frame's opaque pixels (X Shape extension), from lists of
// rectangles stored for every picture at start (mode 1, one set per scale in use) or
// built on each change of picture (mode 2 and any other mode but 0).
#include <X11/extensions/shape.h>

#include "art_data.h"
#include "held_window.h"
#include "visual.h"
#include "x11.h"

const MaskSheet mask_sheet = {art_mask.bits, art_mask.stride, art_mask.width,
                              art_mask.height, art_sheet_columns, art_mask.inverted};

namespace {

// Every picture's rectangles at one scale: plain images first, then mirrored ones;
// picture p holds rectangles[starts[p]] up to rectangles[starts[p + 1]].
struct StoredShapes {
    int32_t scale;
    std::vector<XRectangle> rectangles;
    std::vector<int32_t> starts;
};

std::vector<StoredShapes> stored;  // mode 1: one set per scale the pet has taken
std::vector<XRectangle> built;     // the frame on show, built at pet_scale

const StoredShapes& stored_for_scale(int32_t scale) {
    for (const StoredShapes& set : stored)
        if (set.scale == scale) return set;
    StoredShapes set = {scale, {}, {}};
    const int32_t count = engine->image_count;
    set.starts.reserve(size_t(2 * count + 1));
    for (int32_t mirrored = 0; mirrored <= 1; ++mirrored)
        for (int32_t image = 0; image < count; ++image) {
            set.starts.push_back(int32_t(set.rectangles.size()));
            outline_rectangles(mask_sheet, image, mirrored, frame_width, frame_height, scale, &set.rectangles);
        }
    set.starts.push_back(int32_t(set.rectangles.size()));
    set.rectangles.shrink_to_fit();
    stored.push_back(std::move(set));
    return stored.back();
}

void build_frame_shape() {
    built.clear();
    outline_rectangles(mask_sheet, shown_image, shown_mirrored, frame_width, frame_height, pet_scale, &built);
}

void give_window_shape(const XRectangle* rectangles, int32_t count) {
    XShapeCombineRectangles(pet_display, pet_window, ShapeBounding, 0, 0, const_cast<XRectangle*>(rectangles),
                            count, ShapeSet, YXBanded);
}

}  // namespace

const std::vector<XRectangle>& frame_rectangles() {
    build_frame_shape();
    return built;
}

void apply_frame_shape() {
    // Held under XWayland the window covers the screen unshaped; its shape comes back
    // when it is let go.
    if (covering) return;
    // Where the compositor shows the whole window whatever its shape (XWayland), the
    // pixels the old shape held and the new one drops would keep the old frame, since
    // the server paints a window only inside its shape: the new picture, see-through
    // beside the cat, goes over the old shape first, and the new shape's growth gets it
    // when the shape changes.
    if (!root_holds_screen) XClearWindow(pet_display, pet_window);
    if (display_mode == display_stored) {
        const StoredShapes& set = stored_for_scale(pet_scale);
        const int32_t picture = shown_mirrored * engine->image_count + shown_image;
        const int32_t first = set.starts[size_t(picture)];
        // A picture without opaque pixels leaves the window empty.
        give_window_shape(set.rectangles.data() + first, set.starts[size_t(picture) + 1] - first);
        return;
    }
    build_frame_shape();
    // Nothing opaque: the window keeps the shape it has.
    if (!built.empty()) give_window_shape(built.data(), int32_t(built.size()));
}

int apply_first_shape() {
    int event_base = 0, error_base = 0;
    if (display_mode != display_blended && !XShapeQueryExtension(pet_display, &event_base, &error_base)) {
        halt_with_warning("Fail to shape the window: the X server has no SHAPE extension");
        return 0;
    }
    switch (display_mode) {
    case display_blended:
        // A plain square; still unmapped, the snapshot shows the desktop without the pet.
        // Without a snapshot, the frame shows over see-through pixels.
        if (blended_over_snapshot) take_snapshot();
        return 1;
    case display_stored:
    case display_built:
        apply_frame_shape();
        return 1;
    default:
        return 1;  // unshaped until the first change of picture
    }
}

void release_shapes() {
    stored.clear();
    stored.shrink_to_fit();
    built.clear();
    built.shrink_to_fit();
}
