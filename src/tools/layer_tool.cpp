#include "tools/layer_tool.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "convert/pdf_layer_assignment.h"
#include "store/document_store.h"
#include "tools/layer_tool_lines.h"
#include "tools/line_lengths.h"
#include "tools/tool_state.h"

namespace velmora {

LayerSelection g_layer_selection;

namespace {

constexpr uint8_t kSolidPenStyle = 1;

EndPointIndex g_end_points;

bool InShownLayer(const LineRecord& line) {
    return line.layer_group == g_layer_selection.shown_group && line.layer == g_layer_selection.shown_layer;
}

// group * 16 + layer, or -1 for fields outside 0..15.
int LayerSlot(const LineRecord& line) {
    if (line.layer_group < 0 || line.layer_group >= kLayersPerGroup || line.layer < 0 ||
        line.layer >= kLayersPerGroup) {
        return -1;
    }
    return line.layer_group * kLayersPerGroup + line.layer;
}

void CountLayers() {
    LayerSelection& tool = g_layer_selection;
    std::memset(tool.solid_counts, 0, sizeof tool.solid_counts);
    std::memset(tool.line_counts, 0, sizeof tool.line_counts);
    const int32_t count = ReadableLineCount();
    for (int32_t i = 0; i < count; ++i) {
        const LineRecord& line = g_store.lines[i];
        const int slot = LayerSlot(line);
        if (line.page_number < 0 || slot < 0) continue;
        ++tool.line_counts[slot];
        if (line.pen_style == kSolidPenStyle) ++tool.solid_counts[slot];
    }
}

bool FilesTakingPart(int32_t line, void*) { return TakesPart(line); }

}  // namespace

bool TakesPart(int32_t line) {
    const LineRecord& record = g_store.lines[line];
    return record.pen_style == kSolidPenStyle && record.page_number >= 0 &&
           g_layer_selection.state[line] != kLineUnavailable;
}

void SetAndRecord(int32_t line, int8_t state, bool first) {
    g_layer_selection.state[line] = state;
    RecordSelectionEntry(line, state, first);
}

EndPointIndex& IndexLinesTakingPart() {
    BuildEndPointIndex(g_end_points, g_store.lines, ReadableLineCount(), FilesTakingPart, nullptr);
    return g_end_points;
}

void OpenLayerTool() {
    LayerSelection& tool = g_layer_selection;
    g_tool_state.layer_mode = LayerToolMode::kOpen;
    tool.shown_group = 0;
    tool.shown_layer = 0;
    ShowLayerFresh();
    ResetSelectionHistory();
    if (g_store.lines != nullptr) {
        ComputeLineLengths(g_store.lines, ReadableLineCount(), PageMillimetresPerUnit(g_store.current_page));
    }
    tool.last_clicked = -1;
    tool.length = 0.0;
    CountLayers();
}

void CloseLayerTool() { g_tool_state.layer_mode = LayerToolMode::kClosed; }

void ShowLayerFresh() {
    LayerSelection& tool = g_layer_selection;
    g_selection_history.redo_groups = 0;
    g_selection_history.end = -1;
    const int32_t count = ReadableLineCount();
    for (int32_t i = 0; i < count; ++i) {
        tool.state[i] = InShownLayer(g_store.lines[i]) ? kLineWhite : kLineUnavailable;
    }
    ClearMarks();
}

bool ChooseLayer(int row) {
    if (row < 0 || row >= kLayerListRows) return false;
    LayerSelection& tool = g_layer_selection;
    tool.shown_group = row / kLayersPerGroup;
    tool.shown_layer = row % kLayersPerGroup;
    const int32_t count = ReadableLineCount();
    for (int32_t i = 0; i < count; ++i) {
        if (tool.state[i] == kLineGreen) continue;
        tool.state[i] = InShownLayer(g_store.lines[i]) ? kLineWhite : kLineUnavailable;
    }
    ClearMarks();
    return true;
}

void FormatLayerRow(int row, char* text, int size) {
    if (size <= 0) return;
    if (row < 0 || row >= kLayerListRows) {
        text[0] = '\0';
        return;
    }
    const LayerSelection& tool = g_layer_selection;
    std::snprintf(text, static_cast<size_t>(size), "%2x%2x %6d/%6d%s", row / kLayersPerGroup, row % kLayersPerGroup,
                  tool.solid_counts[row], tool.line_counts[row],
                  PdfLayerNameColumn(row / kLayersPerGroup, row % kLayersPerGroup).c_str());
}

int MoveSelectionToShownLayer() {
    LayerSelection& tool = g_layer_selection;
    const int shown = ShownLayerRow();
    const int32_t count = ReadableLineCount();
    int moved = 0;
    for (int32_t i = 0; i < count; ++i) {
        LineRecord& line = g_store.lines[i];
        if (line.page_number < 0 || (tool.state[i] != kLineGreen && tool.mark[i] == 0)) continue;
        const int old_slot = LayerSlot(line);
        if (old_slot >= 0) {
            --tool.line_counts[old_slot];
            if (line.pen_style == kSolidPenStyle) --tool.solid_counts[old_slot];
        }
        ++tool.line_counts[shown];
        if (line.pen_style == kSolidPenStyle) ++tool.solid_counts[shown];
        line.layer_group = static_cast<int16_t>(tool.shown_group);
        line.layer = static_cast<int16_t>(tool.shown_layer);
        ++moved;
    }
    ShowLayerFresh();
    ResetSelectionHistory();
    g_tool_state.layer_moved = true;
    return moved;
}

HistoryButtons CurrentHistoryButtons() {
    const SelectionHistory& history = g_selection_history;
    return HistoryButtons{history.position != 0, history.redo_groups != 0, history.position != 0};
}

double ReadLengthText(const char* text, bool* rewrite) {
    *rewrite = false;
    char field[kLengthTextBytes];
    std::snprintf(field, sizeof field, "%s", text == nullptr ? "" : text);
    if (field[0] == '\0') return 0.0;
    const double value = std::strtod(field, nullptr);
    if (value > 0 && std::isfinite(value)) return value;
    *rewrite = true;
    return 0.0;
}

void ClearMarks() {
    const int32_t count = ReadableLineCount();
    std::memset(g_layer_selection.mark, 0, static_cast<size_t>(count));
}

}  // namespace velmora
