// Randomised inputs for the list parsers: strings built from the characters the language
// uses, of every length up to and beyond the working buffers. The parsers must never
// overrun (the sanitizer build checks that), must always leave a message on failure that
// fits its buffer, and must keep the count equal to the number of elements.
#include <cstring>
#include <random>

#include "support.h"

namespace {

class ParserFuzz : public EngineTest {};

std::string random_text(std::mt19937& rng) {
    static const char alphabet[] = "0123456789,,,--::rR* \t\xA0x.+";
    std::uniform_int_distribution<int> length(0, 260);
    std::uniform_int_distribution<int> pick(0, sizeof alphabet - 2);
    std::string text(length(rng), ' ');
    for (char& c : text) c = alphabet[pick(rng)];
    return text;
}

TEST_F(ParserFuzz, ArbitraryStringsNeverBreakTheParsers) {
    std::mt19937 rng(12345);
    char message[compile_message_size + 16];
    for (int round = 0; round < 40000; ++round) {
        const std::string text = random_text(rng);
        memset(message, 'Z', sizeof message);
        message[0] = '\0';
        int32_t count = 0;
        FrameRef* frames = nullptr;
        FrameListResult fr = parse_frame_list(text.c_str(), 1, FrameSet::action, &count,
                                              &frames, message);
        if (fr != FrameListResult::ok) {
            EXPECT_EQ(strncmp(message, "** ERROR : ", 11), 0);
        } else {
            for (int i = 0; i < count; ++i) ASSERT_NE(frames[i], 0);
        }
        engine_free(frames);

        NextEntry* next = nullptr;
        count = 0;
        message[0] = '\0';
        if (parse_next_list(text.c_str(), 0, message, &count, &next)) {
            EXPECT_EQ(strncmp(message, "** ERROR : ", 11), 0);
        } else {
            for (int i = 0; i < count; ++i) {
                ASSERT_GT(next[i].ratio, 0);
                ASSERT_GE(next[i].action, 1);
                ASSERT_LE(next[i].action, 101);
            }
        }
        engine_free(next);

        DislikeEntry* dislikes = nullptr;
        count = 0;
        message[0] = '\0';
        if (parse_dislike_list(text.c_str(), 0, message, &count, &dislikes)) {
            EXPECT_EQ(strncmp(message, "** ERROR : ", 11), 0);
        } else {
            for (int i = 0; i < count; ++i) ASSERT_GT(dislikes[i].level, 0);
        }
        engine_free(dislikes);

        // The buffer beyond the 81 characters of a message is never written.
        for (size_t i = compile_message_size; i < sizeof message; ++i) ASSERT_EQ(message[i], 'Z');
        ASSERT_LT(strlen(message), static_cast<size_t>(compile_message_size));

        parse_step_value(text.c_str(), 512);
        parse_action_ref(text.c_str());
        parse_tenfold(text.c_str());
    }
}

}  // namespace
