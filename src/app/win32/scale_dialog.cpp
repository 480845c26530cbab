// OPTDLG: the real distance between the two picked points. The dialog moves the field and the
// two radio buttons to and from the scale tool, which sets the scale.
#include <windows.h>

#include "app/control_ids.h"
#include "app/win32/tool_dialogs.h"
#include "tools/choice_flags.h"
#include "tools/scale_setting.h"

namespace velmora {

namespace {

INT_PTR CALLBACK ScaleDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
    if (message == WM_INITDIALOG) {
        CheckDlgButton(dialog, IDC_THIS_PAGE, ThisPageOnlyChosen() ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(dialog, IDC_ALL_PAGES, AllPagesChosen() ? BST_CHECKED : BST_UNCHECKED);
        SetDlgItemTextA(dialog, IDC_DISTANCE, LastDistanceText().c_str());
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    if (LOWORD(wparam) == IDOK) {
        char text[kDistanceFieldChars + 1] = "";
        GetDlgItemTextA(dialog, IDC_DISTANCE, text, sizeof text);
        // The scale's message box belongs to the dialog, which stays until it is answered.
        AcceptScaleDistance(dialog, text, IsDlgButtonChecked(dialog, IDC_THIS_PAGE) == BST_CHECKED,
                            IsDlgButtonChecked(dialog, IDC_ALL_PAGES) == BST_CHECKED);
        EndDialog(dialog, IDOK);
        return TRUE;
    }
    if (LOWORD(wparam) == IDCANCEL) {
        CancelScaleDistance();
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

void RunScaleDialog(WindowHandle window) {
    // A dialog that cannot be shown is a Cancel: the page must not keep the 1/2 of the pick.
    if (DialogBoxParamA(GetModuleHandleA(nullptr), "OPTDLG", static_cast<HWND>(window), ScaleDialogProc, 0) <= 0) {
        CancelScaleDistance();
    }
}

}  // namespace velmora
