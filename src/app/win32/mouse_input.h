// The main window's mouse messages: each becomes one event for the portable mouse table, and
// what it answers is carried out here (XOR bands, cursor, tool dialogs, repaint).
#pragma once

#include <windows.h>

namespace velmora {

// WM_MOUSEMOVE, WM_LBUTTONDOWN/UP, WM_RBUTTONDOWN/UP and WM_MOUSEWHEEL.
void OnMouseMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

}  // namespace velmora
