#include "view/mouse_routing.h"

#include "store/document_store.h"
#include "settings/settings.h"
#include "tools/layer_tool.h"
#include "tools/scale_pick.h"
#include "view/preview_state.h"
#include "view/view_gestures.h"
#include "tools/tool_state.h"

namespace velmora {

namespace {

DrawingPoint DrawingAt(ScreenPoint at) { return ScreenToDrawing(CurrentView(), at.x, at.y); }

double PickHalfWidth() { return kPickHalfWidthPixels / CurrentView().zoom; }

void Repaint(MouseResponse* response, bool erase) {
    response->repaint = true;
    response->erase = erase;
}

// Both buttons went down and the second of them came up: a click centres, a drag zooms.
bool FinishTwoButtonGesture(ScreenPoint at, MouseResponse* response) {
    if (!g_preview.left_pressed || !g_preview.right_pressed) return false;
    g_preview.left_pressed = false;
    g_preview.right_pressed = false;
    g_preview.mouse = at;
    const bool click = at.x == g_preview.press.x && at.y == g_preview.press.y;
    g_preview.gesture = click ? kGestureTwoButtonClick : kGestureTwoButtonDrag;
    Repaint(response, true);
    return true;
}

void OnMove(const MouseEvent& event, MouseResponse* response) {
    g_preview.mouse = event.at;
    if (event.left_held && event.right_held) {
        if (g_preview.gesture != kGestureTwoButtonDrag) g_preview.band = kNoBand;
        g_preview.gesture = kGestureTwoButtonDrag;
        DrawBoxStep(&response->band);
    } else if (event.left_held) {
        if (!LayerToolOpen()) return;
        if (g_preview.gesture != kGestureSelectionBox) g_preview.band = kNoBand;
        g_preview.gesture = kGestureSelectionBox;
        if (DrawBoxStep(&response->band)) response->cursor = MouseCursor::Area;
    } else if (event.right_held) {
        if (!LayerToolOpen()) return;
        const int dx = event.at.x - g_preview.press.x;
        const int dy = event.at.y - g_preview.press.y;
        if (dx > kDragThresholdPixels && dy > kDragThresholdPixels) {
            response->cursor = dx > dy ? MouseCursor::Undo : MouseCursor::Redo;
        }
    } else if (FirstScalePointHeld()) {
        RubberLineStep(&response->band);
    }
}

void OnLeftUp(const MouseEvent& event, MouseResponse* response) {
    if (event.right_held) return;
    if (FinishTwoButtonGesture(event.at, response)) return;
    g_preview.left_pressed = false;
    if (!LayerToolOpen()) return;
    const ScreenPoint press = g_preview.press;
    if (event.at.x > press.x + kDragThresholdPixels || event.at.y > press.y + kDragThresholdPixels) {
        g_preview.gesture = kGestureSelectionBox;
        const DrawingPoint from = DrawingAt(press);
        const DrawingPoint to = DrawingAt(event.at);
        SelectByRectangle(from.x, from.y, to.x, to.y);
        EraseBoxStep(&response->band);
        response->update_history_buttons = true;
        g_preview.overlay_only = true;
        Repaint(response, false);
        return;
    }
    const DrawingPoint at = DrawingAt(event.at);
    const int line = PickLine(at.x, at.y, PickHalfWidth());
    if (line >= 0) {
        response->picked_line = line;
        g_preview.overlay_only = true;
        Repaint(response, false);
    }
}

void OnRightUp(WindowHandle window, const MouseEvent& event, MouseResponse* response) {
    if (event.left_held) return;
    if (FinishTwoButtonGesture(event.at, response)) return;
    // Cleared here too, or the next plain left click would count as a two-button gesture.
    g_preview.right_pressed = false;
    if (LayerToolOpen()) {
        const int dx = event.at.x - g_preview.press.x;
        const int dy = event.at.y - g_preview.press.y;
        if (dx > kDragThresholdPixels && dy > kDragThresholdPixels) {
            if (dy < dx) {
                g_preview.overlay_only = Undo();
            } else {
                Redo();
                g_preview.overlay_only = true;
            }
            response->update_history_buttons = true;
            Repaint(response, false);
            return;
        }
        const DrawingPoint at = DrawingAt(event.at);
        const int line = PickConnectedGroup(at.x, at.y, PickHalfWidth());
        if (line >= 0) {
            response->picked_line = line;
            g_preview.overlay_only = true;
            Repaint(response, false);
        }
        return;
    }
    if (g_preview.gesture != kGestureRightPress) return;
    const DrawingPoint at = DrawingAt(event.at);
    const bool picked = PickScalePoint(window, at.x, at.y, PickHalfWidth());
    // Each pick starts the rubber line afresh. Only a click on nothing centres the view while a
    // point is held: a taken point consumes the press, or any later paint would centre on it.
    g_preview.band = kNoBand;
    if (picked) g_preview.gesture = kGestureNone;
    if (!picked) {
        Repaint(response, true);
    } else if ((g_tool_state.scale_pick == ScalePickState::kBothPointsHeld)) {
        response->run_scale_dialog = true;
        Repaint(response, true);
    }
}

}  // namespace

MouseResponse HandleMouse(WindowHandle window, const MouseEvent& event) {
    MouseResponse response;
    switch (event.message) {
        case MouseMessage::LeftDown:
            if (FirstScalePointHeld()) break;
            g_preview.press = g_preview.mouse = event.at;
            g_preview.gesture = kGestureLeftPress;
            g_preview.left_pressed = true;
            break;
        case MouseMessage::RightDown:
            g_preview.press = g_preview.mouse = event.at;
            g_preview.gesture = kGestureRightPress;
            g_preview.right_pressed = true;
            g_preview.fit_pending = false;
            break;
        case MouseMessage::Move:
            OnMove(event, &response);
            break;
        case MouseMessage::LeftUp:
            OnLeftUp(event, &response);
            break;
        case MouseMessage::RightUp:
            OnRightUp(window, event, &response);
            break;
        case MouseMessage::Wheel:
            g_preview.mouse = event.at;
            g_preview.fit_pending = false;
            g_preview.gesture = kGestureWheel;
            if (event.wheel_delta != 0) {
                g_preview.zoom_step = WheelZoomStep(event.wheel_delta, g_settings.wheel_direction);
                Repaint(&response, true);
            }
            break;
    }
    return response;
}

}  // namespace velmora
