// The layer tool on the benchmark drawing (benchmark_drawing.h, about a million segments): opening
// it (with and without the dash merging the toolbar runs first), one right click that selects
// the staircase of 100,000 connected segments, the connection marks for the staircase's segment
// length, the undo of the selected figure, and the move of the figure to another layer.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "benchmark_drawing.h"
#include "convert/layer_assignment.h"
#include "store/document_store.h"
#include "tools/dash_merge.h"
#include "tools/layer_tool.h"

namespace velmora {
namespace {

// The page as the toolbar finds it: layers assigned, dash runs merged. Empty when the drawing
// could not be made.
const std::vector<LineRecord>& MergedPage(benchmark::State& state) {
    static std::vector<LineRecord> lines;
    if (lines.empty() && bench::Ready(state)) {
        const std::vector<LineRecord>& scanned = bench::ScannedLines(state);
        if (scanned.empty()) return lines;
        bench::Restore(scanned);
        g_store.pages[1].scale_ratio = 1.0;
        AssignLineLayers();
        MergeDashRuns();
        lines.assign(g_store.lines, g_store.lines + g_store.conversion.line_count);
    }
    return lines;
}

// The staircase's first segment, or -1.
int StaircaseStart() {
    for (int i = 0; i < g_store.conversion.line_count; ++i) {
        if (g_store.lines[i].width_class == bench::kStaircaseWidthClass && g_store.lines[i].page_number >= 0) return i;
    }
    return -1;
}

// The tool open on the merged page with the staircase's layer shown; the staircase's first
// segment, or -1 (the benchmark is then skipped).
int OpenOnStaircase(benchmark::State& state) {
    const std::vector<LineRecord>& lines = MergedPage(state);
    if (lines.empty()) return -1;
    std::memcpy(g_store.lines, lines.data(), sizeof(LineRecord) * lines.size());
    g_store.conversion.line_count = static_cast<int32_t>(lines.size());
    g_store.conversion.dash_merge_done = 1;
    OpenLayerTool();
    const int start = StaircaseStart();
    if (start < 0) {
        state.SkipWithError("no staircase in the drawing");
        return -1;
    }
    const LineRecord& line = g_store.lines[start];
    ChooseLayer(line.layer_group * kLayersPerGroup + line.layer);
    return start;
}

// A right click on the middle of the line.
int RightClick(int line) {
    const LineRecord& record = g_store.lines[line];
    return PickConnectedGroup((record.x1 + record.x2) / 2, (record.y1 + record.y2) / 2, 0.001);
}

int CountIn(int8_t state) {
    int count = 0;
    for (int i = 0; i < g_store.conversion.line_count; ++i) count += g_layer_selection.state[i] == state;
    return count;
}

void BM_8_OpenLayerTool(benchmark::State& state) {
    const std::vector<LineRecord>& lines = MergedPage(state);
    if (lines.empty()) return;
    const bool with_merge = state.range(0) == 1;
    const std::vector<LineRecord>& scanned = bench::ScannedLines(state);
    for (auto _ : state) {
        state.PauseTiming();
        if (with_merge) {
            bench::Restore(scanned);
            AssignLineLayers();
        }
        state.ResumeTiming();
        if (with_merge) MergeDashRuns();
        OpenLayerTool();
    }
    state.counters["lines"] = g_store.conversion.line_count;
    CloseLayerTool();
}

void BM_9_PickConnectedFigure(benchmark::State& state) {
    const int start = OpenOnStaircase(state);
    if (start < 0) return;
    for (auto _ : state) {
        state.PauseTiming();
        ShowLayerFresh();
        ResetSelectionHistory();
        state.ResumeTiming();
        RightClick(start);
    }
    state.counters["selected"] = CountIn(kLineGreen);
    CloseLayerTool();
}

void BM_10_ConnectionMarks(benchmark::State& state) {
    const int start = OpenOnStaircase(state);
    if (start < 0) return;
    g_layer_selection.length = g_store.lines[start].length;
    for (auto _ : state) {
        state.PauseTiming();
        ClearMarks();
        state.ResumeTiming();
        ApplyConnectionMarks(true);
    }
    int marked = 0;
    for (int i = 0; i < g_store.conversion.line_count; ++i) marked += g_layer_selection.mark[i] != 0;
    state.counters["marked"] = marked;
    CloseLayerTool();
}

void BM_11_UndoFigure(benchmark::State& state) {
    const int start = OpenOnStaircase(state);
    if (start < 0) return;
    int undone = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ShowLayerFresh();
        ResetSelectionHistory();
        RightClick(start);
        const int selected = CountIn(kLineGreen);
        state.ResumeTiming();
        Undo();
        state.PauseTiming();
        undone = selected - CountIn(kLineGreen);
        state.ResumeTiming();
    }
    state.counters["undone"] = undone;
    CloseLayerTool();
}

void BM_12_MoveFigure(benchmark::State& state) {
    if (OpenOnStaircase(state) < 0) return;
    int moved = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const int start = OpenOnStaircase(state);
        RightClick(start);
        const LineRecord& line = g_store.lines[start];
        ChooseLayer(line.layer_group * kLayersPerGroup + (line.layer + 1) % kLayersPerGroup);
        state.ResumeTiming();
        moved = MoveSelectionToShownLayer();
    }
    state.counters["moved"] = moved;
    CloseLayerTool();
}

BENCHMARK(BM_8_OpenLayerTool)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_9_PickConnectedFigure)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_10_ConnectionMarks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_11_UndoFigure)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_12_MoveFigure)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmora
