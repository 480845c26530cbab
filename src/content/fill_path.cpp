#include "content/fill_path.h"

#include <cmath>

#include "content/line_emitter.h"
#include "pdf/error_list.h"
#include "settings/settings.h"
#include "store/document_store.h"
#include "store/solid_records.h"

namespace velmora {

FillPath g_fill_path;

namespace {

void FinishSubpath() {
    FillPath& f = g_fill_path;
    if (f.count - f.open_start >= 3) {
        if (f.subpaths < kFillPathSubpathCapacity) {
            f.subpath_ends[f.subpaths++] = f.count;
        } else {
            f.cut = true;
            f.count = f.open_start;
        }
    } else {
        f.count = f.open_start;  // fewer than three points enclose nothing
    }
    f.open_start = f.count;
    f.closed = false;
}

void Append(Point p) {
    FillPath& f = g_fill_path;
    if (f.count >= kFillPathPointCapacity) {
        f.cut = true;
        return;
    }
    f.points[f.count++] = p;
}

struct SolidSink {
    int page;
    int32_t group;
    uint32_t colour;
    int32_t paint_position;
};

void PutSolid(const FillQuad& quad, void* context) {
    const auto* sink = static_cast<const SolidSink*>(context);
    if (g_solids.count >= kSolidCapacity) return;
    const PageRecord& page = g_store.pages[sink->page];
    Point corners[4];
    for (int i = 0; i < 4; ++i) {
        corners[i] = ToPageFrame(page, quad.corner[i]);
        // Crossings of edges at absurd coordinates can overflow: such a piece has no place.
        if (!std::isfinite(corners[i].x) || !std::isfinite(corners[i].y)) return;
    }
    SolidRecord& s = g_solids.records[g_solids.count++];
    s = SolidRecord{};
    s.group_number = sink->group;
    s.pen_style = 1;
    s.pen_colour = kSolidPenColour;
    for (int i = 0; i < 4; ++i) {
        s.x[i] = corners[i].x;
        s.y[i] = corners[i].y;
    }
    s.page_number = sink->page;
    s.colour = sink->colour;
    s.paint_position = sink->paint_position;
}

}  // namespace

bool FillsAsSolids() { return g_settings.solid_fills != 0; }

void ClearFillPath() {
    FillPath& f = g_fill_path;
    f.count = 0;
    f.subpaths = 0;
    f.open_start = 0;
    f.closed = false;
    f.cut = false;
}

void FillPathMove(Point device) {
    FinishSubpath();
    Append(device);
}

void FillPathLine(Point device) {
    FillPath& f = g_fill_path;
    if (f.closed) {
        // After h the next segment starts at the closed subpath's first point.
        const int32_t start = f.open_start;
        const Point first = start < f.count ? f.points[start] : device;
        FinishSubpath();
        Append(first);
    } else if (f.count == f.open_start) {
        return;  // no current point yet: nothing to draw from
    }
    Append(device);
}

void FillPathClose() {
    if (g_fill_path.count > g_fill_path.open_start) g_fill_path.closed = true;
}

void EmitFillSolids(int page, FillRule rule, int32_t paint_position) {
    FinishSubpath();
    FillPath& f = g_fill_path;
    if (page >= 1 && page < kPageTableSize && f.subpaths > 0) {
        SaturatingIncrement(g_store.conversion.figure_counter);
        SolidSink sink{page, g_store.conversion.figure_counter, g_graphics.colours.fill.colour, paint_position};
        const int32_t room = kSolidCapacity - g_solids.count;
        const DecompositionResult r = DecomposeFill(f.points, f.subpath_ends, f.subpaths, rule, PutSolid, &sink, room);
        if ((r.cut || f.cut) && !g_solids.overflow_reported) {
            g_solids.overflow_reported = true;
            RecordError(kWarningSolidTableFull);
        }
    }
    ClearFillPath();
}

}  // namespace velmora
