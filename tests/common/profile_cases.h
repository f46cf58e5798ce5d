// The awkward settings files both readers are held to: each file's bytes and the numbers
// its nine keys of [Setup] read as through the Windows reader (GetPrivateProfileIntA).
//
// The numbers are what the Windows functions return under Wine; the Windows-side test reads
// every file through them as well, so a number here that Wine does not give fails there.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int profile_key_count = 9;
// The program's keys in the order it reads them; the first six are the ones it saves, in
// the order it saves them.
constexpr int saved_key_count = 6;
inline constexpr const char* profile_section = "Setup";
inline constexpr const char* profile_keys[profile_key_count] = {
    "Mode", "Top Margin", "Bottom Margin", "Left Margin", "Right Margin",
    "Timer", "Scale", "Monitors", "Fullscreen"};
inline constexpr int32_t profile_defaults[profile_key_count] = {1, 0, 0, 0, 0, 150, 0, 1, 1};

struct ProfileCase {
    const char* what;
    const char* bytes;
    size_t size;
    int32_t expected[profile_key_count];  // in the order of profile_keys
};

// A literal's bytes and their count, NULs included.
#define PROFILE_BYTES(text) text, sizeof(text) - 1
#define PROFILE_16(text) text text text text text text text text text text text text text text text text
#define PROFILE_4096(text) PROFILE_16(PROFILE_16(PROFILE_16(text)))

inline const ProfileCase profile_cases[] = {
    // Line breaks and the file's shape.
    {"CRLF, every key",
     PROFILE_BYTES("[Setup]\r\n"
                   "Mode=2\r\n"
                   "Top Margin=10\r\n"
                   "Bottom Margin=20\r\n"
                   "Left Margin=30\r\n"
                   "Right Margin=40\r\n"
                   "Timer=90\r\n"
                   "Scale=2\r\n"
                   "Monitors=0\r\n"
                   "Fullscreen=0\r\n"),
     {2, 10, 20, 30, 40, 90, 2, 0, 0}},
    {"LF only",
     PROFILE_BYTES("[Setup]\n"
                   "Mode=2\n"
                   "Timer=40\n"
                   "Scale=3\n"),
     {2, 0, 0, 0, 0, 40, 3, 1, 1}},
    {"CR only",
     PROFILE_BYTES("[Setup]\rMode=2\rTimer=40\r"),
     {2, 0, 0, 0, 0, 40, 0, 1, 1}},
    {"last line without a line break",
     PROFILE_BYTES("[Setup]\r\n"
                   "Mode=2\r\n"
                   "Timer=40"),
     {2, 0, 0, 0, 0, 40, 0, 1, 1}},
    {"mixed and doubled line breaks",
     PROFILE_BYTES("[Setup]\r\n"
                   "Timer=78\n"
                   "Mode=4\r\r\n"
                   "Scale=2\r"),
     {4, 0, 0, 0, 0, 78, 2, 1, 1}},
    {"blank lines and lines of blanks",
     PROFILE_BYTES("\r\n"
                   "  \r\n"
                   "[Setup]\r\n"
                   "\r\n"
                   "\t\r\n"
                   "Timer=72\r\n"
                   "\r\n"
                   "[Next]\r\n"
                   "Mode=5\r\n"),
     {1, 0, 0, 0, 0, 72, 0, 1, 1}},
    {"empty file",
     PROFILE_BYTES(""),
     {1, 0, 0, 0, 0, 150, 0, 1, 1}},
    {"a header alone without a line break",
     PROFILE_BYTES("[Setup]"),
     {1, 0, 0, 0, 0, 150, 0, 1, 1}},
    {"a byte-order mark alone",
     PROFILE_BYTES("\xef\xbb\xbf"),
     {1, 0, 0, 0, 0, 150, 0, 1, 1}},
    // Blanks.
    {"blanks around names and values",
     PROFILE_BYTES("[Setup]\r\n"
                   "  Timer  =  120  \r\n"
                   "\tMode\t=\t2\t\r\n"
                   "Top Margin=\x0b" "5\x0c\r\n"),
     {2, 5, 0, 0, 0, 120, 0, 1, 1}},
    {"blanks around the header and its name",
     PROFILE_BYTES("  [ Setup ]  \r\n"
                   "Timer=41\r\n"),
     {1, 0, 0, 0, 0, 41, 0, 1, 1}},
    {"Ctrl-Z is a blank",
     PROFILE_BYTES("[Setup]\x1a\r\n"
                   "\x1aTimer\x1a=64\x1a\r\n"
                   "Mode=\x1a" "5\r\n"),
     {5, 0, 0, 0, 0, 64, 0, 1, 1}},
    {"other control characters belong to names; the number skips them",
     PROFILE_BYTES("[Setup]\r\n"
                   "\x01Timer=5\r\n"
                   "Mode\x01=6\r\n"
                   "Scale=\x01\x02" "7\r\n"),
     {1, 0, 0, 0, 0, 150, 7, 1, 1}},
    {"blanks inside a name count",
     PROFILE_BYTES("[Setup]\r\n"
                   "TopMargin=5\r\n"
                   "Top  Margin=6\r\n"
                   "Left\tMargin=7\r\n"),
     {1, 0, 0, 0, 0, 150, 0, 1, 1}},
    {"a non-breaking space is no blank",
     PROFILE_BYTES("[Setup]\r\n"
                   "Timer=\xa0" "65\r\n"
                   "Mode\xa0=3\r\n"),
     {1, 0, 0, 0, 0, 0, 0, 1, 1}},
    // Numbers.
    {"signs",
     PROFILE_BYTES("[Setup]\r\n"
                   "Mode=+7\r\n"
                   "Timer=-8\r\n"
                   "Scale=- 9\r\n"
                   "Monitors=+-1\r\n"
                   "Fullscreen=--2\r\n"),
     {7, 0, 0, 0, 0, -8, 0, 0, 0}},
    {"a sign alone, or a blank after it",
     PROFILE_BYTES("[Setup]\r\n"
                   "Mode=-\r\n"
                   "Timer=+\r\n"
                   "Scale=-\t5\r\n"
                   "Monitors= + 3\r\n"
                   "Top Margin= -5\r\n"),
     {0, -5, 0, 0, 0, 0, 0, 0, 1}},
    {"text after the number",
     PROFILE_BYTES("[Setup]\r\n"
                   "Timer=20px\r\n"
                   "Mode=3 4\r\n"
                   "Scale=5.9\r\n"
                   "Monitors=12a\r\n"
                   "Fullscreen=0 ; off\r\n"),
     {3, 0, 0, 0, 0, 20, 5, 12, 0}},
    {"text without a number reads as 0",
     PROFILE_BYTES("[Setup]\r\n"
                   "Mode=two\r\n"
                   "Timer=fast\r\n"
                   "Monitors=x\r\n"
                   "Fullscreen=[1]\r\n"),
     {0, 0, 0, 0, 0, 0, 0, 0, 0}},
    {"leading zeros are decimal",
     PROFILE_BYTES("[Setup]\r\n"
                   "Timer=0010\r\n"
                   "Mode=-0\r\n"
                   "Scale=017\r\n"),
     {0, 0, 0, 0, 0, 10, 17, 1, 1}},
    {"prefixes 0x, 0b and 0o in lower case",
     PROFILE_BYTES("[Setup]\r\n"
                   "Timer=0x1F\r\n"
                   "Mode=0b101\r\n"
                   "Scale=0o17\r\n"
                   "Monitors=0xa\r\n"
                   "Fullscreen=-0x10\r\n"),
     {5, 0, 0, 0, 0, 31, 15, 10, -16}},
    {"prefixes in upper case or without digits",
     PROFILE_BYTES("[Setup]\r\n"
                   "Timer=0X1F\r\n"
                   "Mode=0B11\r\n"
                   "Scale=0x\r\n"
                   "Monitors=0xG\r\n"
                   "Fullscreen=0b2\r\n"
                   "Top Margin=0o9\r\n"
                   "Left Margin=00x5\r\n"
                   "Right Margin=0x-1\r\n"
                   "Bottom Margin=+0x10\r\n"),
     {0, 0, 16, 0, 0, 0, 0, 0, 0}},
    {"numbers beyond 32 bits fold modulo 2^32",
     PROFILE_BYTES("[Setup]\r\n"
                   "Timer=4294967296\r\n"
                   "Mode=4294967346\r\n"
                   "Scale=99999999999\r\n"
                   "Monitors=-99999999999\r\n"
                   "Fullscreen=2147483648\r\n"
                   "Top Margin=4294967295\r\n"
                   "Bottom Margin=-2147483649\r\n"
                   "Left Margin=18446744073709551616\r\n"
                   "Right Margin=0x100000007\r\n"),
     {50, -1, 2147483647, 0, 7, 0, 1215752191, -1215752191, -2147483648}},
    {"only a value's first 29 characters count",
     PROFILE_BYTES("[Setup]\r\n"
                   "Timer=00000000000000000000000000007\r\n"
                   "Mode=000000000000000000000000000007\r\n"
                   "Scale=00000000000000000000000000012\r\n"
                   "Monitors=123456789012345678901234567890123\r\n"
                   "Fullscreen=0b1111111111111111111111111111111111\r\n"
                   "Top Margin=\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01"
                   "\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01" "7\r\n"
                   "Left Margin=\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01"
                   "\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01" "7\r\n"),
     {0, 7, 0, 0, 0, 7, 12, 1849262357, 134217727}},
    // Quotes.
    {"matching quotes around a value are dropped",
     PROFILE_BYTES("[Setup]\r\n"
                   "Timer=\"120\"\r\n"
                   "Mode='3'\r\n"
                   "Scale=\"4\r\n"
                   "Monitors=\"0\"x\r\n"
                   "Fullscreen=' 7'\r\n"
                   "Top Margin=\"8\"\"\r\n"
                   "Bottom Margin=\"5'\r\n"
                   "Left Margin=\"'7'\"\r\n"
                   "Right Margin=\"-9\"  \r\n"),
     {3, 8, 0, 0, -9, 120, 0, 0, 7}},
    {"empty quotes are an empty value",
     PROFILE_BYTES("[Setup]\r\n"
                   "Timer=\"\"\r\n"
                   "Mode=''\r\n"
                   "Scale=\"\r\n"
                   "Monitors=\"  \"\r\n"),
     {1, 0, 0, 0, 0, 150, 0, 0, 1}},
    {"quoted values near the buffer's size",
     PROFILE_BYTES("[Setup]\r\n"
                   "Timer=\"0000000000000000000000000007\"\r\n"
                   "Mode=\"00000000000000000000000000007\"\r\n"
                   "Scale=\"000000000000000000000000007\"\r\n"
                   "Monitors=\"1111111111111111111111111111111111111111\"\r\n"
                   "Fullscreen='22222222222222222222222222222'\r\n"
                   "Top Margin=\"3333333333333333333333333333\"\r\n"),
     {0, 89478485, 0, 0, 0, 7, 7, 1729917383, -1372003442}},
    // Empty values.
    {"empty values give the defaults",
     PROFILE_BYTES("[Setup]\r\n"
                   "Mode=\r\n"
                   "Timer=\r\n"
                   "Scale= \r\n"
                   "Monitors=\t\r\n"
                   "Fullscreen=\r\n"),
     {1, 0, 0, 0, 0, 150, 0, 1, 1}},
    {"an empty first value hides a later one",
     PROFILE_BYTES("[Setup]\r\n"
                   "Timer=\r\n"
                   "Timer=5\r\n"
                   "Mode = \r\n"
                   "Mode=2\r\n"),
     {1, 0, 0, 0, 0, 150, 0, 1, 1}},
    // Names, sections and duplicates.
    {"names in any case",
     PROFILE_BYTES("[sEtUp]\r\n"
                   "tImEr=45\r\n"
                   "MODE=3\r\n"
                   "top margin=5\r\n"
                   "BOTTOM MARGIN=6\r\n"
                   "left MARGIN=7\r\n"
                   "RIGHT margin=8\r\n"
                   "sCALE=2\r\n"
                   "monitors=0\r\n"
                   "FULLSCREEN=0\r\n"),
     {3, 5, 6, 7, 8, 45, 2, 0, 0}},
    {"duplicate keys: the first stands",
     PROFILE_BYTES("[Setup]\r\n"
                   "Timer=90\r\n"
                   "Timer=900\r\n"
                   "Mode=0\r\n"
                   "Mode=2\r\n"
                   "TIMER=9\r\n"),
     {0, 0, 0, 0, 0, 90, 0, 1, 1}},
    {"duplicate sections: only the first is searched",
     PROFILE_BYTES("[Setup]\r\n"
                   "Timer=91\r\n"
                   "[Other]\r\n"
                   "Mode=5\r\n"
                   "[setup]\r\n"
                   "Timer=910\r\n"
                   "Mode=3\r\n"
                   "Scale=4\r\n"),
     {1, 0, 0, 0, 0, 91, 0, 1, 1}},
    {"an empty first section hides a later one",
     PROFILE_BYTES("[Setup]\r\n"
                   "[Setup]\r\n"
                   "Timer=17\r\n"),
     {1, 0, 0, 0, 0, 150, 0, 1, 1}},
    {"no section",
     PROFILE_BYTES("Mode=2\r\n"
                   "Timer=40\r\n"),
     {1, 0, 0, 0, 0, 150, 0, 1, 1}},
    {"keys of other sections, or before the first, are not read",
     PROFILE_BYTES("Timer=5\r\n"
                   "[Other]\r\n"
                   "Mode=2\r\n"
                   "[Setup]\r\n"
                   "Scale=3\r\n"
                   "[Later]\r\n"
                   "Monitors=0\r\n"),
     {1, 0, 0, 0, 0, 150, 3, 1, 1}},
    {"text after a header's ']' is ignored",
     PROFILE_BYTES("[Setup] junk\r\n"
                   "Timer=43\r\n"),
     {1, 0, 0, 0, 0, 43, 0, 1, 1}},
    {"a header's name runs to its last ']'",
     PROFILE_BYTES("[[Setup]]\r\n"
                   "Timer=14\r\n"
                   "[Setup]]x]\r\n"
                   "Mode=5\r\n"
                   "[Set]up]\r\n"
                   "Scale=2\r\n"),
     {1, 0, 0, 0, 0, 150, 0, 1, 1}},
    {"an unclosed header opens no section",
     PROFILE_BYTES("[Setup\r\n"
                   "Timer=44\r\n"),
     {1, 0, 0, 0, 0, 150, 0, 1, 1}},
    {"a '[' without ']' is a key line",
     PROFILE_BYTES("[Setup]\r\n"
                   "[x\r\n"
                   "Timer=10\r\n"
                   "[Other\r\n"
                   "Mode=2\r\n"),
     {2, 0, 0, 0, 0, 10, 0, 1, 1}},
    {"comments",
     PROFILE_BYTES("; settings\r\n"
                   "[Setup]\r\n"
                   ";Timer=5\r\n"
                   "# Mode=6\r\n"
                   "Scale=3 ; three\r\n"
                   "; comment\r\n"
                   "Monitors=0\r\n"),
     {1, 0, 0, 0, 0, 150, 3, 0, 1}},
    {"a commented header is no header",
     PROFILE_BYTES(";[Setup]\r\n"
                   "Timer=60\r\n"
                   "[Setup]\r\n"
                   "Timer=61\r\n"),
     {1, 0, 0, 0, 0, 61, 0, 1, 1}},
    {"a key line without '=' has no value",
     PROFILE_BYTES("[Setup]\r\n"
                   "Timer\r\n"
                   "Timer=11\r\n"
                   "Mode 5\r\n"
                   "Scale=2\r\n"),
     {1, 0, 0, 0, 0, 150, 2, 1, 1}},
    {"'=' in a value, or before any name",
     PROFILE_BYTES("[Setup]\r\n"
                   "Timer==5\r\n"
                   "Mode=5=6\r\n"
                   "=7\r\n"
                   "Scale=8\r\n"),
     {5, 0, 0, 0, 0, 0, 8, 1, 1}},
    // NULs and other bytes.
    {"a NUL ends a value",
     PROFILE_BYTES("[Setup]\r\n"
                   "Timer=1\x00" "2\r\n"
                   "Mode=\x00" "5\r\n"),
     {1, 0, 0, 0, 0, 1, 0, 1, 1}},
    {"a NUL ends a name",
     PROFILE_BYTES("[Setup]\r\n"
                   "Ti\x00mer=7\r\n"
                   "Timer\x00junk=6\r\n"
                   "Mode\x00=8\r\n"
                   "Scale \x00x=3\r\n"),
     {8, 0, 0, 0, 0, 6, 0, 1, 1}},
    {"a NUL starting a line",
     PROFILE_BYTES("[Setup]\r\n"
                   "\x00Timer=63\r\n"
                   "Mode=6\r\n"),
     {6, 0, 0, 0, 0, 150, 0, 1, 1}},
    {"a NUL ends a header's name",
     PROFILE_BYTES("[Setup\x00junk]\r\n"
                   "Timer=8\r\n"),
     {1, 0, 0, 0, 0, 8, 0, 1, 1}},
    {"bytes above 0x7F are other characters",
     PROFILE_BYTES("[Setup]\r\n"
                   "\xe9Scale=4\r\n"
                   "Timer=\xe9\r\n"
                   "Mode=5\xe9\r\n"
                   "Monit\xf6rs=0\r\n"),
     {5, 0, 0, 0, 0, 0, 0, 1, 1}},
    {"overlong lines",
     PROFILE_BYTES("[Setup]\r\n"
                   "Junk=" PROFILE_4096("x") "\r\n"
                   PROFILE_4096("T") "=1\r\n"
                   "Timer=70\r\n"
                   "Mode=" PROFILE_4096("1") "\r\n"),
     {1729917383, 0, 0, 0, 0, 70, 0, 1, 1}},
    // Encodings.
    {"UTF-8 with its byte-order mark; an ideographic space is no blank",
     PROFILE_BYTES("\xef\xbb\xbf[Setup]\r\n"
                   "Timer=66\r\n"
                   "Mode=\xe3\x80\x80" "4\r\n"
                   "Scale=\xc2\xa0" "5\r\n"),
     {0, 0, 0, 0, 0, 66, 0, 1, 1}},
    {"a byte-order mark after the start is text",
     PROFILE_BYTES("[Setup]\r\n"
                   "\xef\xbb\xbfTimer=13\r\n"
                   "Mode=2\r\n"),
     {2, 0, 0, 0, 0, 150, 0, 1, 1}},
    {"UTF-8 that is not valid",
     PROFILE_BYTES("\xef\xbb\xbf[Setup]\r\n"
                   "Timer=\xff" "10\r\n"
                   "Mode=\xc0\xb1" "1\r\n"
                   "\xffScale=3\r\n"),
     {0, 0, 0, 0, 0, 0, 0, 1, 1}},
    {"UTF-16LE with its byte-order mark",
     PROFILE_BYTES("\xff\xfe[\x00S\x00" "e\x00t\x00u\x00p\x00]\x00\r\x00\n"
                   "\x00T\x00i\x00m\x00" "e\x00r\x00=\x00" "6\x00" "7\x00\r\x00\n"
                   "\x00M\x00o\x00" "d\x00" "e\x00=\x00" "2\x00\r\x00\n"
                   "\x00"),
     {2, 0, 0, 0, 0, 67, 0, 1, 1}},
    {"UTF-16BE with its byte-order mark",
     PROFILE_BYTES("\xfe\xff\x00[\x00S\x00" "e\x00t\x00u\x00p\x00]\x00\r\x00\n"
                   "\x00T\x00i\x00m\x00" "e\x00r\x00=\x00" "6\x00" "8\x00\r\x00\n"
                   "\x00S\x00" "c\x00" "a\x00l\x00" "e\x00=\x00" "3\x00\r\x00\n"),
     {1, 0, 0, 0, 0, 68, 3, 1, 1}},
    {"UTF-16 without a byte-order mark is not read",
     PROFILE_BYTES("[\x00S\x00" "e\x00t\x00u\x00p\x00]\x00\r\x00\n"
                   "\x00T\x00i\x00m\x00" "e\x00r\x00=\x00" "6\x00" "9\x00\r\x00\n"
                   "\x00"),
     {1, 0, 0, 0, 0, 150, 0, 1, 1}},
    {"UTF-16 with an odd last byte",
     PROFILE_BYTES("\xff\xfe[\x00S\x00" "e\x00t\x00u\x00p\x00]\x00\r\x00\n"
                   "\x00T\x00i\x00m\x00" "e\x00r\x00=\x00" "1\x00" "1\x00\r\x00\n"
                   "\x00" "5"),
     {1, 0, 0, 0, 0, 11, 0, 1, 1}},
    {"UTF-16: NULs, non-ASCII blanks and letters that fold to ASCII",
     PROFILE_BYTES("\xff\xfe[\x00S\x00" "e\x00t\x00u\x00p\x00]\x00\r\x00\n"
                   "\x00T\x00i\x00m\x00" "e\x00r\x00=\x00" "1\x00\x00\x00" "2\x00\r\x00\n"
                   "\x00M\x00o\x00" "d\x00" "e\x00=\x00\x00" "04\x00\r\x00\n"
                   "\x00T\x00" "0\x01M\x00" "E\x00R\x00=\x00" "7\x00\r\x00\n"
                   "\x00\x7f\x01" "c\x00" "a\x00l\x00" "e\x00=\x00" "3\x00\r\x00\n"
                   "\x00M\x00o\x00n\x00i\x00t\x00o\x00r\x00s\x00=\x00\xa0\x00" "0\x00\r\x00\n"
                   "\x00" "F\x00u\x00l\x00l\x00s\x00" "c\x00r\x00" "e\x00" "e\x00n\x00=\x00\x03"
                   " 0\x00\r\x00\n"
                   "\x00"),
     {0, 0, 0, 0, 0, 1, 0, 0, 0}},
    {"UTF-16: a header named with a letter that folds to ASCII",
     PROFILE_BYTES("\xff\xfe[\x00\x7f\x01" "e\x00t\x00u\x00p\x00]\x00\r\x00\n"
                   "\x00T\x00i\x00m\x00" "e\x00r\x00=\x00" "9\x00\r\x00\n"
                   "\x00"),
     {1, 0, 0, 0, 0, 150, 0, 1, 1}},
};

inline constexpr size_t profile_case_count = sizeof profile_cases / sizeof profile_cases[0];
