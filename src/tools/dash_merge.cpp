#include "tools/dash_merge.h"

#include <climits>
#include <cmath>
#include <vector>

#include "store/document_store.h"
#include "tools/line_lengths.h"
#include "tools/tick_index.h"

namespace velmora {

int32_t DirectionOf(double dx, double dy) {
    return static_cast<int32_t>(std::floor(std::atan2(dy, dx) * kDegreesScale));
}

bool AngleWithin(int32_t a, int32_t b, int32_t tolerance) {
    if (a == b) return true;
    // A marker is no direction: it must not fall within reach of one by arithmetic on the circle.
    if (a <= kNoDirection || b <= kNoDirection) return false;
    int64_t d = (static_cast<int64_t>(b) - a) % 36000;
    if (d > 18000) d -= 36000;
    if (d < -18000) d += 36000;
    return -static_cast<int64_t>(tolerance) < d && d < tolerance;
}

namespace {

constexpr int32_t kLineTolerance = 2000;
constexpr int32_t kGapDirectionTolerance = 3000;
constexpr double kGapBand = 1.3;
constexpr double kBendLimit = 0.02;

struct DashPass {
    LineRecord* lines;
    int count;
    std::vector<double> gap;         // G: millimetres from a line's end to the next line's start
    std::vector<int32_t> direction;  // A
    std::vector<int32_t> gap_direction;  // B
    TickIndex ticks;                 // built at the first run long enough to need it

    int run_length = 0;
    int run_first = 0;
    int32_t run_direction = 0;
    double lower = 0, upper = 0;
};

// A line takes part in runs when it is solid, not absorbed, and has a measurable length; a
// length that is not finite (coordinates out of range) counts as none.
bool TakesPart(const LineRecord& line) {
    return line.pen_style == 1 && line.page_number >= 0 && line.length > 0 &&
           std::isfinite(line.length);
}

void ComputeTables(DashPass& pass, double mm_per_unit) {
    const int n = pass.count;
    pass.gap.assign(n, 0.0);
    pass.direction.assign(n, kNoDirection);
    pass.gap_direction.assign(n, kGapAfterNoLine);
    ComputeLineLengths(pass.lines, n, mm_per_unit);
    for (int i = 0; i < n; ++i) {
        const LineRecord& line = pass.lines[i];
        if (TakesPart(line)) pass.direction[i] = DirectionOf(line.x2 - line.x1, line.y2 - line.y1);
        if (i + 1 < n) {
            const LineRecord& next = pass.lines[i + 1];
            const double gx = next.x1 - line.x2;
            const double gy = next.y1 - line.y2;
            pass.gap[i] = std::sqrt(gx * gx + gy * gy) * mm_per_unit;
            if (pass.direction[i] == kNoDirection) continue;
            // A gap that cannot be measured (coordinates out of range) is treated as none.
            if (next.pen_style != 1 || next.page_number < 0 || (gx == 0 && gy == 0) ||
                !std::isfinite(gx) || !std::isfinite(gy)) {
                pass.gap_direction[i] = kNoGap;
            } else {
                pass.gap_direction[i] = DirectionOf(gx, gy);
            }
        } else if (pass.direction[i] != kNoDirection) {
            pass.gap_direction[i] = kGapAfterLastLine;
        }
    }
}

// The chord from the run's first start to its last end; interior starts further off it than
// 2% of its length mean the dashes follow a curve.
bool RunBends(const LineRecord* lines, int s, int e) {
    const double dx = lines[e].x2 - lines[s].x1;
    const double dy = lines[e].y2 - lines[s].y1;
    const double chord = std::sqrt(dx * dx + dy * dy);
    if (chord == 0) return true;
    if (s + 1 >= e - 1) return false;
    double largest = 0;
    for (int j = s + 1; j <= e - 2; ++j) {
        const double deviation =
            std::fabs((lines[j].y1 - lines[s].y1) * dx - (lines[j].x1 - lines[s].x1) * dy) / chord;
        if (deviation > largest) largest = deviation;
    }
    return largest / chord > kBendLimit;
}

void CloseRun(DashPass& pass, int last) {
    const int s = pass.run_first;
    const int e = last;
    const int length = pass.run_length;
    pass.run_length = 0;
    if (length < kShortestDashRun) return;

    LineRecord* lines = pass.lines;
    // Dashes that end on square ticks of their own width are a dimension or a hatch, not a line type.
    if (!pass.ticks.built) BuildTickIndex(pass.ticks, lines, pass.direction.data(), pass.count);
    bool all_ticked = true;
    for (int i = s + 1; i <= s + 3 && all_ticked; ++i) {
        all_ticked = HasPerpendicularTick(pass.ticks, lines, pass.direction.data(), i);
    }
    if (all_ticked) return;

    if (RunBends(lines, s, e)) {
        int32_t& figure = g_store.conversion.figure_counter;
        if (figure < INT32_MAX) ++figure;  // saturates rather than overflow on absurd counters
        for (int j = s; j <= e; ++j) lines[j].group_number = figure;
        return;
    }

    const double first_ratio = std::trunc(lines[s + 1].length / lines[s + 2].length + 0.1);
    const double second_ratio = std::trunc(lines[s + 2].length / lines[s + 3].length + 0.1);
    LineRecord& merged = lines[s];
    merged.pen_style = first_ratio == second_ratio ? 3 : 5;
    merged.x2 = lines[e].x2;
    merged.y2 = lines[e].y2;
    const int next_group = merged.layer_group + 1;
    merged.layer_group = static_cast<int16_t>(next_group > 15 || next_group < 0 ? 0 : next_group);
    for (int j = s + 1; j <= e; ++j) lines[j].page_number = -1;
    g_store.conversion.dash_merged_count += e - s;
}

void StartRun(DashPass& pass, int i) {
    if (!AngleWithin(pass.direction[i], pass.gap_direction[i], kLineTolerance)) {
        pass.run_length = 0;
        return;
    }
    pass.run_direction = pass.direction[i];
    pass.run_first = i;
    pass.run_length = 1;
    pass.lower = pass.gap[i] / kGapBand;
    pass.upper = pass.gap[i] * kGapBand;
}

bool Extends(const DashPass& pass, int i) {
    const double gap = pass.gap[i - 1];
    return AngleWithin(pass.direction[i - 1], pass.direction[i], kLineTolerance) &&
           AngleWithin(pass.run_direction, pass.gap_direction[i - 1], kGapDirectionTolerance) &&
           pass.lower < gap && gap < pass.upper;
}

}  // namespace

void MergeDashRuns() {
    ConversionState& state = g_store.conversion;
    if (state.dash_merge_done) return;
    state.dash_merge_done = 1;
    state.dash_merged_count = 0;
    if (g_store.lines == nullptr) return;

    DashPass pass;
    pass.lines = g_store.lines;
    pass.count = CurrentLineCount();
    ComputeTables(pass, PageMillimetresPerUnit(g_store.current_page));

    for (int i = 0; i < pass.count; ++i) {
        if (pass.direction[i] == kNoDirection) {
            CloseRun(pass, i - 1);
        } else if (pass.run_length == 0) {
            StartRun(pass, i);
        } else if (Extends(pass, i)) {
            ++pass.run_length;
        } else {
            CloseRun(pass, i - 1);
            StartRun(pass, i);
        }
    }
    CloseRun(pass, pass.count - 1);
}

}  // namespace velmora
