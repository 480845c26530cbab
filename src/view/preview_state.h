// What the mouse leaves for the next paint of the preview: the pending gesture, the zoom step,
// the points of the last press and move, the rubber band drawn last, and the view before the
// last centring, box zoom or fit.
#pragma once

#include <cstdint>

#include "view/view_transform.h"

namespace velmora {

enum ViewGesture : int32_t {
    kGestureNone = 0,
    kGestureWheel = 1,
    kGestureLeftPress = 2,
    kGestureRightPress = 3,
    kGestureTwoButtonClick = 4,
    kGestureTwoButtonDrag = 5,
    kGestureSelectionBox = 6,
};

inline constexpr ScreenPoint kNoBand = {-1, -1};

struct PreviewState {
    int32_t gesture;
    double zoom_step;          // factor the next paint applies for a wheel turn
    ViewTransform previous;    // one level of "back"
    bool has_previous;
    ScreenPoint mouse;         // last client position seen
    ScreenPoint press;         // client position of the last press
    bool left_pressed;
    bool right_pressed;
    ScreenPoint band;          // corner of the rubber band drawn last; kNoBand = none
    bool overlay_only;         // repaint only the tool's highlights over the picture on screen
    bool fit_pending;          // the next paint fits the whole page into the window
};

extern PreviewState g_preview;

// The start of a run: nothing pending, no band, no previous view.
void ResetPreviewState();
// A newly opened file: zoom 1 at the origin, and the next paint fits the page.
void ResetViewForFile();
// What the window keeps of the file before it: the view's and the tools' state. The window calls
// it before every open, as the driver resets the document.
void ResetViewAndToolsForFile();

}  // namespace velmora
