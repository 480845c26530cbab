#include "content/path_builder.h"

#include "content/arc_recognition.h"
#include "content/fill_path.h"
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
    g_path.has_records = false;
    ClearFillPath();
}

// The first construction operator of a path notes where its records begin, so that n after a
// clip takes back exactly the records of the whole path, curve pieces and earlier subpaths too.
void NotePathStart() {
    if (g_path.has_records) return;
    g_path.has_records = true;
    ArcNotePathStart();
    g_path.first_record = g_store.conversion.line_count;
    g_path.subpath_first_record = g_path.first_record;
}

// m and re begin a subpath; f* takes back the records of the last one.
void NoteSubpathStart() {
    NotePathStart();
    ArcNoteSubpathStart();
    g_path.subpath_first_record = g_store.conversion.line_count;
}

void TakeBackFrom(int32_t first_record, bool whole_path) {
    if (!g_path.has_records) return;
    ArcTakeBack(whole_path);
    RewindLines(g_store.conversion.line_count - first_record);
}

Point FirstPoint() { return g_path.points[1]; }
Point LastPoint() { return g_path.points[g_path.count]; }

void Emit(Point a, Point b, int page, bool grouped) { EmitLine(a.x, a.y, b.x, b.y, page, grouped); }

Point Mapped(Point p) { return ApplyCtm(p.x, p.y); }

// A segment of the fill path (kept only while fills become solids); a first segment without
// m starts at the current point.
void KeepForFill(Point device) {
    if (!FillsAsSolids()) return;
    if (g_fill_path.count == g_fill_path.open_start) FillPathMove(Mapped(g_path.current));
    FillPathLine(device);
}

// The segment from the subpath's start to its newest point, as closing and filling draw it.
void EmitClosingSegment(int page) { Emit(Mapped(FirstPoint()), Mapped(LastPoint()), page, false); }

Point Between(Point from, Point to, double t) { return Point{from.x + t * (to.x - from.x), from.y + t * (to.y - from.y)}; }

Point CubicAt(const Point p[4], double t) {
    const Point a = Between(p[0], p[1], t);
    const Point b = Between(p[1], p[2], t);
    const Point c = Between(p[2], p[3], t);
    return Between(Between(a, b, t), Between(b, c, t), t);
}

// Ten pieces at t = i / 10, each starting where the one before ended.
void EmitCurvePieces(const Point control[4], int page) {
    const int32_t first_line = g_store.conversion.line_count;
    Point previous = control[0];
    for (int i = 1; i <= kCurvePieces; ++i) {
        const Point next = CubicAt(control, static_cast<double>(i) / 10.0);
        Emit(previous, next, page, true);
        KeepForFill(next);
        previous = next;
    }
    ArcAddCurve(control, first_line, page);
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
    g_path.has_records = false;
    ArcResetForPageScan();
    ClearFillPath();
}

void PathMoveTo(double x, double y) {
    ArcEndRun();
    NoteSubpathStart();
    if (FillsAsSolids()) FillPathMove(ApplyCtm(x, y));
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
    ArcEndRun();
    NotePathStart();
    const Point end{x, y};
    PushPoint(end);
    Emit(Mapped(g_path.current), Mapped(end), page, false);
    KeepForFill(Mapped(end));
    g_path.current = end;
    g_path.last_end = end;
}

void PathCurveTo(double x1, double y1, double x2, double y2, double x3, double y3, int page) {
    NotePathStart();
    const Point end{x3, y3};
    PushPoint(end);
    // A curve that goes on from the end of the one before belongs to the same figure.
    if (g_path.current.x != g_path.last_end.x || g_path.current.y != g_path.last_end.y) {
        SaturatingIncrement(g_store.conversion.figure_counter);
    }
    g_path.last_end = end;
    const Point control[4] = {Mapped(g_path.current), ApplyCtm(x1, y1), ApplyCtm(x2, y2), Mapped(end)};
    EmitCurvePieces(control, page);
    g_path.current = end;
}

namespace {

// v and y: a cubic with one control point given by the current or the end point.
void PathCurveShort(Point first, Point second, Point end, int page) {
    NotePathStart();
    PushPoint(end);
    SaturatingIncrement(g_store.conversion.figure_counter);
    const Point control[4] = {Mapped(g_path.current), Mapped(first), Mapped(second), Mapped(end)};
    EmitCurvePieces(control, page);
    g_path.current = end;
    g_path.last_end = end;
}

}  // namespace

void PathCurveV(double x2, double y2, double x3, double y3, int page) {
    // The current point is the first control point.
    PathCurveShort(g_path.current, Point{x2, y2}, Point{x3, y3}, page);
}

void PathCurveY(double x1, double y1, double x3, double y3, int page) {
    // The end point is the second control point.
    PathCurveShort(Point{x1, y1}, Point{x3, y3}, Point{x3, y3}, page);
}

void PathRectangle(double x, double y, double w, double h, int page) {
    ArcEndRun();
    NoteSubpathStart();
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
    // All four corners are mapped: under a turned matrix the sides are not parallel to the axes.
    const Point a = ApplyCtm(x, y);
    const Point b = ApplyCtm(x, y + h);
    const Point c = ApplyCtm(x + w, y + h);
    const Point d = ApplyCtm(x + w, y);
    Emit(a, b, page, true);
    Emit(b, c, page, true);
    Emit(c, d, page, true);
    Emit(d, a, page, true);
    if (FillsAsSolids()) {
        FillPathMove(a);
        FillPathLine(b);
        FillPathLine(c);
        FillPathLine(d);
        FillPathClose();
    }
    g_path.current = Point{x, y};
    g_path.last_end = g_path.current;
}

void PathClose(int page) {
    ArcEndRun();
    // Without a point there is nothing to close; a segment here would come from stale points.
    if (g_path.count == 0) return;
    EmitClosingSegment(page);
    FillPathClose();
    PushPoint(LastPoint());
    if (g_path.count < kPathPointCapacity) {
        g_path.state = kPathClosed;
    } else {
        g_path.count = kPathFullCount;
    }
}

void PathStroke(int page) {
    ArcEndRun();
    if (g_path.state == kPathClosed && g_path.count > 0) EmitClosingSegment(page);
    ClearPath();
}

void PathEndNoPaint() {
    ArcEndRun();
    if (g_path.state == kPathClosed) TakeBackFrom(g_path.first_record, true);
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
    ArcEndRun();
    if (g_path.count > 0) {
        EmitClosingSegment(page);
        PushPoint(LastPoint());
    }
    ClearPath();
}

// Only the last subpath goes, as far as the point list reaches: glyph outlines written as
// "... h x y m f*" keep their outlines.
void PathFillEvenOdd() {
    TakeBackFrom(g_path.subpath_first_record, false);
    g_path.state = kNoPath;
    g_path.count = 0;
    g_path.has_records = false;
    ClearFillPath();
}

void PathFillAsSolids(int page, FillRule rule, bool stroked) {
    if (!stroked) {
        // A fill alone leaves no outline: its records (arcs too) go, the solids take their place.
        ArcEndRun();
        TakeBackFrom(g_path.first_record, true);
        EmitFillSolids(page, rule, g_store.conversion.line_count);
        g_path.state = kNoPath;
        g_path.count = 0;
        g_path.has_records = false;
        return;
    }
    // Filled, then stroked: the solids go beneath the outline's records.
    const int32_t beneath = g_path.has_records ? g_path.first_record : g_store.conversion.line_count;
    EmitFillSolids(page, rule, beneath);
    PathStroke(page);
}

bool RunFillAndStroke(const char* token, int page) {
    if (!FillsAsSolids() || (token[0] != 'B' && token[0] != 'b')) return false;
    const bool even_odd = token[1] == '*' && token[2] == '\0';
    if (token[1] != '\0' && !even_odd) return false;
    if (token[0] == 'b') PathClose(page);
    PathFillAsSolids(page, even_odd ? FillRule::kEvenOdd : FillRule::kNonZero, true);
    return true;
}

}  // namespace velmora
