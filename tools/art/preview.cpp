// tuvo-art-preview ARTDIR OUTDIR: pictures for looking at the artwork as the program
// will show it. Reads the generated files back through our decoders and writes
//   contact-sheet.ppm   every image, plain and mirrored, on a checker board, labelled
//                       with its index and (after n) its number in the tables
//   action-NNN.gif      each action's frames as the engine compiled them, 150 ms apart
//   about-NN.gif        each About animation in the composed panel, at the About tick
//   about-panel.ppm     the composed panel for one frame
// (the build turns the PPM files into PNG).
#include <cstdio>
#include <numeric>
#include <cstdlib>
#include <string>

#include "about_art.h"
#include "bmp.h"
#include "engine.h"
#include "gif.h"
#include "seams.h"
#include "values.h"

// Engine messages: the preview has no message boxes.
void error_box(const char* text) { std::fprintf(stderr, "%s\n", text); }

namespace {

constexpr int cell = 50;
constexpr int columns = 10;
constexpr int sheet_scale = 2;
constexpr int gif_scale = 3;
constexpr int pet_tick_ms = 150;
constexpr int about_strip_step = 2;  // pixels the strips move up per About tick
constexpr Rgb checker_light{204, 204, 204}, checker_dark{160, 160, 160};
constexpr Rgb label_ink{20, 20, 20}, label_paper{250, 250, 250};
constexpr Rgb key_rgb{0, 255, 255};

// --- a 3 x 5 lettering for the labels ------------------------------------------------

struct Letter {
    char c;
    const char* rows;  // 5 rows of 3, top to bottom
};

constexpr Letter letters[] = {
    {'0', "###"
          "# #"
          "# #"
          "# #"
          "###"},
    {'1', " # "
          "## "
          " # "
          " # "
          "###"},
    {'2', "###"
          "  #"
          "###"
          "#  "
          "###"},
    {'3', "###"
          "  #"
          " ##"
          "  #"
          "###"},
    {'4', "# #"
          "# #"
          "###"
          "  #"
          "  #"},
    {'5', "###"
          "#  "
          "###"
          "  #"
          "###"},
    {'6', "###"
          "#  "
          "###"
          "# #"
          "###"},
    {'7', "###"
          "  #"
          " # "
          " # "
          " # "},
    {'8', "###"
          "# #"
          "###"
          "# #"
          "###"},
    {'9', "###"
          "# #"
          "###"
          "  #"
          "###"},
    {'-', "   "
          "   "
          "###"
          "   "
          "   "},
    {'r', "   "
          "## "
          "#  "
          "#  "
          "#  "},
    {'a', "   "
          " ##"
          "# #"
          "# #"
          " ##"},
    {'b', "#  "
          "## "
          "# #"
          "# #"
          "## "},
    {'c', "   "
          " ##"
          "#  "
          "#  "
          " ##"},
    {'i', " # "
          "   "
          " # "
          " # "
          " # "},
    {'n', "   "
          "## "
          "# #"
          "# #"
          "# #"},
    {'o', "   "
          " # "
          "# #"
          "# #"
          " # "},
    {'t', " # "
          "###"
          " # "
          " # "
          " ##"},
    {'u', "   "
          "# #"
          "# #"
          "# #"
          "###"},
    {'m', "   "
          "###"
          "###"
          "# #"
          "# #"},
    {'s', "   "
          " ##"
          " # "
          "  #"
          "## "},
};

void fill(RgbImage& im, int x, int y, int w, int h, Rgb c) {
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            if (i >= 0 && j >= 0 && i < im.width && j < im.height)
                im.pixels[size_t(j) * im.width + i] = c;
}

// Text at (x, y), each lettering pixel `scale` screen pixels wide.
void text(RgbImage& im, int x, int y, const std::string& s, int scale, Rgb c) {
    for (char ch : s) {
        for (const Letter& l : letters)
            if (l.c == ch)
                for (int j = 0; j < 5; ++j)
                    for (int i = 0; i < 3; ++i)
                        if (l.rows[j * 3 + i] == '#')
                            fill(im, x + i * scale, y + j * scale, scale, scale, c);
        x += 4 * scale;
    }
}

RgbImage blank(int w, int h, Rgb c) { return RgbImage{w, h, std::vector<Rgb>(size_t(w) * h, c)}; }

// --- reading the generated files -----------------------------------------------------

bool load_indexed(const std::string& dir, const char* name, IndexedImage* image) {
    Bytes f;
    if (read_file(dir + "/" + name, &f) && bmp_decode_indexed(f, image)) return true;
    std::fprintf(stderr, "tuvo-art-preview: cannot read %s/%s\n", dir.c_str(), name);
    return false;
}

Rgb colour_at(const IndexedImage& im, int x, int y) {
    return im.colours[im.pixels[size_t(y) * im.width + x]];
}

bool same(Rgb a, Rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

// Frame reference n: image |n| - 1, mirrored when negative; the mirrored copy reads the
// cell from its rightmost column leftwards, as the program's stretching copy does.
Rgb sprite_pixel(const IndexedImage& sheet, int ref, int x, int y) {
    int i = std::abs(ref) - 1;
    int sx = ref < 0 ? cell - 1 - x : x;
    return colour_at(sheet, i % columns * cell + sx, i / columns * cell + y);
}

// The frame over a checker board, scaled; key-coloured pixels show the board.
void draw_frame(RgbImage& out, const IndexedImage& sheet, int ref, int left, int top, int scale) {
    for (int y = 0; y < cell; ++y)
        for (int x = 0; x < cell; ++x) {
            Rgb c = sprite_pixel(sheet, ref, x, y);
            if (same(c, key_rgb)) c = ((x / 5 + y / 5) % 2) ? checker_dark : checker_light;
            fill(out, left + x * scale, top + y * scale, scale, scale, c);
        }
}

bool write_ppm(const std::string& path, const RgbImage& im) {
    std::string head = "P6\n" + std::to_string(im.width) + " " + std::to_string(im.height) + "\n255\n";
    Bytes b(head.begin(), head.end());
    for (Rgb c : im.pixels) b.insert(b.end(), {c.r, c.g, c.b});
    return write_file(path, b);
}

std::string number(int n, int digits) {
    std::string s = std::to_string(n);
    return std::string(digits > int(s.size()) ? digits - s.size() : 0, '0') + s;
}

// --- the pictures --------------------------------------------------------------------

RgbImage contact_sheet(const IndexedImage& sheet) {
    const int pic = cell * sheet_scale, gap = 4, label = 16, pad = 10;
    const int box_w = 2 * pic + gap, box_h = label + pic;
    const int rows = (170 + columns - 1) / columns;
    RgbImage out = blank(pad + columns * (box_w + pad), pad + rows * (box_h + pad), label_paper);
    for (int i = 0; i < 170; ++i) {
        int left = pad + i % columns * (box_w + pad), top = pad + i / columns * (box_h + pad);
        text(out, left, top + 2, number(i, 3) + " n" + number(i + 1, 3), 2, label_ink);
        draw_frame(out, sheet, i + 1, left, top + label, sheet_scale);
        draw_frame(out, sheet, -(i + 1), left + pic + gap, top + label, sheet_scale);
    }
    return out;
}

// One frame of an action: the picture and a label saying where in the action it is.
RgbImage action_frame(const IndexedImage& sheet, int action, int frame, int count, int ref) {
    const int pic = cell * gif_scale, label = 26;
    RgbImage out = blank(pic, pic + label, label_paper);
    text(out, 2, 2, "action " + number(action, 3), 2, label_ink);
    std::string which = number(frame + 1, 2) + "-" + number(count, 2) + " " +
                        (ref < 0 ? "r" : "") + "n" + std::to_string(std::abs(ref));
    text(out, 2, 14, which, 2, label_ink);
    draw_frame(out, sheet, ref, 0, label, gif_scale);
    return out;
}

// The About box's panel as its paint composes it: backdrop, tiles of both strips at the
// scroll offset, clipped to the panel, then the cat over them through the key colour.
RgbImage composed_panel(const IndexedImage& panel, const IndexedImage& tile,
                        const IndexedImage& sheet, int ref, int strip_offset) {
    RgbImage out = blank(panel.width, panel.height, Rgb{0, 0, 0});
    for (int y = 0; y < panel.height; ++y)
        for (int x = 0; x < panel.width; ++x) out.pixels[size_t(y) * panel.width + x] = colour_at(panel, x, y);
    for (int y = strip_offset - panel_strip_spacing; y < panel.height; y += panel_strip_spacing)
        for (int left : {panel_strip_left, panel_strip_right})
            for (int ty = 0; ty < tile.height; ++ty)
                for (int tx = 0; tx < tile.width; ++tx) {
                    int py = y + ty, px = left + tx;
                    if (py >= 0 && py < panel.height)
                        out.pixels[size_t(py) * panel.width + px] = colour_at(tile, tx, ty);
                }
    for (int y = 0; y < cell; ++y)
        for (int x = 0; x < cell; ++x) {
            Rgb c = sprite_pixel(sheet, ref, x, y);
            int px = panel_cat_left + x, py = panel_cat_top + y;
            if (!same(c, key_rgb) && px < panel.width && py < panel.height)
                out.pixels[size_t(py) * panel.width + px] = c;
        }
    return out;
}

RgbImage about_frame(const RgbImage& composed, int row, int frame, int count, int ref) {
    const int label = 26;
    RgbImage out = blank(composed.width * gif_scale, composed.height * gif_scale + label, label_paper);
    text(out, 2, 2, "about " + number(row, 2), 2, label_ink);
    std::string which = number(frame + 1, 2) + "-" + number(count, 2) + " " +
                        (ref < 0 ? "r" : "") + "n" + std::to_string(std::abs(ref));
    text(out, 2, 14, which, 2, label_ink);
    for (int y = 0; y < composed.height; ++y)
        for (int x = 0; x < composed.width; ++x)
            fill(out, x * gif_scale, label + y * gif_scale, gif_scale, gif_scale,
                 composed.pixels[size_t(y) * composed.width + x]);
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: tuvo-art-preview ARTDIR OUTDIR\n");
        return 2;
    }
    std::string art = argv[1], out = argv[2];
    IndexedImage sheet, panel, tile;
    if (!load_indexed(art, "sprites.bmp", &sheet) || !load_indexed(art, "panel.bmp", &panel) ||
        !load_indexed(art, "tile.bmp", &tile))
        return 1;

    screen_width = 1024, screen_height = 768;
    timer_interval = pet_tick_ms;
    engine_seed = 1;
    if (!init_engine()) return 1;

    bool ok = write_ppm(out + "/contact-sheet.ppm", contact_sheet(sheet));
    for (int a = 0; a < engine->action_count && ok; ++a) {
        const ActionDef& def = engine->actions[a];
        std::vector<GifFrame> frames;
        for (int f = 0; f < def.frame_count; ++f)
            frames.push_back({action_frame(sheet, a + 1, f, def.frame_count, def.frames[f]),
                              pet_tick_ms / 10});
        ok = write_gif(out + "/action-" + number(a + 1, 3) + ".gif", frames);
    }
    // The About box ticks half again as slowly as the pet and scrolls its strips by two
    // pixels a tick: offsets 8, 6, 4, 2, 0 and round again.
    int about_cs = (engine->about_tick_interval + 5) / 10;
    for (int r = 0; r < engine->about_action_count && ok; ++r) {
        const AboutAction& anim = engine->about_actions[r];
        std::vector<GifFrame> frames;
        // Enough ticks for the frames and the strips to come round together.
        int ticks = std::lcm(anim.frame_count, panel_strip_spacing / about_strip_step);
        int offset = 0;
        for (int t = 0; t < ticks; ++t) {
            offset -= about_strip_step;
            if (offset < 0) offset = panel_strip_spacing - about_strip_step;
            int f = t % anim.frame_count, ref = anim.frames[f];
            RgbImage composed = composed_panel(panel, tile, sheet, ref, offset);
            frames.push_back({about_frame(composed, r + 1, f, anim.frame_count, ref), about_cs});
            if (r == 0 && t == 0) ok = write_ppm(out + "/about-panel.ppm", composed);
        }
        ok = ok && write_gif(out + "/about-" + number(r + 1, 2) + ".gif", frames);
    }
    free_engine();
    if (!ok) {
        std::fprintf(stderr, "tuvo-art-preview: cannot write into %s\n", out.c_str());
        return 1;
    }
    std::printf("tuvo-art-preview: wrote the previews into %s\n", out.c_str());
    return 0;
}
