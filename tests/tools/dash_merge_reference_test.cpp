// The dash merging through its tick index against a direct reading of the rules: a plain
// reference pass that tests every line for ticks, run on generated drawings, must leave every
// record, the figure counter and the merged count exactly as MergeDashRuns does.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>
#include <numbers>
#include <random>
#include <vector>

#include "support/store_fixture.h"
#include "tools/dash_merge.h"
#include "tools/tick_index.h"

namespace velmora {
namespace {

// ---- The reference: the rules read directly, every candidate line tried for every tick ----

int32_t RefDirection(double dx, double dy) {
    return static_cast<int32_t>(std::floor(std::atan2(dy, dx) * 5729.579143313326));
}

bool RefTakesPart(const LineRecord& line) {
    return line.pen_style == 1 && line.page_number >= 0 && line.length > 0 &&
           std::isfinite(line.length);
}

bool RefHasTick(const std::vector<LineRecord>& lines, const std::vector<int32_t>& a, int i) {
    const LineRecord& d = lines[i];
    int32_t p1 = a[i] + 9000;
    if (p1 > 18000) p1 -= 36000;
    int32_t p2 = a[i] - 9000;
    if (p2 < -18000) p2 += 36000;
    for (size_t j = 0; j < lines.size(); ++j) {
        const LineRecord& t = lines[j];
        if (t.pen_style != 1 || t.width_class != d.width_class || t.page_number < 0) continue;
        if (!AngleWithin(a[j], p1, 500) && !AngleWithin(a[j], p2, 500)) continue;
        auto c = [&](double px, double py) {
            return (py - d.y1) * (d.x2 - d.x1) - (px - d.x1) * (d.y2 - d.y1);
        };
        if (!(c(t.x2, t.y2) * c(t.x1, t.y1) < 0)) continue;
        auto k = [&](double qx, double qy) {
            return (qy - t.y1) * (t.x2 - t.x1) - (qx - t.x1) * (t.y2 - t.y1);
        };
        const double k1 = k(d.x1, d.y1), k2 = k(d.x2, d.y2);
        if ((-10 < k1 && k1 < 10) || (-10 < k2 && k2 < 10)) return true;
    }
    return false;
}

// Lengths as the pass measures them at 1:1, and the directions table A.
std::vector<int32_t> RefDirections(std::vector<LineRecord>& lines) {
    std::vector<int32_t> a(lines.size(), kNoDirection);
    for (size_t i = 0; i < lines.size(); ++i) {
        const double dx = lines[i].x2 - lines[i].x1, dy = lines[i].y2 - lines[i].y1;
        lines[i].length = std::sqrt(dx * dx + dy * dy);
        if (RefTakesPart(lines[i])) a[i] = RefDirection(dx, dy);
    }
    return a;
}

struct RefOutcome {
    int merged = 0, bent = 0, ticked = 0;
};

// Returns the merged count; figure is the figure counter, updated.
int RefMerge(std::vector<LineRecord>& lines, double ratio, int32_t& figure, RefOutcome& outcome) {
    const int n = static_cast<int>(lines.size());
    const double k = ratio * 0.352777;
    std::vector<double> g(n, 0.0);
    std::vector<int32_t> a(n, -36000), b(n, -36001);
    for (LineRecord& l : lines) {
        l.length = std::sqrt(((l.x2 - l.x1) * k) * ((l.x2 - l.x1) * k) +
                             ((l.y2 - l.y1) * k) * ((l.y2 - l.y1) * k));
    }
    for (int i = 0; i < n; ++i) {
        if (RefTakesPart(lines[i])) a[i] = RefDirection(lines[i].x2 - lines[i].x1, lines[i].y2 - lines[i].y1);
    }
    for (int i = 0; i < n; ++i) {
        if (i + 1 < n) {
            const double gx = lines[i + 1].x1 - lines[i].x2, gy = lines[i + 1].y1 - lines[i].y2;
            g[i] = std::sqrt(gx * gx + gy * gy) * k;
        }
        if (a[i] == -36000) continue;
        if (i + 1 == n) {
            b[i] = -36003;
            continue;
        }
        const LineRecord& next = lines[i + 1];
        const double gx = next.x1 - lines[i].x2, gy = next.y1 - lines[i].y2;
        const bool touches = next.x1 == lines[i].x2 && next.y1 == lines[i].y2;
        const bool unmeasurable = !std::isfinite(gx) || !std::isfinite(gy);
        b[i] = next.pen_style != 1 || next.page_number < 0 || touches || unmeasurable
                   ? -36002
                   : RefDirection(gx, gy);
    }

    int merged = 0;
    int length = 0, first = 0;
    int32_t direction = 0;
    double lower = 0, upper = 0;
    auto close = [&](int last) {
        const int s = first, e = last;
        const int run = length;
        length = 0;
        if (run < 5) return;
        if (RefHasTick(lines, a, s + 1) && RefHasTick(lines, a, s + 2) && RefHasTick(lines, a, s + 3)) {
            ++outcome.ticked;
            return;
        }
        const double dx = lines[e].x2 - lines[s].x1, dy = lines[e].y2 - lines[s].y1;
        const double chord = std::sqrt(dx * dx + dy * dy);
        bool bends = chord == 0;
        if (!bends && !(s + 1 >= e - 1)) {
            double largest = 0;
            for (int j = s + 1; j <= e - 2; ++j) {
                largest = std::max(largest, std::fabs((lines[j].y1 - lines[s].y1) * dx -
                                                      (lines[j].x1 - lines[s].x1) * dy) / chord);
            }
            bends = largest / chord > 0.02;
        }
        if (bends) {
            ++figure;
            for (int j = s; j <= e; ++j) lines[j].group_number = figure;
            ++outcome.bent;
            return;
        }
        const bool dashed = std::trunc(lines[s + 1].length / lines[s + 2].length + 0.1) ==
                            std::trunc(lines[s + 2].length / lines[s + 3].length + 0.1);
        lines[s].pen_style = dashed ? 3 : 5;
        lines[s].x2 = lines[e].x2;
        lines[s].y2 = lines[e].y2;
        const int group = lines[s].layer_group + 1;
        lines[s].layer_group = static_cast<int16_t>(group > 15 || group < 0 ? 0 : group);
        for (int j = s + 1; j <= e; ++j) lines[j].page_number = -1;
        merged += e - s;
        ++outcome.merged;
    };
    auto start = [&](int i) {
        if (!AngleWithin(a[i], b[i], 2000)) return;
        direction = a[i];
        first = i;
        length = 1;
        lower = g[i] / 1.3;
        upper = g[i] * 1.3;
    };
    for (int i = 0; i < n; ++i) {
        if (a[i] == -36000) {
            close(i - 1);
        } else if (length == 0) {
            start(i);
        } else if (AngleWithin(a[i - 1], a[i], 2000) && AngleWithin(direction, b[i - 1], 3000) &&
                   lower < g[i - 1] && g[i - 1] < upper) {
            ++length;
        } else {
            close(i - 1);
            start(i);
        }
    }
    close(n - 1);
    return merged;
}

// ---- Generated drawings ----

class Drawing {
public:
    explicit Drawing(uint64_t seed) : random_(seed) {}
    std::vector<LineRecord> lines;

    double Uniform(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random_); }
    int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random_); }
    bool Chance(double p) { return Uniform(0, 1) < p; }
    // Lengths spread over orders of magnitude, so the index meets lines at many levels.
    double LogLength(double lo, double hi) { return std::exp(Uniform(std::log(lo), std::log(hi))); }

    LineRecord& Add(double x1, double y1, double x2, double y2, int32_t width, uint8_t pen = 1) {
        LineRecord line{};
        line.pen_style = pen;
        line.pen_colour = 2;
        line.layer_group = static_cast<int16_t>(Pick(0, 15));
        line.x1 = x1, line.y1 = y1, line.x2 = x2, line.y2 = y2;
        line.width_class = width;
        line.page_number = 1;
        lines.push_back(line);
        return lines.back();
    }

    // A row of dashes; returns the index of its first dash. Patterns: equal, long-short, random.
    int Row(double x, double y, double degrees, int count, double gap, int32_t width, double jitter) {
        const double r = degrees * std::numbers::pi / 180;
        const double ux = std::cos(r), uy = std::sin(r);
        const int pattern = Pick(0, 2);
        const double base = Uniform(1, 12);
        const int first = static_cast<int>(lines.size());
        for (int k = 0; k < count; ++k) {
            const double len = pattern == 0 ? base : pattern == 1 ? (k % 2 ? base / 4 : base)
                                                                  : Uniform(0.5, 12);
            Add(x + Uniform(-jitter, jitter), y + Uniform(-jitter, jitter), x + ux * len, y + uy * len, width);
            x += ux * (len + gap * Uniform(1 - jitter, 1 + jitter));
            y += uy * (len + gap * Uniform(1 - jitter, 1 + jitter));
        }
        return first;
    }

    // Short lines across the ends of dashes: square, skewed, off the end, tiny or of another width.
    void TicksFor(int first, int count, int32_t width, double probability) {
        for (int k = first; k < first + count; ++k) {
            if (!Chance(probability)) continue;
            const LineRecord& d = lines[k];
            const double dir = std::atan2(d.y2 - d.y1, d.x2 - d.x1) + std::numbers::pi / 2 +
                               Uniform(-7, 7) * std::numbers::pi / 180;
            const double half = Chance(0.3) ? LogLength(0.005, 0.5) : Uniform(0.5, 6);
            const bool at_start = Chance(0.3);
            const double cx = (at_start ? d.x1 : d.x2) + Uniform(-1, 1) * (Chance(0.5) ? 0.01 : 3);
            const double cy = (at_start ? d.y1 : d.y2) + Uniform(-1, 1) * (Chance(0.5) ? 0.01 : 3);
            const double off = Chance(0.2) ? Uniform(-1.5, 1.5) * half : 0;  // sometimes not crossing
            Add(cx - std::cos(dir) * (half + off), cy - std::sin(dir) * (half + off),
                cx + std::cos(dir) * (half - off), cy + std::sin(dir) * (half - off),
                Chance(0.85) ? width : width + 1, Chance(0.9) ? 1 : 3);
        }
    }

    void Arc(double cx, double cy, double radius, int count, int32_t width) {
        const double start = Uniform(0, 2 * std::numbers::pi);
        const double step = Uniform(2, 8) * std::numbers::pi / 180;
        for (int k = 0; k < count; ++k) {
            const double a0 = start + k * step, a1 = a0 + step * 0.6;
            Add(cx + radius * std::cos(a0), cy + radius * std::sin(a0), cx + radius * std::cos(a1),
                cy + radius * std::sin(a1), width);
        }
    }

    void RandomLine(int32_t width) {
        const double x = Uniform(0, 800), y = Uniform(-600, 0);
        const double r = Uniform(0, 2 * std::numbers::pi);
        const double len = Chance(0.05) ? 0 : LogLength(0.001, 400);
        Add(x, y, x + std::cos(r) * len, y + std::sin(r) * len, width, Chance(0.9) ? 1 : 5)
            .page_number = Chance(0.03) ? -1 : 1;
    }

    // A mix of everything, optionally with coordinates the index cannot grid.
    void Random(int size, bool wild) {
        while (static_cast<int>(lines.size()) < size) {
            const int32_t width = Pick(1, 3);
            switch (Pick(0, 5)) {
            case 0:
            case 1: {
                const int count = Pick(3, 9);
                const double degrees = Chance(0.5) ? 90.0 * Pick(-2, 2) : Uniform(-180, 180);
                const int first = Row(Uniform(0, 800), Uniform(-600, 0), degrees, count,
                                      Uniform(0.5, 5), width, Chance(0.7) ? 0 : 0.05);
                if (Chance(0.6)) TicksFor(first, count, width, Chance(0.5) ? 1.0 : 0.7);
                break;
            }
            case 2:
                Arc(Uniform(0, 800), Uniform(-600, 0), LogLength(5, 500), Pick(4, 10), width);
                break;
            case 3: {  // a polyline of touching strokes
                double x = Uniform(0, 800), y = Uniform(-600, 0);
                for (int k = Pick(3, 8); k > 0; --k) {
                    const double nx = x + Uniform(1, 10), ny = y + Uniform(-1, 1);
                    Add(x, y, nx, ny, width);
                    x = nx, y = ny;
                }
                break;
            }
            default:
                RandomLine(width);
            }
            if (wild && Chance(0.01)) {
                const double bad[] = {std::numeric_limits<double>::quiet_NaN(),
                                      std::numeric_limits<double>::infinity(), 1e300, -1e300};
                Add(bad[Pick(0, 3)], Uniform(-600, 0), Uniform(0, 800), bad[Pick(0, 3)], width);
            }
        }
    }

    // Dimension-like rows on a grid: every dash of a row ticked, rows of several widths, and
    // plain dashed rows in between, drawn the way a CAD program exports them.
    void Structured(int rows) {
        for (int r = 0; r < rows; ++r) {
            const int32_t width = 1 + r % 3;
            const bool vertical = r % 4 == 1;
            const double x = 20 + (r % 7) * 100, y = -20 - (r / 7) * 40;
            const int count = 4 + r % 6;
            const int first = Row(x, y, vertical ? -90 : 0, count, 2 + (r % 3), width, 0);
            if (r % 3 == 0) TicksFor(first, count, width, 1.0);
        }
        // A hatch of parallel lines crossed by a row: many perpendicular lines, few near ends.
        for (int k = 0; k < 60; ++k) Add(400 + 3 * k, -400, 400 + 3 * k, -300, 1);
        Row(390, -350, 0, 30, 1.5, 1, 0);
    }

private:
    std::mt19937_64 random_;
};

class DashMergeReferenceTest : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        g_store.conversion.dash_merge_done = 0;
    }

    // Both passes over the same drawing; every field of every record must agree.
    void ExpectSameResult(const std::vector<LineRecord>& drawing, double ratio, RefOutcome& outcome) {
        const int n = static_cast<int>(drawing.size());
        ASSERT_LE(n, kMaxLinesPerPage);
        std::memcpy(g_store.lines, drawing.data(), sizeof(LineRecord) * n);
        g_store.conversion.line_count = n;
        g_store.pages[1].scale_ratio = ratio;
        g_store.conversion.figure_counter = 7;
        g_store.conversion.dash_merge_done = 0;
        MergeDashRuns();

        std::vector<LineRecord> reference = drawing;
        int32_t figure = 7;
        const int merged = RefMerge(reference, ratio, figure, outcome);
        EXPECT_EQ(g_store.conversion.dash_merged_count, merged);
        EXPECT_EQ(g_store.conversion.figure_counter, figure);
        for (int i = 0; i < n; ++i) {
            const LineRecord& got = g_store.lines[i];
            const LineRecord& want = reference[i];
            const bool same =
                got.group_number == want.group_number && got.pen_style == want.pen_style &&
                got.pen_colour == want.pen_colour && got.layer == want.layer &&
                got.layer_group == want.layer_group && got.width_class == want.width_class &&
                got.page_number == want.page_number &&
                std::memcmp(&got.x1, &want.x1, sizeof(double) * 5) == 0;  // x1 y1 x2 y2 length
            if (!same) {
                ADD_FAILURE() << "record " << i << " differs: pen " << int(got.pen_style) << "/"
                              << int(want.pen_style) << " page " << got.page_number << "/"
                              << want.page_number << " group " << got.group_number << "/"
                              << want.group_number;
                return;
            }
        }
    }
};

static_assert(offsetof(LineRecord, length) == offsetof(LineRecord, x1) + 4 * sizeof(double),
              "the five doubles lie together");

TEST_F(DashMergeReferenceTest, SamePassOnRandomAndStructuredDrawings) {
    RefOutcome outcome;
    const double ratios[] = {1.0, 100.0, 37.9};
    for (uint64_t seed = 1; seed <= 12; ++seed) {
        Drawing drawing(seed);
        if (seed % 4 == 0) {
            drawing.Structured(60 + static_cast<int>(seed));
        } else {
            drawing.Random(2500, seed % 3 == 0);
        }
        ExpectSameResult(drawing.lines, ratios[seed % 3], outcome);
        if (HasFailure()) break;
    }
    // The drawings must reach every outcome, or the comparison proves little.
    EXPECT_GT(outcome.merged, 500);
    EXPECT_GT(outcome.bent, 100);
    EXPECT_GT(outcome.ticked, 50);
}

// The pass keeps its tables and index from one page to the next: a small page after a large one
// must come out as if it were the first. Many width classes make many filing keys.
TEST_F(DashMergeReferenceTest, SamePassAfterALargerPageAndWithManyWidths) {
    RefOutcome outcome;
    Drawing large(21);
    large.Random(6000, false);
    ExpectSameResult(large.lines, 1.0, outcome);

    Drawing small(22);
    small.Structured(40);
    ExpectSameResult(small.lines, 1.0, outcome);

    // A width class per strip 20 points wide: a dash and the ticks at its ends mostly share one.
    Drawing strips(23);
    strips.Random(4000, false);
    std::vector<int32_t> widths;
    for (LineRecord& line : strips.lines) {
        if (std::isfinite(line.x1)) line.width_class += 3 * static_cast<int32_t>(std::floor(line.x1 / 20));
        widths.push_back(line.width_class);
    }
    std::sort(widths.begin(), widths.end());
    EXPECT_GT(std::unique(widths.begin(), widths.end()) - widths.begin(), 100);
    const int ticked_before = outcome.ticked;
    ExpectSameResult(strips.lines, 1.0, outcome);
    EXPECT_GT(outcome.ticked - ticked_before, 5);
    EXPECT_GT(outcome.merged, 300);
}

TEST_F(DashMergeReferenceTest, IndexFindsExactlyTheTicksOfADirectScan) {
    int ticks = 0, tested = 0;
    for (uint64_t seed = 101; seed <= 106; ++seed) {
        Drawing drawing(seed);
        if (seed % 3 == 0) {
            drawing.Structured(80);
        } else {
            drawing.Random(1500, seed == 105);
        }
        std::vector<LineRecord>& lines = drawing.lines;
        const int n = static_cast<int>(lines.size());
        const std::vector<int32_t> a = RefDirections(lines);
        // Built for every line, and for some lines of width 1 only: lines of other widths are
        // then lines the index holds no ticks for.
        std::vector<int32_t> every, some;
        for (int i = 0; i < n; ++i) {
            every.push_back(i);
            if (i % 3 == 0 && lines[i].width_class == 1) some.push_back(i);
        }
        TickIndex full, partial;
        BuildTickIndex(full, lines.data(), a.data(), n, every);
        BuildTickIndex(partial, lines.data(), a.data(), n, some);
        for (int i = 0; i < n; ++i) {
            if (a[i] == kNoDirection) continue;
            const bool direct = RefHasTick(lines, a, i);
            ASSERT_EQ(HasPerpendicularTick(full, lines.data(), a.data(), i), direct)
                << "seed " << seed << " line " << i;
            ASSERT_EQ(HasPerpendicularTick(partial, lines.data(), a.data(), i), direct)
                << "seed " << seed << " line " << i << " (index for one line in three)";
            ticks += direct;
            ++tested;
        }
        // The partial index must really leave lines out, or the second check proves little.
        EXPECT_LT(partial.entries.size(), full.entries.size()) << "seed " << seed;
    }
    EXPECT_GT(ticks, 500);
    EXPECT_GT(tested - ticks, 3000);
}

// One index object rebuilt for other lines, records changed after the build, and searches taken
// in steps with the records changing between the steps: every answer is the direct scan's.
TEST_F(DashMergeReferenceTest, RebuiltIndexAndSteppedSearchesFollowTheRecords) {
    Drawing drawing(201);
    drawing.Random(1500, false);
    // A dash with one square tick at its end, and a line of a width nothing else has.
    const int dash = static_cast<int>(drawing.lines.size());
    drawing.Add(100, -100, 105, -100, 2);
    const int tick = dash + 1;
    drawing.Add(105, -101, 105, -99, 2);
    const int lone = dash + 2;
    drawing.Add(300, -300, 310, -300, 99);
    std::vector<LineRecord>& lines = drawing.lines;
    const int n = static_cast<int>(lines.size());
    const std::vector<int32_t> a = RefDirections(lines);
    std::vector<int32_t> every(n);
    for (int i = 0; i < n; ++i) every[i] = i;
    const auto expect_direct = [&](const TickIndex& index, const char* stage) {
        for (int i = 0; i < n; ++i) {
            // A line without a direction (not solid, no length) has no ticks.
            const bool direct = a[i] != kNoDirection && RefHasTick(lines, a, i);
            ASSERT_EQ(HasPerpendicularTick(index, lines.data(), a.data(), i), direct) << stage << ", line " << i;
        }
    };

    TickIndex index;
    BuildTickIndex(index, lines.data(), a.data(), n, every);
    ASSERT_TRUE(HasPerpendicularTick(index, lines.data(), a.data(), dash));
    // Rebuilt for the lone line only: nothing is filed, nothing of the last build may remain.
    BuildTickIndex(index, lines.data(), a.data(), n, {lone});
    EXPECT_TRUE(index.entries.empty());
    expect_direct(index, "built for the lone line");

    // The dash and its tick moved far outside the box the index was built over.
    BuildTickIndex(index, lines.data(), a.data(), n, every);
    for (int i : {dash, tick}) {
        lines[i].x1 += 10000;
        lines[i].x2 += 10000;
    }
    EXPECT_TRUE(HasPerpendicularTick(index, lines.data(), a.data(), dash));
    expect_direct(index, "moved");
    for (int i : {dash, tick}) {
        lines[i].x1 -= 10000;
        lines[i].x2 -= 10000;
    }

    // Two searches started and read, then the dash's tick absorbed before they finish.
    BuildTickIndex(index, lines.data(), a.data(), n, every);
    TickSearch first, second;
    StartTickSearch(index, lines.data(), a.data(), dash, first);
    StartTickSearch(index, lines.data(), a.data(), dash - 1, second);
    ReadTickBuckets(index, first);
    ReadTickBuckets(index, second);
    lines[tick].page_number = -1;
    EXPECT_FALSE(FinishTickSearch(index, lines.data(), a.data(), first));
    EXPECT_EQ(FinishTickSearch(index, lines.data(), a.data(), second), RefHasTick(lines, a, dash - 1));
    expect_direct(index, "tick absorbed");
}

}  // namespace
}  // namespace velmora
