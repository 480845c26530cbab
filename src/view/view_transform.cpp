#include "view/view_transform.h"

#include "store/document_store.h"

namespace velmora {

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
    const SessionState& s = g_store.session;
    return ViewTransform{s.zoom, s.origin_x, s.origin_y};
}

void SetCurrentView(const ViewTransform& view) {
    SessionState& s = g_store.session;
    s.zoom = view.zoom;
    s.origin_x = view.origin_x;
    s.origin_y = view.origin_y;
}

}  // namespace velmora
