// What one small drawing costs a fresh process, the common case of batch use: the tables
// allocated, the file opened (reset, load, page 1 converted) and written, in a child process
// forked per iteration, so every first touch of the store's memory is paid as a new
// velmora-convert pays it. Also the same open in a warm process, for comparison.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "settings/settings_file.h"
#include "convert/document_reset.h"
#include "convert/driver.h"
#include "jww/jww_save.h"
#include "platform/console_seam.h"
#include "store/document_store.h"

namespace velmora {
namespace {

// A one-page corpus drawing and the repository's floor-plan sample.
const std::string kSmallDrawings[] = {std::string(VELMORA_TEST_DATA_DIR) + "/corpus/arch_floor_plan_clibpdf_01.pdf",
                                     std::string(VELMORA_SOURCE_DIR) + "/samples/sample_plan.pdf"};

// The shipped settings, as velmora-convert reads them beside itself.
void ReadShippedSettings() {
    g_settings_directory = std::string(VELMORA_SOURCE_DIR) + "/data/";
    ReadSettings(nullptr);
    ReadSxfData(nullptr);
}

// One conversion as velmora-convert runs it; false when the drawing did not convert.
bool OpenAndWrite(const std::string& pdf) {
    SetConsoleMessages(false);
    if (!SetPdfPath(pdf.c_str())) return false;
    OpenPdf(nullptr);
    if (g_store.conversion_route != ConversionRoute::kDirect) return false;
    const std::string output = std::string(P_tmpdir) + "/velmora_startup_benchmark.jww";
    return SaveJwwPage(nullptr, output.c_str(), 1);
}

void BM_FreshProcess(benchmark::State& state) {
    const std::string pdf = kSmallDrawings[state.range(0)];
    double page_faults = 0;
    for (auto _ : state) {
        const pid_t child = fork();
        if (child == 0) {
            ReadShippedSettings();
            const bool ok = AllocateStoreTables() && OpenAndWrite(pdf);
            _exit(ok ? 0 : 1);
        }
        // The child's own processor time (user + system, page faults included), not the wall
        // clock, so that a busy machine does not blur the figure.
        int status = 0;
        struct rusage usage {};
        wait4(child, &status, 0, &usage);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) state.SkipWithError("the drawing did not convert");
        const double seconds = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
                               (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
        state.SetIterationTime(seconds);
        page_faults += static_cast<double>(usage.ru_minflt);
    }
    state.counters["page_faults"] = benchmark::Counter(page_faults, benchmark::Counter::kAvgIterations);
}

void BM_WarmProcess(benchmark::State& state) {
    const std::string pdf = kSmallDrawings[state.range(0)];
    ReadShippedSettings();
    if (g_store.lines == nullptr && !AllocateStoreTables()) state.SkipWithError("no memory for the tables");
    for (auto _ : state) {
        if (!OpenAndWrite(pdf)) state.SkipWithError("the drawing did not convert");
    }
    FreeDocument();
}

BENCHMARK(BM_FreshProcess)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_WarmProcess)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmora
