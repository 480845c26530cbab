#include "tools/scale_snap.h"

#include "store/arc_records.h"
#include "store/document_store.h"

namespace velmora {

namespace {

struct SnapPoint {
    double x;
    double y;
};

// Strictly inside the square on both axes (NaN never is).
bool InSquare(const SnapArea& area, double x, double y) {
    const double dx = area.x - x;
    const double dy = area.y - y;
    return dx > -area.half_width && dx < area.half_width && dy > -area.half_width && dy < area.half_width;
}

double SquaredDistance(const SnapArea& area, const SnapPoint& point) {
    const double dx = point.x - area.x;
    const double dy = point.y - area.y;
    return dx * dx + dy * dy;
}

// The first point strictly nearer than `best`, scanning in order so the earlier wins a tie; -1
// when none is.
int NearestBelow(const SnapArea& area, const SnapPoint* points, int count, double best) {
    int chosen = -1;
    for (int i = 0; i < count; ++i) {
        const double distance = SquaredDistance(area, points[i]);
        if (distance < best) {
            best = distance;
            chosen = i;
        }
    }
    return chosen;
}

// The segment passes within the square: the foot of the perpendicular from the mouse lies on
// the segment (0 <= t <= 1) and inside the square. A segment without length never does.
bool PassesNear(const SnapArea& area, const LineRecord& line) {
    const double dx = line.x2 - line.x1;
    const double dy = line.y2 - line.y1;
    const double length_squared = dx * dx + dy * dy;
    if (!(length_squared > 0.0)) return false;
    const double t = ((area.x - line.x1) * dx + (area.y - line.y1) * dy) / length_squared;
    if (!(t >= 0.0 && t <= 1.0)) return false;
    return InSquare(area, line.x1 + t * dx, line.y1 + t * dy);
}

}  // namespace

bool SnapToEndPoint(const SnapArea& area, double* x, double* y, double* best) {
    static SnapPoint candidates[kSnapCandidateLimit];
    int count = 0;
    const int lines = ReadableLineCount();
    for (int i = 0; i < lines && count < kSnapCandidateLimit; ++i) {
        const LineRecord& line = g_store.lines[i];
        if (line.page_number < 0) continue;
        if (InSquare(area, line.x1, line.y1)) candidates[count++] = SnapPoint{line.x1, line.y1};
        if (count < kSnapCandidateLimit && InSquare(area, line.x2, line.y2)) {
            candidates[count++] = SnapPoint{line.x2, line.y2};
        }
    }
    // An arc offers its two end points and its centre, as Jw_cad's own snap does.
    for (int i = 0; i < ReadableArcCount() && count < kSnapCandidateLimit; ++i) {
        const ArcRecord& arc = g_arcs.records[i];
        SnapPoint points[3] = {{arc.centre_x, arc.centre_y}, {0, 0}, {0, 0}};
        ArcStartPoint(arc, &points[1].x, &points[1].y);
        ArcEndPoint(arc, &points[2].x, &points[2].y);
        for (const SnapPoint& point : points) {
            if (count < kSnapCandidateLimit && InSquare(area, point.x, point.y)) candidates[count++] = point;
        }
    }
    if (count == 0) return false;
    int chosen = NearestBelow(area, candidates, count, *best);
    if (chosen < 0) chosen = 0;
    *x = candidates[chosen].x;
    *y = candidates[chosen].y;
    *best = SquaredDistance(area, candidates[chosen]);
    return true;
}

bool SnapToIntersection(const SnapArea& area, double* x, double* y, double best) {
    static int near_lines[kSnapCandidateLimit];
    static SnapPoint crossings[kSnapCandidateLimit];
    int line_count = 0;
    const int lines = ReadableLineCount();
    for (int i = 0; i < lines && line_count < kSnapCandidateLimit; ++i) {
        if (PassesNear(area, g_store.lines[i])) near_lines[line_count++] = i;
    }
    if (line_count < 2) return false;
    int crossing_count = 0;
    // Every ordered pair but the first line as B and the last as A; a line against itself or a
    // pair seen before is parallel or finds the same crossing again.
    for (int a = 0; a + 1 < line_count && crossing_count < kSnapCandidateLimit; ++a) {
        const LineRecord& la = g_store.lines[near_lines[a]];
        const double ax = la.x2 - la.x1;
        const double ay = la.y2 - la.y1;
        for (int b = 1; b < line_count && crossing_count < kSnapCandidateLimit; ++b) {
            const LineRecord& lb = g_store.lines[near_lines[b]];
            const double bx = lb.x2 - lb.x1;
            const double by = lb.y2 - lb.y1;
            const double det = ay * bx - ax * by;
            if (!(det <= -kParallelLimit || det >= kParallelLimit)) continue;
            const double ex = lb.x1 - la.x1;
            const double ey = lb.y1 - la.y1;
            const double s = (ey * bx - ex * by) / det;
            const double u = (ey * ax - ex * ay) / det;
            if (!(s >= 0.0 && s <= 1.0 && u >= 0.0 && u <= 1.0)) continue;
            const SnapPoint crossing{la.x1 + s * ax, la.y1 + s * ay};
            if (InSquare(area, crossing.x, crossing.y)) crossings[crossing_count++] = crossing;
        }
    }
    const int chosen = NearestBelow(area, crossings, crossing_count, best);
    if (chosen < 0) return false;
    *x = crossings[chosen].x;
    *y = crossings[chosen].y;
    return true;
}

bool TakeScalePoint(const SnapArea& area, double* x, double* y) {
    double best = 4.0 * area.half_width * area.half_width;
    double end_x = 0.0;
    double end_y = 0.0;
    const bool end_point = SnapToEndPoint(area, &end_x, &end_y, &best);
    if (SnapToIntersection(area, x, y, best)) return true;
    if (!end_point) return false;
    *x = end_x;
    *y = end_y;
    return true;
}

}  // namespace velmora
