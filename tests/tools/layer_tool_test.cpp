// The layer tool's operations on a page built line by line: opening, picks, rectangles,
// connected figures, the history ring, the red marks and the move.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "store/document_store.h"
#include "support/layer_tool_fixture.h"
#include "tools/tool_state.h"

namespace velmora {
namespace {

using test_support::AddLine;

std::string Row(int row) {
    char text[kLayerRowBytes];
    FormatLayerRow(row, text, sizeof text);
    return text;
}

TEST_F(LayerToolTest, OpeningShowsLayerZeroFreshMeasuresTheLinesAndCountsTheLayers) {
    g_store.pages[1].scale_ratio = 2.0;
    Line(0, 0, 30, -40);                        // 0: 50 points long
    Line(0, 0, 10, 0);                          // 1
    Line(0, 0, 10, 0, 0, 3);                    // 2: layer 3
    AddLine(0, 0, 5, 0).pen_style = 3;          // 3: dashed, layer 0
    AddLine(0, 0, 5, 0).page_number = -1;       // 4: merged away: counted nowhere
    Line(0, 0, 5, 0, 9, 1);                     // 5: a merged dash line's group, beyond the list
    g_layer_selection.state[2] = kLineGreen;
    g_layer_selection.mark[1] = kMarkByLength;
    OpenLayerTool();
    EXPECT_TRUE(LayerToolOpen());
    EXPECT_EQ(LinesIn(kLineWhite), (std::vector<int>{0, 1, 3, 4}));
    EXPECT_EQ(LinesIn(kLineUnavailable), (std::vector<int>{2, 5}));
    EXPECT_TRUE(Marked().empty());
    EXPECT_DOUBLE_EQ(g_store.lines[0].length, 50 * 2 * kMmPerPoint);
    EXPECT_EQ(Row(0), " 0 0      2/     3");
    EXPECT_EQ(Row(3), " 0 3      1/     1");
    EXPECT_EQ(Row(127), " 7 f      0/     0");
    EXPECT_EQ(Row(kLayerListRows), "");
    EXPECT_EQ(g_layer_selection.line_counts[9 * 16 + 1], 1);
    const HistoryButtons buttons = CurrentHistoryButtons();
    EXPECT_FALSE(buttons.undo || buttons.redo || buttons.clear_all);
    CloseLayerTool();
    EXPECT_FALSE(LayerToolOpen());
}

TEST_F(LayerToolTest, ClicksToggleTheNearestLineAndRectanglesTakeWhatLiesStrictlyInside) {
    const int a = Line(0, -100, 100, -100);
    const int b = Line(0, -104, 100, -104);
    Line(0, -102, 100, -102, 0, 1);  // another layer: never hit
    OpenLayerTool();
    EXPECT_EQ(PickLine(50, -101, 10), a);
    EXPECT_EQ(State(a), kLineGreen);
    EXPECT_EQ(g_layer_selection.last_clicked, a);
    EXPECT_EQ(PickLine(50, -102, 10), a);  // as near as b: the earlier line
    EXPECT_EQ(State(a), kLineWhite);
    EXPECT_EQ(PickLine(50, -103.5, 10), b);
    EXPECT_EQ(PickLine(50, -150, 10), -1);   // nothing within 10
    EXPECT_EQ(PickLine(105, -100, 10), -1);  // beyond the line's end
    EXPECT_EQ(PickLine(50, -110, 6), -1);    // b's foot is 6 away: not strictly within
    const SelectionHistory& history = g_selection_history;
    ASSERT_EQ(history.position, 3);
    EXPECT_EQ(history.code[0], 12);
    EXPECT_EQ(history.code[1], 10);
    EXPECT_EQ(history.code[2], 12);

    // End points exactly on the rectangle's edge are not inside it; corners in any order.
    EXPECT_EQ(SelectByRectangle(0, -99, 100, -105), 0);
    EXPECT_EQ(SelectByRectangle(101, -105, -1, -99), 2);
    EXPECT_EQ(State(a), kLineGreen);
    EXPECT_EQ(State(b), kLineWhite);
    EXPECT_EQ(history.position, 5);
    EXPECT_EQ(history.code[3], 12);  // one group: a became green first
    EXPECT_EQ(history.code[4], 0);
}

TEST_F(LayerToolTest, ARightClickTakesTheWholeConnectedFigureAndNothingElse) {
    const int side = Rectangle(0, 0, 100, 50);                  // 0..3, corners at x = 0.0
    const int touching = Line(50, 0, 50, 30);                   // starts inside a side, not at its end
    const int zero = Line(-0.0, -50, -20, -80);                 // -0.0 is the corner's 0.0
    const int last_bit = Line(std::nextafter(100.0, 200.0), 0, 150, 0);  // one bit off a corner
    AddLine(100, -50, 130, -80).pen_style = 3;                  // dashed: not taken
    const int other_layer = Line(100, -50, 140, -50, 0, 2);
    const int beyond = Line(140, -50, 160, -50);                // connected only through layer 2
    const int after_zero = Line(-20, -80, -40, -80);
    OpenLayerTool();
    EXPECT_EQ(PickConnectedGroup(40, -1, 5), side);
    EXPECT_EQ(LinesIn(kLineGreen), (std::vector<int>{0, 1, 2, 3, zero, after_zero}));
    EXPECT_EQ(State(touching), kLineWhite);
    EXPECT_EQ(State(last_bit), kLineWhite);
    EXPECT_EQ(State(beyond), kLineWhite);
    EXPECT_EQ(State(other_layer), kLineUnavailable);
    EXPECT_EQ(g_selection_history.position, 6);
    EXPECT_EQ(g_selection_history.code[0], 12);
    for (int k = 1; k < 6; ++k) EXPECT_EQ(g_selection_history.code[k], 2) << k;

    // Deselecting: a click on a green line of the figure takes the green lines connected to it.
    EXPECT_EQ(PickLine(150, -50, 5), beyond);  // green, but not connected to the figure
    EXPECT_EQ(PickConnectedGroup(-30, -80, 5), after_zero);
    EXPECT_EQ(LinesIn(kLineGreen), (std::vector<int>{beyond}));
    EXPECT_EQ(PickConnectedGroup(500, 500, 5), -1);
}

TEST_F(LayerToolTest, AChainOfTwoHundredThousandLinesIsTakenWhole) {
    constexpr int kChain = 200000;
    Chain(0, 0, kChain, 1.0);
    Line(-10, 0, -5, 0);  // apart from the chain
    OpenLayerTool();
    EXPECT_EQ(PickConnectedGroup(kChain / 4.0, -kChain / 4.0 + 0.5, 0.2), kChain / 2 - 1);
    EXPECT_EQ(static_cast<int>(LinesIn(kLineGreen).size()), kChain);
    EXPECT_EQ(State(kChain), kLineWhite);
    EXPECT_EQ(g_selection_history.position, kChain);
    EXPECT_TRUE(Undo());
    EXPECT_TRUE(LinesIn(kLineGreen).empty());
}

TEST_F(LayerToolTest, RedoAfterTwoUndosReplaysTheGroupsInOrder) {
    const int a = Line(0, -10, 10, -10);
    const int b = Line(0, -20, 10, -20);
    const int c = Line(0, -30, 10, -30);
    OpenLayerTool();
    EXPECT_TRUE(Undo());  // nothing to undo: nothing changes
    EXPECT_EQ(g_selection_history.redo_groups, 0);
    PickLine(5, -10, 2);
    SelectByRectangle(-1, -15, 11, -35);
    EXPECT_TRUE(Undo());
    EXPECT_EQ(LinesIn(kLineGreen), (std::vector<int>{a}));
    EXPECT_TRUE(Undo());
    EXPECT_TRUE(LinesIn(kLineGreen).empty());
    HistoryButtons buttons = CurrentHistoryButtons();
    EXPECT_TRUE(buttons.redo && !buttons.undo && !buttons.clear_all);
    EXPECT_EQ(g_selection_history.redo_groups, 2);
    Redo();
    EXPECT_EQ(LinesIn(kLineGreen), (std::vector<int>{a}));
    EXPECT_EQ(g_selection_history.redo_groups, 1);
    Redo();
    EXPECT_EQ(LinesIn(kLineGreen), (std::vector<int>{a, b, c}));
    EXPECT_EQ(g_selection_history.redo_groups, 0);
    Redo();  // nothing left to redo
    EXPECT_EQ(g_selection_history.position, 3);
    // A change after an undo ends what could be redone.
    Undo();
    PickLine(5, -30, 2);
    buttons = CurrentHistoryButtons();
    EXPECT_TRUE(buttons.undo && !buttons.redo);
    EXPECT_EQ(LinesIn(kLineGreen), (std::vector<int>{a, c}));
}

TEST_F(LayerToolTest, UndoingASelectionWithLinesOfAnotherLayerAsksForTheWholePicture) {
    const int a = Line(0, -10, 10, -10);
    const int b = Line(0, -20, 10, -20, 0, 1);
    OpenLayerTool();
    PickLine(5, -10, 2);
    ASSERT_TRUE(ChooseLayer(1));
    EXPECT_EQ(State(a), kLineGreen);  // green lines stay green in any layer
    EXPECT_EQ(State(b), kLineWhite);
    PickLine(5, -20, 2);
    EXPECT_TRUE(Undo());   // b lies in the shown layer
    EXPECT_FALSE(Undo());  // a does not
    EXPECT_EQ(State(a), kLineWhite);
    EXPECT_FALSE(ChooseLayer(kLayerListRows));
}

TEST_F(LayerToolTest, TheRingWrapsAfterAMillionEntriesAndNeverUndoesAnOverwrittenGroup) {
    constexpr int kLines = 600000;
    for (int i = 0; i < kLines; ++i) Line(i, -10, i + 0.5, -10);
    OpenLayerTool();
    const SelectionHistory& history = g_selection_history;
    ASSERT_EQ(SelectByRectangle(-1, -5, kLines, -15), kLines);
    ASSERT_EQ(SelectByRectangle(-1, -5, 399999.75, -15), 400000);
    EXPECT_EQ(history.position, 0);
    HistoryButtons buttons = CurrentHistoryButtons();
    EXPECT_FALSE(buttons.undo || buttons.clear_all);
    EXPECT_TRUE(Undo());
    EXPECT_EQ(LinesIn(kLineGreen).size(), 200000u);  // unchanged
    PickLine(0.25, -10, 0.1);
    EXPECT_TRUE(CurrentHistoryButtons().undo);

    // A group reaching over the ring's end overwrites the start of the one before it: that one
    // can no longer be undone, and undo leaves the lines as they are.
    ShowLayerFresh();
    ResetSelectionHistory();
    ASSERT_EQ(SelectByRectangle(-1, -5, kLines, -15), kLines);
    ASSERT_EQ(SelectByRectangle(-1, -5, kLines, -15), kLines);
    EXPECT_EQ(history.position, 200000);
    EXPECT_TRUE(Undo());
    EXPECT_EQ(LinesIn(kLineGreen).size(), static_cast<size_t>(kLines));
    EXPECT_EQ(history.position, 600000);
    EXPECT_TRUE(Undo());
    EXPECT_EQ(LinesIn(kLineGreen).size(), static_cast<size_t>(kLines));
    EXPECT_EQ(history.position, 600000);
    Redo();
    EXPECT_TRUE(LinesIn(kLineGreen).empty());
    EXPECT_EQ(history.position, 200000);
}

TEST_F(LayerToolTest, TheLengthBoxesShareTheRedMarkAndLetGoOfTheClickedLine) {
    const int clicked = Line(0, -10, 100, -10);
    const int equal = Line(0, -20, 100.5, -20);
    const int longer = Line(0, -30, 150, -30);
    const int shorter = Line(0, -40, 50, -40);
    const int both = Line(0, -50, 10, -50);   // its length is set on the band's edge below
    Line(0, -60, 100, -60, 0, 1);             // another layer
    AddLine(0, -70, 100, -70).pen_style = 3;  // dashed
    OpenLayerTool();
    EXPECT_FALSE(ApplyLengthMarks(LengthCriterion::Equal, true));  // no length entered
    PickLine(50, -10, 2);
    EnterLength(100);
    g_store.lines[both].length = kEqualBandHigh * g_layer_selection.length;
    EXPECT_TRUE(ApplyLengthMarks(LengthCriterion::Equal, true));
    EXPECT_EQ(State(clicked), kLineWhite);  // let go of, as a change of its own
    EXPECT_EQ(g_selection_history.position, 2);
    EXPECT_EQ(g_selection_history.code[1], 10);
    EXPECT_EQ(Marked(), (std::vector<int>{clicked, equal, both}));
    EXPECT_TRUE(ApplyLengthMarks(LengthCriterion::Longer, true));
    EXPECT_EQ(Marked(), (std::vector<int>{clicked, equal, longer, both}));
    // Unchecking "equal" clears the bit on its band, also where "longer" set it.
    EXPECT_TRUE(ApplyLengthMarks(LengthCriterion::Equal, false));
    EXPECT_EQ(Marked(), (std::vector<int>{longer}));
    EXPECT_TRUE(ApplyLengthMarks(LengthCriterion::Shorter, true));
    EXPECT_EQ(Marked(), (std::vector<int>{longer, shorter}));
    EXPECT_EQ(Mark(shorter), kMarkByLength);
}

TEST_F(LayerToolTest, TheLengthFieldReadsALeadingNumberAndTurnsAnythingElseToZero) {
    bool rewrite = true;
    EXPECT_EQ(ReadLengthText("", &rewrite), 0.0);
    EXPECT_FALSE(rewrite);
    EXPECT_EQ(ReadLengthText("12.5mm", &rewrite), 12.5);
    EXPECT_FALSE(rewrite);
    EXPECT_EQ(ReadLengthText("-5", &rewrite), 0.0);
    EXPECT_TRUE(rewrite);
    EXPECT_EQ(ReadLengthText("abc", &rewrite), 0.0);
    EXPECT_TRUE(rewrite);
    EXPECT_EQ(ReadLengthText("1e999", &rewrite), 0.0);  // no length is infinite
    EXPECT_TRUE(rewrite);
    const std::string long_text = std::string(300, '1');
    EXPECT_EQ(ReadLengthText(long_text.c_str(), &rewrite), std::stod(std::string(255, '1')));
}

TEST_F(LayerToolTest, ConnectionMarksFollowLinesConnectedToLinesOfTheLength) {
    const int alone = Line(0, -10, 100, -10);
    const int seed = Line(0, -20, 100, -20);
    const int first = Line(100, -20, 110, -30);
    const int second = Line(110, -30, 120, -30);
    const int gate = Line(120, -30, 130, -30, 0, 1);  // another layer stops the walk
    const int past_gate = Line(130, -30, 140, -30);
    const int elsewhere = Line(0, -90, 10, -90);
    OpenLayerTool();
    EnterLength(100);
    ApplyLengthMarks(LengthCriterion::Equal, true);
    EXPECT_TRUE(ApplyConnectionMarks(true));
    EXPECT_EQ(Mark(alone), kMarkByLength);  // equal, but nothing is connected to it
    EXPECT_EQ(Mark(seed), kMarkByLength | kMarkByConnection);
    EXPECT_EQ(Mark(first), kMarkByConnection);
    EXPECT_EQ(Mark(second), kMarkByConnection);
    EXPECT_EQ(Mark(gate), 0);
    EXPECT_EQ(Mark(past_gate), 0);
    EXPECT_EQ(Mark(elsewhere), 0);
    EXPECT_TRUE(ApplyConnectionMarks(false));
    EXPECT_EQ(Marked(), (std::vector<int>{alone, seed}));
}

TEST_F(LayerToolTest, RedLinesTurnGreenOrWhiteAsOneGroup) {
    const int green = Line(0, -10, 100, -10);
    const int white = Line(0, -20, 100, -20);
    OpenLayerTool();
    PickLine(50, -10, 2);
    g_layer_selection.last_clicked = -1;
    EnterLength(100);
    ApplyLengthMarks(LengthCriterion::Equal, true);
    SelectRedLines();
    EXPECT_TRUE(Marked().empty());
    EXPECT_EQ(LinesIn(kLineGreen), (std::vector<int>{green, white}));
    EXPECT_EQ(g_selection_history.position, 3);  // the green line is recorded too
    EXPECT_EQ(g_selection_history.code[1], 12);
    EXPECT_EQ(g_selection_history.code[2], 2);
    EXPECT_TRUE(Undo());
    EXPECT_TRUE(LinesIn(kLineGreen).empty());  // undoing makes the line that was green white

    Redo();
    ApplyLengthMarks(LengthCriterion::Equal, true);
    ReleaseRedLines();
    EXPECT_TRUE(Marked().empty());
    EXPECT_TRUE(LinesIn(kLineGreen).empty());
    EXPECT_EQ(g_selection_history.code[3], 10);
    EXPECT_EQ(g_selection_history.code[4], 0);
}

TEST_F(LayerToolTest, MoveTakesGreenAndRedLinesIntoTheShownLayer) {
    const int a = Line(0, -10, 100, -10);        // 0/0: green
    const int b = Line(0, -20, 50, -20, 0, 2);   // 0/2: red, not green
    const int c = Line(0, -30, 60, -30);         // 0/0: stays
    const int d = Line(0, -40, 70, -40, 0, 5);   // 0/5: the target layer's own line
    OpenLayerTool();
    PickLine(50, -10, 2);
    ChooseLayer(2);
    PickLine(25, -20, 2);
    ChooseLayer(5);
    // Undone while layer 5 is shown, b turns white outside it, and so can be marked red.
    EXPECT_FALSE(Undo());
    EXPECT_EQ(State(b), kLineWhite);
    EnterLength(50);
    ApplyLengthMarks(LengthCriterion::Equal, true);
    ASSERT_EQ(Marked(), (std::vector<int>{b}));
    EXPECT_EQ(MoveSelectionToShownLayer(), 2);
    for (int line : {a, b, d}) {
        EXPECT_EQ(g_store.lines[line].layer_group, 0) << line;
        EXPECT_EQ(g_store.lines[line].layer, 5) << line;
    }
    EXPECT_EQ(g_store.lines[c].layer, 0);
    EXPECT_TRUE(g_tool_state.layer_moved);
    EXPECT_EQ(g_selection_history.position, 0);
    EXPECT_EQ(g_selection_history.end, -1);
    EXPECT_EQ(g_selection_history.redo_groups, 0);
    EXPECT_EQ(LinesIn(kLineWhite), (std::vector<int>{a, b, d}));
    EXPECT_TRUE(Marked().empty());
    EXPECT_EQ(Row(0), " 0 0      1/     1");
    EXPECT_EQ(Row(2), " 0 2      0/     0");
    EXPECT_EQ(Row(5), " 0 5      3/     3");
}

// A door: the wall runs into the swing's start, the leaf goes back from its end to the hinge;
// beside it a round table (a full circle) and an arc on another layer.
TEST_F(LayerToolTest, ArcsArePickedBoxedTakenWithTheirFigureMarkedAndMovedAsLinesAre) {
    constexpr double kQuarter = 1.5707963267948966;
    ArcRecord& swing = test_support::AddArc(0, 0, 50, 0, kQuarter);
    const int wall = Line(80, 0, swing.end_x[0], swing.end_y[0]);
    const int leaf = Line(swing.end_x[1], swing.end_y[1], 0, 0);
    test_support::AddArc(200, 200, 10, 0, 4 * kQuarter);
    test_support::AddArc(0, 0, 30, 0, kQuarter).layer = 1;
    const int door = kArcItemBase, table = kArcItemBase + 1, other = kArcItemBase + 2;
    OpenLayerTool();
    EXPECT_EQ(Row(0), " 0 0      4/     4");  // two lines and two arcs
    EXPECT_EQ(State(other), kLineUnavailable);

    // A click hits an arc where its curve passes, not at its centre; a click on the other layer's
    // arc hits nothing.
    EXPECT_EQ(PickLine(35.3, 35.4, 2), door);
    EXPECT_EQ(State(door), kLineGreen);
    EXPECT_EQ(PickLine(35.3, 35.4, 2), door);
    EXPECT_EQ(State(door), kLineWhite);
    EXPECT_EQ(PickLine(200, 200, 2), -1);
    EXPECT_EQ(PickLine(21.2, 21.2, 2), -1);
    EXPECT_EQ(PickLine(200, 209, 2), table);

    // A rectangle takes an arc only when all of its curve lies inside.
    EXPECT_EQ(SelectByRectangle(191, 191, 209, 209), 0);
    EXPECT_EQ(SelectByRectangle(189, 189, 211, 211), 1);
    EXPECT_EQ(State(table), kLineWhite);

    // A right click on the wall takes the swing and the leaf through the curve's own end points.
    EXPECT_EQ(PickConnectedGroup(70, 0, 2), wall);
    EXPECT_EQ(LinesIn(kLineGreen), (std::vector<int>{wall, leaf}));
    EXPECT_EQ(State(door), kLineGreen);
    EXPECT_EQ(State(table), kLineWhite);
    Undo();
    EXPECT_EQ(State(door), kLineWhite);
    Redo();
    EXPECT_EQ(State(door), kLineGreen);

    // The figure moves whole, its arc with it, and the counts follow.
    ASSERT_TRUE(ChooseLayer(2));
    EXPECT_EQ(MoveSelectionToShownLayer(), 3);
    EXPECT_EQ(g_arcs.records[0].layer, 2);
    EXPECT_EQ(g_arcs.records[1].layer, 0);
    EXPECT_EQ(Row(0), " 0 0      1/     1");
    EXPECT_EQ(Row(2), " 0 2      3/     3");
    EXPECT_EQ(State(door), kLineWhite);

    // Lines of the wall's length mark what is connected to them, the swing included.
    EnterLength(30);
    ASSERT_TRUE(ApplyConnectionMarks(true));
    EXPECT_EQ(Mark(door), kMarkByConnection);
    EXPECT_EQ(Mark(table), 0);
    ReleaseRedLines();
    EXPECT_EQ(Mark(door), 0);
}

}  // namespace
}  // namespace velmora
