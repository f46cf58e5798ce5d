// The list language: what each kind of table string yields and which message it writes.
#include <cstring>

#include "support.h"

namespace {

class Parsers : public EngineTest {
protected:
    char message[compile_message_size] = "";
    int32_t count = 0;
    FrameRef* frames = nullptr;
    NextEntry* next = nullptr;
    DislikeEntry* dislikes = nullptr;

    void TearDown() override {
        engine_free(frames);
        engine_free(next);
        engine_free(dislikes);
        EngineTest::TearDown();
    }
    FrameListResult frame_list(const char* text, FrameSet set = FrameSet::action) {
        engine_free(frames);
        frames = nullptr;
        count = 0;
        message[0] = '\0';
        return parse_frame_list(text, 7, set, &count, &frames, message);
    }
    int next_list(const char* text) {
        engine_free(next);
        next = nullptr;
        count = 0;
        message[0] = '\0';
        return parse_next_list(text, 6, message, &count, &next);
    }
    int dislike_list(const char* text) {
        engine_free(dislikes);
        dislikes = nullptr;
        count = 0;
        message[0] = '\0';
        return parse_dislike_list(text, 6, message, &count, &dislikes);
    }
};

TEST_F(Parsers, LexicalHelpersTreatOnlyTheSixAsciiBlanksAsWhiteSpace) {
    char text[] = " \t\v\f\r\n 12 r3 \n";
    trim_blanks(text);
    EXPECT_STREQ(text, "12 r3");
    char high[] = "\xA0x\xA0";
    trim_blanks(high);
    EXPECT_STREQ(high, "\xA0x\xA0");
    char all_blank[] = "   ";
    trim_blanks(all_blank);
    EXPECT_STREQ(all_blank, "");
    char mixed[] = "r16,abz";
    upper_case(mixed);
    EXPECT_STREQ(mixed, "R16,ABZ");
    EXPECT_TRUE(is_digits(""));
    EXPECT_TRUE(is_digits("0123"));
    EXPECT_FALSE(is_digits("1 2"));
    EXPECT_FALSE(is_digits("-1"));
    EXPECT_FALSE(is_digits(nullptr));
    trim_blanks(nullptr);
    upper_case(nullptr);
}

TEST_F(Parsers, DecimalConversionIsLenientAndSaturates) {
    EXPECT_EQ(decimal_value("  -16x"), -16);
    EXPECT_EQ(decimal_value("+7"), 7);
    EXPECT_EQ(decimal_value("x5"), 0);
    EXPECT_EQ(decimal_value(""), 0);
    EXPECT_EQ(decimal_value("99999999999999999999"), INT32_MAX);
    EXPECT_EQ(decimal_value("-99999999999999999999"), INT32_MIN);
}

TEST_F(Parsers, FrameListReadsMirroredAndLenientElements) {
    ASSERT_EQ(frame_list("1,15,16,2,r16,R15,-1"), FrameListResult::ok);
    EXPECT_EQ(count, 7);
    const FrameRef expected[] = {1, 15, 16, 2, -16, -15, -1};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(frames[i], expected[i]) << i;

    ASSERT_EQ(frame_list("1,,2,"), FrameListResult::ok);
    EXPECT_EQ(count, 2);
    ASSERT_EQ(frame_list(" 16x , 170,r170 "), FrameListResult::ok);
    EXPECT_EQ(frames[0], 16);
    EXPECT_EQ(frames[1], 170);
    EXPECT_EQ(frames[2], -170);
}

TEST_F(Parsers, FrameListRejectsMissingAndInvalidImages) {
    for (const char* empty : {"", "   ", ",,,"}) {
        EXPECT_EQ(frame_list(empty), FrameListResult::fatal) << empty;
        EXPECT_STREQ(message, "** ERROR : Not define images for animation action : 7 ...");
        EXPECT_EQ(frames, nullptr);
    }
    for (const char* bad : {"171", "r0", "0", "x5", "-171", "1, ,2"}) {
        EXPECT_EQ(frame_list(bad), FrameListResult::invalid_image) << bad;
        EXPECT_STREQ(message, "** ERROR : Invalid image no. for animation action : 7 ...");
    }
    // The elements after the faulty one stay zero; the count is the number of elements.
    EXPECT_EQ(count, 3);
    EXPECT_EQ(frames[0], 1);
    EXPECT_EQ(frames[2], 0);
    // A number beyond 16 bits would wrap into range; it is refused instead.
    EXPECT_EQ(frame_list("65537"), FrameListResult::invalid_image);
}

TEST_F(Parsers, FrameListMessagesOfTheAboutSet) {
    frame_list("", FrameSet::about);
    EXPECT_STREQ(message, "** ERROR : Not define images for dialog animation action : 7 ...");
    frame_list("200", FrameSet::about);
    EXPECT_STREQ(message, "** ERROR : Invalid image no. for dialog animation action : 7 ...");
    alloc_fail_countdown = 1;
    EXPECT_EQ(frame_list("1", FrameSet::about), FrameListResult::fatal);
    EXPECT_STREQ(message,
                 "** ERROR : Fail to allocate memory for dialog animation action : 7 ...");
    alloc_fail_countdown = 1;
    EXPECT_EQ(frame_list("1"), FrameListResult::fatal);
    EXPECT_STREQ(message, "** ERROR : Fail to allocate memory for animation action : 7 ...");
}

TEST_F(Parsers, NextListReadsRatiosAsPerMilleAndTheFlipMark) {
    ASSERT_EQ(next_list(" 12-50 , 13-50 "), 0);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(next[0].action, 12);
    EXPECT_EQ(next[0].ratio, 500);
    EXPECT_EQ(next[1].action, 13);
    ASSERT_EQ(next_list("2-8,3-40,8-8,r8-8,R8-8,101-50"), 0);
    EXPECT_EQ(next[3].action, 8);
    EXPECT_EQ(next[3].ratio, 80);
    EXPECT_EQ(next[3].mirrored, 1);
    EXPECT_EQ(next[4].mirrored, 1);
    EXPECT_EQ(next[2].mirrored, 0);
    EXPECT_EQ(next[5].action, 101);
    ASSERT_EQ(next_list("3-5"), 0);
    EXPECT_EQ(next[0].ratio, 50);
}

TEST_F(Parsers, NextListMessages) {
    EXPECT_EQ(next_list(""), 1);
    EXPECT_STREQ(message, "** ERROR : Invalid next action list syntax for action 7");
    EXPECT_EQ(next_list(",,,"), 1);
    EXPECT_STREQ(message, "** ERROR : Invalid next action list syntax for action 7");
    for (const char* bad : {"12 - 50", "rr8-8", "*8-8", "8", "-50", "8-", "8-5x", "r-5"}) {
        EXPECT_EQ(next_list(bad), 1) << bad;
        EXPECT_EQ(std::string(message),
                  std::string("** ERROR : For action 7, syntax error for dislike action : ") + bad);
    }
    EXPECT_EQ(next_list("1-50, 3-0"), 1);
    EXPECT_STREQ(message, "** ERROR : For action 7, invalid ratio 0, or next action 3");
    EXPECT_EQ(next[0].ratio, 500);  // entries before the faulty one stay filled
    EXPECT_EQ(count, 2);
    EXPECT_EQ(next_list("0-50"), 1);
    EXPECT_STREQ(message, "** ERROR : For action 7, invalid ratio 500, or next action 0");
    EXPECT_EQ(next_list("102-50"), 1);
    EXPECT_STREQ(message, "** ERROR : For action 7, invalid ratio 500, or next action 102");
    alloc_fail_countdown = 1;
    EXPECT_EQ(next_list("1-100"), 1);
    EXPECT_STREQ(message, "** ERROR : Fail to allocate memory ...");
}

TEST_F(Parsers, NextListRefusesNumbersBeyondItsSixteenBitFields) {
    EXPECT_EQ(next_list("1-3276"), 0);
    EXPECT_EQ(next[0].ratio, 32760);
    EXPECT_EQ(next_list("1-3277"), 1);
    EXPECT_STREQ(message, "** ERROR : For action 7, invalid ratio 32770, or next action 1");
    EXPECT_EQ(next_list("65537-50"), 1);
    EXPECT_STREQ(message, "** ERROR : For action 7, invalid ratio 500, or next action 65537");
    EXPECT_EQ(next_list("1-99999999999"), 1);
}

TEST_F(Parsers, DislikeListReadsModesLevelsAndPreviousActions) {
    ASSERT_EQ(dislike_list("*43-10,4-20:r25,r7-20:*4,4-20:"), 0);
    ASSERT_EQ(count, 4);
    EXPECT_EQ(dislikes[0].action, 43);
    EXPECT_EQ(dislikes[0].action_mode, OrientationMode::any);
    EXPECT_EQ(dislikes[0].level, 10);
    EXPECT_EQ(dislikes[0].previous, 0);
    EXPECT_EQ(dislikes[1].action_mode, OrientationMode::same);
    EXPECT_EQ(dislikes[1].previous, 25);
    EXPECT_EQ(dislikes[1].previous_mode, OrientationMode::opposite);
    EXPECT_EQ(dislikes[2].action_mode, OrientationMode::opposite);
    EXPECT_EQ(dislikes[2].previous_mode, OrientationMode::any);
    EXPECT_EQ(dislikes[3].previous, 0);
}

TEST_F(Parsers, DislikeListOfNothingLeavesTheFieldsAlone) {
    for (const char* nothing : {"", "   ", ",,"}) {
        count = 5;
        EXPECT_EQ(parse_dislike_list(nothing, 0, message, &count, &dislikes), 0);
        EXPECT_EQ(count, 5);
        EXPECT_EQ(dislikes, nullptr);
    }
    count = 0;
}

TEST_F(Parsers, DislikeListMessages) {
    for (const char* bad : {"4-20:r", "4", "-20", "4-", "4-x", "r-20", "**4-20", "4-20:5x",
                            "4 -20"}) {
        EXPECT_EQ(dislike_list(bad), 1) << bad;
        EXPECT_EQ(std::string(message),
                  std::string("** ERROR : For action 7, syntax error for dislike action : ") + bad);
    }
    EXPECT_EQ(dislike_list("4-0"), 1);
    EXPECT_STREQ(message, "** ERROR : For action 7, invalid level 0, or dislike action 4");
    EXPECT_EQ(dislike_list("102-5"), 1);
    EXPECT_STREQ(message, "** ERROR : For action 7, invalid level 5, or dislike action 102");
    EXPECT_EQ(dislike_list("4-5:102"), 1);
    EXPECT_STREQ(message, "** ERROR : For action 7, invalid level 5, or dislike action 4");
    EXPECT_EQ(dislike_list("4-40000"), 1);
    EXPECT_STREQ(message, "** ERROR : For action 7, invalid level 40000, or dislike action 4");
    alloc_fail_countdown = 1;
    EXPECT_EQ(dislike_list("4-5"), 1);
    EXPECT_STREQ(message, "** ERROR : Fail to allocate memory ...");
}

TEST_F(Parsers, ScalarKindsNeverFailButKeepOnlyWhatFitsTheirGrammar) {
    EXPECT_EQ(parse_step_value("-5", 512), -5);
    EXPECT_EQ(parse_step_value("511", 512), 511);
    EXPECT_EQ(parse_step_value("512", 512), 0);
    EXPECT_EQ(parse_step_value("-512", 512), 0);
    for (const char* bad : {" -5", "+5", "5 ", "", "--5", "99999999999"})
        EXPECT_EQ(parse_step_value(bad, 512), 0) << bad;

    EXPECT_EQ(parse_action_ref("72"), 72);
    EXPECT_EQ(parse_action_ref("r8"), -8);
    EXPECT_EQ(parse_action_ref("R8"), -8);
    EXPECT_EQ(parse_action_ref("101"), 101);
    for (const char* bad : {"102", "8r", "", " 8", "99999999999"})
        EXPECT_EQ(parse_action_ref(bad), 0) << bad;

    EXPECT_EQ(parse_tenfold("10"), 100);
    EXPECT_EQ(parse_tenfold("5"), 50);
    for (const char* bad : {"-1", "1.5", "", " 1"}) EXPECT_EQ(parse_tenfold(bad), 0) << bad;
    EXPECT_EQ(parse_tenfold("99999999999"), INT32_MAX);
}

TEST_F(Parsers, OverlongInputIsRefusedWithAClearMessageAndNeverOverruns) {
    std::string long_list(150, '1');
    long_list = "1," + std::string(197, ' ') + "2";  // 200 characters
    EXPECT_EQ(frame_list(long_list.c_str()), FrameListResult::fatal);
    EXPECT_STREQ(message, "** ERROR : Too many images for animation action : 7 ...");
    EXPECT_EQ(frame_list(long_list.substr(1).c_str()), FrameListResult::ok);  // 199 fit

    EXPECT_EQ(next_list(long_list.c_str()), 1);
    EXPECT_STREQ(message, "** ERROR : Next action list too long for action 7");
    EXPECT_EQ(dislike_list(long_list.c_str()), 1);
    EXPECT_STREQ(message, "** ERROR : Dislike list too long for action 7");

    // An element of 100 characters or more cannot be copied into the element buffer: it is
    // a syntax error, and the quoting message is cut to the 80-character buffer.
    std::string element = "1-" + std::string(98, '5');
    EXPECT_EQ(next_list(element.c_str()), 1);
    EXPECT_EQ(strlen(message), compile_message_size - 1u);
    EXPECT_EQ(std::string(message).rfind("** ERROR : For action 7, syntax error", 0), 0u);
    EXPECT_EQ(dislike_list(element.c_str()), 1);
    EXPECT_EQ(strlen(message), compile_message_size - 1u);
    std::string fits = "1-" + std::string(96, '0') + "5";  // 99 characters
    EXPECT_EQ(next_list(fits.c_str()), 0) << message;
    EXPECT_EQ(next[0].ratio, 50);
}

}  // namespace
