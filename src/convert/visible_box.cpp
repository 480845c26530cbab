#include "convert/visible_box.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "store/arc_records.h"
#include "store/capacities.h"
#include "store/document_store.h"
#include "store/solid_records.h"

namespace velmora {

bool SegmentMeetsFrame(double x1, double y1, double x2, double y2, double width, double height) {
    // Liang-Barsky: the part of the segment's parameter range [0, 1] inside all four edges.
    const double dx = x2 - x1, dy = y2 - y1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1, width - x1, y1 + height, -y1};
    double low = 0.0, high = 1.0;
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0.0) {
            if (q[k] < 0.0) return false;
            continue;
        }
        const double t = q[k] / p[k];
        if (p[k] < 0.0) {
            low = std::max(low, t);
        } else {
            high = std::min(high, t);
        }
        if (low > high) return false;
    }
    return true;
}

namespace {

bool BoxMeetsFrame(double x0, double y0, double x1, double y1, double width, double height) {
    return x1 >= 0.0 && x0 <= width && y1 >= -height && y0 <= 0.0;
}

bool ArcMeetsFrame(const ArcRecord& arc, double width, double height) {
    // The circle around the longer semi-axis holds the whole ellipse.
    const double reach = std::fabs(arc.radius) * std::max(1.0, std::fabs(arc.flatness));
    return BoxMeetsFrame(arc.centre_x - reach, arc.centre_y - reach, arc.centre_x + reach, arc.centre_y + reach,
                         width, height);
}

bool SolidMeetsFrame(const SolidRecord& solid, double width, double height) {
    const double x0 = *std::min_element(solid.x, solid.x + 4), x1 = *std::max_element(solid.x, solid.x + 4);
    const double y0 = *std::min_element(solid.y, solid.y + 4), y1 = *std::max_element(solid.y, solid.y + 4);
    return BoxMeetsFrame(x0, y0, x1, y1, width, height);
}

}  // namespace

void DropHiddenContent(int page) {
    if (page < 1 || page >= kPageTableSize || g_store.pages[page].crop_hides != 1) return;
    const double* box = g_store.pages[page].media_box;
    const double width = box[2] - box[0];
    const double height = box[3] - box[1];
    ConversionState& c = g_store.conversion;

    // Solids remember how many lines were painted before them; that count follows the kept lines.
    const int32_t line_count = std::clamp(c.line_count, 0, kMaxLinesPerPage);
    std::vector<int32_t> kept_before(static_cast<size_t>(line_count) + 1);
    int32_t kept = 0;
    for (int32_t i = 0; i < line_count; ++i) {
        kept_before[i] = kept;
        const LineRecord& line = g_store.lines[i];
        if (SegmentMeetsFrame(line.x1, line.y1, line.x2, line.y2, width, height)) g_store.lines[kept++] = line;
    }
    kept_before[line_count] = kept;
    c.line_count = kept;

    const int32_t text_count = std::clamp(c.text_count, 0, kMaxTextsPerPage);
    kept = 0;
    for (int32_t i = 0; i < text_count; ++i) {
        const TextRecord& text = g_store.texts[i];
        if (SegmentMeetsFrame(text.x1, text.y1, text.x2, text.y2, width, height)) g_store.texts[kept++] = text;
    }
    c.text_count = kept;

    const int32_t arc_count = ReadableArcCount();
    kept = 0;
    for (int32_t i = 0; i < arc_count; ++i) {
        if (ArcMeetsFrame(g_arcs.records[i], width, height)) g_arcs.records[kept++] = g_arcs.records[i];
    }
    g_arcs.count = kept;
    g_arcs.page_arcs[page] = kept;

    const int32_t solid_count = ReadableSolidCount();
    kept = 0;
    for (int32_t i = 0; i < solid_count; ++i) {
        SolidRecord solid = g_solids.records[i];
        if (!SolidMeetsFrame(solid, width, height)) continue;
        solid.paint_position = kept_before[std::clamp(solid.paint_position, 0, line_count)];
        g_solids.records[kept++] = solid;
    }
    g_solids.count = kept;
    g_solids.page_solids[page] = kept;
}

}  // namespace velmora
