#include "content/path_builder.h"

#include "content/line_emitter.h"
#include "store/document_store.h"

namespace velmora {

PathList g_path;

namespace {

void PushPoint(Point p) {
    if (g_path.count < kPathPointCapacity) {
        g_path.points[++g_path.count] = p;
    } else {
        g_path.count = kPathFullCount;
    }
}

void ClearPath() {
    if (g_path.count < kPathPointCapacity) {
        g_path.state = kNoPath;
        g_path.count = 0;
    } else {
        g_path.count = kPathFullCount;
    }
}

Point FirstPoint() { return g_path.points[1]; }
Point LastPoint() { return g_path.points[g_path.count]; }

void Emit(Point a, Point b, int page, bool grouped) { EmitLine(a.x, a.y, b.x, b.y, page, grouped); }

Point Mapped(Point p) { return ApplyCtm(p.x, p.y); }

// The segment from the subpath's start to its newest point, as closing and filling draw it.
void EmitClosingSegment(int page) { Emit(Mapped(FirstPoint()), Mapped(LastPoint()), page, false); }

// Segments of the path beyond its first point; n and f* take that many records back.
int32_t SegmentsOfPath() { return g_path.count > 1 ? g_path.count - 1 : 0; }

Point Between(Point from, Point to, double t) { return Point{from.x + t * (to.x - from.x), from.y + t * (to.y - from.y)}; }

Point CubicAt(const Point p[4], double t) {
    const Point a = Between(p[0], p[1], t);
    const Point b = Between(p[1], p[2], t);
    const Point c = Between(p[2], p[3], t);
    return Between(Between(a, b, t), Between(b, c, t), t);
}

Point QuadraticAt(const Point p[3], double t) { return Between(Between(p[0], p[1], t), Between(p[1], p[2], t), t); }

// Ten pieces at t = i / 10, each starting where the one before ended.
template <typename Curve>
void EmitCurvePieces(const Point* control, Curve at, int page) {
    Point previous = control[0];
    for (int i = 1; i <= kCurvePieces; ++i) {
        const Point next = at(control, static_cast<double>(i) / 10.0);
        Emit(previous, next, page, true);
        previous = next;
    }
}

}  // namespace

void ResetPathForPageScan() {
    if (g_path.count < kPathPointCapacity) {
        g_path.state = kNoPath;
        g_path.count = 0;
    } else {
        g_path.count = kPathFullCount;
    }
    g_path.current = Point{0.0, 0.0};
    g_path.last_end = Point{0.0, 0.0};
}

void PathMoveTo(double x, double y) {
    g_path.current = Point{x, y};
    if (g_path.count < kPathPointCapacity) {
        g_path.count = 1;
        g_path.points[1] = g_path.current;
        g_path.state = kSubpathStarted;
    } else {
        g_path.count = kPathFullCount;
    }
}

void PathLineTo(double x, double y, int page) {
    const Point end{x, y};
    PushPoint(end);
    Emit(Mapped(g_path.current), Mapped(end), page, false);
    g_path.current = end;
    g_path.last_end = end;
}

void PathCurveTo(double x1, double y1, double x2, double y2, double x3, double y3, int page) {
    const Point end{x3, y3};
    PushPoint(end);
    // A curve that goes on from the end of the one before belongs to the same figure.
    if (g_path.current.x != g_path.last_end.x || g_path.current.y != g_path.last_end.y) {
        SaturatingIncrement(g_store.conversion.figure_counter);
    }
    g_path.last_end = end;
    const Point control[4] = {Mapped(g_path.current), ApplyCtm(x1, y1), ApplyCtm(x2, y2), Mapped(end)};
    EmitCurvePieces(control, CubicAt, page);
    g_path.current = end;
}

void PathCurveV(double x2, double y2, double x3, double y3, int page) {
    const Point end{x3, y3};
    PushPoint(end);
    SaturatingIncrement(g_store.conversion.figure_counter);
    // v is drawn as a quadratic through its one control point.
    const Point control[3] = {Mapped(g_path.current), ApplyCtm(x2, y2), Mapped(end)};
    EmitCurvePieces(control, QuadraticAt, page);
    g_path.current = end;
    g_path.last_end = end;
}

void PathRectangle(double x, double y, double w, double h, int page) {
    const bool has_room = g_path.count < kPathPointCapacity;
    if (has_room) {
        g_path.count = 1;
        g_path.points[1] = Point{x, y};
        g_path.state = kSubpathStarted;
    }
    PushPoint(Point{x, y + h});
    PushPoint(Point{x + w, y + h});
    PushPoint(Point{x + w, y});
    PushPoint(Point{x, y});
    if (has_room && g_path.count < kPathPointCapacity) g_path.state = kPathClosed;

    SaturatingIncrement(g_store.conversion.figure_counter);
    // Only two corners are mapped: the sides stay parallel to the page's axes.
    const Point a = ApplyCtm(x, y);
    const Point b = ApplyCtm(x + w, y + h);
    Emit(Point{a.x, a.y}, Point{a.x, b.y}, page, true);
    Emit(Point{a.x, b.y}, Point{b.x, b.y}, page, true);
    Emit(Point{b.x, b.y}, Point{b.x, a.y}, page, true);
    Emit(Point{b.x, a.y}, Point{a.x, a.y}, page, true);
    g_path.current = Point{x, y};
    g_path.last_end = g_path.current;
}

void PathClose(int page) {
    // Without a point there is nothing to close; a segment here would come from stale points.
    if (g_path.count == 0) return;
    EmitClosingSegment(page);
    PushPoint(LastPoint());
    if (g_path.count < kPathPointCapacity) {
        g_path.state = kPathClosed;
    } else {
        g_path.count = kPathFullCount;
    }
}

void PathStroke(int page) {
    if (g_path.state == kPathClosed && g_path.count > 0) EmitClosingSegment(page);
    ClearPath();
}

void PathEndNoPaint() {
    if (g_path.state == kPathClosed) RewindLines(SegmentsOfPath());
    ClearPath();
}

void PathClip() {
    if (g_path.count < kPathPointCapacity) {
        g_path.state = kPathClosed;
    } else {
        g_path.count = kPathFullCount;
    }
}

void PathFill(int page) {
    if (g_path.count > 0) {
        EmitClosingSegment(page);
        PushPoint(LastPoint());
    }
    ClearPath();
}

void PathFillEvenOdd() {
    if (g_path.count < kPathPointCapacity) {
        g_path.state = kPathClosed;
        RewindLines(SegmentsOfPath());
    } else if (g_path.state == kPathClosed) {
        RewindLines(kPathFullCount - 1);
    }
    g_path.state = kNoPath;
    g_path.count = 0;
}

}  // namespace velmora
