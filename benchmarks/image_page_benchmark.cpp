// A mechanical sheet's kind of page: N small image XObjects (16 × 16 RGB, deflated), each painted
// by "q ... cm /ImK Do Q" beside one stroked line, all named in the page's /XObject dictionary.
// Timed from loading the file to the scanned page; the images are only counted, so the time
// should grow with N, not with N². The files are left in the temporary directory as
// velmora_image_page_N.pdf, so other readers can be timed on the same pages.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "../tests/support/pdf_maker.h"
#include "content/content_scanner.h"
#include "content/form_xobject.h"
#include "convert/document_reset.h"
#include "convert/page_setup.h"
#include "pdf/error_list.h"
#include "pdf/pdf_loader.h"
#include "platform/platform.h"
#include "settings/settings.h"
#include "settings/settings_file.h"
#include "store/document_store.h"

namespace velmora {
namespace {

using test_support::FlateStreamBody;
using test_support::PageDocument;
using test_support::PdfMaker;

constexpr int kFirstImageObject = 10;
constexpr int kImageSide = 16;

std::string ImagePagePdf(int images) {
    std::string names, content;
    for (int k = 0; k < images; ++k) {
        const int x = 20 + (k % 30) * 38, y = 20 + (k / 30) % 30 * 26;
        names += "/Im" + std::to_string(k) + " " + std::to_string(kFirstImageObject + k) + " 0 R ";
        content += "q 30 0 0 20 " + std::to_string(x) + " " + std::to_string(y) + " cm /Im" + std::to_string(k) +
                   " Do Q\n" + std::to_string(x) + " " + std::to_string(y) + " m " + std::to_string(x + 30) + " " +
                   std::to_string(y) + " l S\n";
    }
    PdfMaker pdf = PageDocument("/MediaBox [0 0 1190 842]/Resources <</XObject <<" + names + ">>>>", content);
    for (int k = 0; k < images; ++k) {
        std::string samples(kImageSide * kImageSide * 3, '\0');
        for (size_t b = 0; b < samples.size(); ++b) samples[b] = static_cast<char>((k * 7 + b) % 256);
        pdf.Add(kFirstImageObject + k,
                FlateStreamBody("/Type/XObject/Subtype/Image/Width 16/Height 16/ColorSpace/DeviceRGB"
                                "/BitsPerComponent 8",
                                samples));
    }
    return pdf.Finish(pdf.ClassicXref("/Root 1 0 R/Info 2 0 R"));
}

// Written once per size and run; empty when it could not be written.
const std::string& ImagePagePath(int images) {
    static std::map<int, std::string> paths;
    const auto found = paths.find(images);
    if (found != paths.end()) return found->second;
    const std::string pdf = ImagePagePdf(images);
    std::error_code error;
    std::string file = (std::filesystem::temp_directory_path(error) /
                        ("velmora_image_page_" + std::to_string(images) + ".pdf")).string();
    std::FILE* out = std::fopen(file.c_str(), "wb");
    const bool written = out != nullptr && std::fwrite(pdf.data(), 1, pdf.size(), out) == pdf.size();
    if (out == nullptr || std::fclose(out) != 0 || !written) file.clear();
    if (!file.empty()) std::fprintf(stderr, "image page: %s (%zu bytes)\n", file.c_str(), pdf.size());
    return paths.emplace(images, file).first->second;
}

void BM_ImagePage(benchmark::State& state) {
    const int images = static_cast<int>(state.range(0));
    if (g_store.lines == nullptr) {
        if (!AllocateStoreTables()) {
            state.SkipWithError("the store tables could not be allocated");
            return;
        }
        g_settings_directory = ProgramDirectory();
        ReadSettings(nullptr);
        ReadSxfData(nullptr);
    }
    const std::string& path = ImagePagePath(images);
    if (path.empty()) {
        state.SkipWithError("the image page could not be written");
        return;
    }
    for (auto _ : state) {
        ResetForFile();
        FreeDocument();
        LoadPdfFile(path.c_str());
        FreePageStreams();
        ResetForPage(1);
        SetUpPage(1);
        g_store.conversion.line_count = 0;
        g_store.conversion.text_count = 0;
        g_store.conversion.pool_used = 0;
        ResetConversionCounters(true);
        ClearErrors();
        ContentScanner(1);
    }
    if (RasterImagesOnPage(1) != images || g_store.conversion.line_count != images) {
        state.SkipWithError("the page did not convert to its lines and images");
        return;
    }
    state.counters["images"] = RasterImagesOnPage(1);
    state.counters["segments"] = g_store.conversion.line_count;
    state.SetItemsProcessed(state.iterations() * images);
}

BENCHMARK(BM_ImagePage)->Arg(100)->Arg(900)->Arg(3000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmora
