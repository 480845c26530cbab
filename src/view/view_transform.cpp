#include "view/view_transform.h"

namespace velmora {

ViewTransform g_current_view = {1.0, 0.0, 0.0};

double ScreenX(const ViewTransform& view, double x) { return x * view.zoom + view.origin_x; }

double ScreenY(const ViewTransform& view, double y) { return view.origin_y - y * view.zoom; }

int WholePixel(double value) {
    if (!(value == value)) return 0;
    if (value > kScreenCoordinateLimit) return static_cast<int>(kScreenCoordinateLimit);
    if (value < -kScreenCoordinateLimit) return -static_cast<int>(kScreenCoordinateLimit);
    return static_cast<int>(value);
}

ScreenPoint MapToScreen(const ViewTransform& view, double x, double y) {
    return ScreenPoint{WholePixel(ScreenX(view, x)), WholePixel(ScreenY(view, y))};
}

DrawingPoint ScreenToDrawing(const ViewTransform& view, int x, int y) {
    return DrawingPoint{(x - view.origin_x) / view.zoom, -(y - view.origin_y) / view.zoom};
}

ViewTransform CurrentView() {
    return g_current_view;
}

void SetCurrentView(const ViewTransform& view) {
    g_current_view = view;
}

}  // namespace velmora
