// The preview's view: drawing points (page frame, y <= 0 below the page's top edge) to client
// pixels and back. The program's current view is the preview's own; opening a file resets it
// (ResetViewForFile in view/preview_state.h).
#pragma once

namespace velmora {

struct ViewTransform {
    double zoom;      // pixels per point
    double origin_x;  // client position of the drawing's origin
    double origin_y;
};

struct ScreenPoint {
    int x;
    int y;
};

struct DrawingPoint {
    double x;
    double y;
};

// Client pixels beyond this distance are clamped, so truncation never leaves the int range.
inline constexpr double kScreenCoordinateLimit = 1 << 30;

// x = X * zoom + origin x, y = origin y - Y * zoom, before truncation.
double ScreenX(const ViewTransform& view, double x);
double ScreenY(const ViewTransform& view, double y);

// Truncated toward zero to whole pixels (clamped to the limit above; NaN gives 0).
int WholePixel(double value);
ScreenPoint MapToScreen(const ViewTransform& view, double x, double y);

// The inverse: X = (x - origin x) / zoom, Y = -(y - origin y) / zoom.
DrawingPoint ScreenToDrawing(const ViewTransform& view, int x, int y);

// The view in force and its replacement.
extern ViewTransform g_current_view;
ViewTransform CurrentView();
void SetCurrentView(const ViewTransform& view);

}  // namespace velmora
