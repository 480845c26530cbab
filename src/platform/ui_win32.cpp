// The user-interface half of the platform seam for Velmora.exe.
#include <windows.h>

#include <cstring>

#include "platform/platform.h"

namespace velmora {

MessageAnswer ShowMessage(WindowHandle window, const char* text, const char* title, MessageButtons buttons) {
    UINT style = MB_OK;
    if (buttons == MessageButtons::YesNo) style = MB_YESNO;
    if (buttons == MessageButtons::OkCancel) style = MB_OKCANCEL | MB_ICONQUESTION;
    int answer = MessageBoxA(static_cast<HWND>(window), text, title, style);
    if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    if (buttons == MessageButtons::OkCancel) return answer == IDOK ? MessageAnswer::Ok : MessageAnswer::Cancel;
    return answer == IDYES ? MessageAnswer::Yes : MessageAnswer::No;
}

void DrawProgressText(WindowHandle window, const char* text, Rgb colour, Rgb background, const char* face_name) {
    HWND hwnd = static_cast<HWND>(window);
    if (!hwnd || !text) return;
    HDC dc = GetDC(hwnd);
    if (!dc) return;
    RECT client;
    GetClientRect(hwnd, &client);
    int width = client.right - client.left;
    int height = client.bottom - client.top;
    SetBkColor(dc, RGB(background.red, background.green, background.blue));
    SetBkMode(dc, OPAQUE);
    HFONT font = CreateFontA(16, 14, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, PROOF_QUALITY, FIXED_PITCH | FF_MODERN,
                             face_name ? face_name : "");
    HGDIOBJ previous = font ? SelectObject(dc, font) : nullptr;
    SetTextColor(dc, RGB(colour.red, colour.green, colour.blue));
    // Centred for a 14-pixel-wide fixed-pitch font: half of 14 per byte, half the font height.
    int length = static_cast<int>(std::strlen(text));
    TextOutA(dc, width / 2 - 7 * length, height / 2 - 8, text, length);
    if (font) {
        SelectObject(dc, previous);
        DeleteObject(font);
    }
    ReleaseDC(hwnd, dc);
}

void RequestRepaint(WindowHandle window, bool erase_background) {
    HWND hwnd = static_cast<HWND>(window);
    if (!hwnd) return;
    InvalidateRect(hwnd, nullptr, erase_background ? TRUE : FALSE);
}

}  // namespace velmora
