// The validator: each of its six findings, their order, and silence on the built-in cat.
#include "support.h"

namespace {

class Validator : public EngineTest {
protected:
    std::vector<std::string> findings(TableCopy& copy) {
        EXPECT_EQ(start(copy.get()), 1);
        return boxes;
    }
};

TEST_F(Validator, FindsNothingInTheBuiltInTables) {
    ASSERT_EQ(start(), 1);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Validator, ImagesNoActionShowsAreReportedEvenIfTheAboutBoxUsesThem) {
    TableCopy copy;
    copy.set(col_frames, 44, "r73").set(col_frames, 45, "r73");  // still referenced mirrored
    copy.set(col_frames, 100, "168,169,169,r159,168");  // 170 now only in action 101
    copy.set(col_frames, 101, "168,169,169,159,r168");  // and now in none, only About rows
    EXPECT_EQ(findings(copy),
              std::vector<std::string>{"** Image [170] have not been referenced"});
}

TEST_F(Validator, RatioSumsAreCheckedPerListInPerMille) {
    TableCopy copy;
    copy.set(col_next, 5, "5-50,1-40").set(col_x_bound, 5, "12-50,13-60");
    copy.set(col_next, 6, "6-74,1-10,5-8,97-4,r98-4");  // unchanged: 100 percent
    EXPECT_EQ(findings(copy), (std::vector<std::string>{"** Sum of ratio for action:5 = 900",
                                                        "** Sum of ratio for action:5 = 1100"}));
}

TEST_F(Validator, ActionsNothingLeadsToAreReportedButNeverTheFirst) {
    TableCopy copy;
    // Action 12 is now named only in its own list and in dislikes.
    for (int a = 1; a <= 101; ++a) {
        std::string next = copy.cells[col_next][a - 1];
        std::string fixed;
        size_t start = 0;
        while (start <= next.size()) {
            size_t comma = next.find(',', start);
            std::string element = next.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
            std::string target = element.substr(0, element.find('-'));
            if (target == "12") element.replace(0, 2, "13");
            fixed += (fixed.empty() ? "" : ",") + element;
            if (comma == std::string::npos) break;
            start = comma + 1;
        }
        copy.set(col_next, a, fixed);
    }
    copy.set(col_x_bound, 5, "13-100");
    copy.set(col_x_bound, 6, "13-50,97-25,r98-25");
    copy.set(col_next, 12, "12-10,r1-90");
    copy.set(col_same_ratio, 12, "");
    const auto boxes = findings(copy);
    EXPECT_EQ(boxes, std::vector<std::string>{"** Action [12] have not been referenced"});
}

TEST_F(Validator, TheFirstActionNeedsNoPredecessor) {
    TableCopy copy(2);
    copy.set(col_frames, 1, "1").set(col_next, 1, "2-100");
    copy.set(col_frames, 2, "1").set(col_next, 2, "2-100");
    ASSERT_EQ(start(copy.get()), 1);
    for (const auto& box : boxes) EXPECT_EQ(box.find("Action ["), std::string::npos) << box;
    EXPECT_EQ(boxes.size(), 169u);  // images 2..170
}

TEST_F(Validator, BoundListsOnAnAxisWithoutMovementXFirst) {
    TableCopy copy;
    copy.set(col_x_bound, 3, "2-100").set(col_y_bound, 3, "2-100");
    copy.set(col_y_bound, 5, "1-100");
    EXPECT_EQ(findings(copy),
              (std::vector<std::string>{
                  "** Action [3] have defined X bounding action list but have no horizontal "
                  "movement",
                  "** Action [3] have defined Y bounding action list but have no vertical movement",
                  "** Action [5] have defined Y bounding action list but have no vertical movement"}));
}

TEST_F(Validator, SameRatioThatCannotActOrIsTooLarge) {
    TableCopy copy;
    copy.set(col_next, 7, "7-5,2-95").set(col_same_ratio, 7, "10");
    EXPECT_EQ(findings(copy), std::vector<std::string>{
                                  "** The same ratio (100) for action [7] is too large"});
    free_engine();
    boxes.clear();
    copy.set(col_next, 7, "r7-5,2-95");
    EXPECT_EQ(findings(copy), std::vector<std::string>{
                                  "** Action [7] have defined <same_ratio> that is no use"});
    free_engine();
    boxes.clear();
    copy.set(col_next, 7, "7-10,2-90");
    EXPECT_TRUE(findings(copy).empty());
}

TEST_F(Validator, DislikeWithAPreviousActionThatCannotLeadHere) {
    // Action 85 dislikes 4 after 25; 25 leads to 4 in the same orientation only.
    TableCopy copy;
    copy.set(col_dislikes, 85, "4-10:r25");
    EXPECT_EQ(findings(copy), std::vector<std::string>{
                                  "** Action [85] have defined dislike action [4] with previous "
                                  "action [25], which will not occur"});
    free_engine();
    boxes.clear();
    copy.set(col_dislikes, 85, "4-10:*25");
    EXPECT_TRUE(findings(copy).empty());
    free_engine();
    boxes.clear();
    // A previous action that reaches the disliker only through a bounding list is enough.
    copy.set(col_dislikes, 12, "r7-20:5");
    EXPECT_TRUE(findings(copy).empty());
}

TEST_F(Validator, FindingsComeInPassOrder) {
    TableCopy copy;
    copy.set(col_dislikes, 85, "4-10:r25");               // pass 6
    copy.set(col_same_ratio, 5, "80");                    // pass 5
    copy.set(col_y_bound, 2, "1-100");                    // pass 4
    copy.set(col_next, 3, "3-12,2-30,14-3,15-3,16-4,20-4,22-4,24-4,54-4,56-4,57-3,58-3,59-3,"
                          "60-3,62-3,82-3,93-4,95-3,99-3,1-1");  // pass 2
    copy.set(col_frames, 62, "102,102,102");              // pass 1: 103 no longer shown
    EXPECT_EQ(findings(copy),
              (std::vector<std::string>{
                  "** Image [103] have not been referenced",
                  "** Sum of ratio for action:3 = 1010",
                  "** Action [2] have defined Y bounding action list but have no vertical movement",
                  "** The same ratio (800) for action [5] is too large",
                  "** Action [85] have defined dislike action [4] with previous action [25], "
                  "which will not occur"}));
}

}  // namespace
