// Builders of one converted page in the store: its MediaBox, line records and text records, as
// the conversion would leave them (page 1, solid pen 2 lines, texts of font 1).
#pragma once

#include <cmath>
#include <cstring>
#include <string>

#include "store/arc_records.h"
#include "store/document_store.h"

namespace velmora::test_support {

inline void SetMediaBox(double x0, double y0, double x1, double y1, int page = 1) {
    double* box = g_store.pages[page].media_box;
    box[0] = x0;
    box[1] = y0;
    box[2] = x1;
    box[3] = y1;
}

inline LineRecord& AddLine(double x1, double y1, double x2, double y2) {
    LineRecord& line = g_store.lines[g_store.conversion.line_count++];
    line = LineRecord{};
    line.pen_style = 1;
    line.pen_colour = 2;
    line.x1 = x1;
    line.y1 = y1;
    line.x2 = x2;
    line.y2 = y2;
    line.page_number = 1;
    return line;
}

// An arc of the page (a full circle when `sweep` is a whole turn), pen 2, solid, on page 1.
inline ArcRecord& AddArc(double cx, double cy, double radius, double start, double sweep, double tilt = 0.0,
                         double flatness = 1.0) {
    ArcRecord& arc = g_arcs.records[g_arcs.count++];
    arc = ArcRecord{};
    arc.pen_style = 1;
    arc.pen_colour = 2;
    arc.centre_x = cx;
    arc.centre_y = cy;
    arc.radius = radius;
    arc.start_angle = start;
    arc.sweep = sweep;
    arc.tilt = tilt;
    arc.flatness = flatness;
    arc.full_circle = sweep >= 2.0 * 3.14159265358979323846 ? 1 : 0;
    arc.page_number = 1;
    ArcStartPoint(arc, &arc.end_x[0], &arc.end_y[0]);
    ArcEndPoint(arc, &arc.end_x[1], &arc.end_y[1]);
    return arc;
}

// A text whose base line runs `size / 2` per byte along `angle` degrees from (x, y).
inline TextRecord& AddText(const std::string& bytes, double x, double y, double size, double angle = 0.0) {
    const int32_t offset = g_store.conversion.pool_used;
    std::memcpy(g_store.text_pool + offset, bytes.c_str(), bytes.size() + 1);
    g_store.conversion.pool_used += static_cast<int32_t>(bytes.size()) + 1;
    TextRecord& text = g_store.texts[g_store.conversion.text_count++];
    text = TextRecord{};
    text.pen_style = 1;
    text.pen_colour = 1;
    text.layer_group = 8;
    const double length = size * static_cast<double>(bytes.size()) * 0.5;
    const double radians = angle * 3.14159265358979323846 / 180.0;
    text.x1 = x;
    text.y1 = y;
    text.x2 = x + length * std::cos(radians);
    text.y2 = y + length * std::sin(radians);
    text.text_kind = 1;
    text.size_x = size;
    text.size_y = size;
    text.angle = angle;
    text.font_number = 1;
    text.string_offset = offset;
    text.string_length = static_cast<int32_t>(bytes.size());
    text.page_number = 1;
    return text;
}

// A vertical text from its top-left corner (x, top) down, as the merging makes one.
inline TextRecord& AddVerticalText(const std::string& bytes, double x, double top, double size, double spacing,
                                   int characters) {
    TextRecord& text = AddText(bytes, x, top, size, -90.0);
    text.flags = kTextFlagVertical;
    text.spacing = spacing;
    text.x2 = x;
    text.y2 = top - characters * size - (characters - 1) * spacing;
    return text;
}

}  // namespace velmora::test_support
