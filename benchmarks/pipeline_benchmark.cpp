// The converter's stages on the benchmark drawing (benchmark_drawing.h), each timed on its own:
// load (file, cross-reference, page tree), page set-up (resources and inflating the content),
// scan (operators to line records), layer assignment, dash merging, JWW writing and the
// preview's drawing.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "benchmark_drawing.h"
#include "convert/layer_assignment.h"
#include "jww/jww_writer.h"
#include "pdf/error_list.h"
#include "store/document_store.h"
#include "tools/dash_merge.h"
#include "view/page_drawing.h"

namespace velmora {
namespace {

using bench::DrawingPath;
using bench::Load;
using bench::Loaded;
using bench::Ready;
using bench::Restore;
using bench::Scan;
using bench::ScannedLines;
using bench::SetUp;

void BM_1_Load(benchmark::State& state) {
    if (!Ready(state)) return;
    for (auto _ : state) Load();
    state.counters["objects"] = g_store.object_count;
}

void BM_2_SetUpPage(benchmark::State& state) {
    if (!Ready(state) || !Loaded(state)) return;
    for (auto _ : state) SetUp();
}

void BM_3_Scan(benchmark::State& state) {
    if (!Ready(state) || !Loaded(state)) return;
    SetUp();
    for (auto _ : state) Scan();
    state.counters["segments"] = g_store.conversion.line_count;
    state.SetItemsProcessed(state.iterations() * g_store.conversion.line_count);
}

void BM_4_AssignLayers(benchmark::State& state) {
    if (!Ready(state)) return;
    const std::vector<LineRecord>& lines = ScannedLines(state);
    if (lines.empty()) return;
    for (auto _ : state) {
        state.PauseTiming();
        Restore(lines);
        state.ResumeTiming();
        AssignLineLayers();
        AssignTextLayers();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(lines.size()));
}

void BM_5_MergeDashRuns(benchmark::State& state) {
    if (!Ready(state)) return;
    const std::vector<LineRecord>& lines = ScannedLines(state);
    if (lines.empty()) return;
    g_store.pages[1].scale_ratio = 1.0;
    for (auto _ : state) {
        state.PauseTiming();
        Restore(lines);
        state.ResumeTiming();
        MergeDashRuns();
    }
    state.counters["absorbed"] = g_store.conversion.dash_merged_count;
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(lines.size()));
}

void BM_6_WriteJww(benchmark::State& state) {
    if (!Ready(state)) return;
    const std::vector<LineRecord>& lines = ScannedLines(state);
    if (lines.empty()) return;
    Restore(lines);
    AssignLineLayers();
    MergeDashRuns();
    const std::string path = DrawingPath() + ".jww";
    long bytes = 0;
    for (auto _ : state) {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        const bool written = file != nullptr && WriteJww(file, 1);
        if (file != nullptr) {
            bytes = std::ftell(file);
            std::fclose(file);
        }
        if (!written) {
            state.SkipWithError("WriteJww failed (is JWsxf.dat beside the program?)");
            break;
        }
    }
    std::remove(path.c_str());
    state.counters["bytes"] = static_cast<double>(bytes);
}

// The preview's drawing of the page onto a surface that only counts: what the window's paint
// costs before GDI draws a pixel. Argument 0: the page fitted into 1000 x 700 pixels; 1: zoomed
// to 10 pixels per point, where most segments lie outside the window and are skipped.
void BM_7_PreviewDrawing(benchmark::State& state) {
    if (!Ready(state)) return;
    const std::vector<LineRecord>& lines = ScannedLines(state);
    if (lines.empty()) return;
    Restore(lines);
    AssignLineLayers();
    struct Counts {
        int64_t lines = 0;
    } counts;
    DrawingSurface surface{&counts, [](void*, Rgb, double, double) {},
                           [](void* target, const DrawPen&, double, double, double, double) {
                               ++static_cast<Counts*>(target)->lines;
                           },
                           [](void*, const DrawFont&, double, double, const char*, int) {}};
    const ClientSize client{1000, 700};
    const double fit = std::min(client.width / 3370.0, client.height / 2384.0);
    const ViewTransform view = state.range(0) == 0 ? ViewTransform{fit, 0, 0} : ViewTransform{10.0, -8000, -6000};
    for (auto _ : state) {
        counts.lines = 0;
        DrawNormalPicture(surface, PageView{view, true, client}, 1, false);
    }
    state.counters["drawn"] = static_cast<double>(counts.lines);
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(lines.size()));
}

BENCHMARK(BM_1_Load)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_2_SetUpPage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_3_Scan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_4_AssignLayers)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_5_MergeDashRuns)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_6_WriteJww)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_7_PreviewDrawing)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmora
