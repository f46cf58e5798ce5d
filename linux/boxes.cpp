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

// Centred on |owner|, or on the monitor the pet lives on, or on the primary one.
void centre(Fl_Window* box, Fl_Window* owner) {
    int x = 0, y = 0, w = 0, h = 0;
    if (owner && owner->shown()) {
        x = owner->x();
        y = owner->y();
        w = owner->w();
        h = owner->h();
    } else if (pet_world.scale >= 1) {
        const ScreenPoint corner = pet_corner();
        Fl::screen_work_area(x, y, w, h, corner.x, corner.y);
    } else {
        Fl::screen_work_area(x, y, w, h, 0);
    }
    place_on_screen(box, x + (w - box->w()) / 2, y + (h - box->h()) / 2);
}

}  // namespace

void show_box_over(Fl_Window* owner, const char* text, BoxIcon icon) {
    // Every box's text also goes to stderr, for logs and for whoever runs the pet unseen.
    std::fprintf(stderr, "%s\n", text);
    prepare_ui();
    const int s = ui_scale();
    fl_font(FL_HELVETICA, ui_font_pixels());
    const std::string shown = plain_label(wrap_text(text, widest_text * s, text_width).c_str());
    int text_w = 0, text_h = 0;
    fl_measure(shown.c_str(), text_w, text_h);
    const int margin = box_margin * s, icon_w = icon_size * s, gap = icon_gap * s;
    const int button_w = button_width * s, button_h = button_height * s;
    const int content_h = std::max(icon_w, text_h);
    const int width = std::max(margin + icon_w + gap + text_w + margin, button_w + 2 * margin);
    const int height = margin + content_h + margin + button_h + margin;

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
    centre(box, owner);
    box->show();
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
