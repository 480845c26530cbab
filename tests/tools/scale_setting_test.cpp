// The scale setting: snapping a click to end points and crossings, the three pick states and
// the question before a scale is changed, the distance dialog's values, and the rounding of the
// ratio to a standard scale in one page or all of them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "support/page_records.h"
#include "support/tool_fixture.h"
#include "tools/page_scale.h"
#include "tools/scale_setting.h"
#include "tools/scale_snap.h"
#include "tools/tool_state.h"

namespace velmora {
namespace {

class ScaleTest : public ToolTest {
protected:
    // A plain line of the current page.
    static LineRecord& Line(double x1, double y1, double x2, double y2) { return test_support::AddLine(x1, y1, x2, y2); }

    static bool Take(double x, double y, double* px, double* py, double half_width = 10.0) {
        return TakeScalePoint(SnapArea{x, y, half_width}, px, py);
    }
    static bool Pick(double x, double y) { return PickScalePoint(nullptr, x, y, 10.0); }
    static int State() { return static_cast<int>(g_tool_state.scale_pick); }
    static const PageRecord& Page(int page) { return g_store.pages[page]; }
};

TEST_F(ScaleTest, ArcsOfferTheirEndPointsAndTheirCentre) {
    // A door swing: a quarter of radius 100 about (0, 0), from (100, 0) to (0, 100).
    test_support::AddArc(0, 0, 100, 0, 3.14159265358979323846 / 2);
    double x = 0, y = 0;
    ASSERT_TRUE(Take(3, -2, &x, &y));
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    ASSERT_TRUE(Take(97, 4, &x, &y));
    EXPECT_NEAR(x, 100, 1e-12);
    EXPECT_NEAR(y, 0, 1e-12);
    ASSERT_TRUE(Take(-5, 95, &x, &y));
    EXPECT_NEAR(x, 0, 1e-12);
    EXPECT_NEAR(y, 100, 1e-12);
    EXPECT_FALSE(Take(70.7, 70.7, &x, &y));  // the middle of the curve is no snap point
}

TEST_F(ScaleTest, RatiosRoundToTheStandardScalesWithinTheirBands) {
    const struct {
        double ratio;
        int32_t denominator;
    } cases[] = {{98.4, 100},  {37.9, 35},    {36.9, 35},     {72.5, 71}, {140, 141}, {95.9, 95},
                 {104.99, 100}, {105.0, 105}, {11.4, 10},     {60, 60},   {1040.9, 1000}, {1041, 1041},
                 {1.7, 1},     {9.0, 10},     {2147483647.9, 2147483647}};
    for (const auto& c : cases) EXPECT_EQ(RoundedScale(c.ratio), c.denominator) << c.ratio;

    // The page keeps the unrounded ratio beside the rounded scale, and the user is told.
    ApplyScale(nullptr, 98.4);
    EXPECT_EQ(Page(1).scale_denominator, 100);
    EXPECT_EQ(Page(1).scale_ratio, 98.4);
    EXPECT_EQ(LastMessage(), "縮尺設定: この頁の縮尺を 1/100 に設定しました");
}

TEST_F(ScaleTest, RatiosWithoutADenominatorLeaveThePageAtOneToOne) {
    for (double ratio : {0.99, 0.0, -5.0, double{NAN}, 2147483648.0, double{INFINITY}}) {
        SetPageScale(1, 50, 49.5);
        SetPageScaleMarks(1, ScaleMarks{1, -2, 3, -4, 10.0});
        ResetTestSeam();
        ApplyScale(nullptr, ratio);
        EXPECT_EQ(Page(1).scale_denominator, 1) << ratio;
        EXPECT_EQ(Page(1).scale_ratio, 1.0) << ratio;
        EXPECT_EQ(Page(1).entered_distance, 0.0) << ratio;
        ASSERT_EQ(g_test_seam.messages.size(), 1u);
        const std::string expected = ratio >= 2147483648.0 ? "大きすぎる" : "小さすぎる";
        EXPECT_NE(g_test_seam.messages[0].text.find(expected), std::string::npos) << ratio;
        EXPECT_EQ(g_test_seam.messages[0].title, "縮尺設定");
    }
}

TEST_F(ScaleTest, SnappingPrefersEndPointsAndTakesCrossingsOnlyWhenStrictlyNearer) {
    double x = 0, y = 0;
    // A crossing at (2, 2) and an end point at (-2, -2): equally near, the end point wins.
    Line(-20, 2, 20, 2);
    Line(2, -20, 2, 20);
    LineRecord& diagonal = Line(-2, -2, -30, -30);
    ASSERT_TRUE(Take(0, 0, &x, &y));
    EXPECT_EQ(x, -2);
    EXPECT_EQ(y, -2);
    // The end point a little further away: the crossing is strictly nearer.
    diagonal.y1 = -2.1;
    ASSERT_TRUE(Take(0, 0, &x, &y));
    EXPECT_EQ(x, 2);
    EXPECT_EQ(y, 2);
    // A merged-away line has no end points to snap to.
    diagonal.y1 = -1;
    diagonal.page_number = -1;
    ASSERT_TRUE(Take(0, 0, &x, &y));
    EXPECT_EQ(x, 2);
    // The square is strict: the end point (20, 2) exactly r = 10 away is outside it.
    EXPECT_FALSE(Take(20, 12, &x, &y));
    ASSERT_TRUE(Take(20, 11.99, &x, &y));
    EXPECT_EQ(x, 20);
    EXPECT_FALSE(Take(500, 500, &x, &y));
}

TEST_F(ScaleTest, ACrossingNearTheClickWithNoEndPointIsTakenExactly) {
    // Two diagonals crossing at (3.25, -4.5), their ends far outside the square; a line too far
    // away adds nothing.
    Line(-46.75, -54.5, 53.25, 45.5);
    Line(-46.75, 45.5, 53.25, -54.5);
    Line(-100, 40, 100, 40);
    double x = 0, y = 0;
    double best = 1e9;
    EXPECT_FALSE(SnapToEndPoint(SnapArea{0, 0, 10}, &x, &y, &best));
    ASSERT_TRUE(Take(0, 0, &x, &y));
    EXPECT_EQ(x, 3.25);
    EXPECT_EQ(y, -4.5);
    // Both lines pass near, but their crossing lies outside a smaller square.
    EXPECT_FALSE(Take(-4, 3, &x, &y, 4.0));

    // Short lines whose direction cross product lies inside +-0.01 count as parallel: their
    // crossing at the click is not found and the nearest end point is taken instead.
    g_store.conversion.line_count = 0;
    Line(-0.05, 0, 0.05, 0);
    LineRecord& upright = Line(0, -0.025, 0, 0.025);
    ASSERT_TRUE(Take(0, 0, &x, &y));
    EXPECT_EQ(y, -0.025);
    upright.y1 = -0.1;
    upright.y2 = 0.1;  // the cross product is now -0.02: not parallel
    ASSERT_TRUE(Take(0, 0, &x, &y));
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
}

TEST_F(ScaleTest, TwoPicksHoldThePointsAndASecondPickAtTheFirstIsIgnored) {
    Line(0, 0, 300, 0);
    Line(300, 0, 300, -200);
    EXPECT_FALSE(Pick(150, -100));  // near nothing
    EXPECT_EQ(State(), 0);
    ASSERT_TRUE(Pick(3, -4));
    EXPECT_EQ(State(), 1);
    double x = -1, y = -1;
    ASSERT_TRUE(FirstScalePoint(&x, &y));
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_FALSE(Pick(-2, 1));  // the same end point again
    EXPECT_EQ(State(), 1);
    EXPECT_EQ(Page(1).scale_denominator, 1);

    ASSERT_TRUE(Pick(298, 3));
    EXPECT_EQ(State(), 2);
    EXPECT_EQ(g_scale_pick.paper_distance, 300 * kMmPerPoint);
    // The page marks the two points and says 1/2 until the dialog ends.
    EXPECT_EQ(Page(1).scale_denominator, 2);
    EXPECT_EQ(Page(1).second_pick_x, 300);
    EXPECT_EQ(g_test_seam.erasing_repaints, 1);
    EXPECT_FALSE(FirstScalePoint(&x, &y));

    // 300 points are 105.83 mm on paper: 10,000 mm real is 1/94.49, and no band holds 94.
    AcceptScaleDistance(nullptr, "10000", true, false);
    EXPECT_EQ(Page(1).scale_denominator, 94);
    EXPECT_DOUBLE_EQ(Page(1).scale_ratio, 10000 / (300 * kMmPerPoint));
    EXPECT_EQ(Page(1).entered_distance, 10000);
    EXPECT_EQ(g_tool_state.last_entered_distance, 10000);
    EXPECT_EQ(LastDistanceText(), "10000.00");
}

TEST_F(ScaleTest, APageWithAScaleAsksBeforeItIsMeasuredAgain) {
    Line(0, 0, 300, 0);
    // 1/1 never asks.
    ASSERT_TRUE(Pick(0, 0));
    EXPECT_TRUE(g_test_seam.messages.empty());
    EndScalePick();

    SetPageScale(1, 100, 98.4);
    SetPageScaleMarks(1, ScaleMarks{0, 0, 300, 0, 10411});
    g_test_seam.answers.push_back(MessageAnswer::Cancel);
    EXPECT_FALSE(Pick(0, 0));
    ASSERT_EQ(g_test_seam.messages.size(), 1u);
    EXPECT_EQ(LastMessage(), "縮尺設定変更: 頁の縮尺設定を変更します");
    EXPECT_EQ(g_test_seam.messages[0].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(Page(1).scale_denominator, 100);
    EXPECT_EQ(State(), 0);

    // OK: the page is 1/1 again (the ratio too, or a save would scale by it) and the click picks.
    g_test_seam.answers.push_back(MessageAnswer::Ok);
    EXPECT_TRUE(Pick(0, 0));
    EXPECT_EQ(State(), 1);
    EXPECT_EQ(Page(1).scale_denominator, 1);
    EXPECT_EQ(Page(1).scale_ratio, 1.0);
    EXPECT_EQ(Page(1).entered_distance, 0.0);
}

TEST_F(ScaleTest, TheDistanceFieldIsReadAsAtofReadsANumber) {
    const struct {
        const char* text;
        double value;
    } cases[] = {{"  12.5mm", 12.5}, {"abc", 0}, {"-3", -3}, {".5", 0.5}, {"+.5e1", 5}, {"1e3", 1000},
                 {"0x10", 0},        {"inf", 0}, {"nan", 0}, {"-.x", 0},  {"", 0},   {"2e", 2}, {"3.e+2x", 300}};
    for (const auto& c : cases) EXPECT_EQ(LeadingDecimalNumber(c.text), c.value) << c.text;
    // Only the first 255 characters of the field count.
    EXPECT_EQ(LeadingDecimalNumber((std::string(255, '1') + "9").c_str()), std::stod(std::string(255, '1')));
    EXPECT_EQ(LastDistanceText(), "1000.00");  // a file's first dialog
    g_tool_state.last_entered_distance = 0;
    EXPECT_EQ(LastDistanceText(), " 0.00");
}

TEST_F(ScaleTest, NoDistanceOrCancelClearsThePageWithoutAMessage) {
    for (const char* text : {"0", "mm", "-20", static_cast<const char*>(nullptr)}) {
        SetPageScale(1, 2, 1.0);
        SetPageScaleMarks(1, ScaleMarks{1, -1, 5, -5, 0});
        g_scale_pick.paper_distance = 10;
        if (text != nullptr) {
            AcceptScaleDistance(nullptr, text, true, false);
        } else {
            CancelScaleDistance();
        }
        EXPECT_EQ(Page(1).scale_denominator, 1);
        EXPECT_EQ(Page(1).first_pick_x, 0);
        EXPECT_EQ(Page(1).second_pick_y, 0);
    }
    EXPECT_TRUE(g_test_seam.messages.empty());
    EXPECT_EQ(g_tool_state.last_entered_distance, -20);
}

TEST_F(ScaleTest, AllPagesTakeTheScaleThePickedPointsAndTheDistance) {
    UsePages(3);
    g_store.current_page = 2;
    Line(0, 0, 100, 0);
    ASSERT_TRUE(Pick(0, 0));
    ASSERT_TRUE(Pick(100, 0));
    AcceptScaleDistance(nullptr, "3527.77", false, true);
    EXPECT_FALSE(ThisPageOnlyChosen());
    EXPECT_TRUE(AllPagesChosen());
    EXPECT_EQ(LastMessage(), "縮尺設定: 全ての頁の縮尺を 1/100 に設定しました");
    for (int page = 1; page <= 3; ++page) {
        EXPECT_EQ(Page(page).scale_denominator, 100) << page;
        EXPECT_DOUBLE_EQ(Page(page).scale_ratio, 100.0) << page;
        EXPECT_EQ(Page(page).second_pick_x, 100) << page;
        EXPECT_EQ(Page(page).entered_distance, 3527.77) << page;
    }
    // Neither radio checked (after the pen dialog showed pen 3) also means every page.
    SetPageScale(1, 1, 1.0);
    g_store.current_page = 1;
    g_scale_pick.paper_distance = 100 * kMmPerPoint;
    AcceptScaleDistance(nullptr, "1764", false, false);
    EXPECT_EQ(Page(1).scale_denominator, 50);
    EXPECT_EQ(Page(3).scale_denominator, 50);
}

}  // namespace
}  // namespace velmora
