// Building line tables for the dash merging tests: single strokes and rows of dashes.
#pragma once

#include <cmath>
#include <cstdint>
#include <numbers>

#include "store/document_store.h"

namespace velmora {

inline LineRecord& AddLine(double x1, double y1, double x2, double y2, int32_t width_class = 3,
                           uint8_t pen_style = 1) {
    LineRecord& line = g_store.lines[g_store.conversion.line_count++];
    line = LineRecord{};
    line.pen_style = pen_style;
    line.pen_colour = 2;
    line.x1 = x1;
    line.y1 = y1;
    line.x2 = x2;
    line.y2 = y2;
    line.width_class = width_class;
    line.page_number = 1;
    return line;
}

// Dashes from (x, y) along the direction of `degrees`, lengths[k] long, `gap` apart.
inline int AddDashRow(double x, double y, double degrees, const double* lengths, int count,
                      double gap, int32_t width_class = 3) {
    const double radians = degrees * std::numbers::pi / 180;
    const double ux = std::cos(radians), uy = std::sin(radians);
    const int first = g_store.conversion.line_count;
    for (int k = 0; k < count; ++k) {
        AddLine(x, y, x + ux * lengths[k], y + uy * lengths[k], width_class);
        x += ux * (lengths[k] + gap);
        y += uy * (lengths[k] + gap);
    }
    return first;
}

inline int AddEqualDashes(double x, double y, int count, double length = 6, double gap = 2,
                          int32_t width_class = 3) {
    double lengths[64];
    for (int k = 0; k < count && k < 64; ++k) lengths[k] = length;
    return AddDashRow(x, y, 0, lengths, count, gap, width_class);
}

}  // namespace velmora
