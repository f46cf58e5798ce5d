// Dragging: what the held cat shows, what it does when let go, and where a drop lands.
#include "support.h"

namespace {

class Drag : public EngineTest {
protected:
    void run(int action, int frame, int mirrored = 0) {
        engine->current_action = action - 1;
        engine->current_frame = frame;
        engine->mirrored = mirrored;
        publish_frame();
    }
};

TEST_F(Drag, GrabSwitchesToTheHeldActionAndReleaseRestoresThenReacts) {
    ASSERT_EQ(start(), 1);
    run(7, 2);
    engine->repeat_count = 4;
    drag_grab();
    EXPECT_EQ(engine->drag_state, DragState::held_switched);
    EXPECT_EQ(engine->current_action, 56);
    EXPECT_EQ(engine->current_frame, 0);
    EXPECT_EQ(engine->repeat_count, 0);
    for (int t = 1; t <= 9; ++t) {
        drag_tick();
        EXPECT_EQ(engine->current_frame, t % 8);  // action 57 has 8 frames and loops
    }
    EXPECT_EQ(shown_image, engine->actions[56].frames[1] - 1);
    drag_release();
    EXPECT_EQ(engine->drag_state, DragState::idle);
    EXPECT_EQ(engine->current_action, 1);  // action 7 restored, then its release: action 2
    EXPECT_EQ(engine->current_frame, 0);
    EXPECT_EQ(engine->history[0], -1);  // nothing recorded
}

TEST_F(Drag, HeldSameKeepsAnimatingInPlaceAndGoesOnAfterRelease) {
    ASSERT_EQ(start(), 1);
    set_pet_position(300, 400);
    run(5, 3);
    drag_grab();
    EXPECT_EQ(engine->drag_state, DragState::held_same);
    drag_tick();
    drag_tick();
    EXPECT_EQ(engine->current_frame, 5);
    drag_tick();
    EXPECT_EQ(engine->current_frame, 0);
    EXPECT_EQ(window_x, 400);
    set_pet_position(120, 600);  // dropped elsewhere
    drag_release();
    EXPECT_EQ(engine->current_action, 4);
    EXPECT_EQ(engine->current_frame, 0);
    behaviour_step();
    EXPECT_EQ(window_x, 595);
    EXPECT_EQ(window_y, 120);
}

TEST_F(Drag, ActionWithoutGrabReactionFreezesAndIgnoresItsRelease) {
    TableCopy copy;
    copy.set(col_release, 12, "2");
    ASSERT_EQ(start(copy.get()), 1);
    run(12, 3, 1);
    const int image = shown_image, mirrored = shown_mirrored;
    drag_grab();
    EXPECT_EQ(engine->drag_state, DragState::idle);
    for (int t = 0; t < 5; ++t) drag_tick();
    EXPECT_EQ(shown_image, image);
    EXPECT_EQ(shown_mirrored, mirrored);
    EXPECT_EQ(engine->current_frame, 3);
    drag_release();
    EXPECT_EQ(engine->current_action, 11);
    EXPECT_EQ(engine->current_frame, 3);
    EXPECT_EQ(engine->mirrored, 1);
}

TEST_F(Drag, FlippedGrabOfTheRunningActionIsASwitchAndReleaseRestoresTheOrientation) {
    TableCopy copy;
    copy.set(col_grab, 5, "r5").set(col_release, 5, "");
    ASSERT_EQ(start(copy.get()), 1);
    run(5, 4, 0);
    drag_grab();
    EXPECT_EQ(engine->drag_state, DragState::held_switched);
    EXPECT_EQ(engine->current_action, 4);
    EXPECT_EQ(engine->mirrored, 1);
    EXPECT_EQ(engine->current_frame, 0);
    drag_release();
    EXPECT_EQ(engine->mirrored, 0);
    EXPECT_EQ(engine->current_frame, 0);
}

TEST_F(Drag, FlippedReleaseFlipsTheOrientationInForceAfterTheRestore) {
    TableCopy copy;
    copy.set(col_release, 7, "r2").set(col_release, 5, "r5");
    ASSERT_EQ(start(copy.get()), 1);
    run(7, 0, 1);  // switched while held: the saved orientation 1 is restored, then flipped
    drag_grab();
    drag_release();
    EXPECT_EQ(engine->current_action, 1);
    EXPECT_EQ(engine->mirrored, 0);
    run(5, 2, 0);  // held in place: the unchanged orientation 0 is flipped
    engine->repeat_count = 3;
    drag_grab();
    drag_release();
    EXPECT_EQ(engine->current_action, 4);
    EXPECT_EQ(engine->mirrored, 1);
    EXPECT_EQ(engine->current_frame, 0);
    EXPECT_EQ(engine->repeat_count, 0);
}

TEST_F(Drag, PositiveReleaseOfTheGrabbedActionChangesNothing) {
    TableCopy copy;
    copy.set(col_release, 5, "5");
    ASSERT_EQ(start(copy.get()), 1);
    run(5, 2);
    engine->repeat_count = 3;
    drag_grab();
    drag_tick();
    drag_release();
    EXPECT_EQ(engine->current_frame, 3);
    EXPECT_EQ(engine->repeat_count, 3);
}

TEST_F(Drag, OneFrameHeldActionShowsItsOnlyFrame) {
    ASSERT_EQ(start(), 1);
    run(60, 0);  // grab_action 60 is itself, one frame
    drag_grab();
    drag_tick();
    drag_tick();
    EXPECT_EQ(engine->current_frame, 0);
    EXPECT_EQ(shown_image, 99);
}

TEST_F(Drag, ReleaseWithoutGrabDoesNothing) {
    ASSERT_EQ(start(), 1);
    run(7, 1);
    drag_release();
    EXPECT_EQ(engine->current_action, 6);
    EXPECT_EQ(engine->current_frame, 1);
}

TEST_F(Drag, DropPositionIsClampedToTheMarginsRightAndBottomWinning) {
    margin_left = 10;
    margin_top = 20;
    margin_right = 30;
    margin_bottom = 40;
    int32_t x = -5000, y = -5000;
    clamp_to_margins(&x, &y);
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 20);
    x = 5000, y = 5000;
    clamp_to_margins(&x, &y);
    EXPECT_EQ(x, 1024 - 30 - 50);
    EXPECT_EQ(y, 768 - 40 - 50);
    x = 300, y = 200;
    clamp_to_margins(&x, &y);
    EXPECT_EQ(x, 300);
    EXPECT_EQ(y, 200);
    screen_width = 60;  // too small for margins and window: the right limit decides
    screen_height = 70;
    x = 0, y = 0;
    clamp_to_margins(&x, &y);
    EXPECT_EQ(x, 60 - 30 - 50);
    EXPECT_EQ(y, 70 - 40 - 50);
}

}  // namespace
