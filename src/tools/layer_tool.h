// The layer arrangement tool: solid lines and arcs of the current page are selected (green) one
// by one, as connected figures, by rectangle, or marked (red) by their length, and moved together
// into the layer shown in the tool's list. Every step can be undone and redone until a move. The
// preview draws the states and marks kept here; the dialog and the mouse only call these
// functions and repaint.
#pragma once

#include <cstdint>

#include "convert/layer_assignment.h"
#include "store/arc_records.h"
#include "pdf/optional_content.h"
#include "store/capacities.h"
#include "tools/selection_history.h"

namespace velmora {

inline constexpr int8_t kLineUnavailable = -1;  // another layer, not selected
inline constexpr int8_t kLineWhite = 0;         // in the shown layer, not selected
inline constexpr int8_t kLineGreen = 2;         // selected
inline constexpr uint8_t kMarkByLength = 1;
inline constexpr uint8_t kMarkByConnection = 2;

inline constexpr int kLayerSlots = kLayerGroupCount * kLayersPerGroup;  // group * 16 + layer
inline constexpr int kLayerListRows = 128;     // the list offers groups 0..7
inline constexpr int kLayerRowBytes = 32 + kOptionalGroupNameBytes;  // the counts, then the PDF layer's name
inline constexpr int kMostLineHits = 1000;     // hits a line pick collects at most
inline constexpr int kLengthTextBytes = 256;   // the length field is read up to 255 characters
// The tool's items: line records by their index, arc records after them from kArcItemBase. Picks,
// the history and the per-item tables below all speak of items.
inline constexpr int32_t kArcItemBase = kLineCapacity;
inline constexpr int32_t kLayerItemCapacity = kLineCapacity + kArcCapacity;

// The length criteria of the check boxes that mark lines red.
enum class LengthCriterion { Longer, Equal, Shorter };
inline constexpr double kEqualBandLow = 0.99;
inline constexpr double kEqualBandHigh = 1.01;
inline constexpr double kClickedBandLow = 0.995;   // the last clicked line counts as "this length"
inline constexpr double kClickedBandHigh = 1.005;

// One selection state and one mark per item, the shown layer, the entered length and the lines
// and arcs per layer.
struct LayerSelection {
    int32_t shown_group;
    int32_t shown_layer;
    double length;          // L, millimetres; 0 = none
    int32_t last_clicked;   // the item the last left click toggled, or -1
    int32_t solid_counts[kLayerSlots];
    int32_t line_counts[kLayerSlots];
    int8_t state[kLayerItemCapacity];
    uint8_t mark[kLayerItemCapacity];
};

extern LayerSelection g_layer_selection;

// The tool opens on the current page (its dash runs merged already): layer mode on, group 0
// layer 0 shown fresh, nothing to undo, lengths and layer counts computed, no length entered.
void OpenLayerTool();
// Layer mode off; the lines keep the layers they were moved to.
void CloseLayerTool();

// The shown layer's lines white, every other line unavailable, no marks, nothing to redo.
// (The history position is the caller's: a move and "clear all" reset it, choosing a layer not.)
void ShowLayerFresh();

// List row `row` (group row / 16, layer row % 16) becomes the shown layer; green lines stay
// green wherever they are. False for a row outside the list.
bool ChooseLayer(int row);

// "%2x%2x %6d/%6d": group, layer, solid lines and all lines of the layer.
void FormatLayerRow(int row, char* text, int size);
inline int ShownLayerRow() { return g_layer_selection.shown_group * kLayersPerGroup + g_layer_selection.shown_layer; }

// Every green or red item into the shown layer, counts moved with them; the layer is then shown
// fresh with nothing to undo and the page counts as having moved lines. The number moved.
int MoveSelectionToShownLayer();

// The history buttons: UNDO and "clear all" while there is something to undo, REDO while an
// undone group can be redone.
struct HistoryButtons {
    bool undo;
    bool redo;
    bool clear_all;
};
HistoryButtons CurrentHistoryButtons();

// The length field's text as L: empty is 0; otherwise its leading number; a value that is not a
// positive finite number is 0, and `rewrite` asks for the field to show "0.0".
double ReadLengthText(const char* text, bool* rewrite);

// Left click at the drawing point (x, y) within `half_width`: the toggled item (an arc is hit
// where its curve passes), or -1.
int PickLine(double x, double y, double half_width);
// Left drag: toggles the lines and arcs lying wholly, strictly inside the rectangle; the number
// toggled.
int SelectByRectangle(double x0, double y0, double x1, double y1);
// Right click: the hit item and everything connected to it through end points (arcs by the ends
// of the curve they replace); the hit item, or -1.
int PickConnectedGroup(double x, double y, double half_width);

// The check boxes "longer", "equal", "shorter": bit 0 of the marks set on the lines meeting the
// criterion when `checked`, cleared on them otherwise. False (nothing done) while L is 0.
bool ApplyLengthMarks(LengthCriterion criterion, bool checked);
// "equal and connected": bit 1 on every line connected to a line of the equal band when
// `checked`, cleared on every line otherwise. False while L is 0.
bool ApplyConnectionMarks(bool checked);
// "赤→選択(緑)": every red line green, its mark cleared; one group, also for lines green already.
void SelectRedLines();
// "赤→解除(白)": every red line white; one group; then no marks.
void ReleaseRedLines();
// Clears every mark.
void ClearMarks();

// Right drags: the last group undone (false when an undone line lies outside the shown layer, so
// the whole picture must be drawn again), or the next undone group done again.
bool Undo();
void Redo();

}  // namespace velmora
