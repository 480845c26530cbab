#include "view/view_gestures.h"

#include <cmath>

#include "store/capacities.h"
#include "store/document_store.h"
#include "view/preview_state.h"
#include "tools/tool_state.h"

namespace velmora {

double WheelZoomStep(int wheel_delta, int direction) {
    if (wheel_delta > 0) return 1.0 - kWheelZoomStep * direction;
    if (wheel_delta < 0) return 1.0 + kWheelZoomStep * direction;
    return 1.0;
}

ViewTransform WheelZoom(const ViewTransform& view, double step, ScreenPoint mouse) {
    const double z0 = view.zoom;
    const double z = z0 * step;
    const double z1 = (z > kMinZoom && z < kMaxZoom) ? z : z0;
    ViewTransform out = view;
    out.zoom = z1;
    out.origin_x = mouse.x - (mouse.x - view.origin_x) / z0 * z1;
    out.origin_y = mouse.y - (mouse.y - view.origin_y) / z0 * z1;
    return out;
}

ViewTransform CentreOn(const ViewTransform& view, ScreenPoint mouse, ClientSize client) {
    ViewTransform out = view;
    out.origin_x = (client.width / 2) - mouse.x + view.origin_x;
    out.origin_y = ((client.height - kToolbarPixels) / 2) + kToolbarPixels / 2 - mouse.y + view.origin_y;
    return out;
}

bool BoxZoom(const ViewTransform& view, ScreenPoint press, ScreenPoint mouse, ClientSize client, ViewTransform* out) {
    const double box_width = mouse.x - press.x + 1;
    const double box_height = mouse.y - press.y + 1;
    const double room_height = client.height - (kToolbarPixels - 1);
    const double room_width = client.width + 1;
    const double factor = box_height / box_width > room_height / room_width ? room_height / box_height
                                                                            : room_width / box_width;
    double z1 = view.zoom * factor;
    if (z1 > kMaxZoom) z1 = kMaxZoom;
    if (!(z1 > 0.0) || !std::isfinite(z1)) return false;
    const int centre_x = (mouse.x + press.x) / 2;
    const int centre_y = (mouse.y + press.y) / 2;
    out->origin_y = client.height * 0.5 - (centre_y - view.origin_y) / view.zoom * z1;
    out->origin_x = client.width * 0.5 - (centre_x - view.origin_x) / view.zoom * z1;
    out->zoom = z1;
    return true;
}

bool FitZoom(const double media_box[4], ClientSize client, double* zoom) {
    const double width = media_box[2] - media_box[0];
    const double height = media_box[3] - media_box[1];
    if (!(width > 0.0) || !(height > 0.0) || !std::isfinite(width) || !std::isfinite(height)) return false;
    if (client.width <= 0 || client.height <= 0) return false;
    const double by_width = client.width / width;
    const double by_height = client.height / height;
    *zoom = by_width < by_height ? by_width : by_height;
    return *zoom > 0.0;
}

namespace {

void SavePrevious(const ViewTransform& view) {
    g_preview.previous = view;
    g_preview.has_previous = true;
}

void ApplyTwoButtonDrag(ViewTransform* view, ClientSize client) {
    const ScreenPoint p = g_preview.press;
    const ScreenPoint m = g_preview.mouse;
    if (m.x >= p.x && m.y >= p.y) {
        SavePrevious(*view);
        BoxZoom(*view, p, m, client, view);
    }
    if (p.x >= m.x && p.y <= m.y && g_preview.has_previous) *view = g_preview.previous;
    if (m.x >= p.x && p.y >= m.y) {
        SavePrevious(*view);
        *view = ViewTransform{1.0, 0.0, 0.0};
        g_preview.zoom_step = 1.0;
        g_preview.fit_pending = true;
    }
}

}  // namespace

void ApplyPendingGesture(ClientSize client) {
    ViewTransform view = CurrentView();
    const int32_t gesture = g_preview.gesture;
    if (gesture == kGestureWheel) {
        view = WheelZoom(view, g_preview.zoom_step, g_preview.mouse);
        g_preview.zoom_step = 1.0;
    } else if (gesture == kGestureTwoButtonClick ||
               (gesture == kGestureRightPress && FirstScalePointHeld())) {
        SavePrevious(view);
        view = CentreOn(view, g_preview.mouse, client);
    } else if (gesture == kGestureTwoButtonDrag) {
        ApplyTwoButtonDrag(&view, client);
    }

    if (g_preview.fit_pending) {
        const int page = g_store.current_page;
        static const double kNoBox[4] = {0, 0, 0, 0};
        const double* box = (page >= 1 && page < kPageTableSize) ? g_store.pages[page].media_box : kNoBox;
        double zoom = 0.0;
        if (FitZoom(box, client, &zoom)) {
            view.zoom = zoom;
            g_preview.fit_pending = false;
        } else if (client.width > 0 && client.height > 0) {
            // A page without width or height cannot be fitted: the zoom stays, the fit is done.
            g_preview.fit_pending = false;
        }
    }
    SetCurrentView(view);
}

}  // namespace velmora
