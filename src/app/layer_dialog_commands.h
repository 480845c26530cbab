// The layer tool's dialog without Windows: what opening it and each of its controls do to the
// tool, and what the dialog and the main window must show afterwards. The dialog procedure reads
// the controls into a LayerDialogInput and applies the LayerDialogUpdate it gets back.
#pragma once

#include "platform/platform.h"

namespace velmora {

enum LayerDialogControl : int {
    kLayerDialogOk = 1,
    kLayerDialogClose = 2,
    kLayerLengthField = 4002,
    kLayerList = 4051,
    kLayerPageText = 4052,
    kLayerScaleText = 4053,
    kLayerPaperText = 4054,
    kLayerLongerBox = 4060,
    kLayerEqualBox = 4061,
    kLayerShorterBox = 4062,
    kLayerConnectedBox = 4063,
    kLayerUndoButton = 4070,
    kLayerRedToGreenButton = 4071,
    kLayerRedToWhiteButton = 4072,
    kLayerMoveButton = 4073,
    kLayerRedoButton = 4074,
    kLayerClearAllButton = 4075,
};

// The main window's menu commands greyed while the dialog exists: open, save, report and exit.
inline constexpr int kLayerToolGreyedCommands[] = {206, 207, 111, 112, 119, 115};
inline constexpr char kZeroLengthText[] = "0.0";
inline constexpr int kLayerDialogTextBytes = 64;

struct LayerDialogInput {
    bool checked = false;             // the clicked check box, after the click
    const char* length_text = "";     // the length field's text
    int list_row = -1;                // the list's selected row
};

struct LayerDialogUpdate {
    bool clear_check_boxes = false;
    bool rewrite_length = false;      // the length field shows kZeroLengthText
    bool fill_list = false;           // every row written again
    bool select_shown_row = false;    // the list's selection on the shown layer
    bool close = false;               // the dialog goes and the menu commands come back
    bool repaint = false;             // the main window
    bool erase = false;
};

// The statics beside the list: " %4d" page, "  1/%d" scale, " %s/%3d°" paper and rotation.
struct LayerDialogTexts {
    char page[kLayerDialogTextBytes];
    char scale[kLayerDialogTextBytes];
    char paper[kLayerDialogTextBytes];
};

// The dialog is created: the tool opens on the current page.
LayerDialogUpdate OpenLayerDialog(LayerDialogTexts* texts);

// A command from control `control` (for the list, only a change of its selection). `owner`
// owns the closing question.
LayerDialogUpdate LayerDialogCommand(WindowHandle owner, int control, const LayerDialogInput& input);

}  // namespace velmora
