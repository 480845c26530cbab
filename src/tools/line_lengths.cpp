#include "tools/line_lengths.h"

#include <cmath>

#include "store/document_store.h"

namespace velmora {

double PageMillimetresPerUnit(int page) {
    double ratio = 1.0;
    if (page >= 1 && page < kPageTableSize) {
        const double page_ratio = g_store.pages[page].scale_ratio;
        if (std::isfinite(page_ratio) && page_ratio > 0) ratio = page_ratio;
    }
    return ratio * kMmPerPoint;
}

void ComputeLineLengths(LineRecord* lines, int32_t count, double mm_per_unit) {
    for (int32_t i = 0; i < count; ++i) lines[i].length = LineLength(lines[i], mm_per_unit);
}

}  // namespace velmora
