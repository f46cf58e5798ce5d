// Where the Linux program's dialogs open: the scale they are built at on a small or
// crowded screen, and their place beside the pet, inside the work area with their frame.
#include <gtest/gtest.h>

#include "ui.h"

namespace {

// The dialogs' client sizes at scale 1 with the face used here (7 x 15 base units).
PixelSize about_at(int32_t s) { return {457 * s, 450 * s}; }
PixelSize options_at(int32_t s) { return {301 * s, 281 * s}; }
PixelSize box_at(int32_t s) { return {420 * s, 100 * s}; }

// Room for a frame with a title bar: at scale 1, and as it is kept at scale 2.
constexpr Margins frame_1 = {32, 6, 6, 6};
constexpr Margins frame_2 = {64, 12, 12, 12};

ScreenRect framed(ScreenPoint at, PixelSize size, Margins frame) {
    return {at.x - frame.left, at.y - frame.top, at.x + size.w + frame.right, at.y + size.h + frame.bottom};
}

bool inside(ScreenRect r, ScreenRect work) {
    return r.left >= work.left && r.top >= work.top && r.right <= work.right && r.bottom <= work.bottom;
}

bool overlap(ScreenRect a, ScreenRect b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

TEST(DialogScale, IsTheLargestAtMostThePetsAtWhichTheDialogAndItsFrameFit) {
    struct Case {
        const char* what;
        SizeAtScale size_at;
        int32_t largest;
        ScreenRect work;
        Margins frame;
        int32_t expected;
    } cases[] = {
        // 1280 x 800 at 192 DPI: the About box would be 914 x 900 at the pet's scale.
        {"About, 1280 x 800", about_at, 2, {0, 0, 1280, 800}, frame_2, 1},
        {"Options, 1280 x 800", options_at, 2, {0, 0, 1280, 800}, frame_2, 2},
        // 1600 x 900 at 144 DPI (scale 2): 900 high leaves no room for the frame.
        {"About, 1600 x 900", about_at, 2, {0, 0, 1600, 900}, frame_2, 1},
        {"Options, 1600 x 900", options_at, 2, {0, 0, 1600, 900}, frame_2, 2},
        {"a box, 1600 x 900", box_at, 2, {0, 0, 1600, 900}, frame_2, 2},
        // A 4K monitor at scale 3 has room for all of them.
        {"About, 3840 x 2160", about_at, 3, {0, 0, 3840, 2160}, {96, 18, 18, 18}, 3},
        // Never larger than the pet, however much room there is.
        {"About, scale 1 on 4K", about_at, 1, {0, 0, 3840, 2160}, frame_1, 1},
        // The work area, not the monitor: a panel takes 40 pixels of a 1920 x 1000 one.
        {"About beside a panel", about_at, 2, {1920, 40, 3840, 1000}, frame_2, 1},
        {"About without it", about_at, 2, {1920, 0, 3840, 1000}, frame_2, 2},
        // The frame's room counts: 900 + 64 + 12 is more than 970, 450 x 2 alone is not.
        {"About, 970 high", about_at, 2, {0, 0, 1280, 970}, frame_2, 1},
        {"About, 976 high", about_at, 2, {0, 0, 1280, 976}, frame_2, 2},
        {"a box, 863 wide", box_at, 2, {0, 0, 863, 1000}, frame_2, 1},  // 840 + 12 + 12
        {"a box, 864 wide", box_at, 2, {0, 0, 864, 1000}, frame_2, 2},
        // Nothing fits: scale 1 all the same.
        {"About, 640 x 480", about_at, 2, {0, 0, 640, 480}, frame_2, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fitting_scale(c.size_at, c.largest, c.work, c.frame), c.expected) << c.what;
}

TEST(DialogPlace, BesideThePetLevelWithItOnTheSideWithMoreRoom) {
    const ScreenRect work = {0, 0, 1024, 768};
    const PixelSize size = options_at(1);
    // Room on the right: the frame's left edge touches the pet's right edge.
    const ScreenRect left_pet = {100, 300, 150, 350};
    const ScreenPoint right_of = beside_pet(size, frame_1, work, left_pet);
    EXPECT_EQ(right_of.x - frame_1.left, 150);
    EXPECT_EQ(right_of.y - frame_1.top, 300);
    // More room on the left: the frame's right edge touches the pet's left edge.
    const ScreenRect right_pet = {700, 300, 750, 350};
    const ScreenPoint left_of = beside_pet(size, frame_1, work, right_pet);
    EXPECT_EQ(left_of.x + size.w + frame_1.right, 700);
    EXPECT_EQ(left_of.y - frame_1.top, 300);
    // A pet on the floor: the dialog stays level with it as far as the work area lets it.
    const ScreenRect floor_pet = {100, 718, 150, 768};
    const ScreenPoint on_floor = beside_pet(size, frame_1, work, floor_pet);
    EXPECT_EQ(on_floor.x - frame_1.left, 150);
    EXPECT_EQ(on_floor.y + size.h + frame_1.bottom, 768);
    // In a work area that starts away from the origin (a second monitor, a panel).
    const ScreenRect second = {1024, 40, 2048, 768};
    const ScreenRect top_pet = {1900, 40, 1950, 90};
    const ScreenPoint there = beside_pet(size, frame_1, second, top_pet);
    EXPECT_EQ(there.x + size.w + frame_1.right, 1900);
    EXPECT_EQ(there.y - frame_1.top, 40);
}

TEST(DialogPlace, AboveOrBelowWhenNeitherSideHasRoomAndOverThePetOnlyWhenNothingHas) {
    // 1280 x 800 at scale 2, the pet in the middle: 590 pixels either side are too few for
    // the Options dialog's 626 with its frame; the floor leaves room above it.
    const ScreenRect work = {0, 0, 1280, 800};
    const PixelSize size = options_at(2);
    const ScreenRect pet = {590, 650, 690, 750};
    const ScreenPoint above = beside_pet(size, frame_2, work, pet);
    EXPECT_EQ(above.y + size.h + frame_2.bottom, 650);
    EXPECT_EQ(above.x - frame_2.left, 590);
    const ScreenRect high_pet = {590, 50, 690, 150};
    const ScreenPoint below = beside_pet(size, frame_2, work, high_pet);
    EXPECT_EQ(below.y - frame_2.top, 150);
    // A pet in the middle of a screen the dialog nearly fills: over it, inside the screen.
    const ScreenRect small = {0, 0, 700, 700};
    const ScreenRect middle_pet = {300, 300, 400, 400};
    const ScreenPoint over = beside_pet(size, frame_2, small, middle_pet);
    EXPECT_TRUE(inside(framed(over, size, frame_2), small));
    EXPECT_TRUE(overlap(framed(over, size, frame_2), middle_pet));
}

TEST(DialogPlace, AnywhereThePetIsTheDialogIsInsideAndOffThePetWhenThereIsRoom) {
    struct Screen {
        ScreenRect work;
        int32_t scale;
    } screens[] = {{{0, 0, 1024, 768}, 1}, {{0, 0, 1280, 800}, 2}, {{0, 0, 1600, 900}, 2}, {{-1280, 24, 0, 1024}, 1}};
    const SizeAtScale sizes[] = {about_at, options_at, box_at};
    for (const Screen& screen : screens) {
        const Margins frame = screen.scale == 1 ? frame_1 : frame_2;
        const int32_t pet_size = 50 * screen.scale;
        for (SizeAtScale size_at : sizes) {
            const PixelSize size = size_at(fitting_scale(size_at, screen.scale, screen.work, frame));
            for (int32_t x = screen.work.left; x + pet_size <= screen.work.right; x += 37)
                for (int32_t y = screen.work.top; y + pet_size <= screen.work.bottom; y += 41) {
                    const ScreenRect pet = {x, y, x + pet_size, y + pet_size};
                    const ScreenPoint at = beside_pet(size, frame, screen.work, pet);
                    const ScreenRect outer = framed(at, size, frame);
                    ASSERT_TRUE(inside(outer, screen.work)) << "pet at " << x << ", " << y;
                    const int32_t w = outer.right - outer.left, h = outer.bottom - outer.top;
                    const bool room = x - screen.work.left >= w || screen.work.right - pet.right >= w ||
                                      y - screen.work.top >= h || screen.work.bottom - pet.bottom >= h;
                    if (room) {
                        ASSERT_FALSE(overlap(outer, pet)) << "pet at " << x << ", " << y;
                    }
                    EXPECT_EQ(clear_of_pet(at, size, frame, screen.work, pet), !overlap(outer, pet));
                }
        }
    }
}

TEST(DialogPlace, ABoxCentredOnItsOwnerIsClearOfThePetOnlyInsideTheWorkAreaAndOffThePet) {
    const ScreenRect work = {0, 0, 1024, 768};
    const ScreenRect pet = {500, 300, 550, 350};
    const PixelSize size = box_at(1);  // 420 x 100
    EXPECT_TRUE(clear_of_pet({50, 500}, size, frame_1, work, pet));
    EXPECT_FALSE(clear_of_pet({400, 280}, size, frame_1, work, pet));  // over the pet
    EXPECT_FALSE(clear_of_pet({75, 300}, size, frame_1, work, pet));   // its frame's edge on it
    EXPECT_TRUE(clear_of_pet({74, 300}, size, frame_1, work, pet));    // its frame's edge beside it
    EXPECT_FALSE(clear_of_pet({700, 500}, size, frame_1, work, pet));  // off the right edge
    EXPECT_FALSE(clear_of_pet({50, 20}, size, frame_1, work, pet));    // its title bar off the top
}

}  // namespace
