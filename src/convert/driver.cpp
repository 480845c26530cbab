#include "convert/document_reset.h"
#include "convert/driver.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <cstdio>
#include <cstring>
#include <string>

#include "convert/ghostscript_route.h"
#include "content/content_scanner.h"
#include "content/form_xobject.h"
#include "content/text_merge.h"
#include "pdf/error_list.h"
#include "pdf/expansion_statistics.h"
#include "convert/page_setup.h"
#include "convert/visible_box.h"
#include "pdf/pdf_loader.h"
#include "pdf/security_handler.h"
#include "store/document_store.h"
#include "convert/driver_stages.h"
#include "convert/layer_assignment.h"
#include "convert/pdf_layer_assignment.h"
#include "convert/stated_scale.h"
#include "settings/settings.h"

namespace velmora {

DriverStages DefaultDriverStages() { return DriverStages{LoadPdfFile, SetUpPage, ContentScanner}; }
DriverStages g_driver_stages = DefaultDriverStages();

namespace {

int g_first_error_of_last_page = 0;

constexpr Rgb kPageProgressColour = {255, 255, 255};
constexpr Rgb kDirectProgressColour = {255, 100, 100};
constexpr Rgb kGhostscriptReadingColour = {100, 255, 100};
constexpr int kProgressEraseSpaces = 20;
constexpr char kIdeographicSpace[] = "　";
constexpr char kInformationTitle[] = "情報";

std::string Format(const char* format, int value) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

bool PageHasNoData() { return g_store.conversion.line_count == 0 && g_store.conversion.text_count == 0; }

// The reader stages of one page, shared by ConvertPage and ConvertAllPages.
void ReadPage(int page) {
    FreePageStreams();
    ResetForPage(page);
    g_driver_stages.set_up_page(page);
    g_driver_stages.content_scanner(page);
    DropHiddenContent(page);
    MergeTextRuns(page);
}

void ShowResult(WindowHandle window, const char* message, int page_count) {
    ReportErrors(window);
    RequestRepaint(window, true);
    ShowMessage(window, Format(message, page_count).c_str(), "変換終了", MessageButtons::Ok);
}

}  // namespace

void ShowProgress(WindowHandle window, const char* text, Rgb colour) {
    DrawProgressText(window, text, colour, g_settings.screen_colours[kScreenColourBackground],
                     g_store.jww_font_names[1]);
}

void DetectPaperSize(int page) {
    if (page < 1 || page >= kPageTableSize) return;
    g_store.pages[page].paper_size_index = MatchPaperSize(g_store.pages[page].media_box);
}

// Texts written as placeholders on the pages converted since the file was opened.
static int UndecodedTexts() {
    int64_t sum = 0;
    const int pages = g_store.page_count < kPageTableSize - 1 ? g_store.page_count : kPageTableSize - 1;
    for (int p = 1; p <= pages; ++p) sum += g_store.pages[p].undecoded_text_count;
    return sum < INT32_MAX ? static_cast<int>(sum) : INT32_MAX;
}

// Pages whose raster images the window has told of: each page says so once per open file,
// with its own count, though the code stands in the file's list once.
static bool g_raster_told[kPageTableSize];

// "（2頁 3個、5頁 1個）" for the pages with raster images not told of yet; empty when none.
static std::string UntoldRasterPages() {
    std::string pages;
    const int last = g_store.page_count < kPageTableSize - 1 ? g_store.page_count : kPageTableSize - 1;
    for (int p = 1; p <= last; ++p) {
        if (g_raster_told[p] || RasterImagesOnPage(p) == 0) continue;
        char part[64];
        std::snprintf(part, sizeof part, "%s%d頁 %d個", pages.empty() ? "" : "、", p, RasterImagesOnPage(p));
        pages += part;
    }
    return pages.empty() ? pages : "（" + pages + "）";
}

static void MarkRasterPagesTold() {
    for (int p = 1; p < kPageTableSize; ++p) g_raster_told[p] = g_raster_told[p] || RasterImagesOnPage(p) > 0;
}

// The messages of the listed codes the window has not shown yet, of one kind (lost content or
// information). A message that would not fit whole is left out, so no Shift-JIS character is
// ever cut; a code the table lacks gives an empty line.
static std::string UnshownMessages(const int32_t* codes, int count, bool information) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        if (IsInformationCode(codes[i]) != information) continue;
        const std::string raster_pages = codes[i] == kWarningRasterImages ? UntoldRasterPages() : "";
        if (codes[i] == kWarningRasterImages ? raster_pages.empty() : WasShown(codes[i])) continue;
        const char* message = ErrorMessage(codes[i]);
        std::string line = message != nullptr ? message : "";
        line += raster_pages;
        if (codes[i] == kWarningUndecodedText) line += Format("（%d 件）", UndecodedTexts());
        line += "\n";
        if (text.size() + line.size() >= static_cast<size_t>(kErrorTextBytes)) break;
        text += line;
    }
    return text;
}

void ReportErrors(WindowHandle window) {
    if (g_errors.count == 0) return;
    int32_t codes[kErrorListCapacity];
    const int distinct = DistinctErrorCodes(0, codes);
    const std::string lost = UnshownMessages(codes, distinct, false);
    const std::string information = UnshownMessages(codes, distinct, true);
    bool anything_new = false;
    for (int i = 0; i < distinct; ++i) {
        anything_new = anything_new || !WasShown(codes[i]) ||
                       (codes[i] == kWarningRasterImages && !UntoldRasterPages().empty());
    }
    if (!anything_new) return;
    for (int i = 0; i < distinct; ++i) MarkShown(codes[i]);
    MarkRasterPagesTold();

    std::string erase;
    for (int i = 0; i < kProgressEraseSpaces; ++i) erase += kIdeographicSpace;
    const Rgb background = g_settings.screen_colours[kScreenColourBackground];
    DrawProgressText(window, erase.c_str(), background, background, g_store.jww_font_names[1]);

    // Only what was lost is an error; what the file merely tells, and the totals, are information.
    if (!lost.empty()) ShowMessage(window, lost.c_str(), "エラー", MessageButtons::Ok);
    char counts[128];
    std::snprintf(counts, sizeof counts, "Obj総数    %5d\n総ページ数 %5d\n", g_store.object_count, g_store.page_count);
    const std::string totals = information.empty() ? std::string(counts) : information + "\n" + counts;
    ShowMessage(window, totals.c_str(), kInformationTitle, MessageButtons::Ok);
}

void ConvertPage(int page) {
    g_first_error_of_last_page = g_errors.count;
    ResetConversionCounters(true);
    ClearExpansionRecords();
    ReadPage(page);
    AssignLineLayers();
    AssignTextLayers();
    AssignPdfLayers();
    AssignSolidLayers();
    g_store.converted_flag = 1;
    DetectPaperSize(page);
    FindStatedScale(page);
}

void ConvertAllPages(WindowHandle window) {
    ResetConversionCounters(false);
    ClearExpansionRecords();
    const int page_count = g_store.page_count < kMaxPages ? g_store.page_count : kMaxPages;
    for (int page = 1; page <= page_count; ++page) {
        const PageRecord& record = g_store.pages[page];
        if (record.line_count > 0 || record.text_count > 0) continue;
        char progress[64];
        std::snprintf(progress, sizeof progress, "　%d/%d 頁 解析　", page, g_store.page_count);
        ShowProgress(window, progress, kPageProgressColour);
        ReadPage(page);
        g_store.converted_flag = 1;
        DetectPaperSize(page);
        FindStatedScale(page);
    }
}

bool LoadForConversion(WindowHandle window, const char* path) {
    FreeDocument();
    g_driver_stages.load_pdf_file(path);
    if (HasFatalError() || g_store.page_count == 0) return false;
    ReportErrors(window);
    ConvertPage(1);
    return true;
}

void ResetForOpen() {
    ResetForFile();
    std::fill(std::begin(g_raster_told), std::end(g_raster_told), false);
    g_store.ghostscript_marker = GhostscriptMarker::kNone;
    g_store.converted_flag = 0;
    g_store.conversion_route = ConversionRoute::kNone;
}

int FirstErrorOfLastPage() { return g_first_error_of_last_page; }

namespace {

bool Recorded(int code) {
    for (int i = 0; i < g_errors.count; ++i) {
        if (g_errors.codes[i] == code) return true;
    }
    return false;
}

bool PasswordNeeded() { return Recorded(kErrorPasswordRequired) || Recorded(kErrorWrongPassword); }

}  // namespace

void OpenPdf(WindowHandle window) {
    ResetForOpen();

    bool loaded = LoadForConversion(window, g_file_names.pdf_path);
    // A protected file: the password box until a password opens it; Cancel ends the open.
    while (!loaded && PasswordNeeded()) {
        std::string password;
        const PasswordAnswer answer = AskPassword(window, Recorded(kErrorWrongPassword), &password);
        if (answer == PasswordAnswer::Cancelled) return;
        if (answer == PasswordAnswer::NotAsked) break;
        SetDocumentPassword(password);
        ResetForOpen();
        loaded = LoadForConversion(window, g_file_names.pdf_path);
    }
    // A page whose content could not be decoded is no empty drawing: Ghostscript may read it.
    const bool unreadable = loaded && PageHasNoData() && PageContentUnreadable(1);
    if (loaded && !unreadable) {
        g_store.conversion_route = ConversionRoute::kDirect;
        if (PageHasNoData()) {
            ShowResult(window,
                       "単独変換で %d 頁 読み込みましたが \r\n変換できるデータが見つかりませんでした \r\n"
                       "GS経由変換(メインメニュー)も試してみてください",
                       g_store.page_count);
        } else {
            ShowResult(window, "単独変換で %d 頁 読込・変換しました \r\n \r\n●右クリックで縮尺を指定できます●",
                       g_store.page_count);
        }
        return;
    }

    // A password that does not open the file opens Ghostscript's copy no better.
    if (PasswordNeeded()) {
        ReportErrors(window);
        return;
    }
    const MessageAnswer answer = ShowMessage(window,
                                             "「単独変換」で変換できませんでした \r\n「GhostScript経由変換」を試してみますか？ \r\n"
                                             "ファイルサイズが大きい場合時間がかかります",
                                             "変換確認", MessageButtons::YesNo);
    if (answer != MessageAnswer::Yes) {
        if (unreadable) g_store.conversion_route = ConversionRoute::kDirect;  // loaded: the page itself says it is unreadable
        ReportErrors(window);
        return;
    }
    RunGhostscript(window);
    if (g_store.ghostscript_marker == GhostscriptMarker::kNone) {
        ReplaceErrors(kWarningNotConvertible);
        RecordError(kWarningNoGhostscript);
        ReportErrors(window);
        return;
    }
    ResetForFile();
    if (!LoadForConversion(window, g_file_names.intermediate_path)) {
        ReportErrors(window);
        return;
    }
    g_store.conversion_route = ConversionRoute::kGhostscript;
    if (PageHasNoData()) {
        ShowResult(window, "GS経由変換で %d 頁 読み込みましたが \r\n変換できるデータが見つかりませんでした ",
                   g_store.page_count);
    } else {
        ShowResult(window, "GS経由変換で %d 頁 読込・変換しました \r\n \r\n●右クリックで縮尺を指定できます●",
                   g_store.page_count);
    }
}

bool ConvertViaGhostscript(WindowHandle window) {
    ResetForFile();
    RunGhostscript(window);
    if (g_store.ghostscript_marker == GhostscriptMarker::kNone) {
        ReplaceErrors(kWarningNoGhostscript);
        ReportErrors(window);
        return false;
    }
    ShowProgress(window, "ＧＳ経由 解析中", kGhostscriptReadingColour);
    if (!LoadForConversion(window, g_file_names.intermediate_path)) {
        ReportErrors(window);
        return false;
    }
    g_store.conversion_route = ConversionRoute::kGhostscript;
    return true;
}

bool ConvertDirect(WindowHandle window) {
    ResetForFile();
    if (g_store.converted_flag == 0) {
        ReplaceErrors(kWarningNotConvertible);
        ReportErrors(window);
        return false;
    }
    ShowProgress(window, "単独変換 解析中", kDirectProgressColour);
    if (!LoadForConversion(window, g_file_names.pdf_path)) {
        ReportErrors(window);
        return false;
    }
    g_store.conversion_route = ConversionRoute::kDirect;
    return true;
}

}  // namespace velmora
