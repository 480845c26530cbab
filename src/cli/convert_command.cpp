#include "cli/convert_command.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include "convert/document_reset.h"
#include "convert/ghostscript_route.h"
#include "app/settings_file.h"
#include "jww/jww_save.h"
#include "pdf/error_list.h"
#include "cli/output_paths.h"
#include "cli/report_command.h"
#include "cli/svg_picture.h"
#include "platform/console_seam.h"
#include "platform/platform.h"
#include "store/document_store.h"
#include "convert/driver.h"
#include "tools/dash_merge.h"

namespace velmora {

namespace {

void Say(const std::string& text) { WriteConsoleLine("velmora-convert: " + text); }

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
    if (g_store.conversion_route != 2) return "";
    const int status = LastGhostscriptStatus();
    if (status != 0) return "Ghostscript failed (exit status " + std::to_string(status) + ")";
    if (g_store.page_count == 1 && g_store.conversion.line_count == 0 && g_store.conversion.text_count == 0) {
        return "Ghostscript's rewrite is one page without lines or texts (see Ghostscript's message, if any)";
    }
    return "";
}

// Errors met while converting this page (a line or text cap, the scan budget): the message box of
// the opening only covers page 1's first conversion, so they are said here, each once, and taken
// off the list so that it never fills over many pages.
void SayPageErrors(int page, int first_error) {
    for (int i = first_error; i < g_errors.count; ++i) {
        bool seen = false;
        for (int j = first_error; j < i && !seen; ++j) seen = g_errors.codes[j] == g_errors.codes[i];
        const char* message = ErrorMessage(g_errors.codes[i]);
        if (seen || message == nullptr) continue;
        std::string text = message;
        for (size_t at; (at = text.find("\r\n")) != std::string::npos;) text.replace(at, 2, "");
        WriteConsoleLine("velmora-convert: page " + std::to_string(page) + ": " + text);
    }
    g_errors.count = std::min(g_errors.count, first_error);
}

// Opens the input by the chosen route; true when a route read it.
bool OpenInput(Route route) {
    if (route == Route::Ghostscript) {
        ResetForFile();
        g_store.ghostscript_marker = 0;
        g_store.converted_flag = 0;
        g_store.conversion_route = 0;
        if (!ConvertViaGhostscript(nullptr)) return false;
        if (GhostscriptFailure().empty()) {
            ShowMessage(nullptr, "GhostScript 経由で変換しました", "変換成功", MessageButtons::Ok);
        }
        return true;
    }
    // The window asks before it tries Ghostscript; here the route option answers.
    SetConsoleAnswer(route == Route::Auto ? MessageAnswer::Yes : MessageAnswer::No);
    OpenPdf(nullptr);
    return g_store.conversion_route != 0;
}

}  // namespace

int RunConverter(const std::vector<std::string>& arguments) {
    const ParseResult parsed = ParseOptions(arguments);
    const ConvertOptions& options = parsed.options;
    if (!parsed.error.empty()) {
        Say("error: " + parsed.error);
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
    if (!Readable(options.input)) {
        Say("error: cannot read '" + options.input + "'");
        return kExitUsage;
    }
    if (!SetPdfPath(options.input.c_str())) {
        Say("error: the input path is longer than 259 bytes");
        return kExitUsage;
    }

    SetConsoleProgress(!options.quiet && isatty(2));
    g_settings_directory = ChooseConfigDirectory(options.config_directory, ProgramDirectory());
    ReadSettings(nullptr);
    ReadSxfData(nullptr);

    StoreTables tables;
    if (!tables.allocated) {
        Say("error: not enough memory for the drawing tables");
        return kExitUnreadable;
    }
    TemporaryDirectory temporary;
    if (!temporary.ok() || !SetIntermediateDirectory(temporary.directory().c_str())) {
        Say("error: cannot make a temporary directory for Ghostscript's output");
        return kExitUnreadable;
    }

    if (!OpenInput(options.route)) {
        FinishConsoleProgress();
        Say("error: '" + options.input + "' could not be read");
        return kExitUnreadable;
    }
    if (const std::string failure = GhostscriptFailure(); !failure.empty()) {
        FinishConsoleProgress();
        Say("error: '" + options.input + "' could not be read: " + failure);
        return kExitUnreadable;
    }

    // A page list that does not fit the file is refused before anything is written.
    std::vector<int> pages;
    int missing_page = 0;
    if (!options.list && !ExpandPages(options.pages, g_store.page_count, &pages, &missing_page)) {
        Say("error: there is no page " + std::to_string(missing_page) + " (the file has " +
            std::to_string(g_store.page_count) + ")");
        return kExitUsage;
    }

    // The window's report and page list: every page converted once for its figures first.
    int status = kExitSuccess;
    if (options.list || !options.report_path.empty()) {
        status = WriteReportAndList(options);
        if (options.list) return status;
    }

    // Several pages into -o: a directory, made when missing.
    if (pages.size() > 1 && !options.output.empty()) {
        std::error_code error;
        std::filesystem::create_directories(options.output, error);
        if (error) {
            Say("error: cannot make the directory '" + options.output + "'");
            return kExitOutput;
        }
    }

    for (int page : pages) {
        // The window's save, page by page: convert, merge dash runs, mark duplicates, write.
        g_store.current_page = page;
        const int first_error = g_errors.count;
        ConvertPage(page);
        SayPageErrors(page, first_error);
        if (options.scale_denominator > 0) {
            g_store.pages[page].scale_denominator = options.scale_denominator;
            g_store.pages[page].scale_ratio = options.scale_denominator;
        }
        MergeDashRuns();
        const std::string output =
            OutputPathForPage(options, g_file_names.pdf_stem, page, g_store.page_count, pages.size());
        if (!SaveJwwPage(nullptr, output.c_str(), page)) {
            status = kExitOutput;
            continue;
        }
        std::string written = output;
        if (options.svg) {
            const std::string svg = SvgPathFor(output);
            if (!SaveSvgPicture(svg.c_str(), page)) {
                Say("error: cannot write '" + svg + "'");
                status = kExitOutput;
                continue;
            }
            written += ", " + svg;
        }
        if (!options.quiet) {
            Say("page " + std::to_string(page) + ": " + std::to_string(g_store.conversion.line_count) + " lines, " +
                std::to_string(g_store.conversion.text_count) + " texts -> " + written);
        }
    }
    FinishConsoleProgress();
    return status;
}

}  // namespace velmora
