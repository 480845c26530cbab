#include "tools/pen_change.h"

#include <cstdio>
#include <cstring>

#include "convert/driver.h"
#include "convert/pdf_layer_assignment.h"
#include "store/document_store.h"
#include "tools/tool_state.h"

namespace velmora {

PenSelection g_pen_selection;
LayerSummary g_layer_summary;

namespace {

// The row of a line's group and layer; -1 for groups beyond the list (texts' groups 8..15).
int RowOf(const LineRecord& line) {
    if (line.layer_group < 0 || line.layer_group >= kPenListGroups || line.layer < 0 ||
        line.layer >= kPenListLayers) {
        return -1;
    }
    return line.layer_group * kPenListLayers + line.layer;
}

}  // namespace

void BuildLayerSummary() {
    std::memset(&g_layer_summary, 0, sizeof g_layer_summary);
    const int lines = ReadableLineCount();
    for (int i = 0; i < lines; ++i) {
        const LineRecord& line = g_store.lines[i];
        const int row = RowOf(line);
        if (line.page_number < 0 || row < 0) continue;
        ++g_layer_summary.count[row];
        g_layer_summary.pen[row] = line.pen_colour;
        g_layer_summary.width_class[row] = line.width_class;
    }
}

std::string PenListRow(int row) {
    if (row < 0 || row >= kPenListRows) return "";
    char text[kPenListRowBytes];
    std::snprintf(text, sizeof text, "%2x%2x %6d  %4.2f %2d", static_cast<unsigned>(row / kPenListLayers),
                  static_cast<unsigned>(row % kPenListLayers), g_layer_summary.count[row],
                  g_layer_summary.width_class[row] * kWidthClassToColumn, g_layer_summary.pen[row]);
    return std::string(text) + PdfLayerNameColumn(row / kPenListLayers, row % kPenListLayers);
}

void ShowPen(int pen) {
    for (int i = 0; i < kPenChoiceCount; ++i) g_pen_choice[i] = (i == pen - 1);
}

void OpenPenDialog() {
    g_tool_state.pen_dialog_shown = true;
    BuildLayerSummary();
    SelectPenListRow(0);
}

void SelectPenListRow(int row) {
    if (row < 0 || row >= kPenListRows) return;
    g_pen_selection = PenSelection{row / kPenListLayers, row % kPenListLayers};
    ShowPen(g_layer_summary.pen[row]);
}

int SetSelectedLayerPen(const bool checked[kPenChoiceCount]) {
    int pen = 0;
    for (int i = 0; i < kPenChoiceCount; ++i) {
        g_pen_choice[i] = checked[i];
        if (checked[i]) pen = i + 1;
    }
    if (pen == 0) return 0;
    int changed = 0;
    const int lines = ReadableLineCount();
    for (int i = 0; i < lines; ++i) {
        LineRecord& line = g_store.lines[i];
        if (line.page_number < 0 || line.layer_group != g_pen_selection.group || line.layer != g_pen_selection.layer) {
            continue;
        }
        line.pen_colour = static_cast<int16_t>(pen);
        ++changed;
    }
    return changed;
}

void ConvertPageForPenDialog() {
    if (g_store.page_count < 1) return;
    ConvertPage(g_store.current_page);
    g_tool_state.layer_moved = false;
}

void ClosePenDialog() { g_tool_state.pen_dialog_shown = false; }

}  // namespace velmora
