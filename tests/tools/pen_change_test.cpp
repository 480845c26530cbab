// The pen change: the per-layer summary and its list rows, the pen shown in the radio flags
// (shared with the scale dialog), and setting a pen for every line of the selected layer.
#include <gtest/gtest.h>

#include "support/tool_fixture.h"
#include "tools/page_scale.h"
#include "tools/pen_change.h"
#include "tools/scale_setting.h"
#include "tools/tool_state.h"

namespace velmora {
namespace {

using PenChangeTest = ToolTest;

constexpr bool kPen3[kPenChoiceCount] = {false, false, true, false, false, false, false, false};
constexpr bool kPens2And5[kPenChoiceCount] = {false, true, false, false, true, false, false, false};

TEST_F(PenChangeTest, TheSummaryCountsEachLayerAndKeepsThePenAndWidthOfItsLastLine) {
    AddLayerLine(0, 3, 2, 0, 0, 1, 1).width_class = 35;
    AddLayerLine(0, 3, 4, 0, 0, 1, 1).width_class = 14;
    AddLayerLine(0, 3, 6, 0, 0, 1, 1).page_number = -1;  // merged away: not counted
    AddLayerLine(7, 15, 8, 0, 0, 1, 1).width_class = 100;
    AddLayerLine(9, 0, 1, 0, 0, 1, 1);  // a group beyond the list
    OpenPenDialog();
    EXPECT_TRUE(g_tool_state.pen_dialog_shown);
    EXPECT_EQ(g_layer_summary.count[3], 2);
    EXPECT_EQ(PenListRow(3), " 0 3      2  0.48  4");
    EXPECT_EQ(PenListRow(127), " 7 f      1  3.40  8");
    // A layer without lines: count 0, width 0.00, pen 0, and no radio flag when it is chosen.
    EXPECT_EQ(PenListRow(16), " 1 0      0  0.00  0");
    SelectPenListRow(16);
    EXPECT_EQ(g_pen_selection.group, 1);
    EXPECT_EQ(g_pen_selection.layer, 0);
    for (bool flag : g_pen_choice) EXPECT_FALSE(flag);
    EXPECT_EQ(PenListRow(128), "");
    ClosePenDialog();
    EXPECT_FALSE(g_tool_state.pen_dialog_shown);
}

TEST_F(PenChangeTest, SettingAPenChangesEveryLineOfTheSelectedLayerOnly) {
    AddLayerLine(1, 2, 3, 0, 0, 1, 1);
    AddLayerLine(1, 2, 5, 0, 0, 1, 1);
    AddLayerLine(1, 2, 6, 0, 0, 1, 1).page_number = -1;  // merged away: keeps its pen
    AddLayerLine(1, 3, 3, 0, 0, 1, 1);
    OpenPenDialog();
    SelectPenListRow(1 * 16 + 2);
    EXPECT_TRUE(g_pen_choice[4]);  // the last line's pen
    EXPECT_EQ(SetSelectedLayerPen(kPens2And5), 2);  // the highest checked pen
    EXPECT_EQ(g_store.lines[0].pen_colour, 5);
    EXPECT_EQ(g_store.lines[1].pen_colour, 5);
    EXPECT_EQ(SetSelectedLayerPen(kPen3), 2);
    EXPECT_EQ(g_store.lines[0].pen_colour, 3);
    EXPECT_EQ(g_store.lines[1].pen_colour, 3);
    EXPECT_EQ(g_store.lines[2].pen_colour, 6);
    EXPECT_EQ(g_store.lines[3].pen_colour, 3);
    EXPECT_EQ(PenListRow(1 * 16 + 2), " 1 2      2  0.00  5");  // the list keeps what it showed
    const bool none[kPenChoiceCount] = {};
    EXPECT_EQ(SetSelectedLayerPen(none), 0);
    EXPECT_EQ(g_store.lines[0].pen_colour, 3);
}

TEST_F(PenChangeTest, AfterThePenDialogShowedPen3TheScaleGoesToEveryPage) {
    UsePages(2);
    AddLayerLine(0, 0, 3, 0, 0, 1, 1);
    OpenPenDialog();  // shows pen 3 for group 0, layer 0
    EXPECT_FALSE(ThisPageOnlyChosen());
    EXPECT_FALSE(AllPagesChosen());
    ShowPen(1);
    EXPECT_TRUE(ThisPageOnlyChosen());
    ShowPen(2);
    EXPECT_TRUE(AllPagesChosen());
    SetSelectedLayerPen(kPen3);  // the user chooses pen 3
    EXPECT_FALSE(ThisPageOnlyChosen() || AllPagesChosen());
    ClosePenDialog();

    // The scale dialog opens with neither radio checked; OK as it stands applies to all pages.
    g_scale_pick.paper_distance = 10.0;
    AcceptScaleDistance(nullptr, "1000", ThisPageOnlyChosen(), AllPagesChosen());
    EXPECT_EQ(g_store.pages[1].scale_denominator, 100);
    EXPECT_EQ(g_store.pages[2].scale_denominator, 100);
}

TEST_F(PenChangeTest, ArcsAreCountedAndTakeThePenOfTheirLayer) {
    AddLayerLine(1, 2, 3, 0, 0, 1, 1);
    ArcRecord& arc = test_support::AddArc(0, 0, 10, 0, 1.0);
    arc.layer_group = 1;
    arc.layer = 2;
    arc.pen_colour = 6;
    arc.width_class = 35;
    test_support::AddArc(0, 0, 20, 0, 1.0).layer = 3;
    OpenPenDialog();
    EXPECT_EQ(PenListRow(1 * 16 + 2), " 1 2      2  1.19  6");  // the arc is the layer's last
    EXPECT_EQ(PenListRow(3), " 0 3      1  0.00  2");
    SelectPenListRow(1 * 16 + 2);
    EXPECT_EQ(SetSelectedLayerPen(kPen3), 2);
    EXPECT_EQ(g_arcs.records[0].pen_colour, 3);
    EXPECT_EQ(g_arcs.records[1].pen_colour, 2);
    EXPECT_EQ(g_store.lines[0].pen_colour, 3);
}

}  // namespace
}  // namespace velmora
