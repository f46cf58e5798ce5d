// The X11 program's pure rules: command-line words to an action, paths and the
// environment to file places, resource text to a DPI, monitor lists to a layout, presses
// to double clicks and outline runs to shape rectangles.
#include "rules.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <cstdint>
#include <cstring>

#include "settings_rules.h"

const char* const usage_text =
    "Usage: tuvo [OPTION]\n"
    "A cat that lives on your desktop. Pick it up with the left mouse button; right-click\n"
    "it for its menu.\n"
    "\n"
    "Options:\n"
    "  -h, --help        show this help and exit\n"
    "  --version         show the version and exit\n"
    "  --autostart=on    start the cat when you sign in (writes an autostart entry)\n"
    "  --autostart=off   stop starting it at sign-in (removes that entry)\n"
    "  --backend=auto    a Wayland client where the compositor offers a layer shell,\n"
    "                    else an X11 client (the default)\n"
    "  --backend=wayland a Wayland client (its menu needs XWayland)\n"
    "  --backend=x11     an X11 client (through XWayland on a Wayland desktop)\n"
    "\n"
    "Settings: tuvo.ini beside the program when there is one, else\n"
    "$XDG_CONFIG_HOME/tuvo/tuvo.ini (~/.config/tuvo/tuvo.ini).\n";

namespace {

struct OptionWord {
    const char* word;
    CommandLineAction action;
};

constexpr OptionWord option_words[] = {
    {"-h", print_help},
    {"--help", print_help},
    {"--version", print_version},
    {"--autostart=on", autostart_on},
    {"--autostart=off", autostart_off},
};

constexpr const char* backend_option = "--backend=";

struct BackendWord {
    const char* word;
    Backend backend;
};

constexpr BackendWord backend_words[] = {
    {"auto", backend_auto},
    {"wayland", backend_wayland},
    {"x11", backend_x11},
};

// The backend a --backend word names; false for any other word or value.
bool backend_of(const char* word, Backend* backend) {
    const size_t length = std::strlen(backend_option);
    if (std::strncmp(word, backend_option, length) != 0) return false;
    for (const BackendWord& b : backend_words)
        if (std::strcmp(word + length, b.word) == 0) {
            *backend = b.backend;
            return true;
        }
    return false;
}

CommandLineAction action_of(const char* word) {
    for (const OptionWord& option : option_words)
        if (std::strcmp(word, option.word) == 0) return option.action;
    return bad_option;
}

// Characters that make the entry format quote an Exec argument (a carriage return, too,
// which a program splitting the line could take for a break between arguments).
bool needs_quoting(char c) {
    return c != '\0' && std::strchr(" \t\n\r\"'\\><~|&;$*?#()`", c) != nullptr;
}

// The control characters a desktop entry's string can hold, as escapes.
bool has_string_escape(char c) { return c == '\t' || c == '\n' || c == '\r'; }

// Strict UTF-8: no overlong forms, no surrogates, nothing past U+10FFFF.
bool is_utf8(const std::string& text) {
    const auto* b = reinterpret_cast<const unsigned char*>(text.data());
    const size_t n = text.size();
    for (size_t i = 0; i < n;) {
        const unsigned char c = b[i];
        size_t length = 1;
        uint32_t code = c, least = 0;
        if (c >= 0xF0 && c <= 0xF4) length = 4, code = c & 0x07, least = 0x10000;
        else if (c >= 0xE0) length = 3, code = c & 0x0F, least = 0x800;
        else if (c >= 0xC2 && c <= 0xDF) length = 2, code = c & 0x1F, least = 0x80;
        else if (c >= 0x80) return false;
        if (c >= 0xF5 || i + length > n) return false;
        for (size_t k = 1; k < length; ++k) {
            if ((b[i + k] & 0xC0) != 0x80) return false;
            code = (code << 6) | (b[i + k] & 0x3F);
        }
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        i += length;
    }
    return true;
}

// The frame's opaque pixels, one byte each, as the outline's runs mark them.
struct Cells {
    int32_t width;
    std::vector<uint8_t> opaque;
};

void mark_run(void* cells, int32_t x, int32_t top, int32_t bottom) {
    Cells* c = static_cast<Cells*>(cells);
    for (int32_t y = top; y < bottom; ++y) c->opaque[size_t(y) * size_t(c->width) + size_t(x)] = 1;
}

bool same_row(const Cells& cells, int32_t a, int32_t b) {
    const auto row_a = cells.opaque.begin() + ptrdiff_t(a) * cells.width;
    const auto row_b = cells.opaque.begin() + ptrdiff_t(b) * cells.width;
    return std::equal(row_a, row_a + cells.width, row_b);
}

int32_t low_bit(unsigned long mask) {
    int32_t shift = 0;
    while (mask && !(mask & 1)) mask >>= 1, ++shift;
    return shift;
}

// An 8-bit channel spread over the bits of |mask|, rounded to the nearest.
unsigned long channel(uint8_t value, unsigned long mask) {
    const int32_t shift = low_bit(mask);
    const unsigned long top = mask >> shift;
    return ((value * top + 127) / 255) << shift;
}

}  // namespace

CommandLine parse_command_line(int argc, const char* const* argv) {
    CommandLine result = {run_pet, nullptr, backend_auto};
    for (int i = 1; i < argc; ++i) {
        if (backend_of(argv[i], &result.backend)) continue;
        const CommandLineAction action = action_of(argv[i]);
        if (action == bad_option) return {bad_option, argv[i], result.backend};
        if (result.action == run_pet) result.action = action;
    }
    return result;
}

std::string directory_of(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string config_home(const char* xdg_config_home, const char* home, const char* account_home) {
    // A relative value is no value: the base directory rules ignore it.
    if (xdg_config_home && xdg_config_home[0] == '/') return xdg_config_home;
    if (home && home[0] == '/') return std::string(home) + "/.config";
    if (account_home && account_home[0] == '/') return std::string(account_home) + "/.config";
    return "";
}

std::string settings_location(const std::string& beside, bool beside_exists, const std::string& config) {
    if (beside_exists) return beside;
    if (config.empty()) return "";
    return config + "/tuvo/" + settings_file_name;
}

std::string autostart_location(const std::string& config) { return config + "/autostart/tuvo.desktop"; }

const char* autostart_refusal(const std::string& program) {
    if (!is_utf8(program)) return "its path is not UTF-8, which an autostart entry cannot hold";
    for (char c : program) {
        const unsigned char u = static_cast<unsigned char>(c);
        if ((u < 0x20 || u == 0x7F) && !has_string_escape(c))
            return "its path holds a control character that an autostart entry cannot hold";
    }
    return nullptr;
}

std::string desktop_string_value(const std::string& text) {
    std::string value;
    for (char c : text) {
        if (c == '\\') value += "\\\\";
        else if (c == '\n') value += "\\n";
        else if (c == '\t') value += "\\t";
        else if (c == '\r') value += "\\r";
        else value += c;
    }
    return value;
}

std::string desktop_exec_value(const std::string& program) {
    bool quoted = false;
    for (char c : program) quoted = quoted || needs_quoting(c);
    // The argument as the Exec rules write it (inside quotes ", `, $ and the backslash
    // take a backslash; a percent sign is doubled, as no field code), then written as
    // a string, which doubles every backslash once more.
    std::string argument = quoted ? "\"" : "";
    for (char c : program) {
        if (quoted && (c == '"' || c == '`' || c == '$' || c == '\\')) argument += '\\';
        argument += c;
        if (c == '%') argument += '%';
    }
    if (quoted) argument += '"';
    return desktop_string_value(argument);
}

std::string autostart_entry(const std::string& program) {
    // The names and comments of the application menu's entry, in both languages; TryExec
    // keeps a removed program from being started at every sign-in.
    return std::string("[Desktop Entry]\n"
                       "Type=Application\n"
                       "Version=1.0\n"
                       "Name=Tuvo\n"
                       "GenericName=Desktop Pet\n"
                       "GenericName[zh_CN]=桌面宠物\n"
                       "Comment=A cat that lives on your desktop\n"
                       "Comment[zh_CN]=一只住在你桌面上的猫\n"
                       "TryExec=") +
           desktop_string_value(program) + "\nExec=" + desktop_exec_value(program) +
           "\n"
           "Icon=tuvo\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

int32_t dpi_from_resources(const char* resources) {
    constexpr const char* key = "Xft.dpi";
    constexpr double most_dpi = 100000.0;
    if (!resources) return 0;
    for (const char* line = resources; *line;) {
        const char* end = std::strchr(line, '\n');
        if (!end) end = line + std::strlen(line);
        const char* p = line;
        while (p < end && (*p == ' ' || *p == '\t')) ++p;
        const size_t key_length = std::strlen(key);
        if (size_t(end - p) > key_length && std::strncmp(p, key, key_length) == 0) {
            p += key_length;
            while (p < end && (*p == ' ' || *p == '\t')) ++p;
            if (p < end && *p == ':') {
                char* after = nullptr;
                const double dpi = std::strtod(p + 1, &after);
                if (after == p + 1 || after > end || !(dpi >= 0.5 && dpi < most_dpi)) return 0;
                return static_cast<int32_t>(std::lround(dpi));
            }
        }
        line = *end ? end + 1 : end;
    }
    return 0;
}

MonitorLayout layout_from(const FoundMonitor* found, int32_t count, int32_t dpi, ScreenRect screen) {
    MonitorLayout layout = {};
    layout.primary = -1;
    int32_t at_origin = -1;
    for (int32_t i = 0; i < count && layout.count < max_monitors; ++i) {
        const ScreenRect r = found[i].rect;
        if (r.right <= r.left || r.bottom <= r.top) continue;
        const int32_t slot = layout.count++;
        layout.monitors[slot] = r;
        std::memcpy(layout.names[slot], found[i].name, monitor_name_size);
        layout.names[slot][monitor_name_size - 1] = '\0';
        layout.dpis[slot] = dpi;
        if (found[i].primary && layout.primary < 0) layout.primary = slot;
        if (r.left == 0 && r.top == 0 && at_origin < 0) at_origin = slot;
    }
    if (layout.count == 0) {
        layout.count = 1;
        layout.monitors[0] = screen;
        layout.dpis[0] = dpi;
    }
    if (layout.primary < 0) layout.primary = at_origin >= 0 ? at_origin : 0;
    return layout;
}

bool is_double_click(const LeftPress& previous, Time time, int32_t x, int32_t y) {
    if (!previous.valid) return false;
    // Unsigned 32-bit difference: the server's clock wraps after some 49 days.
    const uint32_t elapsed = static_cast<uint32_t>(time) - static_cast<uint32_t>(previous.time);
    if (elapsed > double_click_time) return false;
    return std::abs(x - previous.x) <= double_click_distance && std::abs(y - previous.y) <= double_click_distance;
}

int64_t seed_from_environment(const char* value) {
    if (!value || !*value) return -1;
    int64_t seed = 0;
    for (const char* c = value; *c; ++c) {
        if (*c < '0' || *c > '9') return -1;
        seed = seed * 10 + (*c - '0');
        if (seed > int64_t(UINT32_MAX)) return -1;
    }
    return seed;
}

unsigned long true_colour_pixel(ArtRgb colour, unsigned long red_mask, unsigned long green_mask,
                                unsigned long blue_mask) {
    return channel(colour.r, red_mask) | channel(colour.g, green_mask) | channel(colour.b, blue_mask);
}

void cut_frame_words(const ArtIndexedPicture& sheet, int32_t columns, int32_t cell, int32_t image, int32_t mirrored,
                     int32_t scale, const unsigned long* pixels, char* out, size_t line_bytes) {
    const int32_t column = image % columns, row = image / columns;
    const size_t line_length = size_t(cell) * size_t(scale) * sizeof(uint32_t);
    for (int32_t y = 0; y < cell; ++y) {
        const uint8_t* source = sheet.pixels + size_t(row * cell + y) * size_t(sheet.width) + size_t(column * cell);
        char* first_line = out + size_t(y) * size_t(scale) * line_bytes;
        uint32_t* word = reinterpret_cast<uint32_t*>(first_line);
        for (int32_t x = 0; x < cell; ++x) {
            const uint32_t pixel = uint32_t(pixels[source[mirrored ? cell - 1 - x : x]]);
            for (int32_t i = 0; i < scale; ++i) *word++ = pixel;
        }
        // The other lines of the squares are copies of the first.
        for (int32_t i = 1; i < scale; ++i) std::memcpy(first_line + size_t(i) * line_bytes, first_line, line_length);
    }
}

void outline_rectangles(const MaskSheet& sheet, int32_t image, int32_t mirrored, int32_t frame_width,
                        int32_t frame_height, int32_t scale, std::vector<XRectangle>* out) {
    if (frame_width <= 0 || frame_height <= 0) return;
    Cells cells = {frame_width, std::vector<uint8_t>(size_t(frame_width) * size_t(frame_height), 0)};
    for_each_outline_run(sheet, image, mirrored, frame_width, frame_height, mark_run, &cells);
    // Rows of the frame in bands: each band the rows that share the same spans, each span
    // one rectangle, bands top to bottom and spans left to right. This is the X server's
    // own form of a region, so it takes the list as it stands, without sorting it.
    int32_t top = 0;
    while (top < frame_height) {
        int32_t bottom = top + 1;
        while (bottom < frame_height && same_row(cells, top, bottom)) ++bottom;
        const uint8_t* row = &cells.opaque[size_t(top) * size_t(frame_width)];
        for (int32_t x = 0; x < frame_width;) {
            if (!row[x]) {
                ++x;
                continue;
            }
            const int32_t left = x;
            while (x < frame_width && row[x]) ++x;
            out->push_back({static_cast<short>(left * scale), static_cast<short>(top * scale),
                            static_cast<unsigned short>((x - left) * scale),
                            static_cast<unsigned short>((bottom - top) * scale)});
        }
        top = bottom;
    }
}
