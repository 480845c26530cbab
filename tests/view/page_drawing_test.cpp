// The page drawings through the recording surface: colours, styles, skipped records, texts'
// fonts and escapement, the scale marks, the layer tool's and the pen dialog's highlights, and
// the paint's empty-page message.
#include <gtest/gtest.h>

#include <cmath>

#include "support/page_records.h"

#include <cstring>

#include "store/file_names.h"

#include "support/preview_fixture.h"
#include "tools/tool_state.h"

namespace velmora {
namespace {

using test_support::AddLine;
using test_support::AddText;
using test_support::DrawnShape;
using test_support::Recording;

class PageDrawingTest : public PreviewTest {
protected:
    // One pixel per point with the page's top-left corner at the window's.
    Recording Draw(void (*drawing)(const DrawingSurface&, const PageView&, bool), bool overlay_only = false) {
        Recording recording;
        drawing(test_support::RecordingSurface(&recording), PageView{{1.0, 0.0, 0.0}, true, kClient}, overlay_only);
        return recording;
    }
    Recording DrawNormal(double zoom = 1.0) {
        Recording recording;
        DrawNormalPicture(test_support::RecordingSurface(&recording), PageView{{zoom, 0.0, 0.0}, true, kClient}, 1,
                          false);
        return recording;
    }
};

TEST_F(PageDrawingTest, LinesInTheirPensColoursAndStylesOverTheBackground) {
    AddLine(10.7, -20.2, 110, -20.2);            // pen 2 (0, 255, 0), solid
    AddLine(0, 0, 50, -50).pen_style = 3;        // dashed
    LineRecord& dash_dot = AddLine(5, -5, 6, -6);
    dash_dot.pen_style = 5;
    dash_dot.pen_colour = 3;
    AddLine(1, -1, 2, -2).pen_colour = 0;        // pen 0: the background colour, so invisible
    AddLine(1, -2, 3, -4).page_number = -1;      // merged away by the dash runs: never drawn
    AddLine(-50, -10, -20, -300);                // wholly left of the window: skipped
    AddLine(-1e12, -100, 1e12, -100);            // far beyond the window both ways: clipped

    const Recording drawn = DrawNormal();
    ASSERT_EQ(drawn.shapes.front().kind, DrawnShape::Fill);
    EXPECT_TRUE(drawn.shapes.front().ColourIs(158, 158, 158));
    EXPECT_EQ(drawn.shapes.front().x2, 800);
    const std::vector<DrawnShape> lines = drawn.Of(DrawnShape::Line);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_TRUE(lines[0].ColourIs(0, 255, 0));
    EXPECT_EQ(lines[0].style, LineStyle::Solid);
    EXPECT_EQ(lines[0].x1, 10);  // truncated to whole pixels
    EXPECT_EQ(lines[0].y1, 20);
    EXPECT_EQ(lines[1].style, LineStyle::Dash);
    EXPECT_EQ(lines[2].style, LineStyle::DashDot);
    EXPECT_TRUE(lines[2].ColourIs(0, 0, 255));
    EXPECT_TRUE(lines[3].ColourIs(158, 158, 158));
    EXPECT_EQ(lines[4].y1, 100);
    EXPECT_EQ(lines[4].y2, 100);
    EXPECT_LT(lines[4].x1, 0);
    EXPECT_GT(lines[4].x2, 800);
    EXPECT_GE(lines[4].x1, -kScreenCoordinateLimit);
}

TEST_F(PageDrawingTest, ArcsAreDrawnAsChordsThroughTheirPointsInTheirPensStyle) {
    test_support::AddArc(200, -200, 100, 0, 2 * 3.14159265358979323846);                   // a circle: 64 chords
    test_support::AddArc(400, -100, 50, 0, 3.14159265358979323846 / 2, 0.5, 0.5).pen_style = 3;  // a tilted quarter
    const std::vector<DrawnShape> lines = DrawNormal().Of(DrawnShape::Line);
    ASSERT_EQ(lines.size(), 64u + 16u);
    for (size_t i = 0; i < 64; ++i) {
        EXPECT_NEAR(std::hypot(lines[i].x1 - 200, lines[i].y1 - 200), 100, 1.5);  // whole pixels
        EXPECT_EQ(lines[i].style, LineStyle::Solid);
        EXPECT_TRUE(lines[i].ColourIs(0, 255, 0));
    }
    EXPECT_EQ(lines[63].x2, 300);  // the circle closes where it began
    EXPECT_EQ(lines[63].y2, 200);
    EXPECT_EQ(lines[64].style, LineStyle::Dash);
    // The quarter starts on its tilted axis: (400, 100) + 50 (cos 0.5, -sin 0.5) on the screen.
    EXPECT_NEAR(lines[64].x1, 400 + 50 * std::cos(0.5), 1.0);
    EXPECT_NEAR(lines[64].y1, 100 - 50 * std::sin(0.5), 1.0);
}

TEST_F(PageDrawingTest, TextsTakeTheTextPenTheirFontAndTheirBaseLinesEscapement) {
    std::snprintf(g_store.jww_font_names[1], kFontNameBytes, "%s", "ＭＳ 明朝");
    g_settings.text_pen = 3;
    AddText("平面図", 100, -200, 12);
    AddText("縦", 50, -60, 10, 90);
    AddText("30", 50, -60, 40, 30);
    AddText(".", 10, -10, 0.2);
    const std::vector<DrawnShape> texts = DrawNormal(2.0).Of(DrawnShape::Text);
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0].text, "平面図");
    EXPECT_EQ(texts[0].face, "ＭＳ 明朝");
    EXPECT_TRUE(texts[0].ColourIs(0, 0, 255));
    EXPECT_EQ(texts[0].x1, 200);
    EXPECT_EQ(texts[0].y1, 400);
    EXPECT_EQ(texts[0].height, 24);
    EXPECT_EQ(texts[0].width, 0);  // the face's natural width
    EXPECT_EQ(texts[0].escapement, 0);
    EXPECT_EQ(texts[1].escapement, 900);
    EXPECT_EQ(texts[2].escapement, 301);  // from the whole pixels of its base line: 69 across, 40 up
    EXPECT_EQ(texts[3].height, 1);  // 0.4 pixels: at least one
    EXPECT_FALSE(texts[0].transparent);  // page texts keep the background behind them
}

TEST_F(PageDrawingTest, AVerticalTextStandsUprightCharacterByCharacterDownItsColumn) {
    // Two full-width characters and a half-width one, two points apart, at two pixels a point.
    test_support::AddVerticalText("縦書A", 100, -200, 10, 2, 3);
    const std::vector<DrawnShape> texts = DrawNormal(2.0).Of(DrawnShape::Text);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].text, "縦");
    EXPECT_EQ(texts[2].text, "A");
    for (const DrawnShape& text : texts) EXPECT_EQ(text.escapement, 0);
    // Each character stands on its box's foot; the half-width one in the middle of the column.
    EXPECT_EQ(texts[0].x1, 200);
    EXPECT_EQ(texts[0].y1, 420);
    EXPECT_EQ(texts[1].y1, 444);
    EXPECT_EQ(texts[2].x1, 205);
    EXPECT_EQ(texts[2].y1, 468);
}

TEST_F(PageDrawingTest, ScaleMarksShowTheDistanceAndTheLineBetweenThePickedPoints) {
    AddLine(0, 0, 1, -1);
    PageRecord& page = g_store.pages[1];
    page.first_pick_x = 100;
    page.first_pick_y = -100;
    page.second_pick_x = 200;
    page.second_pick_y = -200;
    page.entered_distance = 3.456;
    page.scale_denominator = 1;
    std::vector<DrawnShape> texts = DrawNormal().Of(DrawnShape::Text);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, " 3.46");
    EXPECT_TRUE(texts[0].ColourIs(255, 0, 0));
    EXPECT_EQ(texts[0].height, 30);
    EXPECT_EQ(texts[0].width, 15);
    EXPECT_EQ(texts[0].escapement, -450);  // down and to the right on the screen
    EXPECT_TRUE(texts[0].transparent);      // the label never wipes out the drawing beneath
    EXPECT_EQ(DrawNormal().Of(DrawnShape::Line).size(), 1u);  // denominator 1: no mark line
    page.scale_denominator = 2;
    const std::vector<DrawnShape> lines = DrawNormal().Of(DrawnShape::Line);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[1].ColourIs(255, 0, 0));
    EXPECT_EQ(lines[1].x2, 200);
}

TEST_F(PageDrawingTest, LayerToolDimsThePageAndHighlightsOnlySolidLines) {
    AddLine(0, 0, 10, -10);                       // 0: shown layer, white
    AddLine(0, 0, 20, -20).pen_style = 3;         // 1: dashed and selected: never green
    AddLine(0, 0, 30, -30).layer = 4;             // 2: another layer, selected: dark green
    AddLine(0, 0, 40, -40);                       // 3: selected in the shown layer: green
    AddLine(0, 0, 50, -50).layer = 4;             // 4: red by length
    AddLine(0, 0, 60, -60).layer = 4;             // 5: orange by connection
    AddText("A", 10, -10, 8);
    g_layer_selection.state[1] = kLineGreen;
    g_layer_selection.state[2] = kLineGreen;
    g_layer_selection.state[3] = kLineGreen;
    g_layer_selection.state[4] = kLineWhite;
    g_layer_selection.mark[4] = kMarkByLength;
    g_layer_selection.state[5] = kLineWhite;
    g_layer_selection.mark[5] = kMarkByConnection | kMarkByLength;

    const Recording full = Draw(DrawLayerToolPicture);
    const std::vector<DrawnShape> lines = full.Of(DrawnShape::Line);
    ASSERT_EQ(lines.size(), 6u + 1 + 2 + 2);
    for (int i = 0; i < 6; ++i) EXPECT_TRUE(lines[i].ColourIs(79, 79, 79)) << i;
    EXPECT_EQ(lines[1].style, LineStyle::Dash);  // the dimmed page keeps its styles
    EXPECT_TRUE(lines[6].ColourIs(255, 255, 255));
    EXPECT_EQ(lines[6].x2, 10);
    EXPECT_TRUE(lines[7].ColourIs(0, 155, 0));
    EXPECT_EQ(lines[7].x2, 30);
    EXPECT_TRUE(lines[8].ColourIs(0, 255, 0));
    EXPECT_EQ(lines[8].x2, 40);
    EXPECT_TRUE(lines[9].ColourIs(255, 0, 0));
    EXPECT_TRUE(lines[10].ColourIs(255, 130, 0));
    const std::vector<DrawnShape> texts = full.Of(DrawnShape::Text);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_TRUE(texts[0].ColourIs(79, 79, 79));
    EXPECT_EQ(texts[0].width, 4);  // half the size wide

    // The overlay-only repaint draws the highlights alone.
    const Recording overlay = Draw(DrawLayerToolPicture, true);
    EXPECT_TRUE(overlay.Of(DrawnShape::Fill).empty());
    EXPECT_EQ(overlay.Of(DrawnShape::Line).size(), 5u);
}

TEST_F(PageDrawingTest, LayerToolDrawsArcsInTheColoursOfTheirSelectionAsLines) {
    constexpr double kQuarter = 1.5707963267948966;  // 16 chords each
    test_support::AddArc(100, -100, 20, 0, kQuarter);              // shown layer, white
    test_support::AddArc(100, -100, 30, 0, kQuarter);              // selected: green
    test_support::AddArc(100, -100, 40, 0, kQuarter).layer = 4;    // another layer: not highlighted
    test_support::AddArc(100, -100, 50, 0, kQuarter).layer = 4;    // orange by connection
    test_support::AddArc(100, -100, 60, 0, kQuarter).pen_style = 3;  // dashed: never highlighted
    g_layer_selection.state[kArcItemBase + 1] = kLineGreen;
    g_layer_selection.state[kArcItemBase + 2] = kLineUnavailable;
    g_layer_selection.mark[kArcItemBase + 3] = kMarkByConnection;
    g_layer_selection.state[kArcItemBase + 4] = kLineGreen;
    const std::vector<DrawnShape> chords = Draw(DrawLayerToolPicture, true).Of(DrawnShape::Line);
    ASSERT_EQ(chords.size(), 3u * 16);
    for (int i = 0; i < 16; ++i) {
        EXPECT_TRUE(chords[i].ColourIs(255, 255, 255)) << i;
        EXPECT_TRUE(chords[16 + i].ColourIs(0, 255, 0)) << i;
        EXPECT_TRUE(chords[32 + i].ColourIs(255, 130, 0)) << i;
    }
}

TEST_F(PageDrawingTest, PenDialogShowsItsLayerInFullColourOverAHalvedPage) {
    AddLine(0, 0, 10, -10);
    LineRecord& chosen = AddLine(0, 0, 20, -20);
    chosen.layer_group = 1;
    chosen.layer = 3;
    chosen.pen_colour = 6;
    g_pen_selection = PenSelection{1, 3};
    const std::vector<DrawnShape> lines = Draw(DrawPenDialogPicture).Of(DrawnShape::Line);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(lines[0].ColourIs(0, 127, 0));
    EXPECT_TRUE(lines[1].ColourIs(127, 0, 127));
    EXPECT_TRUE(lines[2].ColourIs(255, 0, 255));
    EXPECT_EQ(Draw(DrawPenDialogPicture, true).Of(DrawnShape::Line).size(), 1u);
}

TEST_F(PageDrawingTest, PaintChoosesTheDrawingAndShowsTheEmptyPageMessage) {
    AddLine(0, 0, 10, -10);
    g_tool_state.layer_mode = LayerToolMode::kOpen;
    g_preview.overlay_only = true;
    EXPECT_TRUE(Paint().Of(DrawnShape::Fill).empty());
    EXPECT_FALSE(g_preview.overlay_only);  // the next paint is a full one again
    g_tool_state.layer_mode = LayerToolMode::kClosed;
    EXPECT_EQ(Paint().Of(DrawnShape::Fill).size(), 1u);

    // A chosen PDF whose page has nothing: the background and the message in black.
    g_store.conversion.line_count = 0;
    std::strcpy(g_file_names.pdf_path, "empty.pdf");
    g_preview.gesture = kGestureWheel;
    const Recording empty = Paint();
    ASSERT_EQ(empty.shapes.size(), 1u);
    EXPECT_EQ(empty.shapes[0].kind, DrawnShape::Fill);
    ASSERT_EQ(g_test_seam.progress.size(), 1u);
    EXPECT_EQ(g_test_seam.progress[0].text, kEmptyPageText);
    EXPECT_EQ(g_test_seam.progress[0].colour.red + g_test_seam.progress[0].colour.green, 0);
    EXPECT_EQ(g_preview.gesture, kGestureWheel);  // left as it was
}

}  // namespace
}  // namespace velmora
