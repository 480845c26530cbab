// Scan-beam (trapezoidal) decomposition. The distinct vertex ys cut the plane into horizontal
// beams; inside a beam the edges that cross it are sorted by x, and the spans where the winding
// number is inside (nonzero, or odd) become trapezoids between two edges. Edges that cross inside
// a beam are found as an adjacent pair out of order at the beam's top or bottom; the beam is then
// cut at the crossing, so self-intersections need no special case. Holes are spans whose winding
// is outside, so they need none either.
//
// Cost: O(n log n) to sort the ys and edges, then O((b + k) · a log a) for b beams, k crossings
// and at most a edges active in a beam. Outlines of real fills have small a (a 10,000-point
// polygon of one loop has a = 2); a comb of many teeth has a ~ n, so the work is bounded by
// kDecompositionWorkLimit edge visits instead of growing quadratically.
#include "content/fill_decomposition.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace velmora {

namespace {

struct Edge {
    double x_top, y_top;  // smaller y
    double x_bottom, y_bottom;
    int winding;  // +1 when the subpath runs towards larger y, −1 otherwise
};

double XAt(const Edge& e, double y) {
    if (y <= e.y_top) return e.x_top;
    if (y >= e.y_bottom) return e.x_bottom;
    return e.x_top + (e.x_bottom - e.x_top) * (y - e.y_top) / (e.y_bottom - e.y_top);
}

bool IsFinite(Point p) { return std::isfinite(p.x) && std::isfinite(p.y); }

struct Active {
    int edge;
    double x0, xm, x1;  // at the beam's top, middle, bottom
};

}  // namespace

double QuadArea(const FillQuad& q) {
    double twice = 0.0;
    for (int i = 0; i < 4; ++i) {
        const Point& a = q.corner[i];
        const Point& b = q.corner[(i + 1) % 4];
        twice += a.x * b.y - b.x * a.y;
    }
    return twice;
}

DecompositionResult DecomposeFill(const Point* points, const int32_t* ends, int32_t subpath_count, FillRule rule,
                                  FillQuadSink sink, void* context, int32_t max_quads) {
    DecompositionResult result{0, false};
    std::vector<Edge> edges;
    std::vector<double> ys;
    int32_t begin = 0;
    for (int32_t s = 0; s < subpath_count; ++s) {
        const int32_t end = ends[s];
        for (int32_t i = begin; i < end; ++i) {
            const Point a = points[i];
            const Point b = points[i + 1 < end ? i + 1 : begin];
            if (!IsFinite(a) || !IsFinite(b) || a.y == b.y) continue;
            if (a.y < b.y) {
                edges.push_back(Edge{a.x, a.y, b.x, b.y, 1});
            } else {
                edges.push_back(Edge{b.x, b.y, a.x, a.y, -1});
            }
            ys.push_back(a.y);
            ys.push_back(b.y);
        }
        begin = end;
    }
    if (edges.empty()) return result;
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.y_top < b.y_top; });

    // Sizes below this are taken as equal: the coordinates' own rounding.
    double extent = 0.0;
    for (const Edge& e : edges) {
        extent = std::max({extent, std::fabs(e.x_top), std::fabs(e.x_bottom), std::fabs(e.y_top), std::fabs(e.y_bottom)});
    }
    const double tiny = std::max(extent, 1.0) * 1e-9;

    std::vector<int> active_edges;
    std::vector<Active> active;
    size_t next_edge = 0;
    int64_t work = 0;
    for (size_t b = 0; b + 1 < ys.size(); ++b) {
        const double beam_top = ys[b];
        const double beam_bottom = ys[b + 1];
        // Edges that end at the beam's top leave; those that begin there enter.
        size_t kept = 0;
        for (int e : active_edges) {
            if (edges[e].y_bottom > beam_top) active_edges[kept++] = e;
        }
        active_edges.resize(kept);
        while (next_edge < edges.size() && edges[next_edge].y_top <= beam_top) {
            if (edges[next_edge].y_bottom > beam_top) active_edges.push_back(static_cast<int>(next_edge));
            ++next_edge;
        }
        double y0 = beam_top;
        while (y0 < beam_bottom) {
            double y1 = beam_bottom;
            // Cut the beam at the first crossing of two edges until none lies inside it.
            for (;;) {
                work += static_cast<int64_t>(active_edges.size()) + 1;
                if (work > kDecompositionWorkLimit) {
                    result.cut = true;
                    return result;
                }
                const double ym = 0.5 * (y0 + y1);
                active.clear();
                for (int e : active_edges) active.push_back(Active{e, XAt(edges[e], y0), XAt(edges[e], ym), XAt(edges[e], y1)});
                std::sort(active.begin(), active.end(), [](const Active& a, const Active& c) { return a.xm < c.xm; });
                double first_crossing = y1;
                for (size_t i = 0; i + 1 < active.size(); ++i) {
                    const Active& l = active[i];
                    const Active& r = active[i + 1];
                    if (l.x0 <= r.x0 + tiny && l.x1 <= r.x1 + tiny) continue;
                    // The difference r − l runs linearly in y between y0 and y1: where it is zero.
                    const double d0 = r.x0 - l.x0;
                    const double d1 = r.x1 - l.x1;
                    if (d0 == d1) continue;
                    const double yc = y0 + (y1 - y0) * d0 / (d0 - d1);
                    if (yc > y0 + tiny && yc < first_crossing) first_crossing = yc;
                }
                if (first_crossing >= y1) break;
                y1 = first_crossing;
            }
            int winding = 0;
            bool inside = false;
            const Active* left = nullptr;
            for (const Active& a : active) {
                winding += edges[a.edge].winding;
                const bool now_inside = rule == FillRule::kEvenOdd ? (winding & 1) != 0 : winding != 0;
                if (!inside && now_inside) left = &a;
                if (inside && !now_inside && left != nullptr) {
                    const double top_width = a.x0 - left->x0;
                    const double bottom_width = a.x1 - left->x1;
                    if (top_width + bottom_width > tiny && y1 - y0 > tiny) {
                        if (result.quads >= max_quads) {
                            result.cut = true;
                            return result;
                        }
                        FillQuad quad{{Point{left->x0, y0}, Point{a.x0, y0}, Point{a.x1, y1}, Point{left->x1, y1}}};
                        sink(quad, context);
                        ++result.quads;
                    }
                }
                inside = now_inside;
            }
            y0 = y1;
        }
    }
    return result;
}

}  // namespace velmora
