#include "app/window_commands.h"

#include <cstdio>
#include <cstring>

#include "app/window_texts.h"
#include "convert/driver.h"
#include "jww/jww_save.h"
#include "report/report.h"
#include "report/report_file_name.h"
#include "store/document_store.h"
#include "store/file_names.h"
#include "tools/dash_merge.h"
#include "view/preview_state.h"
#include "tools/scale_offer.h"
#include "tools/tool_state.h"
#include "pdf/security_handler.h"

namespace velmora {

namespace {

constexpr char kErrorTitle[] = "エラー";
constexpr char kCautionTitle[] = "注意";
constexpr char kSuccessTitle[] = "変換成功";
constexpr char kPdfExtension[] = ".pdf";
constexpr size_t kExtensionBytes = 4;

// Windows names are case-blind, and scanners and many programs write ".PDF".
bool HasPdfExtension(const char* path, size_t length) {
    if (length < kExtensionBytes) return false;
    for (size_t i = 0; i < kExtensionBytes; ++i) {
        const char c = path[length - kExtensionBytes + i];
        const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        if (lower != kPdfExtension[i]) return false;
    }
    return true;
}

bool PdfChosen() { return g_file_names.pdf_path[0] != '\0'; }

// Only the report, exit, version and the help texts stay usable while the layer tool is open.
bool RefusedInLayerMode(int id) {
    return !(id == kCommandReport || id == kCommandExit || id == kCommandVersion || (id >= kCommandHelpFirst && id <= kCommandHelpLast));
}

// The file just named opened, as the open dialog and a drop open it.
void OpenNamedPdf(WindowHandle window) {
    ResetViewAndToolsForFile();
    SetDocumentPassword("");  // another file: the last one's password is not tried on it
    OpenPdf(window);
    OfferStatedScale(window);
    RequestRepaint(window, true);
}

void OpenChosenPdf(WindowHandle window, const WindowDialogs& dialogs) {
    char path[kPathBytes] = "";
    if (!dialogs.choose_pdf(window, path, sizeof path)) return;
    if (!SetPdfPath(path)) return;
    RequestRepaint(window, false);
    OpenNamedPdf(window);
}

void SaveJww(WindowHandle window, const WindowDialogs& dialogs) {
    MergeDashRuns();
    if (!PdfChosen()) return;
    if (!BeginJwwSave(window)) return;
    char name[kPathBytes];
    JwwDefaultFileName(name, sizeof name);
    if (!dialogs.choose_jww(window, name, sizeof name)) return;
    RequestRepaint(window, false);
    WriteJwwFile(window, name, g_store.current_page);
}

void WriteReport(WindowHandle window, const WindowDialogs& dialogs) {
    ConvertAllPages(window);
    char name[kPathBytes];
    ReportDefaultFileName(name, sizeof name);
    if (dialogs.choose_report(window, name, sizeof name)) WriteReportFile(window, name);
    // The pass above left the last page in the tables.
    if (g_store.page_count >= 1) ConvertPage(g_store.current_page);
    RequestRepaint(window, true);
}

void ConvertAgain(WindowHandle window, bool (*route)(WindowHandle), const char* success) {
    if (!PdfChosen()) return;
    ResetViewAndToolsForFile();
    if (route(window)) ShowMessage(window, success, kSuccessTitle, MessageButtons::Ok);
    RequestRepaint(window, true);
}

}  // namespace

int PageSwitchTarget(int id, int current, int count) {
    int page = current;
    if (id == kCommandPrevious) page = current - 1;
    if (id == kCommandNext) page = current + 1;
    if (id == kCommandBackTen) page = current - kPageStep;
    if (id == kCommandForwardTen) page = current + kPageStep;
    if (page > count) page = count;
    if (page < 1) page = 1;
    return page;
}

void SwitchPage(WindowHandle window, int id) {
    if (g_tool_state.layer_moved) {
        const MessageAnswer answer =
            ShowMessage(window, "頁切り替えしますか？ \r\nこの頁でのレイヤ移動内容がリセットされます", kCautionTitle,
                        MessageButtons::YesNo);
        if (answer != MessageAnswer::Yes) return;
        g_tool_state.layer_moved = false;
    }
    if (FirstScalePointHeld()) {
        ShowMessage(window, "縮尺設定中は頁切り替えできません", kCautionTitle, MessageButtons::Ok);
        return;
    }
    // With no page loaded there is nothing to convert (page 0 does not exist).
    if (g_store.page_count < 1) return;
    g_store.current_page = PageSwitchTarget(id, g_store.current_page, g_store.page_count);
    ConvertPage(g_store.current_page);
    OfferStatedScale(window);
    RequestRepaint(window, true);
}

void RunCommand(WindowHandle window, int id, const WindowDialogs& dialogs) {
    if (LayerToolOpen() && RefusedInLayerMode(id)) return;
    switch (id) {
        case kCommandOpen:
        case kCommandOpenButton:
            OpenChosenPdf(window, dialogs);
            return;
        case kCommandSaveJww:
        case kCommandSaveButton:
            SaveJww(window, dialogs);
            return;
        case kCommandGhostscript:
            ConvertAgain(window, ConvertViaGhostscript, "GhostScript 経由で変換しました");
            return;
        case kCommandDirect:
            ConvertAgain(window, ConvertDirect, "「単独変換」で変換しました");
            return;
        case kCommandReport:
            WriteReport(window, dialogs);
            return;
        case kCommandExit:
            dialogs.close_window(window);
            return;
        case kCommandVersion:
            ShowMessage(window, kVersionText, kVersionTitle, MessageButtons::Ok);
            return;
        case kCommandPrevious:
        case kCommandNext:
        case kCommandBackTen:
        case kCommandForwardTen:
            SwitchPage(window, id);
            return;
        case kCommandPageList:
            dialogs.page_list(window);
            return;
        case kCommandLayerTool:
            dialogs.layer_tool(window);
            return;
        case kCommandPenChange:
            dialogs.pen_change(window);
            return;
        default:
            if (const HelpText* help = HelpTextFor(id)) ShowMessage(window, help->text, help->title, MessageButtons::Ok);
            return;
    }
}

void DropFiles(WindowHandle window, int count, const char* first_path) {
    if (LayerToolOpen() || count < 1 || first_path == nullptr) return;
    if (count > 1) {
        ShowMessage(window, "複数のファイルを同時には開けません", kErrorTitle, MessageButtons::Ok);
        return;
    }
    // The name is taken as a drop delivers it, cut to the buffer; a refused name stays in it.
    char path[kPathBytes];
    std::snprintf(path, sizeof path, "%s", first_path);
    std::memcpy(g_file_names.pdf_path, path, sizeof path);
    const size_t length = std::strlen(path);
    if (!HasPdfExtension(path, length)) {
        ShowMessage(window, "PDF ファイルではありません", kErrorTitle, MessageButtons::Ok);
        return;
    }
    SetPdfPath(path);
    OpenNamedPdf(window);
}

}  // namespace velmora
