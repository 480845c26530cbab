// LAYERDLG: moves values between its controls and the portable dialog commands, and repaints
// the main window as they ask.
#include "app/win32/layer_dialog.h"

#include <cstdio>

#include "app/layer_dialog_commands.h"
#include "app/win32/list_widening.h"
#include "app/win32/tool_dialogs.h"
#include "convert/pdf_layer_assignment.h"
#include "store/document_store.h"
#include "tools/dash_merge.h"
#include "tools/layer_tool.h"

namespace velmora {

namespace {

constexpr int kLengthBoxes[] = {kLayerLongerBox, kLayerEqualBox, kLayerShorterBox, kLayerConnectedBox};

HWND g_dialog = nullptr;
HWND g_main_window = nullptr;

void GreyMenuCommands(bool grey) {
    HMENU menu = GetMenu(g_main_window);
    if (menu == nullptr) return;
    for (int command : kLayerToolGreyedCommands) {
        EnableMenuItem(menu, static_cast<UINT>(command), MF_BYCOMMAND | (grey ? MF_GRAYED : MF_ENABLED));
    }
    DrawMenuBar(g_main_window);
}

void UpdateHistoryButtons(HWND dialog) {
    const HistoryButtons buttons = CurrentHistoryButtons();
    const auto enable = [dialog](int id, bool on) {
        HWND button = GetDlgItem(dialog, id);
        // Only a change is passed on: this runs at every message the dialog receives.
        if (button != nullptr && (IsWindowEnabled(button) != FALSE) != on) EnableWindow(button, on ? TRUE : FALSE);
    };
    enable(kLayerRedoButton, buttons.redo);
    enable(kLayerUndoButton, buttons.undo);
    enable(kLayerClearAllButton, buttons.clear_all);
}

void FillList(HWND dialog) {
    HWND list = GetDlgItem(dialog, kLayerList);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    char row_text[kLayerRowBytes];
    for (int row = 0; row < kLayerListRows; ++row) {
        FormatLayerRow(row, row_text, sizeof row_text);
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row_text));
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void Apply(HWND dialog, const LayerDialogUpdate& update) {
    if (update.rewrite_length) SetDlgItemTextA(dialog, kLayerLengthField, kZeroLengthText);
    if (update.clear_check_boxes) {
        for (int box : kLengthBoxes) CheckDlgButton(dialog, box, BST_UNCHECKED);
    }
    if (update.fill_list) FillList(dialog);
    if (update.select_shown_row) SendDlgItemMessageA(dialog, kLayerList, LB_SETCURSEL, ShownLayerRow(), 0);
    HWND main_window = g_main_window;
    if (update.close) {
        GreyMenuCommands(false);
        DestroyWindow(dialog);
        g_dialog = nullptr;
    }
    if (update.repaint) InvalidateRect(main_window, nullptr, update.erase ? TRUE : FALSE);
}

// Beside the main window when the screen has room, else against the screen's right edge, level
// with the top of the main window's client area.
void PlaceDialog(HWND dialog) {
    RECT own, main, work;
    GetWindowRect(dialog, &own);
    GetWindowRect(g_main_window, &main);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    POINT client_top = {0, 0};
    ClientToScreen(g_main_window, &client_top);
    const int width = own.right - own.left;
    int x = main.right;
    if (x + width > work.right) x = work.right - width;
    if (x < work.left) x = work.left;
    SetWindowPos(dialog, nullptr, x, client_top.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void OnInitDialog(HWND dialog) {
    GreyMenuCommands(true);
    LayerDialogTexts texts;
    const LayerDialogUpdate update = OpenLayerDialog(&texts);
    SetDlgItemTextA(dialog, kLayerPageText, texts.page);
    SetDlgItemTextA(dialog, kLayerScaleText, texts.scale);
    SetDlgItemTextA(dialog, kLayerPaperText, texts.paper);
    Apply(dialog, update);
    if (PageUsesPdfLayers(g_store.current_page)) WidenListToRows(dialog, kLayerList);
    PlaceDialog(dialog);  // after the widening, so the whole dialog stays on the screen
}

void OnCommand(HWND dialog, int control, int notification) {
    if (control == kLayerList && notification != LBN_SELCHANGE) return;
    char length_text[kLengthTextBytes] = "";
    LayerDialogInput input;
    if (control != kLayerLengthField) {
        GetDlgItemTextA(dialog, kLayerLengthField, length_text, sizeof length_text);
        input.length_text = length_text;
        input.checked = IsDlgButtonChecked(dialog, control) == BST_CHECKED;
        input.list_row = static_cast<int>(SendDlgItemMessageA(dialog, kLayerList, LB_GETCURSEL, 0, 0));
    }
    Apply(dialog, LayerDialogCommand(dialog, control, input));
}

INT_PTR CALLBACK LayerDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
    UpdateHistoryButtons(dialog);
    switch (message) {
        case WM_INITDIALOG:
            OnInitDialog(dialog);
            UpdateHistoryButtons(dialog);
            return TRUE;
        case WM_COMMAND:
            OnCommand(dialog, LOWORD(wparam), HIWORD(wparam));
            return TRUE;
        case WM_NCDESTROY:
            // Also when the main window is closed with the tool open and takes its dialog along.
            if (dialog == g_dialog) g_dialog = nullptr;
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

void RunLayerToolCommand(WindowHandle window) {
    if (g_dialog != nullptr) return;
    MergeDashRuns();
    g_main_window = static_cast<HWND>(window);
    g_dialog = CreateDialogParamA(GetModuleHandleA(nullptr), "LAYERDLG", g_main_window, LayerDialogProc, 0);
    if (g_dialog != nullptr) ShowWindow(g_dialog, SW_SHOW);
}

void ShowLayerToolLength(double millimetres) {
    if (g_dialog == nullptr) return;
    char text[kLayerDialogTextBytes];
    std::snprintf(text, sizeof text, "%f", millimetres);
    SetDlgItemTextA(g_dialog, kLayerLengthField, text);
}

void UpdateLayerToolHistoryButtons() {
    if (g_dialog != nullptr) UpdateHistoryButtons(g_dialog);
}

bool IsLayerToolMessage(MSG* message) { return g_dialog != nullptr && IsDialogMessageA(g_dialog, message); }

}  // namespace velmora
