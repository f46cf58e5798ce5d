// What the menu, the dialogs and the message boxes share: takes the texts and boxes of
// texts.h and the pet's scale, and gives pixel layout, wrapped labels and pictures.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "art_data.h"
#include "engine.h"
#include "program.h"

class Fl_Box;
class Fl_Window;
struct Fl_Menu_Item;

// --- layout in dialog units (ui_layout.cpp) --------------------------------------------
// The dialog font: 9 points at 96 DPI, as the Windows dialogs and menu use it.
constexpr int32_t dialog_font_pixels = 12;
constexpr int32_t menu_font_pixels = 12;

// Pixels per 4 dialog units across and per 8 down, measured from the dialog font.
struct BaseUnits {
    int32_t x, y;
};

// A box as texts.h gives it (left, top, width, height in dialog units), and in pixels.
struct DialogBox {
    int32_t left, top, width, height;
};
struct PixelBox {
    int32_t x, y, w, h;
};

// a x b / c rounded to the nearest, halves away from zero, as Windows' MulDiv does.
int32_t mul_div(int32_t a, int32_t b, int32_t c);
// The base units of a font from the width of the 52 letters A-Z a-z set side by side and
// the font's height: the average letter width, rounded.
BaseUnits base_units_from(int32_t letters_width, int32_t font_height);
// Each of the four numbers converted on its own, as Windows lays out a dialog's
// controls, then enlarged |scale| times.
PixelBox dialog_pixels(DialogBox box, BaseUnits base, int32_t scale);

// A label FLTK shows as given: its '@' would start a symbol otherwise.
std::string plain_label(const char* text);

// The width of the first |bytes| bytes of |text| in the font in use.
typedef double (*TextWidth)(const char* text, int bytes);
// |text| with line breaks inserted so that no line is wider than |width|: between words
// at blanks, and around Chinese characters anywhere except before closing punctuation
// and after opening punctuation; a word wider than a line is cut between characters.
// The text's own line breaks are kept.
std::string wrap_text(const char* text, double width, TextWidth measure);

// --- where a dialog opens (dialog_place.cpp) -------------------------------------------
struct PixelSize {
    int32_t w, h;
};
// A dialog's client size when it is built at |scale|.
typedef PixelSize (*SizeAtScale)(int32_t scale);
// The largest scale from |largest| down at which the dialog, with |frame| round its client
// area for a window manager's frame, fits |work|; 1 when none does.
int32_t fitting_scale(SizeAtScale size_at, int32_t largest, ScreenRect work, Margins frame);
// Where the client area of a dialog of |size| goes so that the dialog and |frame| round it
// lie inside |work|: beside the pet's window |pet|, level with it, on the side with more
// room; above or below it when neither side has room; over it, from its corner, when
// nothing has.
ScreenPoint beside_pet(PixelSize size, Margins frame, ScreenRect work, ScreenRect pet);
// True when the dialog, its client area at |at|, lies inside |work| and off the pet.
bool clear_of_pet(ScreenPoint at, PixelSize size, Margins frame, ScreenRect work, ScreenRect pet);

// --- the context menu (ui_layout.cpp) --------------------------------------------------
struct MenuEntry {
    const char* text;  // '&' marks the mnemonic
    int32_t command;
    bool separator_after;
};
constexpr int32_t menu_entry_count = 4;
extern const MenuEntry menu_entries[menu_entry_count];
// The pop-up's items, |menu_entry_count| and the terminator, at the menu's font size
// times |scale|; each item's user data is its command.
void fill_menu_items(Fl_Menu_Item* items, int32_t scale);
// The command of the item picked, command_none for none.
int32_t menu_command_of(const Fl_Menu_Item* picked);

// --- pictures (ui_pictures.cpp) --------------------------------------------------------
// What the About panel is made of.
struct PanelArt {
    const ArtIndexedPicture* panel;
    const ArtIndexedPicture* tile;
    const ArtIndexedPicture* sprites;  // cells of frame_width x frame_height
    int32_t columns;                   // cells per row of the sheet
    int32_t cell;                      // a cell's width and height
    uint8_t key;                       // the sheet's see-through index
};
// The panel with its background, the two strips of tiles at |offset| and the cat
// |frame| blended over it by the key colour, each picture pixel an s x s block: three
// bytes per pixel, (panel width x s) x (panel height x s).
void compose_about_panel(const PanelArt& art, FrameRef frame, int32_t offset, int32_t scale, uint8_t* rgb);
// An indexed picture enlarged s times into four bytes per pixel; entry |clear| is
// see-through (alpha 0), every other pixel opaque.
void enlarge_indexed(const ArtIndexedPicture& picture, int32_t scale, int32_t clear, uint8_t* rgba);
// A three-byte picture enlarged s times.
void enlarge_rgb(const ArtRgbPicture& picture, int32_t scale, uint8_t* rgb);
// A message box's icon of |size| x |size| pixels, four bytes per pixel, drawn smooth:
// error a red disc with a white cross, warning a yellow triangle with a black "!".
void draw_box_icon(BoxIcon icon, int32_t size, uint8_t* rgba);

// --- fonts (fonts.cpp) -----------------------------------------------------------------
// Makes a face that covers every Chinese text FLTK's face for all widgets.
void set_ui_fonts();
// The dialog font's base units at scale 1, measured once.
BaseUnits dialog_base_units();

// --- the toolkit's side (ui_setup.cpp) ---------------------------------------------------
// Opens FLTK's connection on first use, after giving it a face that covers Chinese, the
// program's class and icons. Nothing of FLTK or fontconfig runs before this.
void prepare_ui();
// The pet's scale, 1 before the pet has one.
int32_t ui_scale();
// The screen point of the pet window's top-left corner.
ScreenPoint pet_corner();
// The width of |bytes| bytes of |text| in FLTK's current font.
double text_width(const char* text, int bytes);
// The font size of the dialog or box being built, at dialog_scale, in pixels.
int32_t ui_font_pixels();
// A static text of the dialog font in |box|, from its top-left corner; wrapped to the
// box's width when |wrap|.
Fl_Box* add_text(PixelBox box, const char* text, bool wrap);
// A group box, as Windows draws one: a sunken frame whose top edge runs through the
// middle of |title| near its left end (no title: through the middle of a text line).
void add_group_box(PixelBox box, const char* title);

// --- the dialogs' windows (dialog_window.cpp) ------------------------------------------
// The scale of the dialog or box being built.
extern int32_t dialog_scale;
// Sets dialog_scale for a dialog of this size: the largest, at most the pet's, at which it
// fits the work area of the pet's monitor with a window manager's frame round it.
void choose_dialog_scale(SizeAtScale size_at);
// Moves |window| beside the pet; with an |owner| on screen, centred on the owner where
// that keeps it off the pet.
void place_dialog(Fl_Window* window, Fl_Window* owner);
// Shows |window| as one of the pet's dialogs: a dialog window owned by |owner|, or by the
// pet's window without one, offered neither minimise nor maximise, titled in UTF-8.
void show_dialog(Fl_Window* window, Fl_Window* owner);
// An open dialog comes to the front, shown again if someone hid or iconified it, and
// takes the focus.
void bring_forward(Fl_Window* window);

// --- the dialogs (options.cpp, about.cpp) -------------------------------------------------
// Each closes its dialog, if open, without saving anything.
void close_options_dialog();
void close_about_dialog();

// --- message boxes (boxes.cpp) ----------------------------------------------------------
// show_box with an owner: the box stays above |owner| and is centred on it.
void show_box_over(Fl_Window* owner, const char* text, BoxIcon icon);
// Closes every open box, so nested loops waiting on them end.
void close_boxes();
