#include "cli/convert_command.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include "settings/settings.h"
#include "settings/settings_file.h"
#include "cli/batch.h"
#include "cli/console_report.h"
#include "content/arc_recognition.h"
#include "cli/output_paths.h"
#include "cli/report_command.h"
#include "cli/svg_picture.h"
#include "convert/document_reset.h"
#include "convert/driver.h"
#include "convert/ghostscript_route.h"
#include "convert/page_setup.h"
#include "jww/jww_save.h"
#include "jww/jww_writer.h"
#include "pdf/error_list.h"
#include "pdf/security_handler.h"
#include "platform/console_seam.h"
#include "platform/platform.h"
#include "store/document_store.h"
#include "tools/dash_merge.h"
#include "convert/stated_scale.h"
#include "tools/page_scale.h"
#include "tools/tool_state.h"

namespace velmora {

namespace {

// The Ghostscript intermediate file lives in a directory of its own, removed at exit.
class TemporaryDirectory {
public:
    TemporaryDirectory() {
        std::error_code error;
        const std::filesystem::path base = std::filesystem::temp_directory_path(error);
        if (error) return;
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::filesystem::path candidate =
                base / ("velmora-" + std::to_string(static_cast<long>(getpid())) + "-" + std::to_string(attempt));
            if (std::filesystem::create_directory(candidate, error)) {
                path_ = candidate;
                return;
            }
        }
    }
    ~TemporaryDirectory() {
        std::error_code error;
        if (!path_.empty()) std::filesystem::remove_all(path_, error);
    }
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;
    bool ok() const { return !path_.empty(); }
    std::string directory() const { return path_.string() + "/"; }

private:
    std::filesystem::path path_;
};

struct StoreTables {
    bool allocated = AllocateStoreTables();
    ~StoreTables() {
        FreeDocument();
        ReleaseStoreTables();
    }
};

std::string Quoted(const std::string& path) { return "'" + NativeTextForConsole(path) + "'"; }

bool Readable(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    std::fclose(file);
    return !std::filesystem::is_directory(path);
}

// Why a file read through Ghostscript is still unreadable; empty when it was read. Ghostscript
// ends with status 0 and writes one blank page when it cannot open its input (a password, a
// truncated or empty file), so such a rewrite counts as a failed route.
std::string GhostscriptFailure() {
    if (g_store.conversion_route != ConversionRoute::kGhostscript) return "";
    const int status = LastGhostscriptStatus();
    if (status != 0) return "Ghostscript failed (exit status " + std::to_string(status) + ")";
    if (g_store.page_count == 1 && g_store.conversion.line_count == 0 && g_store.conversion.text_count == 0) {
        return "Ghostscript's rewrite is one page without lines or texts (see Ghostscript's message, if any)";
    }
    return "";
}

// Opens the current PDF path by the chosen route, as the window's commands do; true when a
// route read it.
bool OpenInput(Route route) {
    ResetForOpen();
    if (route == Route::Ghostscript) {
        if (!ConvertViaGhostscript(nullptr)) return false;
        if (GhostscriptFailure().empty()) {
            ShowMessage(nullptr, "GhostScript 経由で変換しました", "変換成功", MessageButtons::Ok);
        }
        return true;
    }
    // The window asks before it tries Ghostscript; here the route option answers.
    SetConsoleAnswer(route == Route::Auto ? MessageAnswer::Yes : MessageAnswer::No);
    ResetToolsForFile();
    OpenPdf(nullptr);
    return g_store.conversion_route != ConversionRoute::kNone;
}

bool MakeDirectory(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    return !error;
}

// --scale auto: the page takes the scale its PDF states, and the console says which and from what.
void ApplyScaleThePdfStates(int page) {
    const std::string prefix = "page " + std::to_string(page) + ": ";
    const StatedScale& stated = g_stated_scales[page];
    char factor[64];
    std::snprintf(factor, sizeof factor, "%.10g", stated.viewport.factor);
    if (stated.measure == PageMeasureKind::kWithoutUnit) {
        SayResult(prefix + "the viewport measure names no unit (factor " + factor + "): not applied");
    } else if (stated.measure == PageMeasureKind::kNotCovering) {
        SayResult(prefix + "the viewport measure does not cover the drawing: not applied");
    }
    if (!ApplyStatedScale(page)) {
        SayResult(prefix + "no stated scale: 1/1");
        return;
    }
    const std::string scale = "scale 1/" + std::to_string(stated.denominator);
    if (stated.source == StatedScaleSource::kMeasure) {
        SayResult(prefix + scale + " from the viewport measure (factor " + factor + " " +
                  ToConsoleEncoding(stated.viewport.unit) + " per point)");
    } else {
        SayResult(prefix + scale + " from the text '" + ToConsoleEncoding(stated.text) + "'");
    }
}

// Converts and writes one page, as the window's save does: convert, merge dash runs, write.
// `page_in_tables` is the page whose fresh conversion the tables hold (0: none); the open leaves
// page 1 there, and writing it at once, as the window saves it after opening, keeps each page's
// texts counted once in the text-size classes.
int WritePage(const ConvertOptions& options, int page, size_t requested_pages, int* page_in_tables) {
    g_store.current_page = page;
    if (*page_in_tables != page) {
        const int first_error = g_errors.count;
        ConvertPage(page);
        WarnAboutErrors(page, first_error);
    }
    *page_in_tables = 0;  // merged and scaled below: a page asked for again is converted again
    if (PageContentUnreadable(page) && g_store.conversion.line_count == 0 && g_store.conversion.text_count == 0) {
        SayError("page " + std::to_string(page) + ": content could not be read: no content stream of the page could be decoded");
        return kExitUnreadable;
    }
    if (options.scale_denominator > 0) SetGivenPageScale(page, options.scale_denominator);
    if (options.scale_denominator == kScaleAuto) ApplyScaleThePdfStates(page);
    MergeDashRuns();
    const std::string output =
        OutputPathForPage(options, g_file_names.pdf_stem, page, g_store.page_count, requested_pages);
    if (!SaveJwwPage(nullptr, output.c_str(), page)) {
        SayError("cannot write " + Quoted(output));
        return kExitOutput;
    }
    std::string written = NativeTextForConsole(output);
    if (options.svg) {
        const std::string svg = SvgPathFor(output);
        if (!SaveSvgPicture(svg.c_str(), page)) {
            SayError("cannot write " + Quoted(svg));
            return kExitOutput;
        }
        written += ", " + NativeTextForConsole(svg);
    }
    // What the file holds: the lines left after dash run merging, the texts without duplicates.
    SayResult("page " + std::to_string(page) + ": " + std::to_string(JwwWrittenLineCount()) + " lines, " +
              std::to_string(JwwWrittenTextCount()) + " texts -> " + written);
    return kExitSuccess;
}

// One input file from opening to its last written page. Returns its exit status.
int ConvertFile(const ConvertOptions& options, const std::string& input) {
    if (!Readable(input)) {
        SayError("cannot read " + Quoted(input));
        return kExitUsage;
    }
    if (!SetPdfPath(input.c_str())) {
        SayError(Quoted(input) + ": the path is longer than 259 bytes");
        return kExitUsage;
    }
    BeginFileWarnings();
    if (!OpenInput(options.route)) {
        FinishConsoleProgress();
        for (int i = 0; i < g_errors.count; ++i) {
            if (g_errors.codes[i] == kErrorPasswordRequired || g_errors.codes[i] == kErrorWrongPassword) {
                SayError(Quoted(input) + (g_errors.codes[i] == kErrorPasswordRequired ? ": password required" : ": wrong password"));
                return kExitUnreadable;
            }
        }
        const std::string reasons = ErrorListReasons();
        SayError(Quoted(input) + " could not be read" + (reasons.empty() ? "" : ": " + reasons));
        return kExitUnreadable;
    }
    if (const std::string failure = GhostscriptFailure(); !failure.empty()) {
        FinishConsoleProgress();
        SayError(Quoted(input) + " could not be read: " + failure);
        return kExitUnreadable;
    }

    // A page list that does not fit the file is refused before anything is written.
    std::vector<int> pages;
    int missing_page = 0;
    if (!options.list && !ExpandPages(options.pages, g_store.page_count, &pages, &missing_page)) {
        SayError(Quoted(input) + " has no page " + std::to_string(missing_page) + " (the file has " +
                 std::to_string(g_store.page_count) + ")");
        return kExitUsage;
    }

    // The open converted page 1: its codes are said as page 1's when that page is written, the
    // load's for the file. The list is emptied, so every page's line and text caps are recorded.
    const int page_one_errors = FirstErrorOfLastPage();
    if (std::find(pages.begin(), pages.end(), 1) != pages.end()) {
        WarnAboutErrors(1, page_one_errors);
    } else {
        ForgetErrors(page_one_errors);
    }
    WarnAboutErrors(0, 0);

    // The window's report and page list: every page converted once for its figures first.
    int status = kExitSuccess;
    int page_in_tables = 1;
    if (options.list || !options.report_path.empty()) {
        page_in_tables = 0;
        status = WriteReportAndList(options);
        WarnAboutErrors(0, 0);
        if (options.list) return status;
    }

    if (OutputIsDirectory(options, pages.size()) && !MakeDirectory(options.output)) {
        SayError("cannot make the directory " + Quoted(options.output));
        return kExitOutput;
    }
    for (int page : pages) {
        status = std::max(status, WritePage(options, page, pages.size(), &page_in_tables));
    }
    FinishConsoleProgress();
    return status;
}

// How many curve pieces became arcs, and how close the arcs keep to the curves (mm on paper).
void SayArcStatistics() {
    const ArcStatistics& a = g_arc_statistics;
    char text[200];
    std::snprintf(text, sizeof text, "arcs: %lld arcs from %lld of %lld curve pieces, largest distance %.4f mm",
                  static_cast<long long>(a.arcs), static_cast<long long>(a.arc_pieces),
                  static_cast<long long>(a.curve_pieces), a.largest_deviation * kMmPerPoint);
    SayResult(text);
}

}  // namespace

int RunConverter(const std::vector<std::string>& arguments) {
    const ParseResult parsed = ParseOptions(arguments);
    const ConvertOptions& options = parsed.options;
    if (!parsed.error.empty()) {
        SayError(parsed.error);
        std::fputs(kUsageText, stderr);
        return kExitUsage;
    }
    if (options.help) {
        std::fputs(kUsageText, stdout);
        return kExitSuccess;
    }
    if (options.version) {
        std::printf("%s\n", kVersionText);
        return kExitSuccess;
    }

    SetDocumentPassword(options.password);
    SetVerbosity(options.quiet ? Verbosity::Quiet : options.verbose ? Verbosity::Verbose : Verbosity::Normal);
    SetConsoleMessages(options.verbose);
    SetConsoleProgress(options.verbose && isatty(2));
    if (HasFolderInput(options)) return RunBatch(options);
    // Each file from the current directory, else from beside the program; --config names the one place.
    g_settings_directory = options.config_directory.empty() ? "" : ChooseConfigDirectory(options.config_directory, "");
    g_settings_fallback_directory = options.config_directory.empty() ? ProgramDirectory() : "";
    ReadSettings(nullptr);
    if (options.curves >= 0) g_settings.arcs = options.curves;  // --curves wins over the file for this run
    if (options.fills >= 0) g_settings.solid_fills = options.fills;
    ReadSxfData(nullptr);
    if (g_settings.sxf_length < 0 && !options.list) {
        // Without the SXF block no JWW file can be written: say so once, before any input is read.
        SayError("cannot read " + NativeTextForConsole(g_settings_sources.sxf_tried));
        return kExitUsage;
    }
    if (CurrentVerbosity() == Verbosity::Verbose) {
        const std::string& settings = g_settings_sources.settings_path;
        WriteErrorLine("velmora-convert: settings: " +
                       NativeTextForConsole(settings.empty() ? "defaults (no " + g_settings_sources.settings_tried + ")" : settings));
        WriteErrorLine("velmora-convert: SXF block: " + NativeTextForConsole(g_settings_sources.sxf_path));
    }

    StoreTables tables;
    if (!tables.allocated) {
        SayError("not enough memory for the drawing tables");
        return kExitUnreadable;
    }
    TemporaryDirectory temporary;
    if (!temporary.ok() || !SetIntermediateDirectory(temporary.directory().c_str())) {
        SayError("cannot make a temporary directory for Ghostscript's output");
        return kExitUnreadable;
    }
    // Several reports go into one directory, each under its input's name.
    if (options.inputs.size() > 1 && !options.report_path.empty() && !MakeDirectory(options.report_path)) {
        SayError("cannot make the directory " + Quoted(options.report_path));
        return kExitOutput;
    }

    // Each file in turn; one that fails does not stop the others, and the worst status wins.
    int status = kExitSuccess;
    for (const std::string& input : options.inputs) status = std::max(status, ConvertFile(options, input));
    if (options.verbose && g_settings.arcs == 1) SayArcStatistics();
    return status;
}

}  // namespace velmora
