// The mouse table: which gesture a press, move or release starts or ends, the rubber band's XOR
// figures, the cursors of the layer tool and what the window is asked to repaint.
#include <gtest/gtest.h>

#include "support/page_records.h"
#include "support/preview_fixture.h"
#include "tools/layer_tool.h"
#include "view/mouse_routing.h"
#include "tools/tool_state.h"
#include "view/preview_state.h"

namespace velmora {
namespace {

class MouseRoutingTest : public PreviewTest {
protected:
    static MouseResponse Send(MouseMessage message, int x, int y, bool left = false, bool right = false) {
        return HandleMouse(nullptr, MouseEvent{message, {x, y}, left, right, 0});
    }
    static void ExpectFigure(const BandFigure& figure, BandShape shape, ScreenPoint from, ScreenPoint to) {
        EXPECT_EQ(figure.shape, shape);
        EXPECT_EQ(figure.from.x, from.x);
        EXPECT_EQ(figure.from.y, from.y);
        EXPECT_EQ(figure.to.x, to.x);
        EXPECT_EQ(figure.to.y, to.y);
    }
};

TEST_F(MouseRoutingTest, BoxBandRemovesTheOldBoxAndDrawsTheNewOne) {
    Send(MouseMessage::RightDown, 100, 100, false, true);
    Send(MouseMessage::LeftDown, 100, 100, true, true);
    MouseResponse first = Send(MouseMessage::Move, 150, 120, true, true);
    ASSERT_EQ(first.band.count, 1);
    ExpectFigure(first.band.figures[0], BandShape::Rectangle, {100, 100}, {150, 120});
    MouseResponse second = Send(MouseMessage::Move, 160, 100, true, true);  // level with the press point
    ASSERT_EQ(second.band.count, 2);
    ExpectFigure(second.band.figures[0], BandShape::Rectangle, {100, 100}, {150, 120});
    ExpectFigure(second.band.figures[1], BandShape::Rectangle, {100, 100}, {160, 100});
    // Above the press point: the old box goes and none is drawn.
    MouseResponse above = Send(MouseMessage::Move, 160, 90, true, true);
    ASSERT_EQ(above.band.count, 1);
    EXPECT_EQ(g_preview.band.x, -1);
    EXPECT_EQ(g_preview.gesture, kGestureTwoButtonDrag);
    // The paint forgets the band.
    Send(MouseMessage::Move, 170, 130, true, true);
    Paint();
    EXPECT_EQ(g_preview.band.x, -1);
    EXPECT_EQ(g_preview.gesture, kGestureNone);
}

TEST_F(MouseRoutingTest, OutsideTheLayerToolARightClickIsAScalePickAndLeftGesturesAreViewOnly) {
    Send(MouseMessage::RightDown, 40, 50, false, true);
    EXPECT_FALSE(g_preview.fit_pending);
    const MouseResponse click = Send(MouseMessage::RightUp, 40, 50);
    // Nothing is near the click: the window only repaints.
    EXPECT_TRUE(click.repaint && click.erase);
    EXPECT_FALSE(click.run_scale_dialog);
    // The right button was released: a plain left click afterwards is no two-button gesture.
    Send(MouseMessage::LeftDown, 40, 50, true);
    EXPECT_EQ(Send(MouseMessage::Move, 60, 70, true).band.count, 0);
    EXPECT_FALSE(Send(MouseMessage::LeftUp, 60, 70).repaint);
    EXPECT_EQ(g_preview.gesture, kGestureLeftPress);
    // A right release after the gesture was consumed by a paint is no pick.
    Send(MouseMessage::RightDown, 40, 50, false, true);
    Paint();
    EXPECT_FALSE(Send(MouseMessage::RightUp, 40, 50).repaint);
}

TEST_F(MouseRoutingTest, TwoRightClicksOnEndPointsRunTheDistanceDialog) {
    // One pixel per point with the page's top-left corner at the window's.
    test_support::AddLine(5, -5, 105, -5);
    Send(MouseMessage::RightDown, 8, 3, false, true);
    const MouseResponse first = Send(MouseMessage::RightUp, 8, 3);  // 3 pixels from (5, 5)
    EXPECT_EQ(g_tool_state.scale_pick, ScalePickState::kFirstPointHeld);
    EXPECT_FALSE(first.repaint || first.run_scale_dialog);
    // While one point is held left presses are ignored, and moves without buttons draw the
    // rubber line from the picked point, removing the old one.
    Send(MouseMessage::LeftDown, 10, 20, true);
    EXPECT_FALSE(g_preview.left_pressed);
    EXPECT_EQ(g_preview.gesture, kGestureNone);
    EXPECT_EQ(Send(MouseMessage::Move, 30, 40).band.count, 1);
    const MouseResponse moved = Send(MouseMessage::Move, 35, 45);
    ASSERT_EQ(moved.band.count, 2);
    ExpectFigure(moved.band.figures[0], BandShape::Line, {5, 5}, {30, 40});
    ExpectFigure(moved.band.figures[1], BandShape::Line, {5, 5}, {35, 45});
    // A paint now (the window uncovered) leaves the view where it is.
    Paint();
    EXPECT_EQ(CurrentView().origin_x, 0);
    // A click on nothing repaints, centring the view on it, and keeps the point.
    Send(MouseMessage::RightDown, 300, 300, false, true);
    EXPECT_TRUE(Send(MouseMessage::RightUp, 300, 300).erase);
    EXPECT_EQ(g_tool_state.scale_pick, ScalePickState::kFirstPointHeld);
    Paint();
    EXPECT_EQ(CurrentView().origin_x, kClient.width / 2 - 300);
    // The second end point: the dialog runs and the whole window is repainted.
    const ScreenPoint second = MapToScreen(CurrentView(), 105, -5);
    Send(MouseMessage::RightDown, second.x, second.y, false, true);
    const MouseResponse last = Send(MouseMessage::RightUp, second.x, second.y);
    EXPECT_TRUE(last.run_scale_dialog && last.repaint && last.erase);
    EXPECT_EQ(g_tool_state.scale_pick, ScalePickState::kBothPointsHeld);
    EXPECT_EQ(g_preview.band.x, -1);
}

TEST_F(MouseRoutingTest, LayerToolGesturesCursorsAndRepaints) {
    g_tool_state.layer_mode = LayerToolMode::kOpen;
    // A left drag to the lower right selects by rectangle: the band is erased, the history
    // buttons are updated, and only the highlights are repainted.
    Send(MouseMessage::LeftDown, 100, 100, true);
    const MouseResponse dragging = Send(MouseMessage::Move, 120, 130, true);
    EXPECT_EQ(dragging.cursor, MouseCursor::Area);
    const MouseResponse dragged = Send(MouseMessage::LeftUp, 120, 130);
    ASSERT_EQ(dragged.band.count, 1);
    ExpectFigure(dragged.band.figures[0], BandShape::Rectangle, {100, 100}, {120, 130});
    EXPECT_TRUE(dragged.update_history_buttons && dragged.repaint && !dragged.erase);
    EXPECT_TRUE(g_preview.overlay_only);
    // A left drag to the upper left is a click: no band cursor, no rectangle.
    g_preview.overlay_only = false;
    Send(MouseMessage::LeftDown, 100, 100, true);
    EXPECT_EQ(Send(MouseMessage::Move, 80, 70, true).cursor, MouseCursor::Keep);
    const MouseResponse click = Send(MouseMessage::LeftUp, 80, 70);
    EXPECT_FALSE(click.update_history_buttons);
    EXPECT_EQ(click.picked_line, -1);
    // Right drags show which of undo and redo a release would run.
    Send(MouseMessage::RightDown, 100, 100, false, true);
    EXPECT_EQ(Send(MouseMessage::Move, 105, 150, false, true).cursor, MouseCursor::Keep);  // 5 is not beyond
    EXPECT_EQ(Send(MouseMessage::Move, 130, 104, false, true).cursor, MouseCursor::Keep);  // not down enough
    EXPECT_EQ(Send(MouseMessage::Move, 150, 120, false, true).cursor, MouseCursor::Undo);
    EXPECT_EQ(Send(MouseMessage::Move, 120, 150, false, true).cursor, MouseCursor::Redo);
    const MouseResponse redo = Send(MouseMessage::RightUp, 120, 150);
    EXPECT_TRUE(redo.update_history_buttons && redo.repaint && !redo.erase);
    EXPECT_TRUE(g_preview.overlay_only);
    // No scale pick in the layer tool: a right click on nothing asks for no repaint.
    Send(MouseMessage::RightDown, 100, 100, false, true);
    EXPECT_FALSE(Send(MouseMessage::RightUp, 101, 101).repaint);
}

TEST_F(MouseRoutingTest, InTheLayerToolADragToTheUpperLeftIsAClickAndARightClickTakesTheFigure) {
    test_support::AddLine(50, -100, 150, -100);
    test_support::AddLine(150, -100, 150, -200);
    OpenLayerTool();
    Send(MouseMessage::LeftDown, 120, 130, true);
    const MouseResponse click = Send(MouseMessage::LeftUp, 100, 100);  // up and to the left
    EXPECT_EQ(click.picked_line, 0);
    EXPECT_FALSE(click.update_history_buttons);
    EXPECT_TRUE(click.repaint && !click.erase && g_preview.overlay_only);
    EXPECT_EQ(g_layer_selection.state[0], kLineGreen);
    EXPECT_EQ(g_layer_selection.state[1], kLineWhite);
    // A right click on the white line joined to it takes that one; the green one stays green.
    Send(MouseMessage::RightDown, 150, 150, false, true);
    EXPECT_EQ(Send(MouseMessage::RightUp, 150, 150).picked_line, 1);
    EXPECT_EQ(g_layer_selection.state[1], kLineGreen);
    EXPECT_EQ(g_layer_selection.state[0], kLineGreen);
    // A right drag down and to the right undoes that group.
    Send(MouseMessage::RightDown, 100, 100, false, true);
    EXPECT_TRUE(Send(MouseMessage::RightUp, 130, 110).update_history_buttons);
    EXPECT_EQ(g_layer_selection.state[1], kLineWhite);
    CloseLayerTool();
}

}  // namespace
}  // namespace velmora
