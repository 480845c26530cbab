#include "app/win32/file_dialogs.h"

#include <windows.h>
#include <commdlg.h>

namespace velmora {

namespace {

constexpr int kFileTitleBytes = 128;

// Filter strings are pairs of NUL-terminated texts ending in an empty one.
constexpr char kPdfFilter[] = "PDF files(*.pdf)\0*.pdf;*.PDF\0All Files(*.*)\0*.*\0";
constexpr char kJwwFilter[] = "JWW files(*.jww)\0*.jww\0All Files(*.*)\0*.*\0";
constexpr char kReportFilter[] = "TXT files(*.txt)\0*.txt\0All Files(*.*)\0*.*\0";

OPENFILENAMEA DialogFor(WindowHandle window, char* name, size_t size, const char* filter, const char* extension,
                        const char* title) {
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = static_cast<HWND>(window);
    dialog.lpstrFilter = filter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = name;
    dialog.nMaxFile = static_cast<DWORD>(size);
    dialog.lpstrDefExt = extension;
    dialog.lpstrTitle = title;
    return dialog;
}

}  // namespace

bool ChoosePdfFile(WindowHandle window, char* path, size_t size) {
    static char title[kFileTitleBytes];
    path[0] = '\0';
    OPENFILENAMEA dialog = DialogFor(window, path, size, kPdfFilter, "pdf", "PDFファイルを選択");
    dialog.lpstrFileTitle = title;
    dialog.nMaxFileTitle = sizeof title;
    dialog.Flags = OFN_FILEMUSTEXIST;
    return GetOpenFileNameA(&dialog) != 0;
}

bool ChooseJwwFile(WindowHandle window, char* name, size_t size) {
    OPENFILENAMEA dialog = DialogFor(window, name, size, kJwwFilter, "jww", "jww ファイルを保存");
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
    return GetSaveFileNameA(&dialog) != 0;
}

bool ChooseReportFile(WindowHandle window, char* name, size_t size) {
    OPENFILENAMEA dialog = DialogFor(window, name, size, kReportFilter, "txt", "PDFレポートを保存");
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
    return GetSaveFileNameA(&dialog) != 0;
}

}  // namespace velmora
