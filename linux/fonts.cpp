// The face of the menu and the dialogs: takes what fontconfig has installed and returns
// a face that covers every Chinese text the program shows, made FLTK's face for all.
#include <FL/Fl.H>
#include <FL/fl_draw.H>
#include <fontconfig/fontconfig.h>

#include <cmath>
#include <cstdio>
#include <cstring>

#include "texts.h"
#include "ui.h"

namespace {

// The faces to try first; then whatever fontconfig offers for Simplified Chinese.
const char* const preferred_families[] = {"WenQuanYi Micro Hei", "Noto Sans CJK SC", "Noto Sans SC", nullptr};

// Every text of the menu and the dialogs whose characters the face must have.
const char* const shown_texts[] = {
    TEXT_MENU_CONTINUE, TEXT_MENU_OPTIONS, TEXT_MENU_ABOUT, TEXT_MENU_EXIT, OPTIONS_CAPTION,
    TEXT_OK, TEXT_CANCEL, TEXT_MODE_STORED, TEXT_MODE_BUILT, TEXT_MODE_BLENDED, TEXT_TOP,
    TEXT_LEFT, TEXT_BOTTOM, TEXT_RIGHT, TEXT_SPEED, TEXT_NEXT_START, TEXT_DISPLAY_MODE,
    TEXT_BOUNDARY, ABOUT_CAPTION, TEXT_ABOUT_STORY, TEXT_ABOUT_CONTACT, TEXT_ABOUT_CREDIT,
};

bool covers_texts(FcCharSet* charset) {
    for (const char* text : shown_texts) {
        const FcChar8* at = reinterpret_cast<const FcChar8*>(text);
        int left = static_cast<int>(std::strlen(text));
        while (left > 0) {
            FcChar32 code = 0;
            const int length = FcUtf8ToUcs4(at, &code, left);
            if (length <= 0) break;
            if (code > ' ' && !FcCharSetHasChar(charset, code)) return false;
            at += length;
            left -= length;
        }
    }
    return true;
}

// The family fontconfig picks for |family| (any when null) in Simplified Chinese, when
// the face it picks has every character shown; false otherwise.
bool match_family(const char* family, char* name, size_t size) {
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(":lang=zh-cn"));
    if (!pattern) return false;
    if (family) FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return false;
    FcCharSet* charset = nullptr;
    FcChar8* found = nullptr;
    bool usable = FcPatternGetCharSet(match, FC_CHARSET, 0, &charset) == FcResultMatch &&
                  FcPatternGetString(match, FC_FAMILY, 0, &found) == FcResultMatch && covers_texts(charset);
    if (usable) std::snprintf(name, size, "%s", reinterpret_cast<const char*>(found));
    FcPatternDestroy(match);
    return usable;
}

// FLTK's names for a face: a first character ' ' plain, 'B' bold, 'I' italic, 'P' both.
char face_names[4][128];

}  // namespace

// Makes the first face that covers the texts FLTK's face for every widget; without one,
// says so once and leaves FLTK's own (the Chinese then shows as boxes).
void set_ui_fonts() {
    char family[120] = "";
    bool found = false;
    for (const char* const* wanted = preferred_families;; ++wanted) {
        found = match_family(*wanted, family, sizeof family);
        if (found || !*wanted) break;
    }
    if (!found) {
        std::fprintf(stderr, "tuvo: no installed font covers Chinese; the menu and dialogs show boxes\n");
        return;
    }
    static const char styles[4] = {' ', 'B', 'I', 'P'};
    for (int i = 0; i < 4; ++i) {
        std::snprintf(face_names[i], sizeof face_names[i], "%c%s", styles[i], family);
        Fl::set_font(static_cast<Fl_Font>(FL_HELVETICA + i), face_names[i]);
    }
}

BaseUnits dialog_base_units() {
    static BaseUnits measured = {0, 0};
    if (measured.x) return measured;
    prepare_ui();
    fl_font(FL_HELVETICA, dialog_font_pixels);
    const char* letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    measured = base_units_from(static_cast<int32_t>(std::lround(fl_width(letters))), fl_height());
    return measured;
}
