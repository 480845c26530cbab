// The preview's view: mapping, fit, wheel zoom, centring, box zoom, back and fit by drag,
// driven through the mouse routing and the paint as the window drives them.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/preview_fixture.h"
#include "view/mouse_routing.h"
#include "view/view_gestures.h"
#include "tools/tool_state.h"
#include "view/preview_state.h"

namespace velmora {
namespace {

class ViewGestureTest : public PreviewTest {
protected:
    static MouseResponse Send(MouseMessage message, int x, int y, bool left, bool right, int delta = 0) {
        return HandleMouse(nullptr, MouseEvent{message, {x, y}, left, right, delta});
    }
    // Right button down first, then the left; moves with both held; the left released first.
    void TwoButtonDrag(ScreenPoint from, ScreenPoint to) {
        Send(MouseMessage::RightDown, from.x, from.y, false, true);
        Send(MouseMessage::LeftDown, from.x, from.y, true, true);
        Send(MouseMessage::Move, to.x, to.y, true, true);
        EXPECT_FALSE(Send(MouseMessage::LeftUp, to.x, to.y, false, true).repaint);  // right still held
        const MouseResponse up = Send(MouseMessage::RightUp, to.x, to.y, false, false);
        EXPECT_TRUE(up.repaint && up.erase);
        Paint();
    }
    static void ExpectView(double zoom, double x, double y) {
        const ViewTransform view = CurrentView();
        EXPECT_DOUBLE_EQ(view.zoom, zoom);
        EXPECT_DOUBLE_EQ(view.origin_x, x);
        EXPECT_DOUBLE_EQ(view.origin_y, y);
    }
};

TEST_F(ViewGestureTest, MappingTruncatesTowardZeroAndInvertsExactly) {
    const ViewTransform view{2.0, 10.5, 20.25};
    const ScreenPoint p = MapToScreen(view, 3.3, -4.1);  // 17.1, 28.45
    EXPECT_EQ(p.x, 17);
    EXPECT_EQ(p.y, 28);
    EXPECT_EQ(MapToScreen(view, -5.4, 0).x, 0);           // -0.3 truncates to 0, not -1
    const DrawingPoint back = ScreenToDrawing(view, 17, 28);
    EXPECT_DOUBLE_EQ(back.x, 3.25);
    EXPECT_DOUBLE_EQ(back.y, -3.875);
    // Out of range and NaN stay inside the int range instead of being undefined.
    EXPECT_EQ(MapToScreen(view, 1e300, std::nan("")).x, static_cast<int>(kScreenCoordinateLimit));
    EXPECT_EQ(MapToScreen(view, 1e300, std::nan("")).y, 0);
}

TEST_F(ViewGestureTest, OpeningFitsThePageWithTheOriginAtTheTopLeft) {
    Paint();
    ExpectView(600.0 / 842.0, 0.0, 0.0);
    EXPECT_FALSE(g_preview.fit_pending);
    // A landscape page in the same window is limited by its width.
    ResetForFile();
    ResetViewAndToolsForFile();
    test_support::SetMediaBox(0, 0, 1191, 842);
    Paint();
    ExpectView(800.0 / 1191.0, 0.0, 0.0);
}

TEST_F(ViewGestureTest, FitIsGuardedAgainstAnEmptyMediaBoxAndAnEmptyWindow) {
    test_support::SetMediaBox(10, 0, 10, 842);  // no width
    Paint();
    ExpectView(1.0, 0.0, 0.0);
    EXPECT_FALSE(g_preview.fit_pending);
    test_support::SetMediaBox(0, 0, 595, 842);
    g_preview.fit_pending = true;
    Paint(ClientSize{0, 0});  // minimised: the fit waits for a window with room
    ExpectView(1.0, 0.0, 0.0);
    EXPECT_TRUE(g_preview.fit_pending);
}

TEST_F(ViewGestureTest, WheelZoomsAboutTheMouseWithinTheLimits) {
    SetCurrentView(ViewTransform{1.0, 50.0, 40.0});
    g_preview.fit_pending = false;
    const DrawingPoint under = ScreenToDrawing(CurrentView(), 300, 200);
    const MouseResponse turned = Send(MouseMessage::Wheel, 300, 200, false, false, 120);
    EXPECT_TRUE(turned.repaint && turned.erase);
    Paint();
    EXPECT_DOUBLE_EQ(CurrentView().zoom, 1.2);
    const DrawingPoint still = ScreenToDrawing(CurrentView(), 300, 200);
    EXPECT_NEAR(still.x, under.x, 1e-9);
    EXPECT_NEAR(still.y, under.y, 1e-9);

    // At zoom 45 one more step (54) is refused and the view does not move.
    SetCurrentView(ViewTransform{45.0, -1000.0, -2000.0});
    Send(MouseMessage::Wheel, 300, 200, false, false, 120);
    Paint();
    ExpectView(45.0, -1000.0, -2000.0);
    // A turn of 0 asks for nothing.
    EXPECT_FALSE(Send(MouseMessage::Wheel, 300, 200, false, false, 0).repaint);
}

TEST_F(ViewGestureTest, WheelSettingTwoReversesTheDirection) {
    EXPECT_DOUBLE_EQ(WheelZoomStep(120, -1), 1.2);
    EXPECT_DOUBLE_EQ(WheelZoomStep(-120, -1), 0.8);
    g_settings.wheel_direction = 1;  // WHEEL 2
    g_preview.fit_pending = false;
    Send(MouseMessage::Wheel, 0, 0, false, false, 120);
    Paint();
    EXPECT_DOUBLE_EQ(CurrentView().zoom, 0.8);
}

TEST_F(ViewGestureTest, TwoButtonClickCentresThePointBelowTheToolbar) {
    Paint();  // fitted, origin 0, 0
    Send(MouseMessage::RightDown, 100, 200, false, true);
    Send(MouseMessage::LeftDown, 100, 200, true, true);
    Send(MouseMessage::RightUp, 100, 200, true, false);  // the left is still down: ignored
    Send(MouseMessage::LeftUp, 100, 200, false, false);
    Paint();
    ExpectView(600.0 / 842.0, 300.0, 100.0);  // (400 - 100), ((600 - 28) / 2 + 14 - 200)
}

TEST_F(ViewGestureTest, BoxZoomThenBackRestoresTheExactView) {
    Paint();
    const ViewTransform before = CurrentView();
    TwoButtonDrag({100, 100}, {300, 200});
    const ViewTransform zoomed = CurrentView();
    // The box is 201 x 101 pixels; the window's 801 / 201 is the smaller factor.
    EXPECT_DOUBLE_EQ(zoomed.zoom, before.zoom * (801.0 / 201.0));
    EXPECT_DOUBLE_EQ(zoomed.origin_x, 400.0 - 200.0 / before.zoom * zoomed.zoom);
    TwoButtonDrag({300, 100}, {100, 300});  // down and to the left: back
    ExpectView(before.zoom, before.origin_x, before.origin_y);
    // Up and to the left does nothing.
    TwoButtonDrag({300, 300}, {100, 100});
    ExpectView(before.zoom, before.origin_x, before.origin_y);
}

TEST_F(ViewGestureTest, StraightRightDragZoomsIntoAOnePixelBoxThenFits) {
    Paint();
    const ViewTransform fitted = CurrentView();
    TwoButtonDrag({100, 300}, {400, 300});
    ExpectView(fitted.zoom, 0.0, 0.0);
    EXPECT_FALSE(g_preview.fit_pending);
    // "Back" now returns to the box zoom the drag made first: 301 x 1 pixels, so by its width.
    TwoButtonDrag({300, 100}, {100, 300});
    EXPECT_DOUBLE_EQ(CurrentView().zoom, fitted.zoom * (801.0 / 301.0));
}

TEST_F(ViewGestureTest, RightPressWhileAPointIsPickedCentresOnRepaint) {
    Paint();
    g_tool_state.scale_pick = ScalePickState::kFirstPointHeld;
    Send(MouseMessage::RightDown, 500, 100, false, true);
    Paint();
    ExpectView(600.0 / 842.0, -100.0, 200.0);
}

}  // namespace
}  // namespace velmora
