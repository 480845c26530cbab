// Dash run merging on small hand-made pages: which rows merge, into what, and what stays.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>

#include "support/store_fixture.h"
#include "tools/dash_lines.h"
#include "tools/dash_merge.h"

namespace velmora {
namespace {

class DashMergeTest : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        // The driver clears the flag before each page; a file reset alone does not.
        g_store.conversion.dash_merge_done = 0;
        g_store.conversion.dash_merged_count = 0;
    }
    LineRecord& Line(int i) { return g_store.lines[i]; }
    int Count() const { return g_store.conversion.line_count; }
    int Merged() const { return g_store.conversion.dash_merged_count; }
    void Merge() {
        g_store.conversion.dash_merge_done = 0;
        MergeDashRuns();
    }
    // Lines first..first+count-1 as the conversion left them.
    void ExpectUntouched(int first, int count) {
        for (int i = first; i < first + count; ++i) {
            EXPECT_EQ(Line(i).pen_style, 1) << i;
            EXPECT_EQ(Line(i).page_number, 1) << i;
            EXPECT_EQ(Line(i).layer_group, 0) << i;
            EXPECT_EQ(Line(i).group_number, 0) << i;
        }
    }
};

TEST(AngleWithinTest, StrictBandOnTheCircle) {
    EXPECT_TRUE(AngleWithin(100, 100, 0));
    EXPECT_TRUE(AngleWithin(0, 1999, 2000));
    EXPECT_FALSE(AngleWithin(0, 2000, 2000));
    EXPECT_FALSE(AngleWithin(0, -2000, 2000));
    EXPECT_TRUE(AngleWithin(-1000, -2999, 2000));
    // Across 180 degrees in both directions.
    EXPECT_TRUE(AngleWithin(17500, -17500, 2000));
    EXPECT_TRUE(AngleWithin(-17500, 17500, 2000));
    EXPECT_FALSE(AngleWithin(17500, -16500, 2000));
    EXPECT_TRUE(AngleWithin(18000, -18000, 1));
    EXPECT_TRUE(AngleWithin(-18001, 17999, 1));
    EXPECT_FALSE(AngleWithin(9000, -9000, 3000));
}

TEST(AngleWithinTest, MarkersMatchNoDirection) {
    // On the bare circle -36002 would sit 0.02 degrees from 0 and 178 degrees would reach it.
    for (int32_t marker : {kNoDirection, kGapAfterNoLine, kNoGap, kGapAfterLastLine}) {
        for (int32_t direction : {0, -2, 17000, -17000, 18000, -18000}) {
            EXPECT_FALSE(AngleWithin(direction, marker, 3000)) << direction << " " << marker;
            EXPECT_FALSE(AngleWithin(marker, direction, 3000)) << direction << " " << marker;
        }
        EXPECT_TRUE(AngleWithin(marker, marker, 2000));
    }
}

TEST_F(DashMergeTest, FourDashesStayFiveBecomeOneDashedLine) {
    AddEqualDashes(0, -10, 4);
    AddLine(0, -50, 0, -90);  // a plain stroke between the rows ends the first one
    const int five = AddEqualDashes(100, -10, 5);
    Line(five).layer = 6;
    Line(five).layer_group = 2;
    MergeDashRuns();

    ExpectUntouched(0, 5);
    EXPECT_EQ(Line(3).x2, 30);
    EXPECT_EQ(Line(five).pen_style, 3);
    EXPECT_EQ(Line(five).x1, 100);
    EXPECT_DOUBLE_EQ(Line(five).x2, 100 + 4 * 8 + 6);  // the fifth dash's end
    EXPECT_EQ(Line(five).y2, -10);
    EXPECT_EQ(Line(five).layer_group, 3);
    EXPECT_EQ(Line(five).layer, 6);
    EXPECT_EQ(Line(five).page_number, 1);
    for (int i = five + 1; i < five + 5; ++i) EXPECT_EQ(Line(i).page_number, -1) << i;
    EXPECT_EQ(Merged(), 4);
    EXPECT_EQ(g_store.conversion.dash_merge_done, 1);
}

TEST_F(DashMergeTest, PenStyleFollowsTheLengthPattern) {
    const double long_short[] = {6, 2, 6, 2, 6};
    const double dash_dot[] = {8, 1, 8, 1, 8, 1, 8};
    const double first_long[] = {20, 4, 4, 4, 4};  // the first dash does not count
    const int a = AddDashRow(0, -10, 0, long_short, 5, 2);
    const int b = AddDashRow(0, -30, 0, dash_dot, 7, 1.5);
    const int c = AddDashRow(0, -50, 0, first_long, 5, 2);
    MergeDashRuns();
    EXPECT_EQ(Line(a).pen_style, 5);
    EXPECT_EQ(Line(b).pen_style, 5);
    EXPECT_EQ(Line(c).pen_style, 3);
    EXPECT_EQ(Merged(), 4 + 6 + 4);
}

TEST_F(DashMergeTest, GapOutsideTheBandEndsTheRun) {
    // Gaps in points; the band is relative, so the page's scale does not move it.
    g_store.pages[1].scale_ratio = 100;
    const double lengths[] = {5, 5, 5, 5, 5, 5, 5, 5};
    auto row = [&](double y, double late_gap) {
        const int first = AddDashRow(0, y, 0, lengths, 4, 2);
        AddDashRow(Line(first + 3).x2 + late_gap, y, 0, lengths, 4, 2);
        return first;
    };
    const int wide = row(-10, 2 * 1.3001);
    const int inside = row(-30, 2 * 1.2999);
    const int narrow = row(-50, 2 / 1.3001);
    const int inside_low = row(-70, 2 / 1.2999);
    MergeDashRuns();
    ExpectUntouched(wide, 8);
    EXPECT_EQ(Line(inside).pen_style, 3);
    EXPECT_EQ(Line(inside).x2, Line(inside + 7).x2);
    ExpectUntouched(narrow, 8);
    EXPECT_EQ(Line(inside_low).pen_style, 3);
    EXPECT_EQ(Merged(), 14);
}

TEST_F(DashMergeTest, DashTurnedTwentyDegreesEndsTheRun) {
    // Dash 2 of each row turns about its start: 20.5 degrees breaks the row, 19.5 does not.
    auto row = [&](double y, double turn) {
        const int first = AddEqualDashes(0, y, 6, 1, 2);
        const double radians = turn * std::numbers::pi / 180;
        Line(first + 2).x2 = Line(first + 2).x1 + std::cos(radians);
        Line(first + 2).y2 = y + std::sin(radians);
        return first;
    };
    const int broken = row(-10, 20.5);
    const int kept = row(-30, 19.5);
    MergeDashRuns();
    ExpectUntouched(broken, 6);
    EXPECT_EQ(Line(kept).pen_style, 3);
    EXPECT_EQ(Merged(), 5);
}

TEST_F(DashMergeTest, DashesAlongAnArcShareOneNewGroup) {
    g_store.conversion.figure_counter = 41;
    // Dashes of 3 degrees, gaps of 2 degrees on a circle of radius 100.
    for (int k = 0; k < 7; ++k) {
        const double a0 = 5 * k * std::numbers::pi / 180;
        const double a1 = (5 * k + 3) * std::numbers::pi / 180;
        AddLine(100 * std::cos(a0), 100 * std::sin(a0), 100 * std::cos(a1), 100 * std::sin(a1));
    }
    AddEqualDashes(0, -300, 5);  // a straight row after it still merges
    MergeDashRuns();
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(Line(i).group_number, 42) << i;
        EXPECT_EQ(Line(i).pen_style, 1) << i;
        EXPECT_EQ(Line(i).page_number, 1) << i;
    }
    EXPECT_EQ(g_store.conversion.figure_counter, 42);
    EXPECT_EQ(Line(7).pen_style, 3);
    EXPECT_EQ(Merged(), 4);
}

class DashTickTest : public DashMergeTest {
protected:
    // A row of six dashes at y = -10; a tick 4 long of `width` at the end of each dash in
    // `ticked`, turned `skew` degrees from square. Ticks follow the row in store order. The gaps
    // are 4, so a tick is not near the next dash's start (10 / 4 = 2.5 points).
    int RowWithTicks(std::initializer_list<int> ticked, double skew = 0, int32_t width = 3) {
        const int first = AddEqualDashes(0, -10, 6, 6, 4);
        const double radians = (90 + skew) * std::numbers::pi / 180;
        for (int k : ticked) {
            const double x = Line(first + k).x2;
            AddLine(x - 2 * std::cos(radians), -10 - 2 * std::sin(radians),
                    x + 2 * std::cos(radians), -10 + 2 * std::sin(radians), width);
        }
        return first;
    }
};

TEST_F(DashTickTest, RowEndingOnSquareTicksIsLeftAlone) {
    RowWithTicks({0, 1, 2, 3, 4, 5});
    MergeDashRuns();
    ExpectUntouched(0, Count());
    EXPECT_EQ(Merged(), 0);
}

TEST_F(DashTickTest, TicksOnDashesOneToThreeDecide) {
    RowWithTicks({1, 2, 3}, 4.5);
    MergeDashRuns();
    ExpectUntouched(0, Count());
}

TEST_F(DashTickTest, RowMergesWhenATickIsMissingOrDoesNotQualify) {
    const struct {
        std::initializer_list<int> ticked;
        double skew;
        int32_t width;
    } cases[] = {
        {{0, 1, 2, 4, 5}, 0, 3},  // dash 3 has none
        {{1, 2, 3}, 5.5, 3},      // more than 5 degrees from square
        {{1, 2, 3}, 0, 4},        // another width
    };
    for (const auto& c : cases) {
        g_store.conversion.line_count = 0;
        const int first = RowWithTicks(c.ticked, c.skew, c.width);
        Merge();
        EXPECT_EQ(Line(first).pen_style, 3) << c.skew << " " << c.width;
        EXPECT_EQ(Merged(), 5);
    }
}

TEST_F(DashTickTest, TickMustCrossTheDashLine) {
    // The same ticks moved up so they end short of the dashes' line.
    const int first = RowWithTicks({1, 2, 3});
    for (int i = first + 6; i < Count(); ++i) {
        Line(i).y1 += 2.5;
        Line(i).y2 += 2.5;
    }
    MergeDashRuns();
    EXPECT_EQ(Line(first).pen_style, 3);
}

TEST_F(DashTickTest, AnAbsorbedOrDashedLineIsNoTick) {
    RowWithTicks({1, 2, 3});
    Line(7).page_number = -1;
    MergeDashRuns();
    EXPECT_EQ(Line(0).pen_style, 3);

    g_store.conversion.line_count = 0;
    RowWithTicks({1, 2, 3});
    Line(8).pen_style = 3;
    Merge();
    EXPECT_EQ(Line(0).pen_style, 3);
}

TEST_F(DashMergeTest, TouchingStrokesNeverFormARun) {
    for (int k = 0; k < 8; ++k) AddLine(8 * k, -10, 8 * k + 8, -10);  // one polyline
    // Pairs of touching strokes with gaps between the pairs: no five strokes in a row with gaps.
    for (int k = 0; k < 10; ++k) {
        const double x = 8 * (k / 2) + 3 * (k % 2);
        AddLine(x, -30, x + 3, -30);
    }
    MergeDashRuns();
    ExpectUntouched(0, Count());

    // A run followed by a touching stroke merges and leaves the stroke alone.
    g_store.conversion.line_count = 0;
    const int first = AddEqualDashes(0, -10, 5);
    AddLine(Line(first + 4).x2, -10, 100, -10);
    Merge();
    EXPECT_EQ(Line(first).pen_style, 3);
    EXPECT_EQ(Line(5).page_number, 1);
    EXPECT_EQ(Line(5).pen_style, 1);
    EXPECT_EQ(Merged(), 4);
}

TEST_F(DashMergeTest, NonSolidOrEmptyStrokesBreakARun) {
    const int a = AddEqualDashes(0, -10, 3);
    AddLine(24, -10, 24, -10);  // no length
    AddEqualDashes(26, -10, 3);
    const int b = AddEqualDashes(0, -30, 3);
    Line(AddEqualDashes(24, -30, 1)).pen_style = 3;
    AddEqualDashes(32, -30, 3);
    MergeDashRuns();
    ExpectUntouched(a, 7);
    EXPECT_EQ(Line(b + 3).pen_style, 3);
    ExpectUntouched(b, 3);
    ExpectUntouched(b + 4, 3);
    EXPECT_EQ(Merged(), 0);
}

TEST_F(DashMergeTest, LayerGroupFifteenWrapsToZero) {
    const int first = AddEqualDashes(0, -10, 5);
    Line(first).layer_group = 15;
    Line(first).layer = 15;
    MergeDashRuns();
    EXPECT_EQ(Line(first).layer_group, 0);
    EXPECT_EQ(Line(first).layer, 15);
}

TEST_F(DashMergeTest, RunsOncePerConversion) {
    const int first = AddEqualDashes(0, -10, 5);
    g_store.conversion.dash_merge_done = 1;
    MergeDashRuns();
    ExpectUntouched(first, 5);
    EXPECT_EQ(Line(first).length, 0);  // not even measured

    g_store.conversion.dash_merge_done = 0;
    MergeDashRuns();
    const double end = Line(first).x2;
    MergeDashRuns();
    EXPECT_EQ(Line(first).x2, end);
    EXPECT_EQ(Merged(), 4);
    // With the flag cleared on the same records nothing merges a second time.
    Merge();
    EXPECT_EQ(Merged(), 0);
    EXPECT_EQ(Line(first).pen_style, 3);
}

TEST_F(DashMergeTest, LengthsAreMillimetresAtThePageScale) {
    g_store.current_page = 2;
    g_store.pages[2].scale_ratio = 50;
    AddLine(0, 0, 30, -40);
    AddLine(0, 0, 0, 0);
    AddLine(0, 0, 10, 0, 3, 5);  // every line is measured, dashed ones too
    MergeDashRuns();
    EXPECT_DOUBLE_EQ(Line(0).length, 50 * 50 * kMmPerPoint);
    EXPECT_EQ(Line(1).length, 0);
    EXPECT_DOUBLE_EQ(Line(2).length, 10 * 50 * kMmPerPoint);
}

TEST_F(DashMergeTest, BadInputEndsInAClearResult) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    AddEqualDashes(0, -10, 3);
    AddLine(24, -10, nan, -10);
    AddLine(inf, -10, 40, -10);
    AddLine(1e308, -10, -1e308, -10);
    const int row = AddEqualDashes(0, -30, 5);
    AddLine(-inf, inf, inf, -inf);
    g_store.pages[1].scale_ratio = nan;
    MergeDashRuns();
    EXPECT_EQ(Line(row).pen_style, 3);  // the unreadable lines break runs, the good row merges
    EXPECT_EQ(Merged(), 4);
    ExpectUntouched(0, row);
    EXPECT_DOUBLE_EQ(Line(0).length, 6 * kMmPerPoint);  // the bad ratio is read as 1

    // Counts out of range are clamped to the table (the whole table read as empty records).
    std::memset(g_store.lines, 0, sizeof(LineRecord) * kLineCapacity);
    for (int32_t count : {-5, kLineCapacity + 10}) {
        g_store.conversion.line_count = count;
        Merge();
        EXPECT_EQ(Merged(), 0);
        EXPECT_EQ(g_store.conversion.dash_merge_done, 1);
    }
    g_store.conversion.line_count = 0;
    g_store.current_page = 5000;
    Merge();
    EXPECT_EQ(g_store.conversion.dash_merge_done, 1);
}

}  // namespace
}  // namespace velmora
