// The layer tool's mouse selections: a line picked by a click, lines inside a dragged rectangle,
// and a connected figure picked by a right click.
#include <algorithm>

#include "store/document_store.h"
#include "tools/layer_tool.h"
#include "tools/layer_tool_lines.h"
#include "tools/line_lengths.h"

namespace velmora {

namespace {

// The line taking part whose foot of the perpendicular from (x, y) lies within `r` of it on both
// axes and nearest; of equal ones the earlier. Only the first kMostLineHits hits are weighed.
int NearestLine(double x, double y, double r) {
    const int32_t count = ReadableLineCount();
    int hits = 0;
    int best_line = -1;
    double best = 4 * r * r;
    for (int32_t i = 0; i < count && hits < kMostLineHits; ++i) {
        if (!TakesPart(i)) continue;
        const LineRecord& line = g_store.lines[i];
        const double dx = line.x2 - line.x1;
        const double dy = line.y2 - line.y1;
        // A line of no length gives no number here and is never hit.
        const double t = ((x - line.x1) * dx + (y - line.y1) * dy) / (dx * dx + dy * dy);
        if (!(t >= 0 && t <= 1)) continue;
        const double off_x = x - (line.x1 + t * dx);
        const double off_y = y - (line.y1 + t * dy);
        if (!(-r < off_x && off_x < r && -r < off_y && off_y < r)) continue;
        ++hits;
        const double squared = off_x * off_x + off_y * off_y;
        if (squared < best) {
            best = squared;
            best_line = i;
        }
    }
    return best_line;
}

int8_t Toggled(int32_t line) { return g_layer_selection.state[line] == kLineGreen ? kLineWhite : kLineGreen; }

struct GroupWalk {
    int8_t target;
};

// Selecting takes every line not green yet; deselecting every green one.
bool TakeIntoGroup(int32_t line, void* context) {
    const int8_t target = static_cast<GroupWalk*>(context)->target;
    if ((g_layer_selection.state[line] == kLineGreen) == (target == kLineGreen)) return false;
    SetAndRecord(line, target, false);
    return true;
}

}  // namespace

int PickLine(double x, double y, double half_width) {
    const int line = NearestLine(x, y, half_width);
    if (line < 0) return -1;
    SetAndRecord(line, Toggled(line), true);
    g_layer_selection.last_clicked = line;
    return line;
}

int SelectByRectangle(double x0, double y0, double x1, double y1) {
    const double left = std::min(x0, x1), right = std::max(x0, x1);
    const double bottom = std::min(y0, y1), top = std::max(y0, y1);
    const auto inside = [&](double x, double y) { return left < x && x < right && bottom < y && y < top; };
    const int32_t count = ReadableLineCount();
    int toggled = 0;
    for (int32_t i = 0; i < count; ++i) {
        if (!TakesPart(i)) continue;
        const LineRecord& line = g_store.lines[i];
        if (!inside(line.x1, line.y1) || !inside(line.x2, line.y2)) continue;
        SetAndRecord(i, Toggled(i), toggled == 0);
        ++toggled;
    }
    return toggled;
}

int PickConnectedGroup(double x, double y, double half_width) {
    const int hit = NearestLine(x, y, half_width);
    if (hit < 0) return -1;
    GroupWalk walk{Toggled(hit)};
    SetAndRecord(hit, walk.target, true);
    FollowConnections(IndexLinesTakingPart(), hit, TakeIntoGroup, &walk);
    return hit;
}

}  // namespace velmora
