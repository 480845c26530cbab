// Dash merging on a generated A0 drawing of about a million segments: lines, rectangles,
// flattened curves and 100,000 runs of dashes drawn as separate strokes (plain rows, rows ending
// on ticks, rows along arcs). The smaller sizes show how the time grows with the drawing, on
// the same page (denser) and on a page grown with it (same density).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <numbers>
#include <random>
#include <vector>

#include "store/document_store.h"
#include "tools/dash_merge.h"

namespace velmora {
namespace {

class DrawingMaker {
public:
    // `spread` scales the page's sides: 1 is A0.
    DrawingMaker(uint64_t seed, double spread) : random_(seed), spread_(spread) {}
    std::vector<LineRecord> lines;

    double Uniform(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random_); }
    double X() { return Uniform(20, 3350) * spread_; }
    double Y() { return Uniform(-2364, -20) * spread_; }

    void Add(double x1, double y1, double x2, double y2, int32_t width, int32_t group = 0) {
        LineRecord line{};
        line.group_number = group;
        line.pen_style = 1;
        line.pen_colour = 2;
        line.x1 = x1, line.y1 = y1, line.x2 = x2, line.y2 = y2;
        line.width_class = width;
        line.page_number = 1;
        lines.push_back(line);
    }

    // Runs of six dashes: most plain, one in ten ending on ticks, one in ten along an arc.
    void DashRun(int kind) {
        const double x = X(), y = Y(), r = Uniform(0, 2 * std::numbers::pi);
        const double ux = std::cos(r), uy = std::sin(r);
        const int32_t width = 2 + kind % 2;
        if (kind == 9) {
            const double radius = Uniform(30, 300), step = 5 * std::numbers::pi / 180;
            for (int k = 0; k < 6; ++k) {
                const double a0 = r + k * step, a1 = a0 + step * 0.6;
                Add(x + radius * std::cos(a0), y + radius * std::sin(a0), x + radius * std::cos(a1),
                    y + radius * std::sin(a1), width);
            }
            return;
        }
        for (int k = 0; k < 6; ++k) {
            const double s = 8.0 * k;
            Add(x + ux * s, y + uy * s, x + ux * (s + 5), y + uy * (s + 5), width);
        }
        if (kind == 8) {
            for (int k = 0; k < 6; ++k) {
                const double ex = x + ux * (8.0 * k + 5), ey = y + uy * (8.0 * k + 5);
                Add(ex - uy * 1.5, ey + ux * 1.5, ex + uy * 1.5, ey - ux * 1.5, width);
            }
        }
    }

    void Make(int target) {
        const double scale = target / 1000000.0;
        const int runs = static_cast<int>(100000 * scale);
        int figure = 0;
        for (int i = 0; i < runs; ++i) DashRun(i % 10);
        for (int i = 0; i < static_cast<int>(25000 * scale); ++i) {  // rectangles
            const double x = X(), y = Y(), w = Uniform(2, 200), h = Uniform(2, 200);
            ++figure;
            Add(x, y, x + w, y, 3, figure);
            Add(x + w, y, x + w, y + h, 3, figure);
            Add(x + w, y + h, x, y + h, 3, figure);
            Add(x, y + h, x, y, 3, figure);
        }
        for (int i = 0; i < static_cast<int>(18000 * scale); ++i) {  // curves in ten pieces
            const double cx = X(), cy = Y(), radius = Uniform(0.5, 100), a = Uniform(0, 6.3);
            ++figure;
            for (int k = 0; k < 10; ++k) {
                const double a0 = a + k * 0.15, a1 = a0 + 0.15;
                Add(cx + radius * std::cos(a0), cy + radius * std::sin(a0),
                    cx + radius * std::cos(a1), cy + radius * std::sin(a1), 1, figure);
            }
        }
        while (static_cast<int>(lines.size()) < target) {  // plain lines, some touching
            const double x = X(), y = Y(), r = Uniform(0, 6.3), len = std::exp(Uniform(-2, 6));
            Add(x, y, x + len * std::cos(r), y + len * std::sin(r), 1 + static_cast<int>(Uniform(0, 4)));
        }
        lines.resize(target);
    }

private:
    std::mt19937_64 random_;
    double spread_;
};

// Fixed page: the drawing gets denser as it grows. Growing page: same density at every size.
const std::vector<LineRecord>& DrawingOf(int size, bool growing_page) {
    static std::map<std::pair<int, bool>, std::vector<LineRecord>> made;
    auto found = made.find({size, growing_page});
    if (found == made.end()) {
        DrawingMaker maker(size, growing_page ? std::sqrt(size / 1000000.0) : 1.0);
        maker.Make(size);
        found = made.emplace(std::make_pair(size, growing_page), std::move(maker.lines)).first;
    }
    return found->second;
}

void RunMerge(benchmark::State& state, bool growing_page) {
    if (g_store.lines == nullptr && !AllocateStoreTables()) {
        state.SkipWithError("the store tables could not be allocated");
        return;
    }
    const std::vector<LineRecord>& drawing = DrawingOf(static_cast<int>(state.range(0)), growing_page);
    g_store.current_page = 1;
    g_store.pages[1].scale_ratio = 1.0;
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(g_store.lines, drawing.data(), sizeof(LineRecord) * drawing.size());
        g_store.conversion.line_count = static_cast<int32_t>(drawing.size());
        g_store.conversion.dash_merge_done = 0;
        state.ResumeTiming();
        MergeDashRuns();
    }
    state.counters["segments"] = static_cast<double>(drawing.size());
    state.counters["absorbed"] = g_store.conversion.dash_merged_count;
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(drawing.size()));
}

void BM_MergeDashRuns(benchmark::State& state) { RunMerge(state, false); }
void BM_MergeDashRunsSameDensity(benchmark::State& state) { RunMerge(state, true); }

BENCHMARK(BM_MergeDashRuns)->Arg(125000)->Arg(250000)->Arg(500000)->Arg(999999)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MergeDashRunsSameDensity)->Arg(125000)->Arg(250000)->Arg(500000)->Arg(999999)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmora
