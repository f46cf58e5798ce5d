// Outlines of the sprite images as vertical runs of opaque mask pixels.
#include "outline.h"

#include <cstddef>

bool mask_sheet_opaque(const MaskSheet& sheet, int32_t x, int32_t y) {
    const uint8_t* row = sheet.bits + size_t(sheet.height - 1 - y) * size_t(sheet.stride);
    const bool bit = (row[x / 8] & (0x80 >> (x % 8))) != 0;
    return bit != (sheet.inverted != 0);
}

void for_each_outline_run(const MaskSheet& sheet, int32_t image, int32_t mirrored, int32_t frame_width,
                          int32_t frame_height, OutlineRunSink sink, void* context) {
    if (frame_width <= 0 || sheet.columns <= 0) return;
    const int32_t column = image % sheet.columns;
    const int32_t row = image / sheet.columns;
    for (int32_t x = 0; x < frame_width; ++x) {
        const int32_t sheet_x = column * frame_width + x;
        if (sheet_x >= sheet.width) break;
        const int32_t out_x = mirrored ? frame_width - 1 - x : x;
        int32_t run_top = -1;
        for (int32_t y = 0; y < frame_height; ++y) {
            const int32_t sheet_y = row * frame_height + y;
            if (sheet.height - 1 - sheet_y < 0) break;
            const bool opaque = mask_sheet_opaque(sheet, sheet_x, sheet_y);
            if (opaque && run_top < 0) {
                run_top = y;
            } else if (!opaque && run_top >= 0) {
                sink(context, out_x, run_top, y);
                run_top = -1;
            }
        }
        if (run_top >= 0) sink(context, out_x, run_top, frame_height);
    }
}
