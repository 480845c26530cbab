// The dialogs of the drawing tools, as the main window reaches them: the page list
// (page_list_dialog.cpp), the layer arrangement tool, the pen change (pen_dialog.cpp) and the
// scale's distance dialog (scale_dialog.cpp).
#pragma once

#include "platform/platform.h"

namespace velmora {

// Toolbar 203: every page converted for its figures, the list, the chosen page shown.
void RunPageListCommand(WindowHandle window);
// Toolbar 210: dash runs merged, the modeless layer tool opened (these three: layer_dialog.cpp).
void RunLayerToolCommand(WindowHandle window);
// Toolbar 230: the page converted again, the pen dialog.
void RunPenChangeCommand(WindowHandle window);
// After the second picked point: the distance between the two points.
void RunScaleDialog(WindowHandle window);
// A clicked line's length (millimetres) into the layer tool's length field, and its UNDO and
// REDO buttons brought up to date, while the tool is open.
void ShowLayerToolLength(double millimetres);
void UpdateLayerToolHistoryButtons();

}  // namespace velmora
