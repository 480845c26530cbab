#include "tools/scale_pick.h"

#include <cmath>

#include "store/document_store.h"
#include "tools/page_scale.h"
#include "tools/scale_snap.h"
#include "tools/tool_state.h"

namespace velmora {

ScalePick g_scale_pick;

namespace {

constexpr int32_t kPickedDenominator = 2;  // stands for "two points picked" until the dialog ends

ScalePickState& PickState() { return g_tool_state.scale_pick; }

// A page that has a scale asks before it is measured again. False when the user keeps it.
bool MayChangeScale(WindowHandle window, int page) {
    if (page < 1 || page >= kPageTableSize || g_store.pages[page].scale_denominator <= 1) return true;
    const MessageAnswer answer =
        ShowMessage(window, "頁の縮尺設定を変更します", "縮尺設定変更", MessageButtons::OkCancel);
    PickState() = ScalePickState::kIdle;
    if (answer != MessageAnswer::Ok) return false;
    // The ratio goes with the denominator: a save at 1/1 must not scale by the old measurement.
    SetPageScale(page, 1, 1.0);
    ScaleMarks marks = PageScaleMarks(page);
    marks.distance = 0.0;
    SetPageScaleMarks(page, marks);
    return true;
}

}  // namespace

bool PickScalePoint(WindowHandle window, double x, double y, double half_width) {
    const int page = g_store.current_page;
    if (!MayChangeScale(window, page)) return false;
    if (PickState() == ScalePickState::kBothPointsHeld) return true;
    double px = 0.0;
    double py = 0.0;
    if (!TakeScalePoint(SnapArea{x, y, half_width}, &px, &py)) return false;
    if (PickState() == ScalePickState::kIdle) {
        g_scale_pick.first_x = px;
        g_scale_pick.first_y = py;
        PickState() = ScalePickState::kFirstPointHeld;
        return true;
    }
    if (px == g_scale_pick.first_x && py == g_scale_pick.first_y) return false;
    g_scale_pick.second_x = px;
    g_scale_pick.second_y = py;
    PickState() = ScalePickState::kBothPointsHeld;
    const double dx = g_scale_pick.first_x - px;
    const double dy = g_scale_pick.first_y - py;
    g_scale_pick.paper_distance = std::sqrt(dx * dx + dy * dy) * kMmPerPoint;
    if (page >= 1 && page < kPageTableSize) {
        SetPageScale(page, kPickedDenominator, g_store.pages[page].scale_ratio);
        ScaleMarks marks = PageScaleMarks(page);
        marks.first_x = g_scale_pick.first_x;
        marks.first_y = g_scale_pick.first_y;
        marks.second_x = px;
        marks.second_y = py;
        SetPageScaleMarks(page, marks);
    }
    RequestRepaint(window, true);
    return true;
}

bool FirstScalePoint(double* x, double* y) {
    if (PickState() != ScalePickState::kFirstPointHeld) return false;
    *x = g_scale_pick.first_x;
    *y = g_scale_pick.first_y;
    return true;
}

void EndScalePick() { PickState() = ScalePickState::kIdle; }

}  // namespace velmora
