// The gesture steps of the preview's paint: wheel zoom about the mouse point, centring, box
// zoom, back and fit. Plain functions on a view, and the paint's step that applies the pending
// gesture to the program's view.
#pragma once

#include "view/view_transform.h"

namespace velmora {

struct ClientSize {
    int width;
    int height;
};

// A wheel step is applied only when the new zoom lies strictly between these.
inline constexpr double kMinZoom = 0.1;
inline constexpr double kMaxZoom = 50.0;
inline constexpr double kWheelZoomStep = 0.2;
// The toolbar covers the client area's top; centring and box zoom leave room for it.
inline constexpr int kToolbarPixels = 28;

// The zoom step of one wheel notch: forward (delta > 0) is 1 - 0.2 w, backward 1 + 0.2 w, with
// the WHEEL setting's direction w (-1 by default: forward zooms in). 1 for a delta of 0.
double WheelZoomStep(int wheel_delta, int direction);

// Zoom by `step` keeping the point under the mouse in place; outside the limits the zoom
// stays and so does the view.
ViewTransform WheelZoom(const ViewTransform& view, double step, ScreenPoint mouse);

// Moves the clicked point to the middle of the area below the toolbar.
ViewTransform CentreOn(const ViewTransform& view, ScreenPoint mouse, ClientSize client);

// Zooms the box from `press` to `mouse` (mouse right of and below the press point, or level)
// into the window, at most to the zoom limit. False when the window is too small to zoom into.
bool BoxZoom(const ViewTransform& view, ScreenPoint press, ScreenPoint mouse, ClientSize client, ViewTransform* out);

// The zoom that fits the MediaBox into the client area. False for a MediaBox without width or
// height and for an empty client area.
bool FitZoom(const double media_box[4], ClientSize client, double* zoom);

// Steps 3 and 4 of the paint: the pending gesture of g_preview applied to the current view,
// then the pending fit.
void ApplyPendingGesture(ClientSize client);

}  // namespace velmora
