// Which repeated texts MarkDuplicateTexts drops: same bytes, same base line extent to 1/100 point,
// start within the reach 0.25 x size y of the earlier text (compared with the squared offsets).
#include <gtest/gtest.h>

#include "jww/jww_fixture.h"
#include "jww/jww_writer.h"

namespace velmora {
namespace {

class DuplicateTextsTest : public JwwTest {};

TEST_F(DuplicateTextsTest, OnlyATrueRepeatIsMarked) {
    const struct {
        const char* what;
        const char* later_text;
        double dx, dy;          // start of the later text relative to the earlier one
        double extent_change;   // added to the later text's x2
        int marked;
    } cases[] = {
        {"same place", "A1", 0, 0, 0, 1},
        {"offset inside the reach", "A1", 1.5, -1.5, 0, 1},      // 2.25 <= 0.25 * 10
        {"offset beyond the reach in x", "A1", 1.6, 0, 0, 0},     // 2.56 > 2.5
        {"offset beyond the reach in y", "A1", 0, 1.6, 0, 0},
        {"other bytes", "A2", 0, 0, 0, 0},
        {"longer string", "A1 ", 0, 0, 0, 0},
        {"extent differs by a hundredth", "A1", 0, 0, 0.011, 0},
        {"extent differs below a hundredth", "A1", 0, 0, 0.004, 1},
    };
    for (const auto& c : cases) {
        g_store.conversion = ConversionState{};
        TextRecord& earlier = AddText("A1", 100, -100, 10);
        earlier.x2 = 110.001;
        TextRecord& later = AddText(c.later_text, 100 + c.dx, -100 + c.dy, 10);
        later.x2 = later.x1 + (earlier.x2 - earlier.x1) + c.extent_change;
        EXPECT_EQ(MarkDuplicateTexts(), c.marked) << c.what;
        EXPECT_EQ(g_store.texts[0].duplicate_mark, 0) << c.what;
        EXPECT_EQ(g_store.texts[1].duplicate_mark, c.marked) << c.what;
    }
}

TEST_F(DuplicateTextsTest, TheReachIsTheEarlierTextsHeight) {
    AddText("X", 0, 0, 1);          // reach 0.25
    AddText("X", 0.7, 0, 10);       // 0.49 > 0.25 although its own reach is 2.5
    EXPECT_EQ(MarkDuplicateTexts(), 0);
}

TEST_F(DuplicateTextsTest, AMarkedTextIsNotComparedAgain) {
    // 0 -> 1 within reach, 1 -> 2 within reach, 0 -> 2 beyond it: 2 stays, as 1 is marked.
    AddText("T", 0, 0, 10);
    AddText("T", 1.2, 0, 10);
    AddText("T", 2.4, 0, 10);
    EXPECT_EQ(MarkDuplicateTexts(), 1);
    EXPECT_EQ(g_store.texts[1].duplicate_mark, 1);
    EXPECT_EQ(g_store.texts[2].duplicate_mark, 0);
}

TEST_F(DuplicateTextsTest, MarksAreClearedFirstAndCounted) {
    AddText("P", 0, 0, 10).duplicate_mark = 1;
    AddText("Q", 0, -30, 10).duplicate_mark = 1;
    AddText("P", 0, 0, 10);
    AddText("P", 0, 0, 10);
    EXPECT_EQ(MarkDuplicateTexts(), 2);
    EXPECT_EQ(g_store.texts[0].duplicate_mark, 0);
    EXPECT_EQ(g_store.texts[1].duplicate_mark, 0);
    EXPECT_EQ(g_store.texts[2].duplicate_mark, 1);
    EXPECT_EQ(g_store.texts[3].duplicate_mark, 1);
}

TEST_F(DuplicateTextsTest, EmptyTextsAndBrokenRecordsNeverCrash) {
    AddText("", 0, 0, 10);
    AddText("", 0, 0, 10);
    TextRecord& broken = AddText("Z", 0, 0, 10);
    broken.string_offset = kTextPoolBytes + 5;
    TextRecord& huge = AddText("Z", 0, 0, 10);
    huge.x2 = 1e300;  // the truncated extent does not fit an integer
    AddText("Z", 0, 0, 10).x2 = 1e300;
    EXPECT_EQ(MarkDuplicateTexts(), 2);
    EXPECT_EQ(g_store.texts[1].duplicate_mark, 1);
    EXPECT_EQ(g_store.texts[2].duplicate_mark, 0);
    EXPECT_EQ(g_store.texts[4].duplicate_mark, 1);
}

}  // namespace
}  // namespace velmora
