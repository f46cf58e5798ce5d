// The settings file's reader and writer over the table of awkward files and over real files
// in a folder of the test's own: numbers read, bytes written, and writes the system refuses.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "profile.h"
#include "profile_cases.h"
#include "test_files.h"

namespace {

// The six keys the program saves, with values that differ from every default.
const char* const saved_values[saved_key_count] = {"2", "11", "22", "33", "-44", "99"};

std::string bytes_of(const ProfileFile& file) {
    return file.size == 0 ? std::string() : std::string(file.bytes, file.size);
}

ProfileFile file_of(const std::string& bytes) {
    ProfileFile file;
    EXPECT_TRUE(profile_from_bytes(bytes.data(), bytes.size(), &file));
    return file;
}

std::string set_string(const std::string& before, const char* section, const char* key,
                       const char* value) {
    ProfileFile file = file_of(before);
    ProfileFile after;
    EXPECT_TRUE(profile_set_string(file, section, key, value, &after));
    const std::string bytes = bytes_of(after);
    profile_release(&file);
    profile_release(&after);
    return bytes;
}

// The nine keys as the table expects them, from |bytes|; the first six as |saved| instead
// when given.
void expect_keys(const std::string& bytes, const ProfileCase& c, const char* const* saved) {
    ProfileFile file = file_of(bytes);
    for (int k = 0; k < profile_key_count; ++k) {
        const int32_t wanted = saved && k < saved_key_count ? std::atoi(saved[k]) : c.expected[k];
        EXPECT_EQ(profile_int(file, profile_section, profile_keys[k], profile_defaults[k]), wanted)
            << c.what << ": " << profile_keys[k];
    }
    profile_release(&file);
}

TEST(ProfileReader, ReadsEveryTableFileAsTheWindowsReaderDoes) {
    for (const ProfileCase& c : profile_cases) expect_keys(std::string(c.bytes, c.size), c, nullptr);
}

TEST(ProfileReader, AsksForNamesTrimmedAndInAnyCase) {
    ProfileFile file = file_of("[Setup]\r\nTop Margin=7\r\n");
    EXPECT_EQ(profile_int(file, " sETUP\t", "  TOP MARGIN ", 0), 7);
    EXPECT_EQ(profile_int(file, "Setup", "Top", -3), -3);
    EXPECT_EQ(profile_int(file, "Set", "Top Margin", -3), -3);
    profile_release(&file);
}

// The six keys written one after the other into |bytes|, in the program's order.
std::string with_saved_keys(std::string bytes) {
    for (int k = 0; k < saved_key_count; ++k)
        bytes = set_string(bytes, profile_section, profile_keys[k], saved_values[k]);
    return bytes;
}

TEST(ProfileWriter, SavedKeysReadBackOverEveryTableFileAndTheOthersStand) {
    for (const ProfileCase& c : profile_cases) {
        const std::string once = with_saved_keys(std::string(c.bytes, c.size));
        expect_keys(once, c, saved_values);
        // Saving the same values again changes nothing.
        EXPECT_EQ(with_saved_keys(once), once) << c.what;
    }
}

struct WriteCase {
    const char* what;
    std::string before;
    const char* key;
    const char* value;
    std::string after;
};

// The format of what is written, in ANSI files: every line the writer does not touch stays
// byte for byte, and the lines it writes are "name=value" CRLF.
const WriteCase write_cases[] = {
    {"missing file", "", "Timer", "99", "[Setup]\r\nTimer=99\r\n"},
    {"value replaced, the name spelt as in the file",
     "; mine\r\n\r\n[Setup]\r\n  tIMER = 5 ; old\r\nMode=1\r\n", "Timer", "99",
     "; mine\r\n\r\n[Setup]\r\ntIMER=99\r\nMode=1\r\n"},
    {"missing key added after the section's last line, before its blank lines",
     "[Setup]\r\nMode=1\r\n\r\n[Other]\r\nA=1\r\n", "Timer", "99",
     "[Setup]\r\nMode=1\r\nTimer=99\r\n\r\n[Other]\r\nA=1\r\n"},
    {"missing key in a last section without a line break", "[Other]\nA=1\n[Setup]", "Timer", "99",
     "[Other]\nA=1\n[Setup]\r\nTimer=99\r\n"},
    {"missing section added at the end, after a line break", "[Other]\nA = 1", "Timer", "99",
     "[Other]\nA = 1\r\n[Setup]\r\nTimer=99\r\n"},
    {"lines before the first header stay first", "X=1\r\n", "Timer", "99",
     "X=1\r\n[Setup]\r\nTimer=99\r\n"},
    {"the first of duplicate sections takes the key",
     "[Setup]\r\nA=1\r\n[setup]\r\nTimer=5\r\n", "Timer", "99",
     "[Setup]\r\nA=1\r\nTimer=99\r\n[setup]\r\nTimer=5\r\n"},
    {"the first of duplicate keys is replaced", "[Setup]\r\nTimer=1\r\nTimer=2\r\n", "Timer", "99",
     "[Setup]\r\nTimer=99\r\nTimer=2\r\n"},
    {"a key line without '=' gains its value", "[Setup]\r\nTimer\r\n", "Timer", "99",
     "[Setup]\r\nTimer=99\r\n"},
    {"a CR-only line is replaced by a CRLF one", "[Setup]\rTimer=5\rMode=1\r", "Timer", "99",
     "[Setup]\rTimer=99\r\nMode=1\r"},
    {"a value already held leaves the file alone", "[Setup]\r\n Timer = 99 \r\n\r\n", "Timer", "99",
     "[Setup]\r\n Timer = 99 \r\n\r\n"},
    {"a quoted value is not the value it reads as", "[Setup]\r\nTimer=\"99\"\r\n", "Timer", "99",
     "[Setup]\r\nTimer=99\r\n"},
    {"names and value are trimmed", "[Setup]\r\n", " Timer\t", "\v 99 ", "[Setup]\r\nTimer=99\r\n"},
    {"a NUL in the file's name of the key stays", std::string("[Setup]\r\nTimer\0x=5\r\n", 20),
     "Timer", "99", std::string("[Setup]\r\nTimer\0x=99\r\n", 21)},
    {"a header with text after it keeps it", "[ Setup ] junk\r\nA=1\r\n", "Timer", "99",
     "[ Setup ] junk\r\nA=1\r\nTimer=99\r\n"},
};

TEST(ProfileWriter, KeepsEveryOtherLineAndWritesKeyEqualsValueCrLf) {
    for (const WriteCase& c : write_cases)
        EXPECT_EQ(set_string(c.before, "Setup", c.key, c.value), c.after) << c.what;
}

std::string utf16(const std::string& ascii, bool little) {
    std::string bytes = little ? "\xff\xfe" : "\xfe\xff";
    for (char c : ascii) {
        bytes += little ? c : '\0';
        bytes += little ? '\0' : c;
    }
    return bytes;
}

TEST(ProfileWriter, WritesInTheFileOwnEncoding) {
    const std::string before = "[Setup]\r\nTimer=5\r\n[Other]\r\nA=1";
    const std::string after = "[Setup]\r\nTimer=99\r\nMode=2\r\n[Other]\r\nA=1\r\n[New]\r\nB=3\r\n";
    for (bool little : {true, false}) {
        std::string bytes = utf16(before, little);
        bytes = set_string(bytes, "Setup", "Timer", "99");
        bytes = set_string(bytes, "Setup", "Mode", "2");
        bytes = set_string(bytes, "New", "B", "3");
        EXPECT_EQ(bytes, utf16(after, little)) << (little ? "UTF-16LE" : "UTF-16BE");
    }
    // ANSI text in code page 1252 becomes UTF-8 in a UTF-8 file and stays as it is in an ANSI
    // one: e acute and the euro sign.
    EXPECT_EQ(set_string("\xef\xbb\xbf", "Setup", "Timer", "\xe9\x80"),
              "\xef\xbb\xbf[Setup]\r\nTimer=\xc3\xa9\xe2\x82\xac\r\n");
    EXPECT_EQ(set_string(utf16("", true), "Setup", "Timer", "\xe9\x80"),
              utf16("[Setup]\r\nTimer=", true) + std::string("\xe9\0\xac\x20\r\0\n\0", 8));
    EXPECT_EQ(set_string("", "Setup", "Timer", "\xe9\x80"), "[Setup]\r\nTimer=\xe9\x80\r\n");
}

class ProfileFiles : public FolderTest {};

TEST_F(ProfileFiles, EveryTableFileIsReadAndRewrittenOnDisk) {
    const std::string file = path("tuvo.ini");
    for (const ProfileCase& c : profile_cases) {
        const std::string bytes(c.bytes, c.size);
        put(file, bytes);
        for (int k = 0; k < profile_key_count; ++k) {
            EXPECT_EQ(profile_read_int(file.c_str(), profile_section, profile_keys[k], profile_defaults[k]),
                      c.expected[k])
                << c.what << ": " << profile_keys[k];
        }
        for (int k = 0; k < saved_key_count; ++k)
            EXPECT_TRUE(profile_write_string(file.c_str(), profile_section, profile_keys[k], saved_values[k]));
        EXPECT_EQ(get(file), with_saved_keys(bytes)) << c.what;
    }
    EXPECT_EQ(names(), std::vector<std::string>{"tuvo.ini"});  // no file left beside it
}

TEST_F(ProfileFiles, MissingFileIsCreatedAndReadsAsTheFallbacksBefore) {
    const std::string file = path("tuvo.ini");
    EXPECT_EQ(profile_read_int(file.c_str(), "Setup", "Timer", 150), 150);
    EXPECT_EQ(profile_read_int(file.c_str(), "Setup", "Mode", -1), -1);
    EXPECT_EQ(get(file), "(missing)");  // reading creates nothing
    EXPECT_TRUE(profile_write_string(file.c_str(), "Setup", "Timer", "40"));
    EXPECT_EQ(get(file), "[Setup]\r\nTimer=40\r\n");
    EXPECT_EQ(profile_read_int(file.c_str(), "Setup", "Timer", 150), 40);
}

TEST_F(ProfileFiles, RewrittenFileKeepsItsPermissions) {
    const std::string file = path("tuvo.ini");
    put(file, "[Setup]\r\nTimer=5\r\n");
    ASSERT_EQ(chmod(file.c_str(), 0640), 0);
    EXPECT_TRUE(profile_write_string(file.c_str(), "Setup", "Timer", "6"));
    struct stat state;
    ASSERT_EQ(stat(file.c_str(), &state), 0);
    EXPECT_EQ(state.st_mode & 07777, 0640u);
    EXPECT_EQ(get(file), "[Setup]\r\nTimer=6\r\n");
}

TEST_F(ProfileFiles, ReadOnlyFileRefusesTheWriteAndStaysAsItWas) {
    const std::string file = path("tuvo.ini");
    put(file, "[Setup]\r\nTimer=5\r\n");
    ASSERT_EQ(chmod(file.c_str(), 0444), 0);
    const ChildResult result = run_child(as_user, [&] {
        return std::to_string(profile_write_string(file.c_str(), "Setup", "Timer", "6")) +
               std::to_string(profile_write_string(file.c_str(), "Setup", "Timer", "5"));  // as Windows: no open, no write
    });
    EXPECT_TRUE(result.ended);
    EXPECT_EQ(result.said, "00");
    EXPECT_EQ(get(file), "[Setup]\r\nTimer=5\r\n");
    EXPECT_EQ(names(), std::vector<std::string>{"tuvo.ini"});
}

// Once refused (a rewrite could stop half-way), now done as the Windows writer does it:
// a portable copy in a read-only folder keeps its settings.
TEST_F(ProfileFiles, WritableFileInAReadOnlyFolderIsRewrittenInPlaceAndNoNewFileIsMade) {
    const std::string file = path("tuvo.ini");
    put(file, "; mine\r\n[Setup]\r\nTimer=500\r\nMode=2\r\n");
    struct stat before;
    ASSERT_EQ(stat(file.c_str(), &before), 0);
    ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
    const ChildResult result = run_child(as_user, [&] {
        return std::to_string(profile_write_string(file.c_str(), "Setup", "Timer", "6")) +
               std::to_string(profile_write_string(file.c_str(), "Setup", "Mode", "1")) +
               std::to_string(profile_write_string(file.c_str(), "Setup", "Top Margin", "12345")) +
               std::to_string(profile_write_string(path("new.ini").c_str(), "Setup", "Timer", "6"));
    });
    EXPECT_TRUE(result.ended);
    EXPECT_EQ(result.said, "1110");
    EXPECT_EQ(get(file), "; mine\r\n[Setup]\r\nTimer=6\r\nMode=1\r\nTop Margin=12345\r\n");
    struct stat after;
    ASSERT_EQ(stat(file.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);  // the same file
    EXPECT_EQ(names(), std::vector<std::string>{"tuvo.ini"});
}

TEST_F(ProfileFiles, MissingFolderOrAFolderInTheFileNamePlaceFails) {
    EXPECT_FALSE(profile_write_string(path("gone/tuvo.ini").c_str(), "Setup", "Timer", "6"));
    EXPECT_EQ(profile_read_int(path("gone/tuvo.ini").c_str(), "Setup", "Timer", 150), 150);
    ASSERT_EQ(mkdir(path("tuvo.ini").c_str(), 0700), 0);
    EXPECT_FALSE(profile_write_string(path("tuvo.ini").c_str(), "Setup", "Timer", "6"));
    EXPECT_EQ(profile_read_int(path("tuvo.ini").c_str(), "Setup", "Timer", 150), 150);
    EXPECT_EQ(names(), std::vector<std::string>{"tuvo.ini"});
}

}  // namespace
