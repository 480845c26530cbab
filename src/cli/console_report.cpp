#include "cli/console_report.h"

#include <algorithm>
#include <set>
#include <utility>

#include "content/form_xobject.h"
#include "pdf/error_list.h"
#include "platform/console_seam.h"
#include "store/document_store.h"

namespace velmora {

namespace {

constexpr char kProgramPrefix[] = "velmora-convert: ";

Verbosity g_verbosity = Verbosity::Normal;
std::set<std::pair<int, int>> g_warned;  // (page, code) said for the current file

// Codes whose console line is the English one scripts look for, not the window's message.
struct ConsoleText {
    int code;
    const char* text;
};
constexpr ConsoleText kConsoleTexts[] = {
    {kErrorPasswordRequired, "password required"},
    {kErrorWrongPassword, "wrong password"},
    {kErrorEncryptionUnsupported, "encryption not supported"},
    {kWarningXrefRebuilt, "cross-reference rebuilt"},
    {kWarningContentUnreadable, "content could not be read"},
};

// The table's message as one console line: its CR LF line breaks would split a warning.
std::string MessageLine(int code) {
    for (const ConsoleText& row : kConsoleTexts) {
        if (row.code == code) return row.text;
    }
    const char* message = ErrorMessage(code);
    std::string text = message != nullptr ? message : "error " + std::to_string(code);
    for (size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 2);
    return ToConsoleEncoding(text);
}

// An unreadable page is said as an error where the page is written, not as a warning.
bool LostContent(int code) { return !IsInformationCode(code) && code != kWarningContentUnreadable; }

}  // namespace

void SetVerbosity(Verbosity verbosity) { g_verbosity = verbosity; }
Verbosity CurrentVerbosity() { return g_verbosity; }

void SayError(const std::string& text) { WriteErrorLine(std::string(kProgramPrefix) + "error: " + text); }

void SayWarning(const std::string& text) {
    if (g_verbosity != Verbosity::Quiet) WriteErrorLine(std::string(kProgramPrefix) + "warning: " + text);
}

void SayResult(const std::string& text) {
    if (g_verbosity != Verbosity::Quiet) WriteOutputLine(text);
}

void BeginFileWarnings() { g_warned.clear(); }

void WarnAboutErrors(int page, int first_error) {
    int32_t codes[kErrorListCapacity];
    const int distinct = DistinctErrorCodes(first_error, codes);
    for (int i = 0; i < distinct; ++i) {
        if (!LostContent(codes[i]) || !g_warned.insert({page, codes[i]}).second) continue;
        const std::string where = page > 0 ? "page " + std::to_string(page) + ": " : "";
        if (codes[i] == kWarningRasterImages && page > 0) {
            SayWarning(where + std::to_string(RasterImagesOnPage(page)) + " raster images not converted");
            continue;
        }
        // As the window says it: how many texts of the page are placeholders.
        const std::string count = codes[i] == kWarningUndecodedText && page > 0 && page < kPageTableSize
                                      ? "（" + std::to_string(g_store.pages[page].undecoded_text_count) + " 件）"
                                      : "";
        SayWarning(where + MessageLine(codes[i]) + ToConsoleEncoding(count));
    }
    ForgetErrors(first_error);
}

void ForgetErrors(int first_error) { g_errors.count = std::clamp(first_error, 0, g_errors.count); }

std::string ErrorListReasons() {
    int32_t codes[kErrorListCapacity];
    const int distinct = DistinctErrorCodes(0, codes);
    std::string reasons;
    for (int i = 0; i < distinct; ++i) reasons += (reasons.empty() ? "" : "; ") + MessageLine(codes[i]);
    return reasons;
}

}  // namespace velmora
