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

bool InShownLayer(int32_t item) {
    const ItemFields fields = FieldsOf(item);
    return *fields.layer_group == g_layer_selection.shown_group && *fields.layer == g_layer_selection.shown_layer;
}

// group * 16 + layer, or -1 for fields outside 0..15.
int LayerSlot(const ItemFields& fields) {
    if (*fields.layer_group < 0 || *fields.layer_group >= kLayersPerGroup || *fields.layer < 0 ||
        *fields.layer >= kLayersPerGroup) {
        return -1;
    }
    return *fields.layer_group * kLayersPerGroup + *fields.layer;
}

void CountLayers() {
    LayerSelection& tool = g_layer_selection;
    std::memset(tool.solid_counts, 0, sizeof tool.solid_counts);
    std::memset(tool.line_counts, 0, sizeof tool.line_counts);
    ForEachItem([&](int32_t item) {
        const ItemFields fields = FieldsOf(item);
        const int slot = LayerSlot(fields);
        if (fields.page_number < 0 || slot < 0) return;
        ++tool.line_counts[slot];
        if (fields.pen_style == kSolidPenStyle) ++tool.solid_counts[slot];
    });
}

// Index members: the lines, then the arcs, without the gap between their item numbers.
int32_t ItemOfMember(int32_t member) {
    const int32_t lines = ReadableLineCount();
    return member < lines ? member : kArcItemBase + (member - lines);
}

int32_t MemberOfItem(int32_t item) { return IsArcItem(item) ? ReadableLineCount() + (item - kArcItemBase) : item; }

bool EndsTakingPart(int32_t member, void*, double xs[2], double ys[2]) {
    const int32_t item = ItemOfMember(member);
    if (!TakesPart(item)) return false;
    if (IsArcItem(item)) {
        const ArcRecord& arc = g_arcs.records[item - kArcItemBase];
        for (int end = 0; end < 2; ++end) {
            xs[end] = arc.end_x[end];
            ys[end] = arc.end_y[end];
        }
        return true;
    }
    const LineRecord& line = g_store.lines[item];
    xs[0] = line.x1;
    ys[0] = line.y1;
    xs[1] = line.x2;
    ys[1] = line.y2;
    return true;
}

struct FigureWalk {
    bool (*take)(int32_t item, void* context);
    void* context;
};

bool TakeMember(int32_t member, void* context) {
    const FigureWalk& walk = *static_cast<FigureWalk*>(context);
    return walk.take(ItemOfMember(member), walk.context);
}

}  // namespace

ItemFields FieldsOf(int32_t item) {
    if (IsArcItem(item)) {
        ArcRecord& arc = g_arcs.records[item - kArcItemBase];
        return ItemFields{arc.pen_style, arc.page_number, &arc.layer_group, &arc.layer};
    }
    LineRecord& line = g_store.lines[item];
    return ItemFields{line.pen_style, line.page_number, &line.layer_group, &line.layer};
}

bool UsableItem(int32_t item) {
    if (IsArcItem(item)) return item < kArcItemBase + ReadableArcCount();
    return item >= 0 && item < ReadableLineCount();
}

bool TakesPart(int32_t item) {
    const ItemFields fields = FieldsOf(item);
    return fields.pen_style == kSolidPenStyle && fields.page_number >= 0 &&
           g_layer_selection.state[item] != kLineUnavailable;
}

void SetAndRecord(int32_t item, int8_t state, bool first) {
    g_layer_selection.state[item] = state;
    RecordSelectionEntry(item, state, first);
}

EndPointIndex& IndexItemsTakingPart() {
    BuildEndPointIndex(g_end_points, ReadableLineCount() + ReadableArcCount(), EndsTakingPart, nullptr);
    return g_end_points;
}

void FollowFigure(EndPointIndex& index, int32_t item, bool (*take)(int32_t item, void* context), void* context) {
    FigureWalk walk{take, context};
    FollowConnections(index, MemberOfItem(item), TakeMember, &walk);
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
    ForEachItem([&](int32_t item) { tool.state[item] = InShownLayer(item) ? kLineWhite : kLineUnavailable; });
    ClearMarks();
}

bool ChooseLayer(int row) {
    if (row < 0 || row >= kLayerListRows) return false;
    LayerSelection& tool = g_layer_selection;
    tool.shown_group = row / kLayersPerGroup;
    tool.shown_layer = row % kLayersPerGroup;
    ForEachItem([&](int32_t item) {
        if (tool.state[item] != kLineGreen) tool.state[item] = InShownLayer(item) ? kLineWhite : kLineUnavailable;
    });
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
    int moved = 0;
    ForEachItem([&](int32_t item) {
        const ItemFields fields = FieldsOf(item);
        if (fields.page_number < 0 || (tool.state[item] != kLineGreen && tool.mark[item] == 0)) return;
        const int old_slot = LayerSlot(fields);
        if (old_slot >= 0) {
            --tool.line_counts[old_slot];
            if (fields.pen_style == kSolidPenStyle) --tool.solid_counts[old_slot];
        }
        ++tool.line_counts[shown];
        if (fields.pen_style == kSolidPenStyle) ++tool.solid_counts[shown];
        *fields.layer_group = static_cast<int16_t>(tool.shown_group);
        *fields.layer = static_cast<int16_t>(tool.shown_layer);
        ++moved;
    });
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
    std::memset(g_layer_selection.mark, 0, static_cast<size_t>(ReadableLineCount()));
    std::memset(g_layer_selection.mark + kArcItemBase, 0, static_cast<size_t>(ReadableArcCount()));
}

}  // namespace velmora
