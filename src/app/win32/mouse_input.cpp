#include "app/win32/mouse_input.h"

#include <windowsx.h>

#include "app/win32/tool_dialogs.h"
#include "platform/platform.h"
#include "store/document_store.h"
#include "tools/scale_pick.h"
#include "view/mouse_routing.h"

namespace velmora {

namespace {

MouseEvent EventOf(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    MouseEvent event{};
    POINT at = {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
    switch (message) {
        case WM_LBUTTONDOWN: event.message = MouseMessage::LeftDown; break;
        case WM_LBUTTONUP: event.message = MouseMessage::LeftUp; break;
        case WM_RBUTTONDOWN: event.message = MouseMessage::RightDown; break;
        case WM_RBUTTONUP: event.message = MouseMessage::RightUp; break;
        case WM_MOUSEWHEEL:
            event.message = MouseMessage::Wheel;
            event.wheel_delta = GET_WHEEL_DELTA_WPARAM(wparam);
            // The wheel reports the cursor on the screen.
            ScreenToClient(window, &at);
            break;
        default: event.message = MouseMessage::Move; break;
    }
    const WORD keys = message == WM_MOUSEWHEEL ? GET_KEYSTATE_WPARAM(wparam) : LOWORD(wparam);
    event.left_held = (keys & MK_LBUTTON) != 0;
    event.right_held = (keys & MK_RBUTTON) != 0;
    event.at = ScreenPoint{at.x, at.y};
    return event;
}

// XOR figures in the band colour; drawing one twice removes it. The context is given back.
void DrawBand(HWND window, const BandFigures& band) {
    if (band.count == 0) return;
    HDC dc = GetDC(window);
    if (dc == nullptr) return;
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(kBandColour.red, kBandColour.green, kBandColour.blue));
    HGDIOBJ old_pen = SelectObject(dc, pen);
    HGDIOBJ old_brush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    const int old_mode = SetROP2(dc, R2_XORPEN);
    for (int i = 0; i < band.count; ++i) {
        const BandFigure& figure = band.figures[i];
        if (figure.shape == BandShape::Rectangle) {
            Rectangle(dc, figure.from.x, figure.from.y, figure.to.x, figure.to.y);
        } else {
            MoveToEx(dc, figure.from.x, figure.from.y, nullptr);
            LineTo(dc, figure.to.x, figure.to.y);
        }
    }
    SetROP2(dc, old_mode);
    SelectObject(dc, old_brush);
    SelectObject(dc, old_pen);
    DeleteObject(pen);
    ReleaseDC(window, dc);
}

void SetGestureCursor(MouseCursor cursor) {
    const char* name = nullptr;
    if (cursor == MouseCursor::Area) name = "IDC_CURSORAREA";
    if (cursor == MouseCursor::Undo) name = "IDC_CURSORUNDO";
    if (cursor == MouseCursor::Redo) name = "IDC_CURSORREDO";
    if (name == nullptr) return;
    if (HCURSOR loaded = LoadCursorA(GetModuleHandleA(nullptr), name)) SetCursor(loaded);
}

}  // namespace

void OnMouseMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    const MouseResponse response = HandleMouse(window, EventOf(window, message, wparam, lparam));
    DrawBand(window, response.band);
    SetGestureCursor(response.cursor);
    if (response.run_scale_dialog) {
        RunScaleDialog(window);
        EndScalePick();
    }
    if (response.picked_line >= 0 && response.picked_line < g_store.conversion.line_count) {
        ShowLayerToolLength(g_store.lines[response.picked_line].length);
    }
    if (response.update_history_buttons) UpdateLayerToolHistoryButtons();
    if (response.repaint) RequestRepaint(window, response.erase);
}

}  // namespace velmora
