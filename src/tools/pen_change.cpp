#include "tools/pen_change.h"

#include <cstdio>
#include <cstring>

#include "convert/driver.h"
#include "store/arc_records.h"
#include "convert/pdf_layer_assignment.h"
#include "store/document_store.h"
#include "tools/tool_state.h"

namespace velmora {

PenSelection g_pen_selection;
LayerSummary g_layer_summary;

namespace {

// The row of a line's or arc's group and layer; -1 for groups beyond the list (texts' groups 8..15).
template <typename Record>
int RowOf(const Record& record) {
    if (record.layer_group < 0 || record.layer_group >= kPenListGroups || record.layer < 0 ||
        record.layer >= kPenListLayers) {
        return -1;
    }
    return record.layer_group * kPenListLayers + record.layer;
}

template <typename Record>
void Summarise(const Record& record) {
    const int row = RowOf(record);
    if (record.page_number < 0 || row < 0) return;
    ++g_layer_summary.count[row];
    g_layer_summary.pen[row] = record.pen_colour;
    g_layer_summary.width_class[row] = record.width_class;
}

template <typename Record>
bool TakePen(Record& record, int pen) {
    if (record.page_number < 0 || record.layer_group != g_pen_selection.group || record.layer != g_pen_selection.layer) {
        return false;
    }
    record.pen_colour = static_cast<int16_t>(pen);
    return true;
}

}  // namespace

void BuildLayerSummary() {
    std::memset(&g_layer_summary, 0, sizeof g_layer_summary);
    // Arcs after the lines: a layer holding both shows the pen of its last arc.
    const int lines = ReadableLineCount();
    for (int i = 0; i < lines; ++i) Summarise(g_store.lines[i]);
    const int arcs = ReadableArcCount();
    for (int a = 0; a < arcs; ++a) Summarise(g_arcs.records[a]);
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
    for (int i = 0; i < lines; ++i) changed += TakePen(g_store.lines[i], pen) ? 1 : 0;
    const int arcs = ReadableArcCount();
    for (int a = 0; a < arcs; ++a) changed += TakePen(g_arcs.records[a], pen) ? 1 : 0;
    return changed;
}

void ConvertPageForPenDialog() {
    if (g_store.page_count < 1) return;
    ConvertPage(g_store.current_page);
    g_tool_state.layer_moved = false;
}

void ClosePenDialog() { g_tool_state.pen_dialog_shown = false; }

}  // namespace velmora
