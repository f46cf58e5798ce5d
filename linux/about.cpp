// The About box: takes the menu's About command and shows the texts, the portrait, the
// title picture and a small animation of the cat between two scrolling strips of tiles.
#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_RGB_Image.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>

#include <vector>

#include "about_state.h"
#include "texts.h"
#include "ui.h"

namespace {

// The panel is drawn by a box type of its own, so that its draw knows about the paint.
constexpr Fl_Boxtype panel_boxtype = FL_FREE_BOXTYPE;

Fl_Window* about = nullptr;
Fl_Box* panel_box;
Fl_Box* logo_box;
Fl_Box* portrait_box;
Fl_RGB_Image* logo_image;
Fl_RGB_Image* portrait_image;
std::vector<uint8_t> panel_pixels, logo_pixels, portrait_pixels;
int32_t about_scale = 1;  // the scale the box was built at

PanelArt panel_art() {
    return {&art_panel, &art_tile, &art_sprites, art_sheet_columns, art_cell_size, art_key_index};
}

PixelBox place(DialogBox box) { return dialog_pixels(box, dialog_base_units(), about_scale); }

PixelSize size_at(int32_t scale) {
    const PixelBox client = dialog_pixels({0, 0, ABOUT_SIZE}, dialog_base_units(), scale);
    return {client.w, client.h};
}

// Composes the panel off screen and copies it in one piece; a tick's redraw is clipped
// to the cat and the two strips.
void draw_panel(int x, int y, int w, int h, Fl_Color) {
    if (halted) return;
    awaiting_first_paint = 0;
    compose_about_panel(panel_art(), current_about_frame(), strip_offset, about_scale, panel_pixels.data());
    fl_draw_image(panel_pixels.data(), x, y, w, h, 3);
}

// A part of the panel, given in the panel's own pixels, to be drawn again.
void damage_panel(int32_t x, int32_t y, int32_t width, int32_t height) {
    const int32_t s = about_scale;
    panel_box->damage(FL_DAMAGE_USER1, panel_box->x() + x * s, panel_box->y() + y * s, width * s, height * s);
}

double tick_seconds() { return timer_period_ms(engine->about_tick_interval) / 1000.0; }

void on_tick(void*) {
    Fl::repeat_timeout(tick_seconds(), on_tick);
    if (halted) return;
    advance_about_state();
    damage_panel(about_cat_left, about_cat_top, art_cell_size, art_cell_size);
    damage_panel(about_strip_left, 0, art_tile.width, art_panel.height);
    damage_panel(about_strip_right, 0, art_tile.width, art_panel.height);
}

void on_close(Fl_Widget*, void*) { close_about_dialog(); }

Fl_Box* add_picture(int32_t x, int32_t y, Fl_RGB_Image* image) {
    Fl_Box* box = new Fl_Box(x, y, image->w(), image->h());
    box->image(image);
    box->align(FL_ALIGN_INSIDE);
    return box;
}

// The title picture, see-through where it is pure black, centred near the top.
void add_logo(int32_t client_w, int32_t client_h) {
    const int32_t s = about_scale;
    logo_pixels.assign(static_cast<size_t>(art_logo.width) * s * art_logo.height * s * 4, 0);
    enlarge_indexed(art_logo, s, 0, logo_pixels.data());
    logo_image = new Fl_RGB_Image(logo_pixels.data(), art_logo.width * s, art_logo.height * s, 4);
    const AboutPoint at = about_logo_place(client_w, client_h, art_logo.width * s);
    logo_box = add_picture(at.x, at.y, logo_image);
}

void add_portrait() {
    const int32_t s = about_scale;
    portrait_pixels.assign(static_cast<size_t>(art_portrait.width) * s * art_portrait.height * s * 3, 0);
    enlarge_rgb(art_portrait, s, portrait_pixels.data());
    portrait_image = new Fl_RGB_Image(portrait_pixels.data(), art_portrait.width * s, art_portrait.height * s, 3);
    const PixelBox at = place({ABOUT_PORTRAIT_BOX});
    portrait_box = add_picture(at.x, at.y, portrait_image);
}

void add_panel(int32_t client_w, int32_t client_h) {
    const int32_t s = about_scale;
    panel_pixels.assign(static_cast<size_t>(art_panel.width) * s * art_panel.height * s * 3, 0);
    Fl::set_boxtype(panel_boxtype, draw_panel, 0, 0, 0, 0);
    const AboutPoint at = about_panel_place(client_w, client_h);
    panel_box = new Fl_Box(panel_boxtype, at.x, at.y, art_panel.width * s, art_panel.height * s, nullptr);
}

void build_box() {
    const PixelBox client = place({0, 0, ABOUT_SIZE});
    about = new Fl_Window(client.w, client.h);
    about->copy_label(ABOUT_CAPTION);
    about->callback(on_close);  // Escape and the close box
    const PixelBox ok = place({ABOUT_OK_BOX});
    Fl_Return_Button* button = new Fl_Return_Button(ok.x, ok.y, ok.w, ok.h);
    button->copy_label(plain_label(TEXT_OK).c_str());
    button->labelsize(ui_font_pixels());
    button->callback(on_close);
    add_text(place({ABOUT_STORY_BOX}), TEXT_ABOUT_STORY, true);
    add_text(place({ABOUT_CONTACT_BOX}), TEXT_ABOUT_CONTACT, false);
    const PixelBox credit = place({ABOUT_CREDIT_BOX});
    Fl_Box* credit_text = add_text(credit, TEXT_ABOUT_CREDIT, false);
    credit_text->align(FL_ALIGN_TOP | FL_ALIGN_INSIDE);
    credit_text->deactivate();  // greyed
    add_portrait();
    add_group_box(place({ABOUT_FRAME_BOX}), "");
    add_logo(client.w, client.h);
    add_panel(client.w, client.h);
    about->end();
}

}  // namespace

void open_about_dialog() {
    if (about) {
        bring_forward(about);
        return;
    }
    prepare_ui();
    choose_dialog_scale(size_at);
    about_scale = dialog_scale;
    build_box();
    pick_about_action();
    awaiting_first_paint = 1;
    Fl::add_timeout(tick_seconds(), on_tick);
    place_dialog(about, nullptr);
    show_dialog(about, nullptr);
}

void close_about_dialog() {
    if (!about) return;
    Fl::remove_timeout(on_tick);
    about->hide();
    logo_box->image(nullptr);
    portrait_box->image(nullptr);
    delete logo_image;
    delete portrait_image;
    // The box may be closing from inside one of its own callbacks.
    Fl::delete_widget(about);
    about = nullptr;
    std::vector<uint8_t>().swap(panel_pixels);
    std::vector<uint8_t>().swap(logo_pixels);
    std::vector<uint8_t>().swap(portrait_pixels);
}
