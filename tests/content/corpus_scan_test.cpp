// Every page of every corpus file that loads directly goes through the content scanner: no crash,
// hang or leak (the sanitizer build runs this too), and every record a page leaves is whole and
// lies on the page. The printed counts are compared by hand with `mutool trace`.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "content/content_scanner.h"
#include "convert/document_reset.h"
#include "pdf/error_list.h"
#include "convert/page_setup.h"
#include "pdf/pdf_loader.h"
#include "support/store_fixture.h"
#include "support/test_data.h"

namespace velmora {
namespace {

constexpr double kHangGuardSeconds = 30.0;  // catches a hang, not a speed goal

// A record of page `page` as the conversion creates it, with finite end points.
bool IsWholeRecord(const LineRecord& line, int page) {
    return line.page_number == page && line.pen_colour == 2 && line.pen_width == 0 && line.flags == 0 &&
           line.layer == 0 && line.reserved == 0 && (line.pen_style == 1 || line.pen_style == 3 || line.pen_style == 5) &&
           std::isfinite(line.x1) && std::isfinite(line.y1) && std::isfinite(line.x2) && std::isfinite(line.y2);
}

using CorpusScan = StoreTest;

TEST_F(CorpusScan, EveryPageOfEveryDirectlyLoadedFileIsScanned) {
    VELMORA_SKIP_WITHOUT_REAL_WORLD_DATA();
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (const auto& item : std::filesystem::directory_iterator(CorpusDirectory(), error)) {
        if (item.path().extension() == ".pdf") files.push_back(item.path());
    }
    std::sort(files.begin(), files.end());
    ASSERT_FALSE(files.empty());

    int files_with_lines = 0;
    for (const auto& path : files) {
        const std::string name = path.filename().string();
        ResetForFile();
        LoadPdfFile(path.string().c_str());
        if (HasFatalError() || g_store.page_count <= 0) {
            FreeDocument();
            continue;
        }
        const std::clock_t started = std::clock();
        long long kept = 0, emitted = 0;
        const int page_count = std::min(g_store.page_count, kMaxPages);
        std::string per_page;
        for (int page = 1; page <= page_count; ++page) {
            ResetConversionCounters(true);
            FreePageStreams();
            ResetForPage(page);
            if (!SetUpPage(page)) continue;
            ContentScanner(page);
            const int count = g_store.conversion.line_count;
            ASSERT_GE(count, 0) << name << " page " << page;
            ASSERT_LE(count, kMaxLinesPerPage) << name << " page " << page;
            ASSERT_LE(count, g_store.pages[page].line_count) << name << " page " << page;
            for (int i = 0; i < count; ++i) {
                ASSERT_TRUE(IsWholeRecord(g_store.lines[i], page)) << name << " page " << page << " record " << i;
            }
            kept += count;
            emitted += g_store.pages[page].line_count;
            if (page <= 3) {
                char figures[48];  // snprintf: MinGW's -O2 warns falsely on the string concatenation
                std::snprintf(figures, sizeof figures, " %d/%d", count, g_store.pages[page].line_count);
                per_page += figures;
            }
        }
        const double seconds = static_cast<double>(std::clock() - started) / CLOCKS_PER_SEC;
        EXPECT_LT(seconds, kHangGuardSeconds) << name;
        if (kept > 0) ++files_with_lines;
        std::printf("%-44s pages %4d  kept %8lld  emitted %8lld  first pages%s\n", name.c_str(), page_count, kept,
                    emitted, per_page.c_str());
        FreeDocument();
    }
    // The corpus is mostly drawings: most files that load give lines.
    EXPECT_GT(files_with_lines, 20);
}

}  // namespace
}  // namespace velmora
