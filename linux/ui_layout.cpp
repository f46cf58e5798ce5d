// Layout for the menu and the dialogs: takes dialog-unit boxes, the font's base units,
// texts with their mnemonics and line breaks, and returns pixels, menu items and lines.
#include <FL/Fl.H>
#include <FL/Fl_Menu_Item.H>

#include <cstdlib>
#include <cstring>

#include "texts.h"
#include "ui.h"

const MenuEntry menu_entries[menu_entry_count] = {
    {TEXT_MENU_CONTINUE, command_continue, true},
    {TEXT_MENU_OPTIONS, command_options, false},
    {TEXT_MENU_ABOUT, command_about, true},
    {TEXT_MENU_EXIT, command_exit, false},
};

int32_t mul_div(int32_t a, int32_t b, int32_t c) {
    const int64_t product = static_cast<int64_t>(a) * b;
    const int64_t half = c / 2;
    const bool negative = (product < 0) != (c < 0);
    const int64_t magnitude = (std::llabs(product) + std::llabs(half)) / std::llabs(static_cast<int64_t>(c));
    return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

BaseUnits base_units_from(int32_t letters_width, int32_t font_height) {
    // Twice the average over 26 letter pairs, plus one, halved: the average rounded.
    return {(letters_width / 26 + 1) / 2, font_height};
}

PixelBox dialog_pixels(DialogBox box, BaseUnits base, int32_t scale) {
    return {mul_div(box.left, base.x, 4) * scale, mul_div(box.top, base.y, 8) * scale,
            mul_div(box.width, base.x, 4) * scale, mul_div(box.height, base.y, 8) * scale};
}

std::string plain_label(const char* text) {
    std::string label;
    for (const char* p = text; *p; ++p) {
        label += *p;
        if (*p == '@') label += '@';
    }
    return label;
}

void fill_menu_items(Fl_Menu_Item* items, int32_t scale) {
    std::memset(items, 0, sizeof(Fl_Menu_Item) * (menu_entry_count + 1));
    for (int32_t i = 0; i < menu_entry_count; ++i) {
        Fl_Menu_Item& item = items[i];
        item.text = menu_entries[i].text;
        item.user_data_ = reinterpret_cast<void*>(static_cast<intptr_t>(menu_entries[i].command));
        item.flags = menu_entries[i].separator_after ? FL_MENU_DIVIDER : 0;
        item.labelfont_ = FL_HELVETICA;
        item.labelsize_ = static_cast<Fl_Fontsize>(menu_font_pixels * scale);
        item.labelcolor_ = FL_FOREGROUND_COLOR;
    }
}

int32_t menu_command_of(const Fl_Menu_Item* picked) {
    if (!picked) return command_none;
    return static_cast<int32_t>(reinterpret_cast<intptr_t>(picked->user_data_));
}

// --- line breaking ----------------------------------------------------------------------

namespace {

// The code point starting at |text| and its length in bytes; a stray byte counts alone.
uint32_t decode(const char* text, int* length) {
    const unsigned char lead = static_cast<unsigned char>(text[0]);
    int count = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    uint32_t code = count == 1 ? lead : lead & (0x3F >> (count - 1));
    for (int i = 1; i < count; ++i) {
        const unsigned char next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80) {
            count = 1;
            code = lead;
            break;
        }
        code = code << 6 | (next & 0x3F);
    }
    *length = count;
    return code;
}

// Chinese and other wide characters, between which a line may break anywhere.
bool is_wide(uint32_t code) { return code >= 0x2E80 && !(code >= 0xD800 && code < 0xF900) && code < 0x1F000; }

// Punctuation that never starts a line, and punctuation that never ends one.
bool is_closing(uint32_t code) {
    static const uint32_t closing[] = {0x3001, 0x3002, 0xFF0C, 0xFF0E, 0xFF1A, 0xFF1B, 0xFF01,
                                       0xFF1F, 0xFF09, 0x300D, 0x300F, 0x3011, 0x2026, 0x2019, 0x201D};
    for (uint32_t c : closing)
        if (code == c) return true;
    return code == ')' || code == ',' || code == '.' || code == ';' || code == ':' || code == '!' || code == '?';
}

bool is_opening(uint32_t code) {
    return code == 0xFF08 || code == 0x300C || code == 0x300E || code == 0x3010 || code == 0x2018 ||
           code == 0x201C || code == '(';
}

// One paragraph (no line breaks inside) broken into lines appended to |out|.
void wrap_paragraph(const std::string& text, double width, TextWidth measure, std::string* out) {
    size_t start = 0;
    while (start < text.size() && text[start] == ' ') ++start;
    while (start < text.size()) {
        size_t last_break = 0;  // where the line may end; 0 while it may not yet
        size_t at = start, line_end = text.size();
        uint32_t previous = 0;
        while (at < text.size()) {
            int length = 0;
            const uint32_t code = decode(text.c_str() + at, &length);
            // A break before this character, if the pair allows one.
            if (at > start) {
                const bool wide_pair = (is_wide(code) || is_wide(previous)) && previous != ' ';
                if (code == ' ' || (wide_pair && !is_closing(code) && !is_opening(previous))) last_break = at;
            }
            const size_t end = at + static_cast<size_t>(length);
            if (code != ' ' && at > start && measure(text.c_str() + start, static_cast<int>(end - start)) > width) {
                line_end = last_break ? last_break : at;
                break;
            }
            previous = code;
            at = end;
        }
        size_t trimmed = line_end;
        while (trimmed > start && text[trimmed - 1] == ' ') --trimmed;
        if (!out->empty()) *out += '\n';
        out->append(text, start, trimmed - start);
        start = line_end;
        while (start < text.size() && text[start] == ' ') ++start;
    }
}

}  // namespace

std::string wrap_text(const char* text, double width, TextWidth measure) {
    std::string out;
    const char* paragraph = text;
    for (;;) {
        const char* end = std::strchr(paragraph, '\n');
        const std::string part = end ? std::string(paragraph, end) : std::string(paragraph);
        std::string lines;
        wrap_paragraph(part, width, measure, &lines);
        out += lines;
        if (!end) break;
        out += '\n';
        paragraph = end + 1;
    }
    return out;
}
