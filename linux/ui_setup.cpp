// FLTK's start, made on the first menu or dialog: takes the fonts, the program's class and
// icons and opens FLTK's connection; also the texts and group boxes the dialogs share.
#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_RGB_Image.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

#include "ui.h"

namespace {

// Where a group box's title starts after the frame's left edge, and the space kept clear
// on either side of it (pixels at scale 1).
constexpr int group_title_indent = 6;
constexpr int group_title_pad = 2;

// FLTK reads its options (Fl::option) from its preferences files on their first use, and
// writes those files straight back: ~/.fltk/fltk.org/fltk.prefs, and under root
// /etc/fltk/fltk.org/fltk.prefs, files outside the user's configuration folders that no
// uninstall removes. So FLTK never reads them here: its options are marked read and set
// to FLTK's own defaults, which is all this program wants of them. FLTK keeps that mark
// private and offers no call to set it (the public setter reads the files first); the
// language lets an explicit instantiation name a private member, and the friend function
// the instantiated template defines hands its address out.
unsigned char* fltk_options_read_mark();
template <unsigned char* Mark>
struct OptionsReadMark {
    friend unsigned char* fltk_options_read_mark() { return Mark; }
};
template struct OptionsReadMark<&Fl::options_read_>;

void keep_fltk_options_off_disk() {
    *fltk_options_read_mark() = 1;
    Fl::option(Fl::OPTION_ARROW_FOCUS, false);
    Fl::option(Fl::OPTION_VISIBLE_FOCUS, true);
    Fl::option(Fl::OPTION_DND_TEXT, true);
    Fl::option(Fl::OPTION_SHOW_TOOLTIPS, true);
    Fl::option(Fl::OPTION_FNFC_USES_GTK, true);
}

// The window icons as FLTK takes them: four bytes per pixel, red first.
constexpr int32_t largest_icon = 48;
static_assert(art_icon_sizes[art_icon_count - 1] <= largest_icon, "the largest icon must fit");
uint8_t icon_pixels[art_icon_count][largest_icon * largest_icon * 4];

void set_window_icons() {
    const Fl_RGB_Image* images[art_icon_count];
    Fl_RGB_Image* made[art_icon_count];
    for (int32_t i = 0; i < art_icon_count; ++i) {
        const ArtIcon& icon = art_icons[i];
        for (int32_t p = 0; p < icon.size * icon.size; ++p) {
            const unsigned long argb = icon.argb[p];
            uint8_t* out = icon_pixels[i] + p * 4;
            out[0] = static_cast<uint8_t>(argb >> 16);
            out[1] = static_cast<uint8_t>(argb >> 8);
            out[2] = static_cast<uint8_t>(argb);
            out[3] = static_cast<uint8_t>(argb >> 24);
        }
        made[i] = new Fl_RGB_Image(icon_pixels[i], icon.size, icon.size, 4);
        images[i] = made[i];
    }
    // FLTK keeps copies of its own.
    Fl_Window::default_icons(images, art_icon_count);
    for (Fl_RGB_Image* image : made) delete image;
}

}  // namespace

void prepare_ui() {
    static bool prepared = false;
    if (prepared) return;
    prepared = true;
    keep_fltk_options_off_disk();
    set_ui_fonts();
    // WM_CLASS ("tuvo", "Tuvo"), as the pet window has it.
    Fl_Window::default_xclass("tuvo");
    set_window_icons();
    fl_open_display();
}

int32_t ui_scale() {
    const int32_t scale = ui_pet_scale();
    return scale >= 1 ? scale : 1;
}

ScreenPoint pet_corner() {
    if (pet_world.scale < 1) return {0, 0};
    return ui_point(to_screen(pet_world, window_x, window_y));
}

double text_width(const char* text, int bytes) { return fl_width(text, bytes); }

int32_t ui_font_pixels() { return dialog_font_pixels * dialog_scale; }

Fl_Box* add_text(PixelBox box, const char* text, bool wrap) {
    fl_font(FL_HELVETICA, ui_font_pixels());
    const std::string shown = wrap ? wrap_text(text, box.w, text_width) : std::string(text);
    Fl_Box* label = new Fl_Box(box.x, box.y, box.w, box.h);
    label->copy_label(plain_label(shown.c_str()).c_str());
    label->labelsize(ui_font_pixels());
    label->align(FL_ALIGN_TOP_LEFT | FL_ALIGN_INSIDE);
    return label;
}

void add_group_box(PixelBox box, const char* title) {
    fl_font(FL_HELVETICA, ui_font_pixels());
    const int line = fl_height();
    new Fl_Box(FL_ENGRAVED_FRAME, box.x, box.y + line / 2, box.w, box.h - line / 2, nullptr);
    if (!*title) return;
    // The title sits on the frame's top edge, which it hides behind it.
    const int indent = group_title_indent * dialog_scale, pad = group_title_pad * dialog_scale;
    const int width = static_cast<int>(fl_width(title)) + 2 * pad;
    Fl_Box* caption = new Fl_Box(FL_FLAT_BOX, box.x + indent, box.y, width, line, nullptr);
    caption->copy_label(plain_label(title).c_str());
    caption->labelsize(ui_font_pixels());
}

int32_t list_own_windows(unsigned long* windows, int32_t room) {
    int32_t count = 0;
    if (!fl_display) return 0;  // FLTK's side has not opened anything yet
    for (Fl_Window* w = Fl::first_window(); w && count < room; w = Fl::next_window(w))
        if (w->shown() && fl_xid(w)) windows[count++] = fl_xid(w);
    return count;
}
