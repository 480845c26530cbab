#include "content/line_emitter.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "content/graphics_state.h"
#include "content/marked_content.h"
#include "pdf/error_list.h"
#include "store/capacities.h"
#include "store/document_store.h"

namespace velmora {

int QuarterTurns(double rotation) {
    if (!std::isfinite(rotation)) return 0;
    double turned = std::fmod(rotation, 360.0);
    if (turned < 0.0) turned += 360.0;
    if (turned == 90.0) return 1;
    if (turned == 180.0) return 2;
    if (turned == 270.0) return 3;
    return 0;
}

// The page's top edge goes to y = 0 and the page is turned as a viewer shows it. The box of a
// page turned by a quarter or three quarters is stored with x1 and y1 swapped. The visible box's
// lower-left corner is the origin before the turn.
Point ToPageFrame(const PageRecord& record, Point p) {
    // A corner at 0 (or -0) leaves the point bit for bit as it was.
    if (record.frame_origin[0] != 0.0) p.x -= record.frame_origin[0];
    if (record.frame_origin[1] != 0.0) p.y -= record.frame_origin[1];
    switch (QuarterTurns(record.rotation)) {
        case 1: return Point{p.y, -p.x};
        case 2: return Point{record.media_box[2] - p.x, -p.y};
        case 3: return Point{record.media_box[2] - p.y, p.x - record.media_box[3]};
        default: return Point{p.x, p.y - record.media_box[3]};
    }
}

namespace {

// Line width × 10 truncated toward zero, held within int32 for absurd widths.
int32_t WidthClass(double width) {
    const double scaled = width * 10.0;
    if (!(scaled < 2147483647.0)) return std::numeric_limits<int32_t>::max();
    if (!(scaled > -2147483648.0)) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(scaled);
}

bool IsFinite(Point p) { return std::isfinite(p.x) && std::isfinite(p.y); }

}  // namespace

void SaturatingIncrement(int32_t& counter) {
    if (counter < std::numeric_limits<int32_t>::max()) ++counter;
}

bool EmitLine(double x1, double y1, double x2, double y2, int page, bool grouped) {
    ConversionState& c = g_store.conversion;
    if (c.line_count >= kMaxLinesPerPage) {
        if (g_errors.count == 0) RecordError(kWarningLineTableFull);
        return false;
    }
    if (page < 1 || page >= kPageTableSize || c.line_count < 0) return false;
    PageRecord& record = g_store.pages[page];
    const Point start = ToPageFrame(record, Point{x1, y1});
    const Point end = ToPageFrame(record, Point{x2, y2});
    // Matrices built from huge operands can overflow; such a segment has no place on the page.
    if (!IsFinite(start) || !IsFinite(end)) return false;

    SaturatingIncrement(record.line_count);
    SaturatingIncrement(c.total_segments);

    LineRecord& line = g_store.lines[c.line_count];
    line.group_number = grouped ? c.figure_counter : 0;
    line.pen_style = static_cast<uint8_t>(c.pen_style);
    line.pen_colour = kNewLinePen;
    line.pen_width = 0;
    line.layer = 0;
    line.layer_group = 0;
    line.flags = 0;
    line.x1 = start.x;
    line.y1 = start.y;
    line.x2 = end.x;
    line.y2 = end.y;
    line.length = 0.0;
    line.width_class = WidthClass(c.line_width);
    line.reserved = 0;
    line.page_number = page;
    line.pdf_layer = CurrentPdfLayer();
    ++c.line_count;
    return true;
}

void RewindLines(int32_t count) {
    ConversionState& c = g_store.conversion;
    if (count <= 0) return;
    c.line_count = count < c.line_count ? c.line_count - count : 0;
}

}  // namespace velmora
