// The mouse in the preview: one function takes a button, move or wheel event and the program's
// state, updates the gesture state, calls the tools a gesture belongs to, and says what the
// window must do (rubber band figures, cursor, dialogs, repaint).
#pragma once

#include "platform/platform.h"
#include "view/rubber_band.h"
#include "view/view_transform.h"

namespace velmora {

// Picks snap within this many pixels; a drag starts beyond the other.
inline constexpr int kPickHalfWidthPixels = 10;
inline constexpr int kDragThresholdPixels = 5;

enum class MouseMessage { LeftDown, LeftUp, RightDown, RightUp, Move, Wheel };

struct MouseEvent {
    MouseMessage message;
    ScreenPoint at;      // client coordinates (the wheel's cursor position converted already)
    bool left_held;      // the buttons held, as the message reports them
    bool right_held;
    int wheel_delta;
};

enum class MouseCursor { Keep, Area, Undo, Redo };

struct MouseResponse {
    BandFigures band;                     // XOR figures to draw now, in order
    MouseCursor cursor = MouseCursor::Keep;
    bool run_scale_dialog = false;        // the distance dialog, then EndScalePick
    bool update_history_buttons = false;  // the layer tool's UNDO / REDO buttons
    int picked_line = -1;                 // its length goes into the layer tool's length field
    bool repaint = false;
    bool erase = false;
};

MouseResponse HandleMouse(WindowHandle window, const MouseEvent& event);

}  // namespace velmora
