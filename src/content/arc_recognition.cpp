#include "content/arc_recognition.h"

#include <cmath>
#include <cstring>

#include "content/line_emitter.h"
#include "content/path_builder.h"
#include "settings/settings.h"
#include "store/document_store.h"

namespace velmora {

ArcStatistics g_arc_statistics;

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;
constexpr double kRelativeTolerance = 0.002;
constexpr double kLargestTolerance = 0.25;  // points
constexpr int kSamplesPerPiece = 16;        // check points at t = i / 16
constexpr double kLargestRadiusToExtent = 8.0;  // flatter bends are left as lines
constexpr double kSmallestFlatness = 0.02;
constexpr int kSweepSamples = 8;            // fitted points at t = i / 8

struct Run {
    CubicPiece pieces[kArcRunCapacity];
    int32_t first_line;  // line record of the run's first piece
    int32_t groups[kArcRunCapacity];
    int count;
    int page;
};

Run g_run;
int32_t g_path_first_arc = 0;
int32_t g_subpath_first_arc = 0;

Point Between(Point a, Point b, double t) { return Point{a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)}; }

Point CubicAt(const Point p[4], double t) {
    const Point a = Between(p[0], p[1], t);
    const Point b = Between(p[1], p[2], t);
    const Point c = Between(p[2], p[3], t);
    return Between(Between(a, b, t), Between(b, c, t), t);
}

double Wrap(double angle) {
    while (angle > kPi) angle -= kTwoPi;
    while (angle <= -kPi) angle += kTwoPi;
    return angle;
}

// Solves the n x n system (n <= 5, right-hand side in column n) in place with partial
// pivoting; false when it is singular.
bool Solve(double m[5][6], int n) {
    for (int col = 0; col < n; ++col) {
        int pivot = col;
        for (int r = col + 1; r < n; ++r) {
            if (std::fabs(m[r][col]) > std::fabs(m[pivot][col])) pivot = r;
        }
        if (!(std::fabs(m[pivot][col]) > 1e-12)) return false;
        if (pivot != col) {
            for (int k = 0; k <= n; ++k) {
                const double t = m[col][k];
                m[col][k] = m[pivot][k];
                m[pivot][k] = t;
            }
        }
        for (int r = 0; r < n; ++r) {
            if (r == col) continue;
            const double f = m[r][col] / m[col][col];
            for (int k = col; k <= n; ++k) m[r][k] -= f * m[col][k];
        }
    }
    for (int r = 0; r < n; ++r) m[r][n] /= m[r][r];
    return true;
}

struct Ellipse {
    double cx, cy, a, b, tilt;
};

// The pieces' points about their mean, scaled to unit size so the systems stay well posed.
struct Frame {
    double mx, my, size;
};

bool FrameOf(const CubicPiece* pieces, int count, Frame* frame) {
    double mx = 0.0, my = 0.0;
    double minx = 1e300, maxx = -1e300, miny = 1e300, maxy = -1e300;
    int n = 0;
    for (int k = 0; k < count; ++k) {
        for (int i = 0; i <= kSweepSamples; ++i) {
            const Point p = CubicAt(pieces[k].p, static_cast<double>(i) / kSweepSamples);
            mx += p.x;
            my += p.y;
            ++n;
            minx = p.x < minx ? p.x : minx;
            maxx = p.x > maxx ? p.x : maxx;
            miny = p.y < miny ? p.y : miny;
            maxy = p.y > maxy ? p.y : maxy;
        }
    }
    const double size = (maxx - minx) > (maxy - miny) ? (maxx - minx) : (maxy - miny);
    if (!(size > 1e-9) || !std::isfinite(size)) return false;
    *frame = Frame{mx / n, my / n, size};
    return true;
}

// Least-squares circle u^2 + v^2 + d u + e v + f = 0 (tried first: a single cubic is fitted by
// many ellipses, and a round curve should come out round).
bool FitCircle(const CubicPiece* pieces, int count, Ellipse* out) {
    Frame fr{};
    if (!FrameOf(pieces, count, &fr)) return false;
    double m[5][6] = {};
    for (int k = 0; k < count; ++k) {
        for (int i = 0; i <= kSweepSamples; ++i) {
            const Point p = CubicAt(pieces[k].p, static_cast<double>(i) / kSweepSamples);
            const double u = (p.x - fr.mx) / fr.size;
            const double v = (p.y - fr.my) / fr.size;
            const double row[3] = {u, v, 1.0};
            const double rhs = -(u * u + v * v);
            for (int r = 0; r < 3; ++r) {
                for (int c = 0; c < 3; ++c) m[r][c] += row[r] * row[c];
                m[r][3] += row[r] * rhs;
            }
        }
    }
    if (!Solve(m, 3)) return false;
    const double u0 = -0.5 * m[0][3], v0 = -0.5 * m[1][3];
    const double r2 = u0 * u0 + v0 * v0 - m[2][3];
    if (!(r2 > 0.0)) return false;
    out->cx = fr.mx + u0 * fr.size;
    out->cy = fr.my + v0 * fr.size;
    out->a = out->b = std::sqrt(r2) * fr.size;
    out->tilt = 0.0;
    return std::isfinite(out->cx) && std::isfinite(out->cy) && std::isfinite(out->a);
}

// Least-squares conic a u^2 + b uv + c v^2 + d u + e v = 1 through the pieces' points, taken
// about their mean (never on the curve) and scaled to unit size so the system stays well posed.
bool FitEllipse(const CubicPiece* pieces, int count, Ellipse* out, double* extent) {
    Frame fr{};
    if (!FrameOf(pieces, count, &fr)) return false;
    const double mx = fr.mx, my = fr.my, size = fr.size;
    *extent = size;
    double m[5][6] = {};
    for (int k = 0; k < count; ++k) {
        for (int i = 0; i <= kSweepSamples; ++i) {
            const Point p = CubicAt(pieces[k].p, static_cast<double>(i) / kSweepSamples);
            const double u = (p.x - mx) / size;
            const double v = (p.y - my) / size;
            const double row[5] = {u * u, u * v, v * v, u, v};
            for (int r = 0; r < 5; ++r) {
                for (int c = 0; c < 5; ++c) m[r][c] += row[r] * row[c];
                m[r][5] += row[r];
            }
        }
    }
    if (!Solve(m, 5)) return false;
    const double A = m[0][5], B = m[1][5], C = m[2][5], D = m[3][5], E = m[4][5];
    const double det = 4.0 * A * C - B * B;
    if (!(det > 1e-12)) return false;  // not an ellipse
    const double u0 = (B * E - 2.0 * C * D) / det;
    const double v0 = (B * D - 2.0 * A * E) / det;
    const double fc = A * u0 * u0 + B * u0 * v0 + C * v0 * v0 + D * u0 + E * v0 - 1.0;
    // Eigenvalues of [[A, B/2], [B/2, C]].
    const double mean = 0.5 * (A + C);
    const double half = std::sqrt(0.25 * (A - C) * (A - C) + 0.25 * B * B);
    const double small = mean - half;  // the major axis
    const double large = mean + half;
    if (!(small > 0.0) || !(fc < 0.0)) return false;
    const double a = std::sqrt(-fc / small);
    const double b = std::sqrt(-fc / large);
    // Eigenvector of `small`: (B/2, small - A), or (small - C, B/2).
    double ex = 0.5 * B, ey = small - A;
    if (std::fabs(ex) + std::fabs(ey) < 1e-14) {
        ex = small - C;
        ey = 0.5 * B;
    }
    double tilt = std::fabs(ex) + std::fabs(ey) < 1e-14 ? 0.0 : std::atan2(ey, ex);
    out->cx = mx + u0 * size;
    out->cy = my + v0 * size;
    out->a = a * size;
    out->b = b * size;
    out->tilt = tilt;
    return std::isfinite(out->cx) && std::isfinite(out->cy) && std::isfinite(out->a) && std::isfinite(out->b);
}

struct Local {
    double u, v;
};

Local ToLocal(const Ellipse& e, Point p) {
    const double dx = p.x - e.cx, dy = p.y - e.cy;
    const double c = std::cos(e.tilt), s = std::sin(e.tilt);
    return Local{c * dx + s * dy, -s * dx + c * dy};
}

double AngleOf(const Ellipse& e, Point p) {
    const Local l = ToLocal(e, p);
    return std::atan2(l.v / e.b, l.u / e.a);
}

// First-order distance from the ellipse: |F| / |grad F| of F = u^2/a^2 + v^2/b^2 - 1.
double DistanceFrom(const Ellipse& e, Point p) {
    const Local l = ToLocal(e, p);
    const double a2 = e.a * e.a, b2 = e.b * e.b;
    const double f = l.u * l.u / a2 + l.v * l.v / b2 - 1.0;
    const double gu = 2.0 * l.u / a2, gv = 2.0 * l.v / b2;
    const double g = std::sqrt(gu * gu + gv * gv);
    return g > 0.0 ? std::fabs(f) / g : e.a;
}

double Distance(Point a, Point b) { return std::hypot(a.x - b.x, a.y - b.y); }

}  // namespace

double ArcTolerance(double radius) {
    const double relative = kRelativeTolerance * radius;
    return relative < kLargestTolerance ? relative : kLargestTolerance;
}

namespace {

ArcFit FitTo(const CubicPiece* pieces, int count, Ellipse e, double extent);

}  // namespace

ArcFit FitArc(const CubicPiece* pieces, int count) {
    ArcFit fit{};
    if (count < 1) return fit;
    Frame frame{};
    if (!FrameOf(pieces, count, &frame)) return fit;
    Ellipse e{};
    if (FitCircle(pieces, count, &e)) {
        fit = FitTo(pieces, count, e, frame.size);
        if (fit.ok) return fit;
    }
    double extent = 0.0;
    if (FitEllipse(pieces, count, &e, &extent)) fit = FitTo(pieces, count, e, extent);
    return fit;
}

namespace {

ArcFit FitTo(const CubicPiece* pieces, int count, Ellipse e, double extent) {
    ArcFit fit{};
    if (!(e.a <= kLargestRadiusToExtent * extent) || !(e.b >= kSmallestFlatness * e.a)) return fit;
    const double tolerance = ArcTolerance(e.a);
    double deviation = 0.0;
    double sweep = 0.0;
    for (int k = 0; k < count; ++k) {
        for (int i = 0; i <= kSamplesPerPiece; ++i) {
            const double d = DistanceFrom(e, CubicAt(pieces[k].p, static_cast<double>(i) / kSamplesPerPiece));
            if (!(d <= tolerance)) return fit;
            deviation = d > deviation ? d : deviation;
        }
        // Each half of a cubic turns less than half a turn, so its wrapped angle is its sweep.
        const double a0 = AngleOf(e, pieces[k].p[0]);
        const double a1 = AngleOf(e, CubicAt(pieces[k].p, 0.5));
        const double a2 = AngleOf(e, pieces[k].p[3]);
        const double d1 = Wrap(a1 - a0), d2 = Wrap(a2 - a1);
        if (d1 * d2 <= 0.0) return fit;
        if (sweep != 0.0 && sweep * d1 < 0.0) return fit;  // every piece turns the same way
        sweep += d1 + d2;
    }
    const double closing = Distance(pieces[0].p[0], pieces[count - 1].p[3]);
    double start = AngleOf(e, pieces[0].p[0]);
    ArcRecord& arc = fit.arc;
    if (std::fabs(sweep) > kTwoPi + 0.01) return fit;
    if (std::fabs(std::fabs(sweep) - kTwoPi) < 0.01 && closing <= tolerance) {
        arc.full_circle = 1;
        start = 0.0;
        sweep = kTwoPi;
    } else if (std::fabs(sweep) >= kTwoPi) {
        return fit;
    }
    if (sweep < 0.0) {  // stored counter-clockwise: the same curve from its other end
        start += sweep;
        sweep = -sweep;
    }
    start = std::fmod(start, kTwoPi);
    if (start < 0.0) start += kTwoPi;
    arc.centre_x = e.cx;
    arc.centre_y = e.cy;
    arc.radius = e.a;
    arc.start_angle = start;
    arc.sweep = sweep;
    arc.tilt = e.tilt;
    arc.flatness = e.b / e.a;
    arc.end_x[0] = pieces[0].p[0].x;
    arc.end_y[0] = pieces[0].p[0].y;
    arc.end_x[1] = pieces[count - 1].p[3].x;
    arc.end_y[1] = pieces[count - 1].p[3].y;
    // The arc's ends stand where the curve's ends are (within the tolerance).
    if (!arc.full_circle) {
        double x = 0.0, y = 0.0;
        ArcStartPoint(arc, &x, &y);
        const Point s{x, y};
        ArcEndPoint(arc, &x, &y);
        const Point t{x, y};
        const Point first = pieces[0].p[0], last = pieces[count - 1].p[3];
        const double ends = Distance(s, first) + Distance(t, last) < Distance(s, last) + Distance(t, first)
                                ? (Distance(s, first) > Distance(t, last) ? Distance(s, first) : Distance(t, last))
                                : (Distance(s, last) > Distance(t, first) ? Distance(s, last) : Distance(t, first));
        if (!(ends <= tolerance)) return fit;
        deviation = ends > deviation ? ends : deviation;
    }
    fit.ok = true;
    fit.deviation = deviation;
    return fit;
}

}  // namespace

namespace {

bool ArcsOn() { return g_settings.arcs == 1; }

bool StoreArc(const ArcRecord& geometry, int32_t group, int page) {
    if (g_arcs.count < 0 || g_arcs.count >= kArcCapacity) return false;
    const ConversionState& c = g_store.conversion;
    ArcRecord& arc = g_arcs.records[g_arcs.count];
    arc = geometry;
    arc.group_number = group;
    arc.pen_style = static_cast<uint8_t>(c.pen_style);
    arc.pen_colour = kNewLinePen;
    arc.pen_width = 0;
    arc.layer = 0;
    arc.layer_group = 0;
    arc.flags = 0;
    const double scaled = c.line_width * 10.0;
    arc.width_class = scaled < 2147483647.0 && scaled > -2147483648.0 ? static_cast<int32_t>(scaled) : 0;
    arc.page_number = page;
    ++g_arcs.count;
    return true;
}

}  // namespace

void ArcResetForPageScan() {
    g_run.count = 0;
    g_path_first_arc = 0;
    g_subpath_first_arc = 0;
    g_arcs.count = 0;
}

void ArcNotePathStart() {
    g_path_first_arc = g_arcs.count;
    g_subpath_first_arc = g_arcs.count;
}

void ArcNoteSubpathStart() { g_subpath_first_arc = g_arcs.count; }

void ArcAddCurve(const Point control[4], int32_t first_line, int page) {
    if (!ArcsOn() || page < 1 || page >= kPageTableSize) return;
    if (g_run.count > 0 && (g_run.page != page || first_line != g_run.first_line + g_run.count * kCurvePieces)) {
        ArcEndRun();
    }
    if (g_run.count >= kArcRunCapacity) ArcEndRun();
    // Only a cubic whose ten pieces were all stored can give them back.
    if (g_store.conversion.line_count != first_line + kCurvePieces) {
        ArcEndRun();
        return;
    }
    if (g_run.count == 0) {
        g_run.first_line = first_line;
        g_run.page = page;
    }
    CubicPiece& piece = g_run.pieces[g_run.count];
    for (int i = 0; i < 4; ++i) piece.p[i] = ToPageFrame(g_store.pages[page], control[i]);
    g_run.groups[g_run.count] = g_store.lines[first_line].group_number;
    ++g_run.count;
    ++g_arc_statistics.curve_pieces;
}

void ArcEndRun() {
    const int count = g_run.count;
    g_run.count = 0;
    if (count == 0) return;
    ConversionState& c = g_store.conversion;
    // Records after the run (none in the path builder's order) would be moved: then keep lines.
    if (c.line_count != g_run.first_line + count * kCurvePieces) return;
    int32_t write = g_run.first_line;
    int i = 0;
    while (i < count) {
        int last = -1;
        ArcFit best{};
        for (int j = i; j < count; ++j) {
            const ArcFit fit = FitArc(g_run.pieces + i, j - i + 1);
            if (!fit.ok) break;
            best = fit;
            last = j;
        }
        if (last >= 0 && StoreArc(best.arc, g_run.groups[i], g_run.page)) {
            g_arc_statistics.arc_pieces += last - i + 1;
            ++g_arc_statistics.arcs;
            if (best.deviation > g_arc_statistics.largest_deviation) g_arc_statistics.largest_deviation = best.deviation;
            i = last + 1;
            continue;
        }
        // Not an arc: its ten line records stay, moved down over the ones given up.
        const int32_t from = g_run.first_line + i * kCurvePieces;
        if (from != write) std::memmove(&g_store.lines[write], &g_store.lines[from], sizeof(LineRecord) * kCurvePieces);
        write += kCurvePieces;
        ++i;
    }
    const int32_t removed = c.line_count - write;
    c.line_count = write;
    PageRecord& record = g_store.pages[g_run.page];
    record.line_count = record.line_count > removed ? record.line_count - removed : 0;
    c.total_segments = c.total_segments > removed ? c.total_segments - removed : 0;
}

void ArcTakeBack(bool whole_path) {
    g_run.count = 0;
    const int32_t first = whole_path ? g_path_first_arc : g_subpath_first_arc;
    if (first >= 0 && first < g_arcs.count) g_arcs.count = first;
}

}  // namespace velmora
