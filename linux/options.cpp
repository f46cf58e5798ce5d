// The Options dialog: takes the saved settings, lets the user edit the display mode,
// the four margins and the tick interval, and saves accepted values for the next start.
#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Round_Button.H>
#include <FL/Fl_Window.H>

#include <cstdio>

#include "options_rules.h"
#include "texts.h"
#include "ui.h"

namespace {

Fl_Window* dialog = nullptr;
Fl_Round_Button* stored_button;
Fl_Round_Button* built_button;
Fl_Round_Button* blended_button;
Fl_Button* ok_button;
Fl_Button* cancel_button;
Fl_Input* fields[5];  // by OptionField

PixelBox place(DialogBox box) { return dialog_pixels(box, dialog_base_units(), dialog_scale); }

PixelSize size_at(int32_t scale) {
    const PixelBox client = dialog_pixels({0, 0, OPTIONS_SIZE}, dialog_base_units(), scale);
    return {client.w, client.h};
}

Fl_Round_Button* add_radio(DialogBox box, const char* text, bool selected) {
    const PixelBox at = place(box);
    Fl_Round_Button* button = new Fl_Round_Button(at.x, at.y, at.w, at.h);
    button->copy_label(plain_label(text).c_str());
    button->labelsize(ui_font_pixels());
    button->type(FL_RADIO_BUTTON);
    // A flat box of the dialog's colour: a redraw replaces the text instead of
    // drawing it over itself.
    button->box(FL_FLAT_BOX);
    // Only the push buttons and the edit fields are reached by Tab.
    button->clear_visible_focus();
    button->value(selected ? 1 : 0);
    return button;
}

Fl_Input* add_field(DialogBox box, int32_t value) {
    const PixelBox at = place(box);
    Fl_Input* field = new Fl_Input(at.x, at.y, at.w, at.h);
    field->textsize(ui_font_pixels());
    char text[20];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
    field->value(text);
    return field;
}

Fl_Button* add_button(Fl_Button* button, const char* text, Fl_Callback* callback) {
    button->copy_label(plain_label(text).c_str());
    button->labelsize(ui_font_pixels());
    button->callback(callback);
    return button;
}

bool read_entry(void*, OptionField field, int32_t* value) {
    const Fl_Input* input = fields[field];
    return read_option_field(input->value(), static_cast<size_t>(input->size()), value);
}

void on_ok(Fl_Widget*, void*) {
    // Enter presses the push button that has the focus, OK only as the default: FLTK's
    // return button takes Enter as its shortcut whatever has the focus.
    if (Fl::event() == FL_SHORTCUT && Fl::focus() == cancel_button) {
        close_options_dialog();
        return;
    }
    Settings entered = saved_settings;
    const OptionsVerdict verdict = judge_options(read_entry, nullptr, margins_fit_next_start, &entered);
    if (verdict != options_accepted) {
        // The entries stay as they are; the pet may end while the box is open, and the
        // dialog with it.
        show_box_over(dialog, options_refusal(verdict), box_error);
        return;
    }
    entered.mode = chosen_mode(saved_settings.mode, stored_button->value(), built_button->value(),
                               blended_button->value());
    if (!same_settings(entered, saved_settings)) {
        saved_settings = entered;
        save_settings();
    }
    close_options_dialog();
}

void on_cancel(Fl_Widget*, void*) { close_options_dialog(); }

void build_dialog() {
    const PixelBox client = place({0, 0, OPTIONS_SIZE});
    dialog = new Fl_Window(client.w, client.h);
    dialog->copy_label(OPTIONS_CAPTION);
    dialog->callback(on_cancel);  // Escape and the close box
    // Children in the order Tab visits them: OK, Cancel, then the five fields.
    const PixelBox ok = place({OPTIONS_OK_BOX}), cancel = place({OPTIONS_CANCEL_BOX});
    ok_button = add_button(new Fl_Return_Button(ok.x, ok.y, ok.w, ok.h), TEXT_OK, on_ok);
    cancel_button = add_button(new Fl_Button(cancel.x, cancel.y, cancel.w, cancel.h), TEXT_CANCEL, on_cancel);
    const int32_t mode = saved_settings.mode;
    stored_button = add_radio({OPTIONS_STORED_BOX}, TEXT_MODE_STORED, mode == display_stored);
    built_button = add_radio({OPTIONS_BUILT_BOX}, TEXT_MODE_BUILT, mode == display_built);
    blended_button = add_radio({OPTIONS_BLENDED_BOX}, TEXT_MODE_BLENDED, mode == display_blended);
    add_text(place({OPTIONS_TOP_LABEL_BOX}), TEXT_TOP, false);
    add_text(place({OPTIONS_LEFT_LABEL_BOX}), TEXT_LEFT, false);
    add_text(place({OPTIONS_BOTTOM_LABEL_BOX}), TEXT_BOTTOM, false);
    add_text(place({OPTIONS_RIGHT_LABEL_BOX}), TEXT_RIGHT, false);
    fields[field_top] = add_field({OPTIONS_TOP_BOX}, saved_settings.top_margin);
    fields[field_left] = add_field({OPTIONS_LEFT_BOX}, saved_settings.left_margin);
    fields[field_bottom] = add_field({OPTIONS_BOTTOM_BOX}, saved_settings.bottom_margin);
    fields[field_right] = add_field({OPTIONS_RIGHT_BOX}, saved_settings.right_margin);
    add_text(place({OPTIONS_SPEED_LABEL_BOX}), TEXT_SPEED, false);
    fields[field_speed] = add_field({OPTIONS_SPEED_BOX}, saved_settings.timer);
    add_text(place({OPTIONS_NOTE_BOX}), TEXT_NEXT_START, false);
    add_group_box(place({OPTIONS_MODE_GROUP_BOX}), TEXT_DISPLAY_MODE);
    add_group_box(place({OPTIONS_MARGIN_GROUP_BOX}), TEXT_BOUNDARY);
    dialog->end();
}

}  // namespace

void open_options_dialog() {
    if (dialog) {
        bring_forward(dialog);
        return;
    }
    prepare_ui();
    choose_dialog_scale(size_at);
    build_dialog();
    place_dialog(dialog, nullptr);
    show_dialog(dialog, nullptr);
    // The keys go to the first control Tab visits, as in a Windows dialog. A window
    // manager gives the new dialog the focus; without one nobody does, and FLTK would
    // take only its shortcuts (Enter, Escape) until the dialog is clicked.
    ok_button->take_focus();
}

void close_options_dialog() {
    if (!dialog) return;
    dialog->hide();
    // The dialog may be closing from inside one of its own callbacks.
    Fl::delete_widget(dialog);
    dialog = nullptr;
}
