// Every real-world PDF of the corpus is loaded and every page set up: none may crash,
// hang or leak (the sanitizer build runs this too), and a file that loads directly must
// report the page count its manifest gives.
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "convert/document_reset.h"
#include "pdf/document_values.h"
#include "pdf/error_list.h"
#include "convert/page_setup.h"
#include "pdf/pdf_loader.h"
#include "support/store_fixture.h"
#include "support/test_data.h"

namespace velmora {
namespace {

constexpr double kHangGuardSeconds = 30.0;  // catches a hang, not a speed goal

// File name -> page count, from the manifest's "pages" column.
std::map<std::string, int> ManifestPages() {
    std::map<std::string, int> pages;
    std::ifstream manifest(CorpusDirectory() + "/MANIFEST.tsv");
    std::string line;
    std::getline(manifest, line);
    std::vector<std::string> header;
    {
        std::stringstream fields(line);
        for (std::string field; std::getline(fields, field, '\t');) header.push_back(field);
    }
    const auto column = std::find(header.begin(), header.end(), "pages") - header.begin();
    while (std::getline(manifest, line)) {
        std::stringstream fields(line);
        std::vector<std::string> row;
        for (std::string field; std::getline(fields, field, '\t');) row.push_back(field);
        if (static_cast<size_t>(column) < row.size()) pages[row[0]] = std::atoi(row[column].c_str());
    }
    return pages;
}

std::string Codes() {
    std::string text;
    for (int i = 0; i < g_errors.count; ++i) text += (i ? "," : "") + std::to_string(g_errors.codes[i]);
    return text;
}

using CorpusLoad = StoreTest;

TEST_F(CorpusLoad, EveryFileLoadsAndEveryPageIsSetUp) {
    VELMORA_SKIP_WITHOUT_REAL_WORLD_DATA();
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (const auto& item : std::filesystem::directory_iterator(CorpusDirectory(), error)) {
        if (item.path().extension() == ".pdf") files.push_back(item.path());
    }
    std::sort(files.begin(), files.end());
    ASSERT_FALSE(files.empty()) << "no PDF in " << CorpusDirectory();
    const std::map<std::string, int> manifest = ManifestPages();

    int direct = 0;
    for (const auto& path : files) {
        const std::string name = path.filename().string();
        // <chrono> does not compile with Shift-JIS literals; processor time serves the guard.
        const std::clock_t started = std::clock();
        ResetForFile();
        LoadPdfFile(path.string().c_str());
        const bool loaded = !HasFatalError() && g_store.page_count > 0;
        const std::string load_codes = Codes();
        const int page_count = g_store.page_count;
        int pages_set_up = 0;
        if (loaded) {
            ++direct;
            for (int page = 1; page <= page_count; ++page) {
                FreePageStreams();
                ResetForPage(page);
                pages_set_up += SetUpPage(page) ? 1 : 0;
            }
        }
        const double seconds = static_cast<double>(std::clock() - started) / CLOCKS_PER_SEC;
        std::printf("%-44s %-5s %-12s pages %4d (set up %4d)  %s  %.3f s\n", name.c_str(),
                    loaded ? "OK" : "ERROR", load_codes.c_str(), page_count, pages_set_up,
                    g_document.xref_stream_flag ? "xref-stream" : "classic    ", seconds);
        EXPECT_LT(seconds, kHangGuardSeconds) << name;
        const auto expected = manifest.find(name);
        if (loaded && expected != manifest.end()) {
            EXPECT_EQ(page_count, std::min(expected->second, kMaxPages)) << name;
        }
        FreeDocument();
    }
    std::printf("loaded directly: %d of %zu\n", direct, files.size());
}

}  // namespace
}  // namespace velmora
