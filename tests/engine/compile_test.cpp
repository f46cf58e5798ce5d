// Engine initialisation: the built-in tables, the starting state, each compile message in
// its place, the dead-lock check, allocation failures and freeing.
#include "support.h"

namespace {

class Compiler : public EngineTest {};

TEST_F(Compiler, BuiltInTablesCompileSilentlyIntoTheStartingState) {
    ASSERT_EQ(start(), 1);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(engine->action_count, 101);
    EXPECT_EQ(engine->image_count, 170);
    EXPECT_EQ(engine->weight_count, 22);
    EXPECT_EQ(engine->about_action_count, 62);
    EXPECT_EQ(engine->tick_interval, 150);
    EXPECT_EQ(engine->about_tick_interval, 225);
    EXPECT_EQ(engine->current_action, 0);
    EXPECT_EQ(engine->current_frame, 0);
    EXPECT_EQ(shown_image, 0);
    EXPECT_EQ(shown_mirrored, 0);
    for (int j = 0; j < history_length; ++j) {
        EXPECT_EQ(engine->history[j], -1);
        EXPECT_EQ(engine->history_mirrored[j], 2);
    }
    for (int i = 0; i < 101; ++i) {
        const ActionDef& a = engine->actions[i];
        EXPECT_GE(a.frame_count, 1);
        EXPECT_LE(a.frame_count, 19);
        EXPECT_EQ(a.x_reach, 0);
        EXPECT_EQ(a.y_reach, 0);
    }
    EXPECT_EQ(engine->actions[19].frame_count, 19);
    EXPECT_EQ(engine->actions[43].frame_count, 1);
}

TEST_F(Compiler, BuiltInTablesCompileAsWritten) {
    ASSERT_EQ(start(), 1);
    const ActionDef& a15 = engine->actions[14];
    const FrameRef frames15[] = {22, 23, 23, 22, -3, -22, -23, -23, -22, 3};
    ASSERT_EQ(a15.frame_count, 10);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(a15.frames[i], frames15[i]);

    const ActionDef& a6 = engine->actions[5];
    EXPECT_EQ(a6.x_step, -15);
    ASSERT_EQ(a6.x_bound_count, 4);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(a6.x_bound[i].ratio, 250);
    EXPECT_EQ(a6.x_bound[3].action, 98);
    EXPECT_EQ(a6.x_bound[3].mirrored, 1);

    const ActionDef& a9 = engine->actions[8];
    ASSERT_EQ(a9.dislike_count, 1);
    EXPECT_EQ(a9.dislikes[0].action, 10);
    EXPECT_EQ(a9.dislikes[0].action_mode, OrientationMode::any);
    EXPECT_EQ(a9.dislikes[0].level, 20);
    EXPECT_EQ(a9.dislikes[0].previous, 0);

    const ActionDef& a1 = engine->actions[0];
    ASSERT_EQ(a1.dislike_count, 4);
    const int previous[] = {4, 25, 4, 25};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(a1.dislikes[i].previous, previous[i]);
        EXPECT_EQ(a1.dislikes[i].action_mode, OrientationMode::same);
        EXPECT_EQ(a1.dislikes[i].previous_mode, OrientationMode::same);
    }
    EXPECT_EQ(a1.same_ratio, 10);
    EXPECT_EQ(a1.grab_action, 72);

    // Lists add up to 1000 per mille; only the listed actions move, and they have a bounding
    // list for each axis they move along; 12 and 13 alone have no grab reaction.
    const int movers_x[] = {5, 6, 74, 79, 100};
    const int movers_y[] = {39, 40, 41, 58, 59, 60, 74, 79};
    for (int i = 0; i < 101; ++i) {
        const ActionDef& a = engine->actions[i];
        int sum = 0;
        for (int k = 0; k < a.next_count; ++k) sum += a.next_actions[k].ratio;
        EXPECT_EQ(sum, 1000) << "action " << i + 1;
        bool moves_x = std::find(std::begin(movers_x), std::end(movers_x), i + 1) != std::end(movers_x);
        bool moves_y = std::find(std::begin(movers_y), std::end(movers_y), i + 1) != std::end(movers_y);
        EXPECT_EQ(a.x_step != 0, moves_x) << i + 1;
        EXPECT_EQ(a.y_step != 0, moves_y) << i + 1;
        if (moves_x) {
            EXPECT_GT(a.x_bound_count, 0);
        }
        if (moves_y) {
            EXPECT_GT(a.y_bound_count, 0);
        }
        EXPECT_EQ(a.grab_action == 0, i + 1 == 12 || i + 1 == 13) << i + 1;
    }
    EXPECT_EQ(engine->actions[11].next_actions[0].action, 1);
    EXPECT_EQ(engine->actions[11].next_actions[0].mirrored, 1);

    const AboutAction& row24 = engine->about_actions[23];
    ASSERT_EQ(row24.frame_count, 2);
    EXPECT_EQ(row24.frames[0], 70);
    EXPECT_EQ(row24.frames[1], -70);
}

TEST_F(Compiler, SmallestScreenThatKeepsEveryStepCompilesSilently) {
    screen_width = 32;
    screen_height = 22;
    ASSERT_EQ(start(), 1);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(engine->actions[5].x_step, -15);
    EXPECT_EQ(engine->actions[58].y_step, 10);
}

TEST_F(Compiler, StartingPositionIsDrawnInsideTheMarginsXFirst) {
    margin_left = 10;
    margin_top = 20;
    margin_right = 30;
    margin_bottom = 40;
    const auto r = random_values(77, 2);
    ASSERT_EQ(start(builtin_tables, 77), 1);
    EXPECT_EQ(window_x, 10 + r[0] % (1024 - 50 - 10 - 30));
    EXPECT_EQ(window_y, 20 + r[1] % (768 - 50 - 20 - 40));
    EXPECT_EQ(engine->initial_x, window_x);
    EXPECT_EQ(engine->x, window_x);
    EXPECT_EQ(engine->y, window_y);
}

TEST_F(Compiler, WithoutRoomOnAnAxisTheStartIsTheMarginAndNoValueIsDrawn) {
    margin_left = 500;
    margin_right = 474;  // span 0
    margin_top = 5;
    const auto r = random_values(9, 1);
    ASSERT_EQ(start(builtin_tables, 9), 1);
    EXPECT_EQ(window_x, 500);
    EXPECT_EQ(window_y, 5 + r[0] % (768 - 50 - 5));  // the first value goes to y
}

TEST_F(Compiler, TickIntervalsFollowTheTimerSetting) {
    timer_interval = 25;
    ASSERT_EQ(start(), 1);
    EXPECT_EQ(engine->tick_interval, 25);
    EXPECT_EQ(engine->about_tick_interval, 37);
    free_engine();
    timer_interval = INT32_MAX;  // the About tick saturates rather than wrapping negative
    ASSERT_EQ(start(), 1);
    EXPECT_EQ(engine->about_tick_interval, INT32_MAX);
}

TEST_F(Compiler, SameSeedGivesTheSameStartAndTimeSeedsOtherwise) {
    ASSERT_EQ(start(builtin_tables, 1234), 1);
    int x = window_x, y = window_y;
    free_engine();
    ASSERT_EQ(start(builtin_tables, 1234), 1);
    EXPECT_EQ(window_x, x);
    EXPECT_EQ(window_y, y);
}

struct Failure {
    const char* name;
    Column column;
    int action;
    const char* text;
    const char* message;
};

void PrintTo(const Failure& f, std::ostream* os) { *os << f.name; }

class CompileMessages : public EngineTest, public ::testing::WithParamInterface<Failure> {};

TEST_P(CompileMessages, EachFaultStopsStartUpWithItsMessage) {
    const Failure& f = GetParam();
    TableCopy copy;
    copy.set(f.column, f.action, f.text);
    EXPECT_EQ(start(copy.get()), 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], f.message);
    EXPECT_EQ(engine, nullptr);
}

const Failure failures[] = {
    {"NoFrames", col_frames, 3, " , ", "** ERROR : Not define images for animation action : 3 ..."},
    {"BadImage", col_frames, 4, "4,171", "** ERROR : Invalid image no. for animation action : 4 ..."},
    {"EmptyNext", col_next, 5, "", "** ERROR : Invalid next action list syntax for action 5"},
    {"NextSyntax", col_next, 5, "5-70,1 -20", "** ERROR : For action 5, syntax error for dislike action : 1 -20"},
    {"NextRatio", col_next, 5, "5-0", "** ERROR : For action 5, invalid ratio 0, or next action 5"},
    {"BlankXBound", col_x_bound, 5, "  ", "** ERROR : Invalid next action list syntax for action 5"},
    {"YBoundAction", col_y_bound, 40, "111-100", "** ERROR : For action 40, invalid ratio 1000, or next action 111"},
    {"DislikeLevel", col_dislikes, 9, "*10-0", "** ERROR : For action 9, invalid level 0, or dislike action 10"},
    {"DislikeSyntax", col_dislikes, 9, "*10", "** ERROR : For action 9, syntax error for dislike action : *10"},
};

INSTANTIATE_TEST_SUITE_P(Column, CompileMessages, ::testing::ValuesIn(failures),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Compiler, LaterFailingListOfTheSameActionReplacesTheFrameMessage) {
    TableCopy copy;
    copy.set(col_frames, 8, "2,0").set(col_next, 8, "1-x");
    EXPECT_EQ(start(copy.get()), 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "** ERROR : For action 8, syntax error for dislike action : 1-x");
}

TEST_F(Compiler, FirstFaultyActionEndsTheCompile) {
    TableCopy copy;
    copy.set(col_next, 30, "").set(col_next, 20, "");
    EXPECT_EQ(start(copy.get()), 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "** ERROR : Invalid next action list syntax for action 20");
}

TEST_F(Compiler, EmptyBoundStringMeansNoListAndRejectedStepsCompileToZero) {
    TableCopy copy;
    copy.set(col_x_bound, 100, "").set(col_x_step, 100, "");
    ASSERT_EQ(start(copy.get()), 1);
    EXPECT_EQ(engine->actions[99].x_bound_count, 0);
    free_engine();
    boxes.clear();
    // A 20-pixel-wide screen rejects every horizontal step of 10 or more: action 6's step
    // compiles to 0, and the validator then sees a bound list without movement.
    screen_width = 20;
    ASSERT_EQ(start(), 1);
    EXPECT_EQ(engine->actions[5].x_step, 0);
    EXPECT_EQ(engine->actions[4].x_step, -5);
    EXPECT_NE(std::find(boxes.begin(), boxes.end(),
                        "** Action [6] have defined X bounding action list but have no "
                        "horizontal movement"),
              boxes.end());
}

TEST_F(Compiler, DeadLockCheckNamesTheFirstListWithoutASafeExit) {
    // Action 7's only successor moves horizontally and is redirected at the edges.
    TableCopy copy;
    copy.set(col_next, 7, "5-100");
    EXPECT_EQ(start(copy.get()), 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "** ERROR : For action 7, may have dead lock actions ...");

    boxes.clear();
    copy.set(col_next, 7, "5-50,2-50");
    EXPECT_EQ(start(copy.get()), 1);
    free_engine();

    boxes.clear();
    TableCopy x_lock;
    x_lock.set(col_x_bound, 5, "6-100");
    EXPECT_EQ(start(x_lock.get()), 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "** ERROR : For action 5, may have dead lock (x_bound) ...");

    boxes.clear();
    TableCopy y_lock;
    y_lock.set(col_y_bound, 74, "79-100");
    EXPECT_EQ(start(y_lock.get()), 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "** ERROR : For action 74, may have dead lock (y_bound) ...");
}

TEST_F(Compiler, SafeExitMeansNoBoundingListOnAnyAxisTheTargetMovesAlong) {
    TableCopy copy(4);
    copy.set(col_frames, 1, "1").set(col_next, 1, "1-100");
    copy.set(col_frames, 2, "1").set(col_next, 2, "1-100").set(col_x_step, 2, "5");
    copy.set(col_frames, 3, "1").set(col_next, 3, "1-100").set(col_y_step, 3, "5")
        .set(col_y_bound, 3, "1-100");
    copy.set(col_frames, 4, "1").set(col_next, 4, "1-100").set(col_x_step, 4, "5")
        .set(col_y_step, 4, "5").set(col_x_bound, 4, "1-100");
    ASSERT_EQ(start(copy.get()), 1);
    NextEntry list[1] = {};
    const bool safe[] = {true, true, false, false};
    for (int target = 1; target <= 4; ++target) {
        list[0].action = static_cast<int16_t>(target);
        EXPECT_EQ(has_safe_exit(list, 1), safe[target - 1]) << target;
    }
    EXPECT_FALSE(has_safe_exit(list, 0));
}

TEST_F(Compiler, AboutTableFailsAfterTheValidatorHasSpoken) {
    TableCopy copy;
    copy.set(col_next, 7, "2-90");  // a finding, not a failure
    copy.set_about(5, "1,x");
    EXPECT_EQ(start(copy.get()), 0);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0], "** Sum of ratio for action:7 = 900");
    EXPECT_EQ(boxes[1], "** ERROR : Invalid image no. for dialog animation action : 5 ...");
}

TEST_F(Compiler, TablesWithoutActionsOrCandidatesAreAnInvalidFormat) {
    TableCopy none(0);
    EXPECT_EQ(start(none.get()), 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "** ERROR : Invalid format");
}

// Every allocation of a successful start, failed in turn: each shows its message, and
// nothing stays allocated.
TEST_F(Compiler, EveryAllocationFailureIsReportedAndLeavesNothingBehind) {
    ASSERT_EQ(start(), 1);
    free_engine();
    boxes.clear();
    long total = 0;
    for (long n = 1;; ++n) {
        alloc_fail_countdown = n;
        int ok = start();
        if (ok) {
            total = n - 1;
            alloc_fail_countdown = 0;
            break;
        }
        ASSERT_EQ(boxes.size(), 1u) << "allocation " << n;
        const std::string& m = boxes[0];
        EXPECT_TRUE(m == "** ERROR : Fail to allocate memory ..." ||
                    m.rfind("** ERROR : Fail to allocate memory for ", 0) == 0)
            << m;
        EXPECT_EQ(engine, nullptr);
        EXPECT_EQ(live_allocations, 0) << "allocation " << n;
        boxes.clear();
    }
    // The record, the actions, every list, the weights, the About entries and frames.
    EXPECT_GT(total, 300);
    free_engine();
    EXPECT_EQ(live_allocations, 0);
}

TEST_F(Compiler, AllocationFailuresNameWhatCouldNotBeAllocated) {
    alloc_fail_countdown = 1;  // the record itself
    EXPECT_EQ(start(), 0);
    EXPECT_EQ(boxes.back(), "** ERROR : Fail to allocate memory ...");
    alloc_fail_countdown = 3;  // action 1's frames, after the record and the actions
    EXPECT_EQ(start(), 0);
    EXPECT_EQ(boxes.back(), "** ERROR : Fail to allocate memory for animation action : 1 ...");
}

TEST_F(Compiler, FreeEngineIsSafeTwice) {
    ASSERT_EQ(start(), 1);
    free_engine();
    EXPECT_EQ(engine, nullptr);
    free_engine();
    EXPECT_EQ(live_allocations, 0);
}

}  // namespace
