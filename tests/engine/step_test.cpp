// The behaviour step: frames, movement at the limits, and the weighted choice of the
// next action with its repeat penalty, dislikes, cycle avoidance and room tests.
#include "support.h"

namespace {

class Step : public EngineTest {
protected:
    // Puts the running action and its frame in place, as a selection would have left them.
    void run(int action, int frame, int mirrored = 0) {
        engine->current_action = action - 1;
        engine->current_frame = frame;
        engine->mirrored = mirrored;
    }
    void place(int x, int y) { set_pet_position(y, x); }
    void clear_history() {
        for (int j = 0; j < history_length; ++j) {
            engine->history[j] = -1;
            engine->history_mirrored[j] = 2;
        }
    }
    void remember(std::vector<std::pair<int, int>> newest_first) {
        clear_history();
        for (size_t j = 0; j < newest_first.size(); ++j) {
            engine->history[j] = newest_first[j].first - 1;
            engine->history_mirrored[j] = static_cast<uint8_t>(newest_first[j].second);
        }
    }
};

TEST_F(Step, MirroredFrameReferencesInvertWithTheOrientation) {
    TableCopy copy;
    copy.set(col_frames, 1, "r1,1");
    ASSERT_EQ(start(copy.get()), 1);
    EXPECT_EQ(shown_image, 0);
    EXPECT_EQ(shown_mirrored, 1);
    engine->mirrored = 1;
    publish_frame();
    EXPECT_EQ(shown_mirrored, 0);
}

TEST_F(Step, FirstSelectionComesOnTheSecondTickAndFollowsTheDraw) {
    ASSERT_EQ(start(), 1);
    const int x = window_x;
    behaviour_step();
    EXPECT_EQ(engine->current_action, 0);
    EXPECT_EQ(engine->current_frame, 1);
    EXPECT_EQ(engine->history[0], -1);

    seed_random(seed_giving(0));
    behaviour_step();  // d = 0: the first entry, action 1 again
    EXPECT_EQ(engine->current_action, 0);
    EXPECT_EQ(engine->current_frame, 0);
    EXPECT_EQ(engine->repeat_count, 1);
    EXPECT_EQ(engine->history[0], 0);
    EXPECT_EQ(engine->history_mirrored[0], 0);
    EXPECT_EQ(engine->history[1], -1);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(engine->weights[i], engine->actions[0].next_actions[i].ratio);

    free_engine();
    ASSERT_EQ(start(), 1);
    behaviour_step();
    seed_random(seed_giving(32767));
    behaviour_step();  // d = 999: the last entry, action 76
    EXPECT_EQ(engine->current_action, 75);
    EXPECT_EQ(engine->repeat_count, 0);
    EXPECT_EQ(window_x, x);
}

TEST_F(Step, OneFrameActionIsReplacedOnTheNextTick) {
    ASSERT_EQ(start(), 1);
    run(45, 0);  // action 45: a single frame, then 4 or 25
    behaviour_step();
    EXPECT_TRUE(engine->current_action == 3 || engine->current_action == 24);
    EXPECT_EQ(engine->current_frame, 0);
}

TEST_F(Step, WalkingIntoAMarginIsInterruptedOnlyWithABoundingList) {
    margin_left = 20;
    ASSERT_EQ(start(), 1);
    place(23, 300);
    run(5, 0);
    behaviour_step();  // -5 would cross: action 5 ends, 12 or 13 starts, the pet stays
    EXPECT_TRUE(engine->current_action == 11 || engine->current_action == 12);
    EXPECT_EQ(window_x, 23);
    EXPECT_EQ(engine->history[0], engine->current_action);
    free_engine();

    TableCopy copy;
    copy.set(col_x_bound, 5, "");
    ASSERT_EQ(start(copy.get()), 1);
    place(23, 300);
    run(5, 0);
    behaviour_step();
    EXPECT_EQ(engine->current_action, 4);
    EXPECT_EQ(engine->current_frame, 1);
    EXPECT_EQ(window_x, 20);
    behaviour_step();  // stopped at the margin, still animating
    EXPECT_EQ(engine->current_frame, 2);
    EXPECT_EQ(window_x, 20);
    EXPECT_EQ(shown_image, 6);
}

TEST_F(Step, LandingExactlyOnALimitIsNoCrossingAndMirroringReversesTheStep) {
    margin_right = 10;
    ASSERT_EQ(start(), 1);
    const int right = 1024 - 50 - 10;
    place(right - 15, 100);
    run(6, 0, 1);  // the gallop, mirrored: -15 becomes +15
    behaviour_step();
    EXPECT_EQ(window_x, right);
    EXPECT_EQ(engine->current_action, 5);
    behaviour_step();  // now it would cross: the bounding list takes over
    EXPECT_NE(engine->current_action, 5);
    EXPECT_EQ(window_x, right);
}

TEST_F(Step, VerticalCrossingTakesPrecedenceOverHorizontal) {
    ASSERT_EQ(start(), 1);
    place(2, 2);
    engine->current_action = 78;  // action 79: leaps up and to the left
    engine->current_frame = 0;
    const Motion m = test_motion(78, 0, 0, false);
    EXPECT_EQ(m.event, StepEvent::y_bound);
    EXPECT_EQ(m.dx, 0);
    EXPECT_EQ(m.dy, 0);
    const Motion past_end = test_motion(78, 1, 0, false);
    EXPECT_EQ(past_end.event, StepEvent::action_done);
    // A strict test interrupts even an action without bounding lists.
    place(2, 300);
    EXPECT_EQ(test_motion(4, 0, 0, false).event, StepEvent::x_bound);
    EXPECT_EQ(test_motion(0, 0, 0, true).event, StepEvent::none);
}

class Draws : public Step {
protected:
    // Action 1 chooses among 2 (ratio 200), 3 (300) and 4 (500). Action 2 dislikes 2 with
    // level 20; action 3 dislikes 2 with level 10 when it followed 4; action 4 dislikes r2.
    void SetUp() override {
        Step::SetUp();
        TableCopy copy(4);
        copy.set(col_frames, 1, "1").set(col_next, 1, "2-20,3-30,4-50");
        copy.set(col_frames, 2, "1").set(col_next, 2, "1-100").set(col_dislikes, 2, "2-20");
        copy.set(col_frames, 3, "1").set(col_next, 3, "1-100").set(col_dislikes, 3, "2-10:4");
        copy.set(col_frames, 4, "1").set(col_next, 4, "1-100").set(col_dislikes, 4, "r2-10");
        ASSERT_EQ(start(copy.get()), 1);
        clear_history();
    }
    int32_t weight_of_action_2() {
        draw_candidate(engine->actions[0].next_actions, 3);
        return engine->weights[0];
    }
};

TEST_F(Draws, DislikeFadesLinearlyWithAge) {
    remember({{4, 0}, {4, 0}, {4, 0}, {4, 0}, {4, 0}, {2, 0}});
    EXPECT_EQ(weight_of_action_2(), 200 * 5 / 20);
    engine->history[5] = -1;
    engine->history[19] = 1;
    engine->history_mirrored[19] = 0;
    EXPECT_EQ(weight_of_action_2(), 19 * 200 / 20);
    engine->history[19] = -1;
    engine->history[20] = 1;
    engine->history_mirrored[20] = 0;
    EXPECT_EQ(weight_of_action_2(), 200);
    remember({{2, 0}});
    EXPECT_EQ(weight_of_action_2(), 1);  // just disliked: the minimum, never 0
}

TEST_F(Draws, DislikeRespectsOrientationRules) {
    remember({{3, 0}, {2, 1}});  // action 2 ran mirrored; the candidate would run plain
    EXPECT_EQ(weight_of_action_2(), 200);
    remember({{4, 1}});  // action 4 mirrored dislikes action 2 in the other orientation
    EXPECT_EQ(weight_of_action_2(), 1);
    remember({{4, 0}});
    EXPECT_EQ(weight_of_action_2(), 200);
}

TEST_F(Draws, DislikeWithAPreviousActionNeedsThatActionJustBeforeTheDisliker) {
    remember({{1, 0}, {1, 0}, {3, 0}, {4, 0}});
    EXPECT_EQ(weight_of_action_2(), 2 * 200 / 10);
    remember({{1, 0}, {1, 0}, {3, 0}, {1, 0}});
    EXPECT_EQ(weight_of_action_2(), 200);
    // "4" means 4 in the orientation of 3: a mirrored 4 does not meet the condition, and
    // only that 4's own dislike of a flipped 2 acts.
    remember({{1, 0}, {1, 0}, {3, 0}, {4, 1}});
    EXPECT_EQ(weight_of_action_2(), 3 * 200 / 10);
    clear_history();
    engine->history[29] = 2;  // the disliker at the oldest place: no predecessor recorded
    engine->history_mirrored[29] = 0;
    EXPECT_EQ(weight_of_action_2(), 200);
}

TEST_F(Draws, LowestDislikeWins) {
    remember({{1, 0}, {3, 0}, {4, 0}, {2, 0}});  // 1 * 200 / 10 from 3, 3 * 200 / 20 from 2
    EXPECT_EQ(weight_of_action_2(), 20);
    remember({{1, 0}, {1, 0}, {1, 0}, {3, 0}, {4, 0}, {2, 0}});  // 60 from 3, 50 from 2
    EXPECT_EQ(weight_of_action_2(), 50);
}

TEST_F(Draws, MarkedEntriesWeighNothingAndAreNeverDrawn) {
    NextEntry* list = engine->actions[0].next_actions;
    list[0].rejected = 1;
    list[2].rejected = 1;
    for (int32_t value : {0, 16000, 32767}) {
        seed_random(seed_giving(value));
        EXPECT_EQ(draw_candidate(list, 3).entry, 1);
    }
    EXPECT_EQ(engine->weights[0], 0);
    EXPECT_EQ(engine->weights[2], 0);
    list[0].rejected = list[2].rejected = 0;
}

TEST_F(Draws, DrawMapsTheRandomValueOntoTheRunningSums) {
    // Weights 200, 300, 500: d = r * 1000 / 32768.
    struct { int32_t r; int entry; } cases[] = {
        {0, 0}, {6553, 0}, {6554, 1}, {16383, 1}, {16384, 2}, {32767, 2}};
    for (const auto& c : cases) {
        seed_random(seed_giving(c.r));
        const Draw d = draw_candidate(engine->actions[0].next_actions, 3);
        EXPECT_EQ(d.entry, c.entry) << c.r;
        EXPECT_EQ(d.action, c.entry + 1);
        EXPECT_EQ(d.orientation, 0);
    }
    engine->mirrored = 1;
    engine->actions[0].next_actions[0].mirrored = 1;
    seed_random(seed_giving(0));
    EXPECT_EQ(draw_candidate(engine->actions[0].next_actions, 3).orientation, 0);
    seed_random(seed_giving(32767));
    EXPECT_EQ(draw_candidate(engine->actions[0].next_actions, 3).orientation, 1);
}

TEST_F(Step, RepeatPenaltyGrowsWithTheRepeatCountButLeavesAtLeastOne) {
    TableCopy copy;
    copy.set(col_next, 14, "14-50,3-50");
    ASSERT_EQ(start(copy.get()), 1);
    run(14, 0);
    ActionDef& a = engine->actions[13];
    ASSERT_EQ(a.same_ratio, 100);
    engine->repeat_count = 3;
    draw_candidate(a.next_actions, 2);
    EXPECT_EQ(engine->weights[0], 200);
    EXPECT_EQ(engine->weights[1], 500);
    engine->repeat_count = 5;
    draw_candidate(a.next_actions, 2);
    EXPECT_EQ(engine->weights[0], 1);
    engine->repeat_count = 2000000000;  // no overflow however long the run
    draw_candidate(a.next_actions, 2);
    EXPECT_EQ(engine->weights[0], 1);
    // The flipped repeat is an ordinary candidate: no penalty.
    a.next_actions[0].mirrored = 1;
    draw_candidate(a.next_actions, 2);
    EXPECT_EQ(engine->weights[0], 500);
}

TEST_F(Step, CycleTestFindsARunAboutToRepeat) {
    ASSERT_EQ(start(), 1);
    remember({{2, 0}, {1, 0}, {2, 0}});  // newest first: B, A, B
    EXPECT_TRUE(repeats_cycle(0, 0));     // A, B would follow directly on A, B
    EXPECT_FALSE(repeats_cycle(0, 1));
    EXPECT_FALSE(repeats_cycle(1, 0));  // the latest choice itself: i = 0
    EXPECT_FALSE(repeats_cycle(5, 0));  // not in the history
    remember({{2, 0}, {1, 0}, {3, 0}});
    EXPECT_FALSE(repeats_cycle(0, 0));
    // A cycle of 15 selections fits in the history; one of 16 does not.
    std::vector<std::pair<int, int>> h;
    for (int k = 0; k < 30; ++k) h.push_back({k % 15 + 1, 0});
    remember(h);
    EXPECT_TRUE(repeats_cycle(14, 0));
    h.clear();
    for (int k = 0; k < 30; ++k) h.push_back({k % 16 + 1, 0});
    remember(h);
    EXPECT_FALSE(repeats_cycle(15, 0));
}

class Selection : public Step {
protected:
    // Action 1 (one frame) chooses between 2 and 3; history X, A, X, D, X, A, X makes both
    // A (2) and D (3) repeat a cycle, so the cycle test refuses whatever is drawn.
    void SetUp() override {
        Step::SetUp();
        TableCopy copy(3);
        copy.set(col_frames, 1, "1").set(col_next, 1, "2-50,3-50");
        copy.set(col_frames, 2, "1").set(col_next, 2, "1-100");
        copy.set(col_frames, 3, "1").set(col_next, 3, "1-100");
        ASSERT_EQ(start(copy.get()), 1);
        remember({{1, 0}, {2, 0}, {1, 0}, {3, 0}, {1, 0}, {2, 0}, {1, 0}});
        run(1, 0);
    }
};

TEST_F(Selection, CycleTestRefusesAtMostTenCandidates) {
    ASSERT_TRUE(repeats_cycle(1, 0));
    ASSERT_TRUE(repeats_cycle(2, 0));
    seed_random(42);
    behaviour_step();
    const int32_t following = next_random();
    const auto draws = random_values(42, 12);
    // The eleventh draw was accepted; the generator is now at the twelfth value.
    EXPECT_EQ(following, draws[11]);
    EXPECT_EQ(engine->current_action, draws[10] * 1000 / 32768 < 500 ? 1 : 2);
}

TEST_F(Selection, SingleEntryListNeverConsultsTheCycleTest) {
    engine->actions[0].next_count = 1;
    seed_random(42);
    behaviour_step();
    EXPECT_EQ(engine->current_action, 1);
    const int32_t following = next_random();
    EXPECT_EQ(following, random_values(42, 2)[1]);
    engine->actions[0].next_count = 2;
}

TEST_F(Step, CornerFallsBackToTheRelaxedPassAndClipsTheStep) {
    TableCopy copy(4);
    copy.set(col_frames, 1, "1").set(col_next, 1, "2-50,3-50");
    copy.set(col_frames, 2, "1").set(col_next, 2, "1-100").set(col_x_step, 2, "-5");
    copy.set(col_frames, 3, "1").set(col_next, 3, "1-100").set(col_x_step, 3, "-5")
        .set(col_x_bound, 3, "1-100");
    copy.set(col_frames, 4, "1").set(col_next, 4, "4-100");
    for (uint32_t seed = 1; seed <= 20; ++seed) {
        ASSERT_EQ(start(copy.get()), 1);
        place(1, 100);
        run(1, 0);
        seed_random(seed);
        behaviour_step();
        EXPECT_EQ(engine->current_action, 1) << seed;  // only 2 survives, clipped to the margin
        EXPECT_EQ(window_x, 0);
        free_engine();
    }
}

TEST_F(Step, RoomTestRefusesCandidatesThatDoNotFitInTheStrictPass) {
    TableCopy copy(3);
    copy.set(col_frames, 1, "1").set(col_next, 1, "2-90,3-10");
    copy.set(col_frames, 2, "1").set(col_next, 2, "1-100").set(col_x_reach, 2, "30")
        .set(col_y_reach, 2, "-20");
    copy.set(col_frames, 3, "1").set(col_next, 3, "1-100");
    ASSERT_EQ(start(copy.get()), 1);
    const int right = 1024 - 50;
    place(right - 30, 20);
    EXPECT_TRUE(fits_reach(1, 0));
    place(right - 29, 20);
    EXPECT_FALSE(fits_reach(1, 0));
    EXPECT_TRUE(fits_reach(1, 1));  // mirrored, the room is needed on the left
    place(100, 19);
    EXPECT_FALSE(fits_reach(1, 0));
    EXPECT_TRUE(fits_reach(2, 0));
    for (uint32_t seed = 1; seed <= 20; ++seed) {
        place(right - 10, 100);
        run(1, 0);
        seed_random(seed);
        behaviour_step();
        EXPECT_EQ(engine->current_action, 2) << seed;
    }
}

TEST_F(Step, AboutAnimationPicksByTheGeneratorAndLoops) {
    ASSERT_EQ(start(), 1);
    seed_random(seed_giving(23));
    pick_about_action();
    EXPECT_EQ(engine->about_action, 23);  // row 24: "70,r70"
    EXPECT_EQ(current_about_frame(), 70);
    advance_about_frame();
    EXPECT_EQ(current_about_frame(), -70);
    advance_about_frame();
    EXPECT_EQ(engine->about_frame, 0);
    seed_random(seed_giving(62 + 5));
    pick_about_action();
    EXPECT_EQ(engine->about_action, 5);
    EXPECT_EQ(engine->about_frame, 0);
}

}  // namespace
