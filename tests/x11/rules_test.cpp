// The X11 program's rules over tables of cases: command-line words, the settings file's
// and the autostart entry's places, the entry's quoting, Xft.dpi in resource text,
// monitor lists from RandR or Xinerama, and what makes two presses a double click.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <utility>
#include <vector>

#include "rules.h"

namespace {

CommandLine parse(std::vector<const char*> words) {
    words.insert(words.begin(), "tuvo");
    return parse_command_line(int(words.size()), words.data());
}

TEST(CommandLine, KnownOptionsChooseTheirActionAndAnyUnknownWordIsRefused) {
    const struct {
        std::vector<const char*> words;
        CommandLineAction action;
        const char* bad;
    } cases[] = {
        {{}, run_pet, nullptr},
        {{"--help"}, print_help, nullptr},
        {{"--version"}, print_version, nullptr},
        {{"--autostart=on"}, autostart_on, nullptr},
        {{"--autostart=off"}, autostart_off, nullptr},
        {{"--version", "--help"}, print_version, nullptr},  // the first decides
        {{"-h"}, print_help, nullptr},
        {{"-x"}, bad_option, "-x"},
        {{"-help"}, bad_option, "-help"},
        {{"--autostart"}, bad_option, "--autostart"},
        {{"--autostart=yes"}, bad_option, "--autostart=yes"},
        {{"--HELP"}, bad_option, "--HELP"},
        {{""}, bad_option, ""},
        {{"--help", "extra"}, bad_option, "extra"},  // never acts on a half-understood line
        {{"file.ini"}, bad_option, "file.ini"},
    };
    for (const auto& c : cases) {
        const CommandLine line = parse(c.words);
        EXPECT_EQ(line.action, c.action) << (c.words.empty() ? "(none)" : c.words[0]);
        if (c.bad) {
            EXPECT_STREQ(line.bad, c.bad);
        }
    }
    EXPECT_NE(std::strstr(usage_text, "--autostart=off"), nullptr);
}

TEST(CommandLine, BackendChoosesThePetShellBesideAnyActionAndAnUnknownOneIsRefused) {
    const struct {
        std::vector<const char*> words;
        CommandLineAction action;
        Backend backend;
        const char* bad;
    } cases[] = {
        {{}, run_pet, backend_auto, nullptr},
        {{"--backend=auto"}, run_pet, backend_auto, nullptr},
        {{"--backend=wayland"}, run_pet, backend_wayland, nullptr},
        {{"--backend=x11"}, run_pet, backend_x11, nullptr},
        {{"--backend=x11", "--backend=wayland"}, run_pet, backend_wayland, nullptr},  // the last counts
        {{"--backend=x11", "--help"}, print_help, backend_x11, nullptr},  // not an action itself
        {{"--version", "--backend=wayland"}, print_version, backend_wayland, nullptr},
        {{"--backend=bogus"}, bad_option, backend_auto, "--backend=bogus"},
        {{"--backend="}, bad_option, backend_auto, "--backend="},
        {{"--backend"}, bad_option, backend_auto, "--backend"},
        {{"--backend=X11"}, bad_option, backend_auto, "--backend=X11"},
        {{"--backend=wayland", "--backend=x"}, bad_option, backend_wayland, "--backend=x"},
    };
    for (const auto& c : cases) {
        const CommandLine line = parse(c.words);
        const char* first = c.words.empty() ? "(none)" : c.words[0];
        EXPECT_EQ(line.action, c.action) << first;
        EXPECT_EQ(line.backend, c.backend) << first;
        if (c.bad) {
            EXPECT_STREQ(line.bad, c.bad);
        }
    }
    for (const char* backend : {"--backend=auto", "--backend=wayland", "--backend=x11"})
        EXPECT_NE(std::strstr(usage_text, backend), nullptr) << backend;
}

TEST(Places, SettingsBesideTheProgramWhenThereElseInTheUsersConfigurationFolder) {
    // The third is the account's home in the password database.
    const struct {
        const char* xdg;
        const char* home;
        const char* account;
        const char* config;
    } homes[] = {
        {"/x/cfg", "/home/u", "/home/a", "/x/cfg"},
        {nullptr, "/home/u", "/home/a", "/home/u/.config"},
        {"", "/home/u", "/home/a", "/home/u/.config"},
        {"relative/cfg", "/home/u", "/home/a", "/home/u/.config"},  // not absolute: ignored
        {nullptr, nullptr, "/home/a", "/home/a/.config"},          // no HOME: the account's
        {nullptr, "", "/home/a", "/home/a/.config"},
        {nullptr, "relative/home", "/home/a", "/home/a/.config"},  // not absolute: ignored
        {"relative/cfg", nullptr, "/home/a", "/home/a/.config"},
        {nullptr, nullptr, nullptr, ""},
        {nullptr, "", "", ""},
        {nullptr, nullptr, "relative", ""},
    };
    for (const auto& h : homes)
        EXPECT_EQ(config_home(h.xdg, h.home, h.account), h.config)
            << (h.xdg ? h.xdg : "-") << " " << (h.home ? h.home : "-") << " " << (h.account ? h.account : "-");

    const std::string beside = "/opt/tuvo/tuvo.ini";
    EXPECT_EQ(settings_location(beside, true, "/home/u/.config"), beside);
    EXPECT_EQ(settings_location(beside, false, "/home/u/.config"), "/home/u/.config/tuvo/tuvo.ini");
    // Nowhere to go: nothing is made beside the program, where every user would read it.
    EXPECT_EQ(settings_location(beside, false, ""), "");
    EXPECT_EQ(settings_location(beside, true, ""), beside);  // one that is there is used
    EXPECT_EQ(autostart_location("/home/u/.config"), "/home/u/.config/autostart/tuvo.desktop");

    const std::pair<const char*, const char*> folders[] = {
        {"/usr/bin/tuvo", "/usr/bin"}, {"/tuvo", "/"}, {"tuvo", "."}, {"a/b/", "a/b"}, {"/a/b/c.ini", "/a/b"}};
    for (auto [path, folder] : folders) EXPECT_EQ(directory_of(path), folder) << path;
}

TEST(Autostart, ExecIsTheProgramQuotedAsTheEntryFormatAsks) {
    const std::pair<const char*, const char*> cases[] = {
        {"/usr/bin/tuvo", "/usr/bin/tuvo"},
        {"/opt/my pets/tuvo", "\"/opt/my pets/tuvo\""},
        {"/opt/100%/tuvo", "/opt/100%%/tuvo"},
        // Inside quotes ", ` and $ take a backslash, which the string format doubles; a
        // backslash itself becomes four.
        {"/a \"b\"/tuvo", "\"/a \\\\\"b\\\\\"/tuvo\""},
        {"/a$b/tuvo", "\"/a\\\\$b/tuvo\""},
        {"/a\\b/tuvo", "\"/a\\\\\\\\b/tuvo\""},
        // Newline, tab and carriage return quote the path and are written as the string
        // format's escapes.
        {"/opt/a\nb\tc\rd/tuvo", "\"/opt/a\\nb\\tc\\rd/tuvo\""},
    };
    for (auto [program, exec] : cases) EXPECT_EQ(desktop_exec_value(program), exec) << program;
    EXPECT_EQ(desktop_string_value("/a b\\c\nd\te\rf%"), "/a b\\\\c\\nd\\te\\rf%");

    const std::string entry = autostart_entry("/opt/my pets\n/tuvo");
    EXPECT_EQ(entry.rfind("[Desktop Entry]\n", 0), 0u);
    for (const char* line : {"\nType=Application\n", "\nName=Tuvo\n", "\nExec=\"/opt/my pets\\n/tuvo\"\n",
                             "\nTryExec=/opt/my pets\\n/tuvo\n"})
        EXPECT_NE(entry.find(line), std::string::npos) << line;
}

TEST(Autostart, EntryCarriesTheMenuEntrysNamesAndCommentsInEveryLanguage) {
    std::ifstream menu_entry(TUVO_MENU_ENTRY);
    ASSERT_TRUE(menu_entry.good()) << TUVO_MENU_ENTRY;
    const std::string entry = autostart_entry("/usr/games/tuvo");
    int lines = 0;
    for (std::string line; std::getline(menu_entry, line);) {
        if (line.rfind("Name", 0) != 0 && line.rfind("GenericName", 0) != 0 && line.rfind("Comment", 0) != 0) continue;
        ++lines;
        EXPECT_NE(entry.find("\n" + line + "\n"), std::string::npos) << line;
    }
    EXPECT_GE(lines, 4);
    EXPECT_NE(entry.find("\nComment[zh_CN]="), std::string::npos);
}

TEST(Autostart, PathsAnEntryCannotHoldAreRefused) {
    for (const char* program : {"/usr/games/tuvo", "/opt/\xe7\x8c\xab/tuvo", "/opt/a\nb\tc\rd/tuvo",
                                "/opt/\xf0\x9f\x90\x88/tuvo", "/opt/~$`\\\"'/tuvo"})
        EXPECT_EQ(autostart_refusal(program), nullptr) << program;
    const std::pair<const char*, const char*> refused[] = {
        {"/opt/\xff/tuvo", "not UTF-8"},
        {"/opt/caf\xe9/tuvo", "not UTF-8"},                // Latin-1
        {"/opt/\xc0\xaf/tuvo", "not UTF-8"},              // an overlong slash
        {"/opt/\xed\xa0\x80/tuvo", "not UTF-8"},         // a surrogate
        {"/opt/\xf4\x90\x80\x80/tuvo", "not UTF-8"},     // past U+10FFFF
        {"/opt/\xe7\x8c", "not UTF-8"},                   // cut short
        {"/opt/a\x01b/tuvo", "control character"},
        {"/opt/a\x1b[0m/tuvo", "control character"},
        {"/opt/a\x7f/tuvo", "control character"},
    };
    for (auto [program, why] : refused) {
        const char* refusal = autostart_refusal(program);
        ASSERT_NE(refusal, nullptr) << program;
        EXPECT_NE(std::strstr(refusal, why), nullptr) << program << ": " << refusal;
    }
}

TEST(Scaling, XftDpiIsReadFromTheResourceText) {
    const std::pair<const char*, int32_t> cases[] = {
        {"Xft.dpi:\t192\n", 192},
        {"Xft.antialias:\t1\nXft.dpi:\t144\nXft.hinting:\t1\n", 144},
        {"  Xft.dpi : 120", 120},        // spaces, and no newline at the end
        {"Xft.dpi:\t96.6\n", 97},        // rounded
        {"Xft.dpi:\t143.4\n", 143},
        {"*dpi:\t192\nXft.dpix:\t1\n", 0},  // other keys
        {"Xft.dpi:\n", 0},
        {"Xft.dpi:\tlarge\n", 0},
        {"Xft.dpi:\t-96\n", 0},
        {"Xft.dpi:\t0\n", 0},
        {"Xft.dpi:\t1e9\n", 0},
        {"", 0},
        {nullptr, 0},
    };
    for (auto [text, dpi] : cases) EXPECT_EQ(dpi_from_resources(text), dpi) << (text ? text : "(null)");
}

TEST(Seed, TakenOnlyAsAWholeNumberThatFitsTheGenerator) {
    const std::pair<const char*, int64_t> cases[] = {
        {"0", 0}, {"42", 42}, {"0042", 42}, {"4294967295", 4294967295LL},
        {"4294967296", -1}, {"99999999999999999999999", -1},  // too large, never wrapped round
        {"-1", -1}, {"+1", -1}, {" 1", -1}, {"1 ", -1}, {"1e3", -1}, {"0x10", -1}, {"", -1}, {nullptr, -1},
    };
    for (auto [text, seed] : cases) EXPECT_EQ(seed_from_environment(text), seed) << (text ? text : "(null)");
}

FoundMonitor found(ScreenRect rect, const char* name, int32_t primary = 0) {
    FoundMonitor m = {rect, {}, primary};
    std::strncpy(m.name, name, monitor_name_size - 1);
    return m;
}

TEST(Monitors, LayoutKeepsNamesAndDpiAndFindsThePrimary) {
    const ScreenRect screen = {0, 0, 2048, 768};
    const FoundMonitor two[] = {found({1024, 0, 2048, 768}, "HDMI-1"), found({0, 0, 1024, 768}, "DP-1", 1)};
    MonitorLayout layout = layout_from(two, 2, 192, screen);
    ASSERT_EQ(layout.count, 2);
    EXPECT_EQ(layout.primary, 1);  // flagged
    EXPECT_STREQ(layout.names[0], "HDMI-1");
    EXPECT_EQ(layout.dpis[0], 192);
    EXPECT_EQ(layout.dpis[1], 192);

    // Xinerama flags none: the head at the origin, else the first.
    const FoundMonitor heads[] = {found({1024, 0, 2048, 768}, "xinerama-1"), found({0, 0, 1024, 768}, "xinerama-0")};
    EXPECT_EQ(layout_from(heads, 2, 96, screen).primary, 1);
    const FoundMonitor apart[] = {found({10, 10, 800, 600}, "a"), found({900, 0, 1700, 600}, "b")};
    EXPECT_EQ(layout_from(apart, 2, 96, screen).primary, 0);

    // Empty monitors are skipped; none at all leaves the whole screen.
    const FoundMonitor empty[] = {found({0, 0, 0, 768}, "off"), found({0, 0, 1024, 768}, "on")};
    layout = layout_from(empty, 2, 96, screen);
    ASSERT_EQ(layout.count, 1);
    EXPECT_STREQ(layout.names[0], "on");
    layout = layout_from(nullptr, 0, 120, screen);
    ASSERT_EQ(layout.count, 1);
    EXPECT_EQ(layout.primary, 0);
    EXPECT_TRUE(same_rect(layout.monitors[0], screen));
    EXPECT_EQ(layout.dpis[0], 120);

    // More than the layout holds: the first ones.
    std::vector<FoundMonitor> many;
    for (int32_t i = 0; i < max_monitors + 3; ++i) many.push_back(found({i * 100, 0, i * 100 + 100, 100}, "m"));
    EXPECT_EQ(layout_from(many.data(), int32_t(many.size()), 96, screen).count, max_monitors);
}

TEST(DoubleClick, IsASecondPressSoonAndNearTheFirst) {
    const LeftPress first = {1, 1000, 200, 300};
    const struct {
        Time time;
        int32_t x, y;
        bool double_click;
    } cases[] = {
        {1000, 200, 300, true},   {1500, 200, 300, true},  {1501, 200, 300, false},
        {1200, 204, 296, true},   {1200, 205, 300, false}, {1200, 200, 305, false},
        {999, 200, 300, false},   // earlier than the first: read as some 49 days later
    };
    for (const auto& c : cases)
        EXPECT_EQ(is_double_click(first, c.time, c.x, c.y), c.double_click) << c.time << " " << c.x << "," << c.y;
    EXPECT_FALSE(is_double_click({0, 1000, 200, 300}, 1100, 200, 300));  // no first press
    // The server's clock wraps round: 0xFFFFFF00 then 0x40 is 320 ms later.
    EXPECT_TRUE(is_double_click({1, 0xFFFFFF00u, 5, 5}, 0x40, 5, 5));
}

}  // namespace
