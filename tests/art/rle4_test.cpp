// The RLE4 encoder against our decoder and against the format's rules: every row
// complete and ended, absolute runs padded to whole words, no code crossing a row end.
#include <gtest/gtest.h>

#include <random>

#include "bmp.h"

namespace {

IndexedImage make_image(int width, int height, std::vector<uint8_t> pixels) {
    return IndexedImage{width, height, std::move(pixels),
                        std::vector<Rgb>(cat_palette, cat_palette + palette_size)};
}

// Walks the codes of a stream and checks its structure; returns "" or what is wrong.
std::string check_structure(const Bytes& s, int width, int height) {
    size_t i = 0;
    int x = 0, rows = 0;
    if (s.size() % 2) return "odd stream length";
    while (i + 1 < s.size()) {
        int count = s[i], value = s[i + 1];
        i += 2;
        if (count) {
            if (x + count > width) return "run crosses the end of row " + std::to_string(rows);
            x += count;
        } else if (value == 0 || value == 1) {
            if (x != width) return "row " + std::to_string(rows) + " ends early at " + std::to_string(x);
            x = 0;
            ++rows;
            if (value == 1) {
                if (i != s.size()) return "bytes after the end of bitmap";
                return rows == height ? "" : "end of bitmap after " + std::to_string(rows) + " rows";
            }
        } else if (value == 2) {
            return "delta code";
        } else {
            if (x + value > width) return "absolute run crosses the end of a row";
            x += value;
            size_t bytes = (size_t(value) + 1) / 2;
            if (bytes % 2) {
                if (i + bytes >= s.size() || s[i + bytes] != 0) return "absolute run not padded";
                ++bytes;
            }
            i += bytes;
        }
        if (rows >= height) return "too many rows";
    }
    return "no end of bitmap";
}

void expect_round_trip(const IndexedImage& image) {
    Bytes stream = rle4_encode(image);
    EXPECT_EQ(check_structure(stream, image.width, image.height), "");
    std::vector<uint8_t> decoded;
    bool saw_end = false;
    ASSERT_TRUE(rle4_decode(stream.data(), stream.size(), image.width, image.height, &decoded,
                            &saw_end));
    EXPECT_TRUE(saw_end);
    EXPECT_EQ(decoded, image.pixels);
}

// Counts the absolute-mode codes of each length in a stream.
std::vector<int> absolute_lengths(const Bytes& s) {
    std::vector<int> lengths;
    for (size_t i = 0; i + 1 < s.size();) {
        int count = s[i], value = s[i + 1];
        i += 2;
        if (count == 0 && value > 2) {
            lengths.push_back(value);
            size_t bytes = (size_t(value) + 1) / 2;
            i += bytes + bytes % 2;
        }
    }
    return lengths;
}

TEST(Rle4Encoder, RoundTripsOddWidthsAndSinglePixels) {
    for (int width : {1, 2, 3, 5, 7, 51}) {
        std::vector<uint8_t> pixels;
        for (int k = 0; k < width * 3; ++k) pixels.push_back(uint8_t((k * 7 + k / 3) % 16));
        SCOPED_TRACE(width);
        expect_round_trip(make_image(width, 3, pixels));
    }
}

TEST(Rle4Encoder, RoundTripsRunsLongerThanOneCodeAndAcrossCellBorders) {
    // 620 pixels of one colour need three run codes; a run from x 40 to x 60 spans the
    // border between two 50-pixel cells, as the key colour does on the sheet.
    std::vector<uint8_t> pixels(620 * 2, 15);
    for (int x = 0; x < 40; ++x) pixels[620 + x] = 3;
    for (int x = 60; x < 620; ++x) pixels[620 + x] = uint8_t(x % 5 ? 4 : 9);
    expect_round_trip(make_image(620, 2, pixels));
}

TEST(Rle4Encoder, UsesAbsoluteRunsOfOddLengthWithWordPadding) {
    // Rows of distinct pixels between long runs force absolute runs of 3, 5 and 7 pixels.
    std::vector<uint8_t> row;
    for (int n : {3, 5, 7}) {
        for (int k = 0; k < n; ++k) row.push_back(uint8_t(k + 1));
        row.insert(row.end(), 6, 15);
    }
    IndexedImage image = make_image(int(row.size()), 1, row);
    expect_round_trip(image);
    std::vector<int> lengths = absolute_lengths(rle4_encode(image));
    EXPECT_EQ(lengths, (std::vector<int>{3, 5, 7}));
}

TEST(Rle4Encoder, RoundTripsRandomRowsWithShortRuns) {
    std::mt19937 random(42);
    for (int width : {4, 255, 256, 257, 500}) {
        std::vector<uint8_t> pixels;
        for (int k = 0; k < width * 4; ++k) {
            // Mostly short runs, now and then a long one.
            int colour = int(random() % 16), length = random() % 8 ? 1 + random() % 3 : 260;
            for (int j = 0; j < length; ++j) pixels.push_back(uint8_t(colour));
        }
        pixels.resize(size_t(width) * 4);
        SCOPED_TRACE(width);
        expect_round_trip(make_image(width, 4, pixels));
    }
}

TEST(Rle4Encoder, EndsEveryRowWithEndOfLineAndTheLastWithEndOfBitmap) {
    IndexedImage image = make_image(3, 4, std::vector<uint8_t>(12, 2));
    Bytes stream = rle4_encode(image);
    // One run code and one end code per row, bottom row first.
    ASSERT_EQ(stream.size(), 16u);
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(stream[4 * row], 3);
        EXPECT_EQ(stream[4 * row + 1], 0x22);
        EXPECT_EQ(stream[4 * row + 2], 0);
        EXPECT_EQ(stream[4 * row + 3], row == 3 ? 1 : 0);
    }
}

TEST(Rle4Decoder, RejectsCodesThatOverrunTheirRowOrTheBitmap) {
    std::vector<uint8_t> pixels;
    bool saw_end;
    const uint8_t too_long[] = {5, 0x11, 0, 1};           // 5 pixels in a 4-pixel row
    const uint8_t too_many_rows[] = {4, 0x11, 0, 0, 4, 0x11, 0, 1};
    const uint8_t truncated[] = {0, 5, 0x12};              // absolute run cut short
    EXPECT_FALSE(rle4_decode(too_long, sizeof too_long, 4, 1, &pixels, &saw_end));
    EXPECT_FALSE(rle4_decode(too_many_rows, sizeof too_many_rows, 4, 1, &pixels, &saw_end));
    EXPECT_FALSE(rle4_decode(truncated, sizeof truncated, 8, 1, &pixels, &saw_end));
    // A row ended early leaves the rest of it unreached, visibly.
    const uint8_t short_row[] = {2, 0x33, 0, 1};
    ASSERT_TRUE(rle4_decode(short_row, sizeof short_row, 4, 1, &pixels, &saw_end));
    EXPECT_EQ(pixels, (std::vector<uint8_t>{3, 3, rle4_unreached, rle4_unreached}));
}

}  // namespace
