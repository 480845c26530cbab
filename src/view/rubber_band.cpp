#include "view/rubber_band.h"

#include "store/document_store.h"
#include "tools/scale_pick.h"
#include "view/preview_state.h"
#include "tools/tool_state.h"

namespace velmora {

namespace {

void Add(BandFigures* out, BandShape shape, ScreenPoint from, ScreenPoint to) {
    if (out->count < 2) out->figures[out->count++] = BandFigure{shape, from, to};
}

bool HasBand() { return g_preview.band.x >= 0; }

}  // namespace

bool DrawBoxStep(BandFigures* out) {
    const ScreenPoint press = g_preview.press;
    const ScreenPoint mouse = g_preview.mouse;
    if (HasBand()) Add(out, BandShape::Rectangle, press, g_preview.band);
    if (mouse.x >= press.x && mouse.y >= press.y) {
        Add(out, BandShape::Rectangle, press, mouse);
        g_preview.band = mouse;
        return true;
    }
    g_preview.band = kNoBand;
    return false;
}

void RubberLineStep(BandFigures* out) {
    double x = 0.0;
    double y = 0.0;
    if (FirstScalePointHeld() && FirstScalePoint(&x, &y)) {
        g_preview.press = MapToScreen(CurrentView(), x, y);
    }
    const ScreenPoint start = g_preview.press;
    if (HasBand()) Add(out, BandShape::Line, start, g_preview.band);
    Add(out, BandShape::Line, start, g_preview.mouse);
    g_preview.band = g_preview.mouse;
}

void EraseBoxStep(BandFigures* out) {
    if (HasBand()) Add(out, BandShape::Rectangle, g_preview.press, g_preview.band);
    g_preview.band = kNoBand;
}

}  // namespace velmora
