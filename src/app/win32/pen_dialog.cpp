// PENDLG: the pen of one layer group and layer. The dialog moves the list row and the radio
// buttons to and from the pen tool, and draws the pens' colour swatches.
#include <windows.h>

#include "app/control_ids.h"
#include "app/win32/list_widening.h"
#include "app/win32/tool_dialogs.h"
#include "convert/pdf_layer_assignment.h"
#include "store/document_store.h"
#include "tools/pen_change.h"
#include "view/page_drawing.h"
#include "view/preview_state.h"

namespace velmora {

namespace {

HWND g_pen_dialog_owner = nullptr;

void ShowChoiceInButtons(HWND dialog) {
    for (int i = 0; i < kPenChoiceCount; ++i) {
        CheckDlgButton(dialog, IDC_PEN_1 + i, g_pen_choice[i] ? BST_CHECKED : BST_UNCHECKED);
    }
}

// The layer's lines repainted in full colour over the dimmed page.
void RepaintHighlights() {
    g_preview.overlay_only = false;
    RequestRepaint(g_pen_dialog_owner, false);
}

void FillList(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_PEN_LIST);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (int row = 0; row < kPenListRows; ++row) {
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(PenListRow(row).c_str()));
    }
    SendMessageA(list, LB_SETCURSEL, 0, 0);
}

// Pen n's swatch filled with its screen colour, which also becomes the background colour.
void DrawSwatch(const DRAWITEMSTRUCT* item) {
    const Rgb colour = ScreenColour(static_cast<int>(item->CtlID) - IDC_SWATCH_BASE);
    const COLORREF fill = RGB(colour.red, colour.green, colour.blue);
    HPEN pen = CreatePen(PS_SOLID, 1, fill);
    HBRUSH brush = CreateSolidBrush(fill);
    HGDIOBJ old_pen = SelectObject(item->hDC, pen);
    HGDIOBJ old_brush = SelectObject(item->hDC, brush);
    Rectangle(item->hDC, item->rcItem.left, item->rcItem.top, item->rcItem.right, item->rcItem.bottom);
    SetBkColor(item->hDC, fill);
    SelectObject(item->hDC, old_brush);
    SelectObject(item->hDC, old_pen);
    DeleteObject(brush);
    DeleteObject(pen);
}

INT_PTR CALLBACK PenDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    g_pen_dialog_owner = GetParent(dialog);
    switch (message) {
        case WM_INITDIALOG:
            OpenPenDialog();
            ShowChoiceInButtons(dialog);
            FillList(dialog);
            if (PageUsesPdfLayers(g_store.current_page)) WidenListToRows(dialog, IDC_PEN_LIST);
            RequestRepaint(g_pen_dialog_owner, true);
            return TRUE;
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
            if (item->CtlID < IDC_SWATCH_1 || item->CtlID > IDC_SWATCH_8) return FALSE;
            DrawSwatch(item);
            return TRUE;
        }
        case WM_COMMAND: {
            const int id = LOWORD(wparam);
            if (id == IDC_PEN_LIST && HIWORD(wparam) == LBN_SELCHANGE) {
                SelectPenListRow(static_cast<int>(SendDlgItemMessageA(dialog, IDC_PEN_LIST, LB_GETCURSEL, 0, 0)));
                ShowChoiceInButtons(dialog);
                RepaintHighlights();
                return TRUE;
            }
            if (id >= IDC_PEN_1 && id <= IDC_PEN_8 && HIWORD(wparam) == BN_CLICKED) {
                bool checked[kPenChoiceCount];
                for (int i = 0; i < kPenChoiceCount; ++i) {
                    checked[i] = IsDlgButtonChecked(dialog, IDC_PEN_1 + i) == BST_CHECKED;
                }
                SetSelectedLayerPen(checked);
                RepaintHighlights();
                return TRUE;
            }
            if (id == IDOK || id == IDCANCEL) {
                ClosePenDialog();
                EndDialog(dialog, id);
                return TRUE;
            }
            return FALSE;
        }
        default:
            return FALSE;
    }
}

}  // namespace

void RunPenChangeCommand(WindowHandle window) {
    ConvertPageForPenDialog();
    DialogBoxParamA(GetModuleHandleA(nullptr), "PENDLG", static_cast<HWND>(window), PenDialogProc, 0);
    RequestRepaint(window, true);
}

}  // namespace velmora
