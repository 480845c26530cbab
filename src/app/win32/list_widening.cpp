#include "app/win32/list_widening.h"

#include <algorithm>
#include <string>

namespace velmora {

namespace {

RECT RectInDialog(HWND dialog, HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

int WidestRow(HWND list) {
    HDC dc = GetDC(list);
    HGDIOBJ old_font = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(list, WM_GETFONT, 0, 0)));
    int widest = 0;
    const int rows = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) {
        const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, row, 0);
        if (length <= 0) continue;
        std::string text(static_cast<size_t>(length) + 1, '\0');
        SendMessageA(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text.data()));
        SIZE size{};
        GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(length), &size);
        widest = std::max(widest, static_cast<int>(size.cx));
    }
    SelectObject(dc, old_font);
    ReleaseDC(list, dc);
    return widest;
}

}  // namespace

void WidenListToRows(HWND dialog, int list_id) {
    HWND list = GetDlgItem(dialog, list_id);
    if (list == nullptr) return;
    const RECT list_rect = RectInDialog(dialog, list);
    RECT client;
    GetClientRect(list, &client);
    // The client area leaves out the border and the scroll bar; a few pixels keep the last letter clear.
    const int room = client.right - client.left - 4;
    const int extra = std::min(WidestRow(list) - room, GetSystemMetrics(SM_CXSCREEN) / 2);
    if (extra <= 0) return;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rect = RectInDialog(dialog, child);
        const int width = rect.right - rect.left;
        const int height = rect.bottom - rect.top;
        if (child == list || (rect.left <= list_rect.left && rect.right >= list_rect.right && child != list &&
                              rect.top <= list_rect.top && rect.bottom >= list_rect.bottom)) {
            SetWindowPos(child, nullptr, 0, 0, width + extra, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        } else if (rect.left >= list_rect.right - 1) {
            SetWindowPos(child, nullptr, rect.left + extra, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    RECT frame;
    GetWindowRect(dialog, &frame);
    SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left + extra, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace velmora
