// The shared reader and writer of the settings file against the Windows profile functions:
// takes each file of the table of awkward files, and expects both to read and write it alike.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "profile.h"
#include "profile_cases.h"
#include "support.h"

namespace {

// The six keys the program saves, first as the test saves them into each table file and then
// again into the result.
const char* const first_values[saved_key_count] = {"2", "11", "22", "33", "-44", "99"};
const char* const second_values[saved_key_count] = {"0", "1", "2", "3", "4", "150"};

int32_t system_read(const std::string& path, int k) {
    return static_cast<int32_t>(
        GetPrivateProfileIntA(profile_section, profile_keys[k], profile_defaults[k], path.c_str()));
}

int32_t own_read(const std::string& path, int k) {
    return profile_read_int(path.c_str(), profile_section, profile_keys[k], profile_defaults[k]);
}

// Files beside the test program, each name used once: Wine keeps the files it read in a
// cache that it renews by the file's time of last change, which a quick rewrite may leave as
// it was.
class ProfileCompare : public ::testing::Test {
protected:
    void SetUp() override { module_directory(GetModuleHandleA(nullptr), directory); }
    void TearDown() override {
        for (const std::string& path : made) DeleteFileA(path.c_str());
    }
    std::string file(const std::string& name, const std::string& bytes) {
        const std::string path = std::string(directory) + "profile_compare_" + name + ".ini";
        DeleteFileA(path.c_str());
        made.push_back(path);
        FILE* stream = std::fopen(path.c_str(), "wb");
        if (!stream) return path;
        std::fwrite(bytes.data(), 1, bytes.size(), stream);
        std::fclose(stream);
        return path;
    }
    std::string contents(const std::string& path) {
        std::string bytes;
        FILE* stream = std::fopen(path.c_str(), "rb");
        if (!stream) return bytes;
        for (int c; (c = std::fgetc(stream)) != EOF;) bytes += static_cast<char>(c);
        std::fclose(stream);
        return bytes;
    }
    // The six keys saved, in the program's order, by the Windows writer into |system| and by
    // the shared writer into |own|.
    void save_both(const std::string& system, const std::string& own, const char* const* values,
                   const char* what) {
        for (int k = 0; k < saved_key_count; ++k) {
            EXPECT_TRUE(WritePrivateProfileStringA(profile_section, profile_keys[k], values[k], system.c_str()))
                << what;
            EXPECT_TRUE(profile_write_string(own.c_str(), profile_section, profile_keys[k], values[k]))
                << what;
        }
    }
    // Both readers read |path| as |wanted|.
    void expect_read_back(const std::string& path, const int32_t* wanted, const char* what,
                          const char* writer) {
        for (int k = 0; k < profile_key_count; ++k) {
            SCOPED_TRACE(std::string(what) + ", written by " + writer + ": " + profile_keys[k]);
            EXPECT_EQ(system_read(path, k), wanted[k]);
            EXPECT_EQ(own_read(path, k), wanted[k]);
        }
    }
    char directory[path_size];
    std::vector<std::string> made;
};

TEST_F(ProfileCompare, BothReadersGiveTheTableNumbersForEveryFile) {
    for (size_t i = 0; i < profile_case_count; ++i) {
        const ProfileCase& c = profile_cases[i];
        const std::string path = file(std::to_string(i), std::string(c.bytes, c.size));
        for (int k = 0; k < profile_key_count; ++k) {
            EXPECT_EQ(system_read(path, k), c.expected[k]) << c.what << ": " << profile_keys[k];
            EXPECT_EQ(own_read(path, k), c.expected[k]) << c.what << ": " << profile_keys[k];
        }
    }
}

// Wine's writer rebuilds the whole file from what it read: blanks around names and values,
// blank lines and text after a header's ']' go, every line ends CRLF, and a name with a NUL
// is cut there. The shared writer changes only the line of the key it sets (as the Windows
// writer does on Windows itself), so on such a file the two differ in bytes that neither
// reader heeds. So each file is compared by what both readers read back; and once Wine's
// writer has rebuilt it, the next save must give the very same bytes from both writers.
// Where Wine's rebuilding changes what a key reads as: it writes a name only up to a NUL in
// it, so "Scale \0x=3", which no reader takes for Scale, comes out as "Scale =3", which both
// readers do.
struct RebuildChange {
    const char* what;
    int key;
    int32_t number;
};
const RebuildChange rebuild_changes[] = {{"a NUL ends a name", 6, 3}};

// The numbers after the six keys were saved as |values|: the table's for the other three,
// with Wine's changes when |rebuilt|.
void numbers_after_save(const ProfileCase& c, const char* const* values, bool rebuilt, int32_t* numbers) {
    for (int k = 0; k < profile_key_count; ++k)
        numbers[k] = k < saved_key_count ? std::atoi(values[k]) : c.expected[k];
    if (!rebuilt) return;
    for (const RebuildChange& change : rebuild_changes)
        if (std::string(change.what) == c.what) numbers[change.key] = change.number;
}

TEST_F(ProfileCompare, BothWritersSaveTheSixKeysAlike) {
    for (size_t i = 0; i < profile_case_count; ++i) {
        const ProfileCase& c = profile_cases[i];
        const std::string bytes(c.bytes, c.size);
        const std::string name = std::to_string(i);
        const std::string system = file(name + "_system", bytes);
        const std::string own = file(name + "_own", bytes);
        save_both(system, own, first_values, c.what);
        int32_t numbers[profile_key_count];
        numbers_after_save(c, first_values, true, numbers);
        expect_read_back(system, numbers, c.what, "Windows");
        numbers_after_save(c, first_values, false, numbers);
        expect_read_back(own, numbers, c.what, "the shared writer");

        const std::string rebuilt = contents(system);
        const std::string system_again = file(name + "_system_again", rebuilt);
        const std::string own_again = file(name + "_own_again", rebuilt);
        save_both(system_again, own_again, second_values, c.what);
        EXPECT_EQ(contents(own_again), contents(system_again)) << c.what;
    }
}

TEST_F(ProfileCompare, BothWritersCreateAMissingFileAlike) {
    const std::string system = file("new_system", "");
    const std::string own = file("new_own", "");
    DeleteFileA(system.c_str());
    DeleteFileA(own.c_str());
    save_both(system, own, first_values, "missing file");
    EXPECT_EQ(contents(own), contents(system));
    EXPECT_EQ(contents(own).substr(0, 18), "[Setup]\r\nMode=2\r\nT");
}

TEST_F(ProfileCompare, BothWritersPutAnsiTextIntoUnicodeFilesAlike) {
    // e acute and the euro sign in code page 1252, the ANSI code page here.
    const std::string starts[] = {"\xef\xbb\xbf[Setup]\r\nA=1\r\n",
                                  std::string("\xff\xfe[\0S\0e\0t\0u\0p\0]\0\r\0\n\0", 20),
                                  std::string("\xfe\xff\0[\0S\0e\0t\0u\0p\0]\0\r\0\n", 20), "[Setup]\r\n"};
    int n = 0;
    for (const std::string& start : starts) {
        const std::string system = file("text_system_" + std::to_string(n), start);
        const std::string own = file("text_own_" + std::to_string(n++), start);
        EXPECT_TRUE(WritePrivateProfileStringA("Setup", "Name", "caf\xe9 \x80", system.c_str()));
        EXPECT_TRUE(WritePrivateProfileStringA("Other", "Key", "\x80", system.c_str()));
        EXPECT_TRUE(profile_write_string(own.c_str(), "Setup", "Name", "caf\xe9 \x80"));
        EXPECT_TRUE(profile_write_string(own.c_str(), "Other", "Key", "\x80"));
        EXPECT_EQ(contents(own), contents(system)) << n;
    }
}

}  // namespace
