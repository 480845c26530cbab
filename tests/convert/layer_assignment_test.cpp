// Layers, layer groups and pens given to a converted page's lines and texts.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "convert/layer_assignment.h"
#include "support/store_fixture.h"

namespace velmora {
namespace {

class LayerAssignmentTest : public StoreTest {
protected:
    // Appends one line of the given width class; group 0 is a straight segment.
    int AddLine(int32_t width_class, int32_t group_number = 0) {
        const int index = g_store.conversion.line_count++;
        LineRecord& line = g_store.lines[index];
        line = LineRecord{};
        line.group_number = group_number;
        line.pen_style = 1;
        line.pen_colour = 2;
        line.width_class = width_class;
        line.page_number = 1;
        return index;
    }

    int AddText(double size) {
        const int index = g_store.conversion.text_count++;
        TextRecord& text = g_store.texts[index];
        text = TextRecord{};
        text.layer_group = 8;
        text.size_x = size;
        text.size_y = size;
        text.page_number = 1;
        return index;
    }

    // A pen order that is not the identity, so the tests see which slot a width took.
    void UseReversedPenOrder() {
        for (int i = 0; i < kPenCount; ++i) g_settings.pen_order[i] = kPenCount - i;
    }

    static std::vector<int> Place(const LineRecord& line) {
        return {line.layer, line.layer_group, line.pen_colour};
    }
};

TEST_F(LayerAssignmentTest, TwoWidthsTakeTheFirstTwoPensAndCurvesSitOneLayerPastThem) {
    UseReversedPenOrder();
    const int thin = AddLine(1);
    const int wide = AddLine(5);
    const int rect_side = AddLine(5, 7);
    const int curve_piece = AddLine(1, 3);
    AssignLineLayers();
    EXPECT_EQ(Place(g_store.lines[thin]), (std::vector<int>{0, 0, 8}));
    EXPECT_EQ(Place(g_store.lines[wide]), (std::vector<int>{1, 0, 7}));
    EXPECT_EQ(Place(g_store.lines[rect_side]), (std::vector<int>{4, 0, 7}));
    EXPECT_EQ(Place(g_store.lines[curve_piece]), (std::vector<int>{3, 0, 8}));
}

TEST_F(LayerAssignmentTest, TenWidthsSpreadThePensAndTheTenthTakesTheLastSlot) {
    UseReversedPenOrder();
    std::vector<int> lines;
    for (int k = 1; k <= 10; ++k) lines.push_back(AddLine(k * 3));
    AssignLineLayers();
    // step 8/11, accumulated: the k-th width takes slot trunc(8k/11).
    const int expected_slots[10] = {0, 1, 2, 2, 3, 4, 5, 5, 6, 7};
    for (int k = 0; k < 10; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(g_store.lines[lines[k]].layer, k);
        EXPECT_EQ(g_store.lines[lines[k]].pen_colour, kPenCount - expected_slots[k]);
    }
}

TEST_F(LayerAssignmentTest, SeventeenWidthsCarryIntoTheNextGroupAlsoForCurves) {
    std::vector<int> straight;
    std::vector<int> curves;
    for (int k = 0; k < 17; ++k) {
        straight.push_back(AddLine(k));
        curves.push_back(AddLine(k, 1));
    }
    AssignLineLayers();
    EXPECT_EQ(g_store.lines[straight[15]].layer, 15);
    EXPECT_EQ(g_store.lines[straight[15]].layer_group, 0);
    EXPECT_EQ(g_store.lines[straight[16]].layer, 0);
    EXPECT_EQ(g_store.lines[straight[16]].layer_group, 1);
    // Curves move U + 1 = 18 layers on: from layer 15 of group 0 that is layer 1 of group 2.
    EXPECT_EQ(g_store.lines[curves[0]].layer, 2);
    EXPECT_EQ(g_store.lines[curves[0]].layer_group, 1);
    EXPECT_EQ(g_store.lines[curves[15]].layer, 1);
    EXPECT_EQ(g_store.lines[curves[15]].layer_group, 2);
    EXPECT_EQ(g_store.lines[curves[16]].layer, 2);
    EXPECT_EQ(g_store.lines[curves[16]].layer_group, 2);
}

TEST_F(LayerAssignmentTest, EveryUsedWidthClassKeepsLayersInRangeWithSeveralCarries) {
    std::vector<int> curves;
    for (int k = 0; k <= 100; ++k) {
        AddLine(k);
        curves.push_back(AddLine(k, 9));
    }
    AssignLineLayers();
    for (int i = 0; i < g_store.conversion.line_count; ++i) {
        ASSERT_GE(g_store.lines[i].layer, 0);
        ASSERT_LE(g_store.lines[i].layer, 15);
        ASSERT_GE(g_store.lines[i].layer_group, 0);
        ASSERT_LE(g_store.lines[i].layer_group, 15);
        ASSERT_GE(g_store.lines[i].pen_colour, 1);
        ASSERT_LE(g_store.lines[i].pen_colour, 8);
    }
    // Class 100 is the 101st width: layer 100 = group 6 layer 4; its curves 102 layers on:
    // 202 = 12 * 16 + 10.
    EXPECT_EQ(g_store.lines[curves[100]].layer, 10);
    EXPECT_EQ(g_store.lines[curves[100]].layer_group, 12);
    EXPECT_EQ(g_store.lines[curves[100] - 1].pen_colour, g_settings.pen_order[7]);
}

TEST_F(LayerAssignmentTest, OutOfRangeClassesJoinTheEndClasses) {
    const int heavy = AddLine(125);
    const int hundred = AddLine(100);
    const int negative = AddLine(-4);
    const int one = AddLine(1);
    AssignLineLayers();
    // Two used classes: 1 (with the negative one) and 100 (with 125).
    EXPECT_EQ(g_store.lines[negative].layer, 0);
    EXPECT_EQ(g_store.lines[one].layer, 0);
    EXPECT_EQ(g_store.lines[heavy].layer, 1);
    EXPECT_EQ(g_store.lines[hundred].layer, 1);
    EXPECT_EQ(g_store.lines[heavy].pen_colour, g_settings.pen_order[1]);
}

TEST_F(LayerAssignmentTest, TextSizesTakeLayersFromGroupEightAcrossPages) {
    const int large = AddText(10.0);
    const int small = AddText(3.5);
    g_store.text_size_histogram[100] = 1;
    g_store.text_size_histogram[35] = 1;
    AssignTextLayers();
    EXPECT_EQ(g_store.texts[small].layer, 0);
    EXPECT_EQ(g_store.texts[small].layer_group, 8);
    EXPECT_EQ(g_store.texts[large].layer, 1);
    EXPECT_EQ(g_store.texts[large].layer_group, 8);

    // An earlier page of the same file had texts of size 5: class 50 takes a layer too.
    g_store.text_size_histogram[50] = 3;
    AssignTextLayers();
    EXPECT_EQ(g_store.texts[small].layer, 0);
    EXPECT_EQ(g_store.texts[large].layer, 2);
    EXPECT_EQ(g_store.texts[large].layer_group, 8);
}

TEST_F(LayerAssignmentTest, ManyTextSizesWrapPastGroupFifteen) {
    // 16 layers per group from group 8: the 17th size goes to group 9, the 129th to group 0.
    for (int c = 1; c <= 129; ++c) g_store.text_size_histogram[c] = 1;
    const int seventeenth = AddText(1.75);
    const int last = AddText(12.95);
    AssignTextLayers();
    EXPECT_EQ(g_store.texts[seventeenth].layer, 0);
    EXPECT_EQ(g_store.texts[seventeenth].layer_group, 9);
    EXPECT_EQ(g_store.texts[last].layer, 0);
    EXPECT_EQ(g_store.texts[last].layer_group, 0);
}

TEST_F(LayerAssignmentTest, TextSizesOutsideTheClassesLandAtTheEnds) {
    g_store.text_size_histogram[0] = 1;
    g_store.text_size_histogram[300] = 1;
    const int huge = AddText(1e300);
    const int infinite = AddText(std::numeric_limits<double>::infinity());
    const int negative = AddText(-2.0);
    const int not_a_number = AddText(std::nan(""));
    AssignTextLayers();
    EXPECT_EQ(g_store.texts[huge].layer, 1);
    EXPECT_EQ(g_store.texts[infinite].layer, 1);
    EXPECT_EQ(g_store.texts[negative].layer, 0);
    EXPECT_EQ(g_store.texts[not_a_number].layer, 0);
}

}  // namespace
}  // namespace velmora
