// The measure a page's viewports carry (/VP with /Measure /RL): how a length on paper converts to
// the real length of the drawing, as CAD programs export it with the sheet's scale.
#pragma once

#include <cstdint>

namespace velmora {

inline constexpr int kMeasureUnitBytes = 24;   // Shift-JIS bytes of /U with the terminator
inline constexpr int kMeasureRatioBytes = 64;  // of /R
inline constexpr int kViewportsRead = 64;      // viewports of one page looked at, at most

struct ViewportMeasure {
    double bbox[4];                   // x0, y0, x1, y1 in default user space, ordered
    double factor;                    // /C of the first /X number format: units per point
    char unit[kMeasureUnitBytes];     // /U with the blanks around it removed; empty: no unit
    char ratio_text[kMeasureRatioBytes];
};

// The page's largest viewport with a rectilinear measure. False when it has none.
bool ReadViewportMeasure(int32_t page_object, ViewportMeasure* measure);

// Millimetres in one of the unit names a measure may give (mm, cm, m, in, ft, their Japanese
// forms); 0 for an empty or unknown unit.
double MillimetresPerMeasureUnit(const char* unit);

}  // namespace velmora
