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
constexpr int kTickedDashes = 3;  // the dashes after the first that the tick test reads
constexpr size_t kSearchesAhead = 3;  // the run being closed and the two after it

struct DashRun {
    int first, last;
};

struct DashPass {
    LineRecord* lines;
    int count;
    std::vector<double> gap;         // G: millimetres from a line's end to the next line's start
    std::vector<int32_t> direction;  // A
    std::vector<int32_t> gap_direction;  // B
    std::vector<DashRun> runs;       // of kShortestDashRun lines or more, in store order
    std::vector<int32_t> asked;      // the dashes the tick test will read
    TickIndex ticks;                 // built for them
    TickSearch searches[kSearchesAhead];  // of the first dashes of the next runs

    int run_length = 0;
    int run_first = 0;
    int32_t run_direction = 0;
    double lower = 0, upper = 0;
};

// The work tables and the index stay from one pass to the next, so a pass reuses the memory of
// the last one instead of faulting in tens of megabytes anew for a large page.
DashPass g_pass;

// A line takes part in runs when it is solid, not absorbed, and has a measurable length; a
// length that is not finite (coordinates out of range) counts as none.
bool TakesPart(const LineRecord& line) {
    return line.pen_style == 1 && line.page_number >= 0 && line.length > 0 &&
           std::isfinite(line.length);
}

// One walk over the records for the lengths and the three tables: on a large page every walk
// over the records is a walk through memory.
void ComputeTables(DashPass& pass, double mm_per_unit) {
    const int n = pass.count;
    pass.gap.resize(n);
    pass.direction.resize(n);
    pass.gap_direction.resize(n);
    for (int i = 0; i < n; ++i) {
        LineRecord& line = pass.lines[i];
        line.length = LineLength(line, mm_per_unit);
        pass.direction[i] = TakesPart(line) ? DirectionOf(line.x2 - line.x1, line.y2 - line.y1) : kNoDirection;
        pass.gap[i] = 0.0;
        pass.gap_direction[i] = pass.direction[i] == kNoDirection ? kGapAfterNoLine : kGapAfterLastLine;
        if (i + 1 == n) continue;
        const LineRecord& next = pass.lines[i + 1];
        const double gx = next.x1 - line.x2;
        const double gy = next.y1 - line.y2;
        pass.gap[i] = std::sqrt(gx * gx + gy * gy) * mm_per_unit;
        if (pass.direction[i] == kNoDirection) continue;
        // A gap that cannot be measured (coordinates out of range) is treated as none.
        if (next.pen_style != 1 || next.page_number < 0 || (gx == 0 && gy == 0) || !std::isfinite(gx) ||
            !std::isfinite(gy)) {
            pass.gap_direction[i] = kNoGap;
        } else {
            pass.gap_direction[i] = DirectionOf(gx, gy);
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

// The run s..e, at least kShortestDashRun lines long; the search for dash s + 1's ticks is
// under way.
void CloseRun(DashPass& pass, int s, int e, const TickSearch& first_dash) {
    LineRecord* lines = pass.lines;
    // Dashes that end on square ticks of their own width are a dimension or a hatch, not a line type.
    bool all_ticked = FinishTickSearch(pass.ticks, lines, pass.direction.data(), first_dash);
    for (int i = s + 2; i <= s + kTickedDashes && all_ticked; ++i) {
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

// Runs follow from the work tables alone, which closing a run never changes, so they are all
// found first: the tick index is then built for just the dashes the tick test will read.
void FindRuns(DashPass& pass) {
    pass.runs.clear();
    pass.run_length = 0;
    const auto end_run = [&](int last) {
        if (pass.run_length >= kShortestDashRun) pass.runs.push_back({pass.run_first, last});
        pass.run_length = 0;
    };
    for (int i = 0; i < pass.count; ++i) {
        if (pass.direction[i] == kNoDirection) {
            end_run(i - 1);
        } else if (pass.run_length == 0) {
            StartRun(pass, i);
        } else if (Extends(pass, i)) {
            ++pass.run_length;
        } else {
            end_run(i - 1);
            StartRun(pass, i);
        }
    }
    end_run(pass.count - 1);
}

}  // namespace

void MergeDashRuns() {
    ConversionState& state = g_store.conversion;
    if (state.dash_merge_done) return;
    state.dash_merge_done = 1;
    state.dash_merged_count = 0;
    if (g_store.lines == nullptr) return;

    DashPass& pass = g_pass;
    pass.lines = g_store.lines;
    pass.count = ReadableLineCount();
    ComputeTables(pass, PageMillimetresPerUnit(g_store.current_page));

    FindRuns(pass);
    if (pass.runs.empty()) return;
    pass.asked.clear();
    for (const DashRun& run : pass.runs) {
        for (int i = run.first + 1; i <= run.first + kTickedDashes; ++i) pass.asked.push_back(i);
    }
    BuildTickIndex(pass.ticks, pass.lines, pass.direction.data(), pass.count, pass.asked);

    // The first tick search of each run is started two runs and read one run before the run
    // closes, so that its reads from memory are done by then: nearly every run stops there.
    const size_t runs = pass.runs.size();
    const auto start = [&](size_t r) {
        if (r < runs) {
            StartTickSearch(pass.ticks, pass.lines, pass.direction.data(), pass.runs[r].first + 1,
                            pass.searches[r % kSearchesAhead]);
        }
    };
    const auto read = [&](size_t r) {
        if (r < runs) ReadTickBuckets(pass.ticks, pass.searches[r % kSearchesAhead]);
    };
    start(0);
    start(1);
    read(0);
    for (size_t r = 0; r < runs; ++r) {
        start(r + 2);
        read(r + 1);
        CloseRun(pass, pass.runs[r].first, pass.runs[r].last, pass.searches[r % kSearchesAhead]);
    }
}

}  // namespace velmora
