// Message boxes: takes an English text and an icon and shows them captioned "Tuvo" with
// one OK button until closed, the pet living on meanwhile, the text also on stderr; also
// closes every dialog.
#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_RGB_Image.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "ui.h"

namespace {

// The box's layout in pixels at scale 1.
constexpr int box_margin = 12;
constexpr int icon_size = 32;
constexpr int icon_gap = 12;
constexpr int widest_text = 360;
constexpr int button_width = 75;
constexpr int button_height = 23;
constexpr const char* box_caption = "Tuvo";
constexpr const char* ok_text = "OK";

std::vector<Fl_Window*> open_boxes;  // the innermost last

void on_close(Fl_Widget* widget, void*) {
    Fl_Window* box = widget->as_window() ? widget->as_window() : widget->window();
    box->hide();
}

// A box's layout in pixels at a scale: the text as wrapped and shown, and the sizes.
struct BoxLayout {
    std::string shown;
    int text_w, text_h, margin, icon_w, gap, button_w, button_h, content_h, width, height;
};

BoxLayout lay_out(const char* text, int s) {
    BoxLayout l;
    fl_font(FL_HELVETICA, dialog_font_pixels * s);
    l.shown = plain_label(wrap_text(text, widest_text * s, text_width).c_str());
    l.text_w = l.text_h = 0;
    fl_measure(l.shown.c_str(), l.text_w, l.text_h);
    l.margin = box_margin * s, l.icon_w = icon_size * s, l.gap = icon_gap * s;
    l.button_w = button_width * s, l.button_h = button_height * s;
    l.content_h = std::max(l.icon_w, l.text_h);
    l.width = std::max(l.margin + l.icon_w + l.gap + l.text_w + l.margin, l.button_w + 2 * l.margin);
    l.height = l.margin + l.content_h + l.margin + l.button_h + l.margin;
    return l;
}

const char* measured_text = "";

PixelSize size_at(int32_t scale) {
    const BoxLayout l = lay_out(measured_text, scale);
    return {l.width, l.height};
}

}  // namespace

void show_box_over(Fl_Window* owner, const char* text, BoxIcon icon) {
    // Every box's text also goes to stderr, for logs and for whoever runs the pet unseen.
    std::fprintf(stderr, "%s\n", text);
    prepare_ui();
    measured_text = text;
    choose_dialog_scale(size_at);
    const BoxLayout l = lay_out(text, dialog_scale);
    const std::string& shown = l.shown;
    const int margin = l.margin, icon_w = l.icon_w, gap = l.gap, button_w = l.button_w, button_h = l.button_h;
    const int text_w = l.text_w, content_h = l.content_h, width = l.width, height = l.height;

    Fl_Window* box = new Fl_Window(width, height);
    box->copy_label(box_caption);
    box->callback(on_close);  // Escape and the close box
    std::vector<uint8_t> icon_pixels(static_cast<size_t>(icon_w) * icon_w * 4);
    draw_box_icon(icon, icon_w, icon_pixels.data());
    Fl_RGB_Image icon_image(icon_pixels.data(), icon_w, icon_w, 4);
    Fl_Box* icon_box = new Fl_Box(margin, margin + (content_h - icon_w) / 2, icon_w, icon_w);
    icon_box->image(&icon_image);
    Fl_Box* label = new Fl_Box(margin + icon_w + gap, margin, text_w, content_h);
    label->label(shown.c_str());
    label->labelsize(ui_font_pixels());
    label->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE);
    Fl_Return_Button* ok = new Fl_Return_Button((width - button_w) / 2, height - margin - button_h, button_w, button_h);
    ok->label(ok_text);
    ok->labelsize(ui_font_pixels());
    ok->callback(on_close);
    box->end();
    box->set_modal();
    // A modal window stays above the window FLTK lists first: the owner.
    if (owner && owner->shown()) Fl::first_window(owner);
    place_dialog(box, owner);
    show_dialog(box, owner);
    open_boxes.push_back(box);
    while (box->shown()) Fl::wait();
    open_boxes.erase(std::find(open_boxes.begin(), open_boxes.end(), box));
    icon_box->image(nullptr);
    delete box;
}

void show_box(const char* text, BoxIcon icon) { show_box_over(nullptr, text, icon); }

void close_boxes() {
    for (Fl_Window* box : open_boxes) box->hide();
}

void close_dialogs() {
    close_options_dialog();
    close_about_dialog();
    close_boxes();
}
