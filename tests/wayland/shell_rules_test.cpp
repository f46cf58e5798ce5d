// The Wayland pet shell's rules over cases: outputs into device space and back, the sizes
// that keep a picture crisp at whole and fractional scales, input regions, the buffer to
// draw in, damage between pictures, and the colours and cursors as ARGB.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "shell_rules.h"

namespace {

OutputPlace output(const char* name, int32_t x, int32_t y, int32_t w, int32_t h, int32_t scale120) {
    OutputPlace o = {};
    o.x = x, o.y = y, o.width = w, o.height = h;
    o.device_width = int32_t(int64_t{w} * scale120 / scale_unit);
    o.device_height = int32_t(int64_t{h} * scale120 / scale_unit);
    o.scale120 = scale120;
    std::snprintf(o.name, monitor_name_size, "%s", name);
    return o;
}

bool overlap(ScreenRect a, ScreenRect b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

constexpr ScreenRect fallback = {0, 0, 1024, 768};

TEST(DeviceSpace, OutputsOfOneWholeScaleMakeTheDesktopInDevicePixels) {
    const OutputPlace outputs[] = {output("A", 0, 0, 640, 400, 240), output("B", 640, 0, 640, 400, 240)};
    const MonitorLayout layout = device_layout(outputs, 2, fallback);
    ASSERT_EQ(layout.count, 2);
    EXPECT_EQ(layout.primary, 0);
    EXPECT_TRUE(same_rect(layout.monitors[0], {0, 0, 1280, 800}));
    EXPECT_TRUE(same_rect(layout.monitors[1], {1280, 0, 2560, 800}));
    EXPECT_EQ(layout.dpis[0], 192);
    EXPECT_STREQ(layout.names[1], "B");
}

TEST(DeviceSpace, MixedScalesStandApartWithoutOverlapEachAtItsOwnDpi) {
    // A scale 1 output, a scale 2 one to its right and a 1.5 one below.
    const OutputPlace outputs[] = {output("HDMI-1", 0, 0, 1280, 800, 120), output("eDP-1", 1280, 0, 640, 400, 240),
                                   output("DP-2", 0, 800, 1280, 800, 180)};
    EXPECT_EQ(device_factor(outputs, 3), 2);
    const MonitorLayout layout = device_layout(outputs, 3, fallback);
    ASSERT_EQ(layout.count, 3);
    EXPECT_TRUE(same_rect(layout.monitors[0], {0, 0, 1280, 800}));
    EXPECT_TRUE(same_rect(layout.monitors[1], {2560, 0, 3840, 800}));
    EXPECT_TRUE(same_rect(layout.monitors[2], {0, 1600, 1920, 2800}));
    EXPECT_EQ(layout.dpis[0], 96);
    EXPECT_EQ(layout.dpis[1], 192);
    EXPECT_EQ(layout.dpis[2], 144);
    for (int32_t i = 0; i < 3; ++i)
        for (int32_t j = i + 1; j < 3; ++j) EXPECT_FALSE(overlap(layout.monitors[i], layout.monitors[j])) << i << j;
    // The shared Scale rule on each: 1, 2, and 1.5 rounded to 2.
    EXPECT_EQ(scale_for_monitor(0, layout.dpis[0], layout.monitors[0]), 1);
    EXPECT_EQ(scale_for_monitor(0, layout.dpis[1], layout.monitors[1]), 2);
    EXPECT_EQ(scale_for_monitor(0, layout.dpis[2], layout.monitors[2]), 2);
}

TEST(DeviceSpace, WithoutOutputsThePetWaitsOnAStandInMonitor) {
    const MonitorLayout layout = device_layout(nullptr, 0, fallback);
    ASSERT_EQ(layout.count, 1);
    EXPECT_TRUE(same_rect(layout.monitors[0], fallback));
    EXPECT_EQ(layout.dpis[0], default_dpi);
}

TEST(DeviceSpace, ScalesFromTheSizesTheCompositorRounds) {
    EXPECT_EQ(scale_from_sizes(1280, 1280), 120);
    EXPECT_EQ(scale_from_sizes(1280, 640), 240);
    EXPECT_EQ(scale_from_sizes(1280, 853), 180);   // 1.5
    EXPECT_EQ(scale_from_sizes(1280, 1024), 150);  // 1.25
    EXPECT_EQ(scale_from_sizes(1280, 731), 210);   // 1.75
    EXPECT_EQ(scale_from_sizes(3840, 1280), 360);
    EXPECT_EQ(scale_from_sizes(0, 100), 120);
    EXPECT_EQ(scale_from_sizes(100, 0), 120);
}

TEST(DeviceSpace, PointsGoToDevicePixelsThroughTheirOutputAndComeBackAsItsLogicalOffsets) {
    const OutputPlace outputs[] = {output("A", 0, 0, 1280, 800, 120), output("B", 1280, 0, 640, 400, 240),
                                   output("C", 0, 800, 1280, 800, 180)};
    const int32_t factor = device_factor(outputs, 3);
    EXPECT_EQ(output_at(outputs, 3, 1300.5, 10.25), 1);
    EXPECT_EQ(output_at(outputs, 3, 5000, 10), 1);   // nearest
    EXPECT_EQ(output_at(outputs, 3, 1500, 450), 1);  // below B, nearer B than A
    EXPECT_EQ(output_at(nullptr, 0, 0, 0), -1);
    const ScreenPoint on_b = logical_to_device(outputs[1], factor, 1300.5, 10.25);
    EXPECT_EQ(on_b.x, 2560 + 41);
    EXPECT_EQ(on_b.y, 20);
    const ScreenPoint offset = device_to_logical_offset(outputs[1], factor, on_b);
    EXPECT_EQ(offset.x, 20);
    EXPECT_EQ(offset.y, 10);
    const ScreenPoint on_c = logical_to_device(outputs[2], factor, 100, 900);
    EXPECT_EQ(on_c.x, 150);
    EXPECT_EQ(on_c.y, 1600 + 150);
    // Every device pixel's logical offset maps back onto that pixel or just before it.
    for (int32_t d = 0; d < 600; ++d) {
        const ScreenPoint back = device_to_logical_offset(outputs[2], factor, {d, 1600 + d});
        const ScreenPoint again = logical_to_device(outputs[2], factor, back.x, 800 + back.y);
        EXPECT_LE(again.x, d);
        EXPECT_GT(again.x + 2, d);
    }
}

TEST(DeviceSpace, ThePointerIsKeptOnTheOutputsAsTheCompositorKeepsIt) {
    const OutputPlace outputs[] = {output("A", 0, 0, 1280, 800, 120), output("B", 1280, 0, 640, 400, 240)};
    double x = 2000, y = -30;
    clamp_to_outputs(outputs, 2, &x, &y);
    EXPECT_EQ(x, 1919);
    EXPECT_EQ(y, 0);
    x = 1500, y = 600;  // below B: the nearest output is B
    clamp_to_outputs(outputs, 2, &x, &y);
    EXPECT_EQ(x, 1500);
    EXPECT_EQ(y, 399);
    x = 600.5, y = 300.25;  // on A: untouched
    clamp_to_outputs(outputs, 2, &x, &y);
    EXPECT_EQ(x, 600.5);
    EXPECT_EQ(y, 300.25);
}

TEST(SurfaceSize, EveryBufferPixelIsOneDevicePixelAtWholeAndFractionalScales) {
    const struct {
        int32_t side, scale120, logical, device;
    } cases[] = {
        {50, 120, 50, 50},    {100, 240, 50, 100}, {150, 360, 50, 150},  // Scale=0 on 1, 2, 3
        {50, 240, 25, 50},    {150, 240, 75, 150},                       // Scale=1 and 3 on 2
        {50, 360, 17, 51},                                               // Scale=1 on 3: a clear column
        {100, 180, 68, 102},  {50, 150, 40, 50},   {100, 210, 60, 105},  // 1.5, 1.25, 1.75
    };
    for (const auto& c : cases) {
        const SurfaceSize size = surface_size(c.side, c.scale120);
        EXPECT_EQ(size.logical, c.logical) << c.side << " at " << c.scale120;
        EXPECT_EQ(size.device, c.device) << c.side << " at " << c.scale120;
    }
    for (int32_t scale120 = 120; scale120 <= 480; scale120 += 15)
        for (int32_t side = 50; side <= 400; side += 50) {
            const SurfaceSize size = surface_size(side, scale120);
            EXPECT_EQ(int64_t{size.logical} * scale120 % scale_unit, 0) << side << " at " << scale120;
            EXPECT_EQ(int64_t{size.logical} * scale120 / scale_unit, size.device);
            EXPECT_GE(size.device, side);
            EXPECT_LT(size.device - side, 8 * scale120 / scale_unit + 1) << side << " at " << scale120;
        }
}

TEST(SurfaceSize, InputRectanglesCoverTheirDevicePixelsInWholeLogicalPixels) {
    const std::vector<XRectangle> rects = {{1, 2, 3, 4}, {10, 0, 1, 1}};
    std::vector<int32_t> out;
    logical_rectangles(rects, 2, 240, &out);  // pet pixels are logical pixels
    EXPECT_EQ(out, (std::vector<int32_t>{1, 2, 3, 4, 10, 0, 1, 1}));
    out.clear();
    logical_rectangles(rects, 1, 240, &out);  // half a logical pixel each: grown outwards
    EXPECT_EQ(out, (std::vector<int32_t>{0, 1, 2, 2, 5, 0, 1, 1}));
    out.clear();
    logical_rectangles(rects, 2, 180, &out);  // device 2..8 x 4..12 at 1.5
    EXPECT_EQ(out, (std::vector<int32_t>{1, 2, 5, 6, 13, 0, 2, 2}));
}

TEST(Buffers, AFreeBufferOfTheSizeFirstThenAFreeOneToMakeAnewNeverOneTheCompositorHolds) {
    BufferState buffers[3] = {{100, 1}, {50, 0}, {100, 0}};
    EXPECT_EQ(pick_buffer(buffers, 3, 100), 2);
    EXPECT_EQ(pick_buffer(buffers, 3, 50), 1);
    EXPECT_EQ(pick_buffer(buffers, 3, 150), 1);  // the first free, made anew
    buffers[2].busy = 1;
    EXPECT_EQ(pick_buffer(buffers, 3, 100), 1);
    buffers[1].busy = 1;
    EXPECT_EQ(pick_buffer(buffers, 3, 100), -1);
    BufferState unmade[2] = {{0, 0}, {0, 0}};
    EXPECT_EQ(pick_buffer(unmade, 2, 50), 0);
}

TEST(Damage, OnlyThePixelsWherePicturesDifferAndNoneForTheSamePicture) {
    const int32_t count = art_sheet_columns * (art_sheet_height / art_cell_size);
    int32_t differing = 0;
    for (int32_t image = 0; image < count; ++image) {
        const ScreenRect same = changed_pixels(art_sprites, art_sheet_columns, art_cell_size, image, 0, image, 0);
        EXPECT_LE(same.right, same.left) << image;
        // A picture and its mirror differ symmetrically about the middle.
        const ScreenRect mirror = changed_pixels(art_sprites, art_sheet_columns, art_cell_size, image, 0, image, 1);
        if (mirror.right > mirror.left) {
            ++differing;
            EXPECT_EQ(mirror.left, art_cell_size - mirror.right) << image;
        }
    }
    EXPECT_GT(differing, count / 2);
    // Two walking frames differ somewhere inside the cell, not everywhere.
    const ScreenRect walk = changed_pixels(art_sprites, art_sheet_columns, art_cell_size, 0, 0, 1, 0);
    EXPECT_GT(walk.right, walk.left);
    EXPECT_GE(walk.left, 0);
    EXPECT_LE(walk.right, art_cell_size);
}

TEST(Colours, TheCatOpaqueInItsColoursAndTheKeyColourClear) {
    unsigned long table[art_sheet_colours] = {};
    argb_colour_table(art_sprites, art_key_index, table);
    for (int32_t i = 0; i < art_sprites.colour_count; ++i) {
        const ArtRgb c = art_sprites.colours[i];
        if (i == art_key_index) {
            EXPECT_EQ(table[i], 0ul);
        } else {
            EXPECT_EQ(table[i], 0xFF000000ul | (unsigned long)c.r << 16 | (unsigned long)c.g << 8 | c.b) << i;
        }
    }
}

TEST(Cursors, EachCursorPixelASolidSquareOfWhiteBlackOrClear) {
    for (const ArtCursor* cursor : {&art_hand_open, &art_hand_grab}) {
        std::vector<uint32_t> one(art_cursor_size * art_cursor_size), three(9 * one.size());
        cursor_argb(*cursor, 1, one.data());
        cursor_argb(*cursor, 3, three.data());
        int32_t white = 0, black = 0;
        for (int32_t y = 0; y < cursor->height; ++y)
            for (int32_t x = 0; x < cursor->width; ++x) {
                const size_t i = size_t(y) * size_t(cursor->width) + size_t(x);
                const uint32_t want = cursor->transparent[i] ? 0u : cursor->pixels[i] == 1 ? 0xFFFFFFFFu : 0xFF000000u;
                EXPECT_EQ(one[size_t(y) * art_cursor_size + size_t(x)], want);
                white += want == 0xFFFFFFFFu;
                black += want == 0xFF000000u;
                for (int32_t j = 0; j < 3; ++j)
                    for (int32_t k = 0; k < 3; ++k)
                        EXPECT_EQ(three[size_t(3 * y + j) * 3 * art_cursor_size + size_t(3 * x + k)], want);
            }
        EXPECT_GT(white, 0);
        EXPECT_GT(black, 0);
    }
}

}  // namespace
