// The layer tool's dialog without Windows: what opening it and each of its controls do to the
// tool, and what the dialog and the main window must show afterwards. The dialog procedure reads
// the controls into a LayerDialogInput and applies the LayerDialogUpdate it gets back.
#pragma once

#include "app/control_ids.h"
#include "platform/platform.h"

namespace velmora {

enum LayerDialogControl : int {
    kLayerDialogOk = IDC_LAYER_OK,
    kLayerDialogClose = IDC_LAYER_CLOSE,
    kLayerLengthField = IDC_LAYER_LENGTH,
    kLayerList = IDC_LAYER_LIST,
    kLayerPageText = IDC_LAYER_PAGE,
    kLayerScaleText = IDC_LAYER_SCALE,
    kLayerPaperText = IDC_LAYER_PAPER,
    kLayerLongerBox = IDC_LAYER_LONGER,
    kLayerEqualBox = IDC_LAYER_EQUAL,
    kLayerShorterBox = IDC_LAYER_SHORTER,
    kLayerConnectedBox = IDC_LAYER_CONNECTED,
    kLayerUndoButton = IDC_LAYER_UNDO,
    kLayerRedToGreenButton = IDC_LAYER_RED_TO_GREEN,
    kLayerRedToWhiteButton = IDC_LAYER_RED_TO_WHITE,
    kLayerMoveButton = IDC_LAYER_MOVE,
    kLayerRedoButton = IDC_LAYER_REDO,
    kLayerClearAllButton = IDC_LAYER_CLEAR_ALL,
};

// The main window's menu commands greyed while the dialog exists: open, save, report and exit.
inline constexpr int kLayerToolGreyedCommands[] = {IDM_OPEN_BUTTON, IDM_SAVE_BUTTON, IDM_OPEN, IDM_SAVE_JWW, IDM_EXIT, IDM_REPORT};
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
