// tuvo-art OUTDIR: draws every picture the program embeds, and the icon as PNG files for
// the desktop, and writes them into OUTDIR. Each run rewrites every file, so a build that
// reruns the generator sees them all as new.
#include <chrono>
#include <cstdio>
#include <string>

#include "about_art.h"
#include "bmp.h"
#include "icons.h"
#include "png.h"
#include "sheet.h"

namespace {

bool write(const std::string& dir, const char* name, const Bytes& bytes) {
    std::string path = dir + "/" + name;
    if (write_file(path, bytes)) return true;
    std::fprintf(stderr, "tuvo-art: cannot write %s\n", path.c_str());
    return false;
}

bool write_png(const std::string& dir, int size, const RgbaImage& image) {
    std::string name = "icon-" + std::to_string(size) + ".png";
    Bytes png = png_file(image);
    if (!png.empty()) return write(dir, name.c_str(), png);
    std::fprintf(stderr, "tuvo-art: cannot encode %s\n", name.c_str());
    return false;
}

// The face for the desktop's icon theme: the icon's own pictures at its sizes, then the
// large one.
bool write_icon_pngs(const std::string& dir, const std::vector<IconImage>& icons) {
    for (const IconImage& icon : icons)
        if (!write_png(dir, icon.image.width, rgba_from_icon(icon))) return false;
    return write_png(dir, large_icon_size, draw_large_icon(large_icon_size));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tuvo-art OUTDIR\n");
        return 2;
    }
    auto start = std::chrono::steady_clock::now();
    std::string dir = argv[1];
    IndexedImage sheet;
    std::string error;
    if (!build_sprite_sheet(&sheet, &error)) {
        std::fprintf(stderr, "tuvo-art: %s\n", error.c_str());
        return 1;
    }
    std::vector<IconImage> icons = draw_icon();
    bool ok = write(dir, "sprites.bmp", bmp_indexed(sheet, 4, true)) &&
              write(dir, "mask.bmp", bmp_indexed(build_mask_sheet(sheet), 1, false)) &&
              write(dir, "logo.bmp", bmp_indexed(draw_logo(), 8, false)) &&
              write(dir, "panel.bmp", bmp_indexed(draw_panel(), 4, false)) &&
              write(dir, "tile.bmp", bmp_indexed(draw_tile(), 4, false)) &&
              write(dir, "portrait.bmp", bmp_rgb(draw_portrait())) &&
              write(dir, "tuvo.ico", ico_file(icons)) && write_icon_pngs(dir, icons) &&
              write(dir, "hand_open.cur", cur_file(draw_open_hand(), cursor_hot_x, cursor_hot_y)) &&
              write(dir, "hand_grab.cur",
                    cur_file(draw_grabbing_hand(), cursor_hot_x, cursor_hot_y));
    if (!ok) return 1;
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                  std::chrono::steady_clock::now() - start).count();
    std::printf("tuvo-art: wrote 13 files into %s in %lld ms\n", dir.c_str(), (long long)ms);
    return 0;
}
