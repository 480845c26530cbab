// The pen change: every line and arc of one layer group and layer gets another pen. The dialog
// lists a summary of the lines and arcs per group and layer, shows the selected layer's pen in its eight radio
// buttons (tools/choice_flags.h) and sets the pen the user clicks. Texts are not touched.
#pragma once

#include <cstdint>
#include <string>

#include "tools/choice_flags.h"

namespace velmora {

// Groups 0..7 with layers 0..15: one list row each, row = group * 16 + layer.
inline constexpr int kPenListGroups = 8;
inline constexpr int kPenListLayers = 16;
inline constexpr int kPenListRows = kPenListGroups * kPenListLayers;
// A list row's text, "%2x%2x %6d  %4.2f %2d", fits this buffer.
inline constexpr int kPenListRowBytes = 64;  // the counts and pen; the PDF layer's name follows
// The list's width column: the width class (line width x 10) times these.
inline constexpr double kWidthClassToColumn = 0.1 * 0.34;

// The pen dialog's choice that the preview highlights: the selected group and layer.
struct PenSelection {
    int32_t group;
    int32_t layer;
};

extern PenSelection g_pen_selection;

// Per group and layer: the number of lines and arcs, and the pen and width class of the last of
// them, the lines in store order and then the arcs (merged-away lines do not count).
struct LayerSummary {
    int32_t count[kPenListRows];
    int32_t pen[kPenListRows];
    double width_class[kPenListRows];
};

extern LayerSummary g_layer_summary;

// Rebuilds the summary from the current page's lines and arcs.
void BuildLayerSummary();

// The list row of `row` from the summary: group, layer, count, width, pen.
std::string PenListRow(int row);

// The radio flags show `pen` alone; a pen outside 1..8 clears them all.
void ShowPen(int pen);

// The dialog opens: the preview draws the pen dialog's picture, the summary is built, and the
// first row (group 0, layer 0) is selected with its pen shown.
void OpenPenDialog();
// Before the dialog: the page converted again, so earlier pen changes are gone, and with them
// the layer tool's moves (a later page switch has nothing to ask about).
void ConvertPageForPenDialog();
// A list row chosen: its group and layer become the selection and its pen is shown.
void SelectPenListRow(int row);
// A radio button clicked: the flags take the buttons' check states (index pen - 1) and every
// line and arc of the selected group and layer gets the highest checked pen. The summary keeps the old
// pen until the dialog opens again. The number of lines changed; none without a checked pen.
int SetSelectedLayerPen(const bool checked[kPenChoiceCount]);
// OK or close: the preview draws the normal picture again; the pens set stay.
void ClosePenDialog();

}  // namespace velmora
