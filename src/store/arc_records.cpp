#include "store/arc_records.h"

#include <cmath>

namespace velmora {

ArcTable g_arcs;

void ArcPointAt(const ArcRecord& arc, double theta, double* x, double* y) {
    const double u = arc.radius * std::cos(theta);
    const double v = arc.radius * arc.flatness * std::sin(theta);
    const double c = std::cos(arc.tilt);
    const double s = std::sin(arc.tilt);
    *x = arc.centre_x + c * u - s * v;
    *y = arc.centre_y + s * u + c * v;
}

}  // namespace velmora
