// The layer tool's mouse selections: a line or arc picked by a click, lines and arcs inside a
// dragged rectangle, and a connected figure picked by a right click.
#include <algorithm>
#include <cmath>

#include "store/document_store.h"
#include "tools/layer_tool.h"
#include "tools/layer_tool_lines.h"
#include "tools/line_lengths.h"

namespace velmora {

namespace {

// An arc is hit and boxed along chords this fine: 128 to the turn stray from the curve by less
// than 0.03 % of its radius, far below a pick's half-width.
constexpr int kArcChordsPerTurn = 128;
constexpr int kFewestArcChords = 4;
constexpr double kTurn = 6.283185307179586;

// Chords along the arc, or 0 for an arc whose sweep is no usable angle.
int ArcChords(const ArcRecord& arc) {
    if (!(arc.sweep > 0.0) || !(arc.sweep <= kTurn + 1e-9)) return 0;
    return std::max(kFewestArcChords, static_cast<int>(std::ceil(arc.sweep / kTurn * kArcChordsPerTurn - 1e-9)));
}

void ArcChordPoint(const ArcRecord& arc, int k, int chords, double* x, double* y) {
    ArcPointAt(arc, arc.start_angle + arc.sweep * k / chords, x, y);
}

// The squared distance from (x, y) to the foot of its perpendicular on the segment, when the foot
// lies on it and within `r` of the point on both axes; otherwise a negative number.
double FootDistance(double x, double y, double x1, double y1, double x2, double y2, double r) {
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    // A segment of no length gives no number here and is never hit.
    const double t = ((x - x1) * dx + (y - y1) * dy) / (dx * dx + dy * dy);
    if (!(t >= 0 && t <= 1)) return -1.0;
    const double off_x = x - (x1 + t * dx);
    const double off_y = y - (y1 + t * dy);
    if (!(-r < off_x && off_x < r && -r < off_y && off_y < r)) return -1.0;
    return off_x * off_x + off_y * off_y;
}

// The nearest chord foot of the arc as FootDistance gives it. Arcs whose curve cannot come within
// reach are passed over without walking their chords.
double ArcFootDistance(const ArcRecord& arc, double x, double y, double r) {
    const int chords = ArcChords(arc);
    if (chords == 0) return -1.0;
    const double outer = std::max(std::fabs(arc.radius), std::fabs(arc.radius * arc.flatness));
    const double inner = std::min(std::fabs(arc.radius), std::fabs(arc.radius * arc.flatness));
    const double from_centre = std::hypot(x - arc.centre_x, y - arc.centre_y);
    if (!(from_centre <= outer + 2 * r) || !(from_centre >= inner - 2 * r)) return -1.0;
    double best = -1.0;
    double x1, y1, x2, y2;
    ArcChordPoint(arc, 0, chords, &x2, &y2);
    for (int k = 1; k <= chords; ++k) {
        x1 = x2;
        y1 = y2;
        ArcChordPoint(arc, k, chords, &x2, &y2);
        const double d = FootDistance(x, y, x1, y1, x2, y2, r);
        if (d >= 0 && (best < 0 || d < best)) best = d;
    }
    return best;
}

// The item taking part whose foot of the perpendicular from (x, y) lies within `r` of it on both
// axes and nearest; of equal ones the earlier, lines before arcs. Only the first kMostLineHits
// hits are weighed.
int NearestItem(double x, double y, double r) {
    int hits = 0;
    int best_item = -1;
    double best = 4 * r * r;
    ForEachItem([&](int32_t item) {
        if (hits >= kMostLineHits || !TakesPart(item)) return;
        double squared;
        if (IsArcItem(item)) {
            squared = ArcFootDistance(g_arcs.records[item - kArcItemBase], x, y, r);
        } else {
            const LineRecord& line = g_store.lines[item];
            squared = FootDistance(x, y, line.x1, line.y1, line.x2, line.y2, r);
        }
        if (squared < 0) return;
        ++hits;
        if (squared < best) {
            best = squared;
            best_item = item;
        }
    });
    return best_item;
}

int8_t Toggled(int32_t item) { return g_layer_selection.state[item] == kLineGreen ? kLineWhite : kLineGreen; }

struct GroupWalk {
    int8_t target;
};

// Selecting takes every item not green yet; deselecting every green one.
bool TakeIntoGroup(int32_t item, void* context) {
    const int8_t target = static_cast<GroupWalk*>(context)->target;
    if ((g_layer_selection.state[item] == kLineGreen) == (target == kLineGreen)) return false;
    SetAndRecord(item, target, false);
    return true;
}

}  // namespace

int PickLine(double x, double y, double half_width) {
    const int item = NearestItem(x, y, half_width);
    if (item < 0) return -1;
    SetAndRecord(item, Toggled(item), true);
    g_layer_selection.last_clicked = item;
    return item;
}

int SelectByRectangle(double x0, double y0, double x1, double y1) {
    const double left = std::min(x0, x1), right = std::max(x0, x1);
    const double bottom = std::min(y0, y1), top = std::max(y0, y1);
    const auto inside = [&](double x, double y) { return left < x && x < right && bottom < y && y < top; };
    const auto arc_inside = [&](const ArcRecord& arc) {
        const int chords = ArcChords(arc);
        if (chords == 0) return false;
        for (int k = 0; k <= chords; ++k) {
            double x, y;
            ArcChordPoint(arc, k, chords, &x, &y);
            if (!inside(x, y)) return false;
        }
        return true;
    };
    int toggled = 0;
    ForEachItem([&](int32_t item) {
        if (!TakesPart(item)) return;
        if (IsArcItem(item)) {
            if (!arc_inside(g_arcs.records[item - kArcItemBase])) return;
        } else {
            const LineRecord& line = g_store.lines[item];
            if (!inside(line.x1, line.y1) || !inside(line.x2, line.y2)) return;
        }
        SetAndRecord(item, Toggled(item), toggled == 0);
        ++toggled;
    });
    return toggled;
}

int PickConnectedGroup(double x, double y, double half_width) {
    const int hit = NearestItem(x, y, half_width);
    if (hit < 0) return -1;
    GroupWalk walk{Toggled(hit)};
    SetAndRecord(hit, walk.target, true);
    FollowFigure(IndexItemsTakingPart(), hit, TakeIntoGroup, &walk);
    return hit;
}

}  // namespace velmora
