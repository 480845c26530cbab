// Every line's length in millimetres at its page's scale: the dash merging and the layer tool
// measure lines by it.
#pragma once

#include <cmath>
#include <cstdint>

#include "store/records.h"

namespace velmora {

// Millimetres per drawing unit on `page`: the page's scale ratio times kMmPerPoint. A ratio that
// is not a positive number (or a page outside the table) counts as 1/1.
double PageMillimetresPerUnit(int page);

// A line's extent times `mm_per_unit`, what its length field holds.
inline double LineLength(const LineRecord& line, double mm_per_unit) {
    const double dx = (line.x2 - line.x1) * mm_per_unit;
    const double dy = (line.y2 - line.y1) * mm_per_unit;
    return std::sqrt(dx * dx + dy * dy);
}

// The length field of lines 0..count-1.
void ComputeLineLengths(LineRecord* lines, int32_t count, double mm_per_unit);

}  // namespace velmora
