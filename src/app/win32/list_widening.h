// Rows that carry a PDF layer's name after their counts are wider than the list boxes the dialogs
// were laid out for: the list grows to its widest row, and the dialog with it.
#pragma once

#include <windows.h>

namespace velmora {

// Widens the list box `list_id` of `dialog` to its widest row (at most half the screen), moving
// the controls to its right and the dialog's right edge by as much, and widening the group boxes
// that hold it. Nothing changes when every row fits.
void WidenListToRows(HWND dialog, int list_id);

}  // namespace velmora
