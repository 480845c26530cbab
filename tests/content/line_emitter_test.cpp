// EmitLine: the page-frame step per rotation, the record as created, the per-page limit.
#include <gtest/gtest.h>

#include <limits>

#include "content/line_emitter.h"
#include "support/store_fixture.h"

namespace velmora {
namespace {

class LineEmitterTest : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        ResetConversionCounters(true);
        ResetForPage(1);
        SetPage(0.0, 595.0, 842.0);
    }
    static void SetPage(double rotation, double x1, double y1) {
        g_store.pages[1].rotation = rotation;
        g_store.pages[1].media_box[2] = x1;
        g_store.pages[1].media_box[3] = y1;
    }
};

TEST_F(LineEmitterTest, PageFrameStepForEachRotation) {
    struct Case {
        double rotation, x1, y1;
        double x, y;
    } cases[] = {
        {90.0, 842.0, 595.0, 50.0, -100.0},   // (y, -x); the MediaBox is not read
        {450.0, 842.0, 595.0, 50.0, -100.0},
        {180.0, 595.0, 842.0, 495.0, -50.0},  // (x1 - x, -y)
        {-180.0, 595.0, 842.0, 495.0, -50.0},
        {0.0, 595.0, 842.0, 100.0, -792.0},   // (x, y - y1)
        {270.0, 842.0, 595.0, 792.0, -495.0}, // (x1 - y, x - y1), the box stored swapped
        {-90.0, 842.0, 595.0, 792.0, -495.0},
        {90.5, 595.0, 842.0, 100.0, -792.0},  // not a multiple of 90: as 0
    };
    for (const Case& c : cases) {
        SetPage(c.rotation, c.x1, c.y1);
        ResetForPage(1);
        ASSERT_TRUE(EmitLine(100.0, 50.0, 0.0, 0.0, 1, false));
        const LineRecord& line = g_store.lines[0];
        EXPECT_DOUBLE_EQ(line.x1, c.x) << "rotation " << c.rotation;
        EXPECT_DOUBLE_EQ(line.y1, c.y) << "rotation " << c.rotation;
    }
}

TEST_F(LineEmitterTest, RecordCarriesTheConversionStateAndFixedFields) {
    g_store.conversion.figure_counter = 7;
    g_store.conversion.pen_style = 3;
    g_store.conversion.line_width = 0.35;
    ASSERT_TRUE(EmitLine(1, 2, 3, 4, 1, true));
    g_store.conversion.line_width = 2.0;
    ASSERT_TRUE(EmitLine(1, 2, 3, 4, 1, false));

    const LineRecord& grouped = g_store.lines[0];
    EXPECT_EQ(grouped.group_number, 7);
    EXPECT_EQ(grouped.pen_style, 3);
    EXPECT_EQ(grouped.pen_colour, 2);
    EXPECT_EQ(grouped.pen_width, 0);
    EXPECT_EQ(grouped.layer, 0);
    EXPECT_EQ(grouped.layer_group, 0);
    EXPECT_EQ(grouped.flags, 0);
    EXPECT_EQ(grouped.width_class, 3);  // 0.35 × 10 truncated toward zero
    EXPECT_EQ(grouped.reserved, 0);
    EXPECT_EQ(grouped.page_number, 1);
    EXPECT_EQ(g_store.lines[1].group_number, 0);
    EXPECT_EQ(g_store.lines[1].width_class, 20);
    EXPECT_EQ(g_store.conversion.line_count, 2);
    EXPECT_EQ(g_store.pages[1].line_count, 2);
    EXPECT_EQ(g_store.conversion.total_segments, 2);
}

TEST_F(LineEmitterTest, AbsurdWidthsAndCoordinatesStayOutOfTheRecords) {
    g_store.conversion.line_width = 1e63;
    ASSERT_TRUE(EmitLine(0, 0, 1, 1, 1, false));
    EXPECT_EQ(g_store.lines[0].width_class, std::numeric_limits<int32_t>::max());
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_FALSE(EmitLine(inf, 0, 1, 1, 1, false));
    EXPECT_FALSE(EmitLine(0, 0, 1, std::numeric_limits<double>::quiet_NaN(), 1, false));
    EXPECT_EQ(g_store.conversion.line_count, 1);
    EXPECT_EQ(g_store.pages[1].line_count, 1);
}

TEST_F(LineEmitterTest, TheLastRecordOfAPageIsKeptAndLaterOnesDroppedWithOneCode) {
    g_store.conversion.line_count = kMaxLinesPerPage - 1;
    EXPECT_TRUE(EmitLine(0, 0, 1, 1, 1, false));
    EXPECT_EQ(g_errors.count, 0);
    EXPECT_FALSE(EmitLine(0, 0, 1, 1, 1, false));
    EXPECT_FALSE(EmitLine(0, 0, 1, 1, 1, false));
    EXPECT_EQ(g_store.conversion.line_count, kMaxLinesPerPage);
    ASSERT_EQ(g_errors.count, 1);
    EXPECT_EQ(g_errors.codes[0], 120);
    EXPECT_EQ(g_store.pages[1].line_count, 1);  // the refused ones are not counted
}

TEST_F(LineEmitterTest, CodeIsNotAddedToAListThatHoldsOthers) {
    RecordError(90);
    g_store.conversion.line_count = kMaxLinesPerPage;
    EXPECT_FALSE(EmitLine(0, 0, 1, 1, 1, false));
    ASSERT_EQ(g_errors.count, 1);
    EXPECT_EQ(g_errors.codes[0], 90);
}

TEST_F(LineEmitterTest, RewindNeverGoesBelowZero) {
    for (int i = 0; i < 3; ++i) EmitLine(0, 0, 1, 1, 1, false);
    RewindLines(2);
    EXPECT_EQ(g_store.conversion.line_count, 1);
    RewindLines(-5);
    EXPECT_EQ(g_store.conversion.line_count, 1);
    RewindLines(10);
    EXPECT_EQ(g_store.conversion.line_count, 0);
    EXPECT_EQ(g_store.pages[1].line_count, 3);  // the page's count keeps the discarded ones
}

}  // namespace
}  // namespace velmora
