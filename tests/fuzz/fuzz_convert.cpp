// libFuzzer harness for the whole conversion of one file: load, convert each page, merge dash
// runs, mark duplicate texts, use the drawing tools (a scale from two picked points, a layer's
// pen, the page list's row), write the page as JWW into memory, draw it as the preview and as
// the SVG picture do, and write the PDF report. Every written file must carry the SXF block where
// readers look for it, every drawn point must be finite and inside the pixel range, and the
// report must end.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "convert/document_reset.h"
#include "jww/jww_writer.h"
#include "pdf/error_list.h"
#include "pdf/pdf_loader.h"
#include "platform/platform.h"
#include "report/report.h"
#include "store/document_store.h"
#include "convert/driver.h"
#include "settings/settings.h"
#include "tools/dash_merge.h"
#include "tools/page_list.h"
#include "tools/pen_change.h"
#include "tools/scale_pick.h"
#include "tools/scale_setting.h"
#include "tools/scale_snap.h"
#include "view/page_drawing.h"
#include "view/svg_surface.h"
#include "tools/tool_state.h"

namespace {

using namespace velmora;

// As the reader's harness: larger than every corpus file, small enough for 50-fold inflation.
constexpr size_t kMaxInput = size_t{4} << 20;
// A crafted file may declare many pages that share one heavy content stream; a few show every path.
constexpr int kMaxPagesPerInput = 4;

void Require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "fuzz_convert: %s\n", what);
    std::abort();
}

// The shipped SXF block, read once: without it WriteJww refuses every page.
bool LoadSxfBlock() {
    std::FILE* file = std::fopen(VELMORA_SXF_PATH, "rb");
    if (file == nullptr) return false;
    const size_t length = std::fread(g_settings.sxf_data, 1, kSxfDataCapacity, file);
    std::fclose(file);
    g_settings.sxf_length = static_cast<int32_t>(length);
    return SxfBlockIsValid(g_settings.sxf_data, g_settings.sxf_length);
}

void WritePage(int page) {
    char* bytes = nullptr;
    size_t size = 0;
    std::FILE* file = open_memstream(&bytes, &size);
    if (file == nullptr) return;
    const bool written = WriteJww(file, page);
    std::fclose(file);
    Require(written, "WriteJww failed on a converted page");
    const auto sxf_length = static_cast<size_t>(g_settings.sxf_length);
    Require(size > kJwwSxfOffset + sxf_length, "JWW file ends inside its header");
    Require(std::memcmp(bytes + kJwwSxfOffset, g_settings.sxf_data, sxf_length) == 0, "SXF block moved");
    std::free(bytes);
}

bool InPixelRange(double v) { return v >= -kScreenCoordinateLimit && v <= kScreenCoordinateLimit; }

// The preview at the page's fit and at the largest zoom, and the SVG picture into memory.
void DrawPage(int page) {
    DrawingSurface checking{nullptr, [](void*, Rgb, double, double) {},
                            [](void*, const DrawPen&, double x1, double y1, double x2, double y2) {
                                Require(InPixelRange(x1) && InPixelRange(y1) && InPixelRange(x2) && InPixelRange(y2),
                                        "a line drawn outside the pixel range");
                            },
                            [](void*, const DrawFont& font, double x, double y, const char*, int length) {
                                Require(InPixelRange(x) && InPixelRange(y) && font.height >= 1 && length > 0,
                                        "a text drawn outside the pixel range");
                            }};
    const ClientSize client{1000, 700};
    double fit = 1.0;
    FitZoom(g_store.pages[page].media_box, client, &fit);
    for (const ViewTransform& view : {ViewTransform{fit, 0, 0}, ViewTransform{kMaxZoom, -5e4, 3e4}}) {
        DrawNormalPicture(checking, PageView{view, true, client}, page, false);
    }
    char* bytes = nullptr;
    size_t size = 0;
    std::FILE* file = open_memstream(&bytes, &size);
    if (file == nullptr) return;
    SvgWriter writer;
    BeginSvg(&writer, file, 595, 842);
    DrawNormalPicture(SvgSurface(&writer), PageView{ViewTransform{1.0, 0.0, 0.0}, false, client}, page, true);
    Require(EndSvg(&writer), "the SVG picture could not be written");
    std::fclose(file);
    Require(size > 0 && std::strstr(bytes, "</svg>") != nullptr, "the SVG picture is cut short");
    std::free(bytes);
}

// The tools on the converted page, as a user reaches them: right clicks on the first line's start
// and the last line's end with the distance typed after them, pen 3 for every layer listed.
void UseTools(int page) {
    constexpr double kHalfWidth = 10.0;  // 10 pixels at one pixel per point
    const int lines = ReadableLineCount();
    if (lines >= 1) {
        const LineRecord first = g_store.lines[0];
        const LineRecord last = g_store.lines[lines - 1];
        double x = 0.0;
        double y = 0.0;
        if (TakeScalePoint(SnapArea{first.x1, first.y1, kHalfWidth}, &x, &y)) {
            Require(std::fabs(x - first.x1) < kHalfWidth && std::fabs(y - first.y1) < kHalfWidth,
                    "a picked point outside its square");
        }
        EndScalePick();
        PickScalePoint(nullptr, first.x1, first.y1, kHalfWidth);
        PickScalePoint(nullptr, last.x2, last.y2, kHalfWidth);
        if ((g_tool_state.scale_pick == ScalePickState::kBothPointsHeld)) AcceptScaleDistance(nullptr, "1000", true, false);
        EndScalePick();
        Require(g_store.pages[page].scale_denominator >= 1, "a scale below 1/1");
    }
    OpenPenDialog();
    const bool pen_3[kPenChoiceCount] = {false, false, true};
    for (int row = 0; row < kPenListRows; ++row) {
        Require(!PenListRow(row).empty(), "a pen list row is empty");
        SelectPenListRow(row);
        SetSelectedLayerPen(pen_3);
    }
    ClosePenDialog();
    Require(PageListRow(page).size() < kPageListRowBytes, "a page list row beyond its buffer");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = [] {
        SetDefaultSettings();
        return AllocateStoreTables() && LoadSxfBlock();
    }();
    Require(ready, "store tables or " VELMORA_SXF_PATH " unavailable");

    ResetForFile();
    LoadPdfBytes(data, std::min(size, kMaxInput));
    if (!HasFatalError()) {
        const int pages = std::min(g_store.page_count, kMaxPagesPerInput);
        for (int page = 1; page <= pages; ++page) {
            g_store.current_page = page;
            ConvertPage(page);
            MergeDashRuns();
            const int marked = MarkDuplicateTexts();
            Require(marked >= 0 && marked <= g_store.conversion.text_count, "more duplicates than texts");
            UseTools(page);
            WritePage(page);
            DrawPage(page);
        }
    }
    std::string text;
    ReportSink sink;
    sink.text = &text;
    WriteReportBody(sink);
    FreeDocument();
    // The report always ends with its last section's blank line.
    Require(text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0, "report cut short");
    return 0;
}
