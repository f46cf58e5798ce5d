// Lays the cat's images out on the sheet and derives the mask from the key colour.
#include "sheet.h"

#include "cat.h"

static_assert(sheet_columns * sheet_rows == cat_image_count, "every cell holds one image");

bool build_sprite_sheet(IndexedImage* sheet, std::string* error) {
    sheet->width = sheet_columns * cat_cell_size;
    sheet->height = sheet_rows * cat_cell_size;
    sheet->pixels.assign(size_t(sheet->width) * sheet->height, key);
    sheet->colours.assign(cat_palette, cat_palette + palette_size);
    for (int i = 0; i < cat_image_count; ++i) {
        Canvas image = draw_cat_image(i);
        if (image.width != cat_cell_size || image.height != cat_cell_size) {
            *error = "image " + std::to_string(i) + " is not " + std::to_string(cat_cell_size) +
                     " x " + std::to_string(cat_cell_size);
            return false;
        }
        int left = (i % sheet_columns) * cat_cell_size, top = (i / sheet_columns) * cat_cell_size;
        for (int y = 0; y < cat_cell_size; ++y)
            for (int x = 0; x < cat_cell_size; ++x) {
                uint8_t p = get_pixel(image, x, y);
                if (p == clear_pixel) continue;
                if (p >= key) {
                    *error = "image " + std::to_string(i) + " uses colour " + std::to_string(p) +
                             " at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
                    return false;
                }
                sheet->pixels[size_t(top + y) * sheet->width + left + x] = p;
            }
    }
    return true;
}

IndexedImage build_mask_sheet(const IndexedImage& sheet) {
    IndexedImage mask{sheet.width, sheet.height, {}, {{0, 0, 0}, {255, 255, 255}}};
    mask.pixels.reserve(sheet.pixels.size());
    for (uint8_t p : sheet.pixels) mask.pixels.push_back(p == key ? 0 : 1);
    return mask;
}
