// The screenshot probe's judgement on screenshots made here: a picture of the sheet alone
// on the desktop is found where and at the scale it was put; a black square round it, an
// earlier frame beside it, a block not whole, the key colour, are each refused and said.
#include <gtest/gtest.h>

#include "sheet_pictures.h"
#include "shot_judge.h"

namespace {

constexpr uint32_t desk = 0x3A6EA5;

Shot desktop(int w, int h) { return Shot{w, h, std::vector<uint32_t>(size_t(w) * h, desk)}; }

void put(Shot* shot, int x, int y, uint32_t c) { shot->rgb[size_t(y) * shot->w + x] = c; }

// Picture p's window at (x, y), s screen pixels a pet pixel: its opaque pixels, and with
// |square| every other pixel of the window in that colour.
void paint(Shot* shot, int p, int x, int y, int s, const uint32_t* square = nullptr) {
    for (int py = 0; py < picture_side; ++py)
        for (int px = 0; px < picture_side; ++px) {
            const bool opaque = picture_opaque(p, px, py);
            if (!opaque && !square) continue;
            for (int j = 0; j < s; ++j)
                for (int i = 0; i < s; ++i) put(shot, x + px * s + i, y + py * s + j, opaque ? picture_rgb(p, px, py) : *square);
        }
}

bool same_picture(int a, int b) {
    for (int y = 0; y < picture_side; ++y)
        for (int x = 0; x < picture_side; ++x)
            if (picture_opaque(a, x, y) != picture_opaque(b, x, y) ||
                (picture_opaque(a, x, y) && picture_rgb(a, x, y) != picture_rgb(b, x, y)))
                return false;
    return true;
}

std::string refusal(const Shot& shot, int scale, ShotArea area = {0, 0, 0, 0}) {
    FoundPet found = {};
    std::string why;
    return find_pet(shot, area, desk, scale, &found, &why) ? "found picture " + std::to_string(found.picture) : why;
}

const int some_pictures[] = {0, 7, 42, image_count + 7, picture_count - 1};

TEST(ShotProbe, FindsThePictureWhereAndAtTheScaleItWasPut) {
    for (int p : some_pictures)
        for (int s : {1, 2, 3}) {
            Shot shot = desktop(220, 200);
            paint(&shot, p, 31, 17, s);
            for (int asked : {s, 0}) {
                FoundPet found = {};
                std::string why;
                ASSERT_TRUE(find_pet(shot, {0, 0, 0, 0}, desk, asked, &found, &why)) << p << " at " << s << ": " << why;
                EXPECT_TRUE(same_picture(found.picture, p)) << found.picture << " for " << p;
                EXPECT_EQ(found.x, 31);
                EXPECT_EQ(found.y, 17);
                EXPECT_EQ(found.scale, s);
            }
        }
}

TEST(ShotProbe, LooksOnlyAtThePartAskedFor) {
    Shot shot = desktop(300, 100);
    paint(&shot, 7, 10, 20, 1);
    paint(&shot, 42, 200, 30, 1);
    EXPECT_NE(refusal(shot, 1).rfind("found", 0), 0u) << "two cats are no one picture";
    FoundPet found = {};
    std::string why;
    ASSERT_TRUE(find_pet(shot, {150, 0, 150, 100}, desk, 1, &found, &why)) << why;
    EXPECT_EQ(found.x, 200);
    EXPECT_EQ(refusal(desktop(40, 40), 1), "only the background");
}

TEST(ShotProbe, RefusesWhatACompositorIgnoringShapesShows) {
    const uint32_t black = 0;
    for (int s : {1, 2}) {
        Shot square = desktop(200, 200);
        paint(&square, 42, 40, 40, s, &black);
        EXPECT_NE(refusal(square, s).find("black pixels"), std::string::npos) << refusal(square, s);

        // An earlier frame a few pixels back, left where the new one does not reach.
        Shot earlier = desktop(200, 200);
        paint(&earlier, 7, 44, 40, s);
        paint(&earlier, 8, 40, 40, s);
        EXPECT_EQ(refusal(earlier, s).rfind("found", 0), std::string::npos) << refusal(earlier, s);

        // Or the same frame again, where the window was before.
        Shot stale = desktop(300, 200);
        paint(&stale, 42, 10, 10, s);
        paint(&stale, 42, 140, 60, s);
        EXPECT_NE(refusal(stale, s).find("more than one picture"), std::string::npos) << refusal(stale, s);
    }
}

TEST(ShotProbe, RefusesPixelsThatAreNotTheSheetsInWholeBlocks) {
    // One screen pixel of a 2 x 2 block in another of the sheet's colours: not crisp.
    Shot blurred = desktop(200, 200);
    paint(&blurred, 42, 40, 40, 2);
    int bx = -1, by = -1;
    for (int y = 0; y < picture_side && bx < 0; ++y)
        for (int x = 0; x < picture_side && bx < 0; ++x)
            if (picture_opaque(42, x, y)) bx = x, by = y;
    const uint32_t other = picture_rgb(42, bx, by) == art_rgb(art_sprites.colours[0]) ? art_rgb(art_sprites.colours[1])
                                                                                     : art_rgb(art_sprites.colours[0]);
    put(&blurred, 40 + bx * 2 + 1, 40 + by * 2 + 1, other);
    EXPECT_NE(refusal(blurred, 2).find("not crisp"), std::string::npos) << refusal(blurred, 2);

    // The key colour where the cat is not.
    Shot keyed = desktop(200, 200);
    const uint32_t cyan = key_rgb;
    paint(&keyed, 42, 40, 40, 1, &cyan);
    EXPECT_NE(refusal(keyed, 1).find("no colour of the sheet"), std::string::npos) << refusal(keyed, 1);
}

// The pointer's hand drawn over a held pet: a block of foreign pixels.
void cover(Shot* shot, ShotArea r, uint32_t c) {
    for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x) put(shot, x, y, c);
}

TEST(ShotProbe, FindsAHeldPetNearAPlaceWithTheCursorLeftOut) {
    const ShotArea hand = {70, 75, 20, 20};
    for (int s : {1, 2}) {
        Shot shot = desktop(260, 260);
        paint(&shot, 42, 60, 50, s);
        cover(&shot, hand, 0xFFFFFF);
        FoundPet found = {};
        std::string why;
        ASSERT_TRUE(find_pet_near(shot, desk, s, 55, 52, 6, hand, &found, &why)) << why;
        EXPECT_TRUE(same_picture(found.picture, 42));
        EXPECT_EQ(found.x, 60);
        EXPECT_EQ(found.y, 50);
        EXPECT_FALSE(find_pet_near(shot, desk, s, 60, 50, 6, {0, 0, 0, 0}, &found, &why)) << "the hand seen";
        EXPECT_FALSE(find_pet_near(shot, desk, s, 50, 50, 6, hand, &found, &why)) << "the corner out of reach";
        EXPECT_FALSE(find_pet_near(shot, desk, s + 1, 60, 50, 6, hand, &found, &why)) << "another scale";
        // Anything else on the desktop, an earlier frame or a square, is no pet alone.
        Shot stale = shot;
        put(&stale, 250, 250, picture_rgb(42, 25, 25));
        EXPECT_FALSE(find_pet_near(stale, desk, s, 60, 50, 6, hand, &found, &why));
        const uint32_t black = 0;
        Shot square = desktop(260, 260);
        paint(&square, 42, 60, 50, s, &black);
        EXPECT_FALSE(find_pet_near(square, desk, s, 60, 50, 6, hand, &found, &why));
    }
}

TEST(ShotProbe, AGripPointIsWellInsideEveryPictureThatHasOne) {
    for (int p = 0; p < picture_count; ++p) {
        int x = -1, y = -1;
        int l = 0, t = 0, r = 0, b = 0;
        if (!picture_grip(p, &x, &y)) continue;
        ASSERT_TRUE(picture_extent(p, &l, &t, &r, &b));
        for (int j = -2; j <= 2; ++j)
            for (int i = -2; i <= 2; ++i) EXPECT_TRUE(picture_opaque(p, x + i, y + j)) << p;
    }
    int x = 0, y = 0;
    EXPECT_TRUE(picture_grip(42, &x, &y));
}

}  // namespace
