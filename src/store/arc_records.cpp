#include "store/arc_records.h"

#include <cmath>

namespace velmora {

ArcTable g_arcs;

void ResetArcsForFile() {
    g_arcs.count = 0;
    for (int32_t& count : g_arcs.page_arcs) count = 0;
}

void NotePageArcs(int page) {
    if (page >= 1 && page < kPageTableSize) g_arcs.page_arcs[page] = ReadableArcCount();
}

void ArcPointAt(const ArcRecord& arc, double theta, double* x, double* y) {
    const double u = arc.radius * std::cos(theta);
    const double v = arc.radius * arc.flatness * std::sin(theta);
    const double c = std::cos(arc.tilt);
    const double s = std::sin(arc.tilt);
    *x = arc.centre_x + c * u - s * v;
    *y = arc.centre_y + s * u + c * v;
}

}  // namespace velmora
