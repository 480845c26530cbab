// PAGEDLG2: every page's row; the current one is selected and a click on another shows it.
#include <windows.h>

#include "app/control_ids.h"
#include "app/win32/tool_dialogs.h"
#include "convert/driver.h"
#include "store/document_store.h"
#include "tools/page_list.h"

namespace velmora {

namespace {

void FillList(HWND dialog) {
    SetDlgItemTextA(dialog, IDC_LIST_HEADER, kPageListHeader);
    HWND list = GetDlgItem(dialog, IDC_PAGE_LIST);
    for (const std::string& row : PageListRows()) {
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
    }
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(g_store.current_page - 1), 0);
}

INT_PTR CALLBACK PageListProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
    if (message == WM_INITDIALOG) {
        FillList(dialog);
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    const int id = LOWORD(wparam);
    if ((id == IDC_PAGE_LIST && HIWORD(wparam) == LBN_SELCHANGE) || id == IDOK) {
        ChooseListedPage(static_cast<int>(SendDlgItemMessageA(dialog, IDC_PAGE_LIST, LB_GETCURSEL, 0, 0)));
        EndDialog(dialog, IDOK);
        return TRUE;
    }
    if (id == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

void RunPageListCommand(WindowHandle window) {
    // Every page's counts and paper are known only once it has been converted.
    ConvertAllPages(window);
    DialogBoxParamA(GetModuleHandleA(nullptr), "PAGEDLG2", static_cast<HWND>(window), PageListProc, 0);
    if (g_store.page_count >= 1) ConvertPage(g_store.current_page);
    RequestRepaint(window, true);
}

}  // namespace velmora
