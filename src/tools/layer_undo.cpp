// Undo and redo of the layer tool's selection groups, read from the history ring.
#include "store/document_store.h"
#include "tools/layer_tool.h"
#include "tools/layer_tool_lines.h"
#include "tools/line_lengths.h"

namespace velmora {

namespace {

// An entry's item as the ring holds it; items of another page's tables are never touched.
bool UsableLine(int32_t item) { return UsableItem(item); }

bool InShownLayer(int32_t item) {
    const ItemFields fields = FieldsOf(item);
    return *fields.layer_group == g_layer_selection.shown_group && *fields.layer == g_layer_selection.shown_layer;
}

// Entries back from the position to the start of the last group, or 0 when the ring no longer
// holds that start (overwritten by later entries).
int32_t LastGroupSize() {
    const SelectionHistory& history = g_selection_history;
    int32_t position = history.position;
    for (int32_t size = 1; size <= history.held; ++size) {
        position = PreviousHistoryPosition(position);
        if (history.code[position] >= kGroupStart) return size;
    }
    return 0;
}

}  // namespace

bool Undo() {
    SelectionHistory& history = g_selection_history;
    if (history.position == 0) return true;
    const int32_t size = LastGroupSize();
    if (size == 0) return true;
    ClearMarks();
    bool all_shown = true;
    for (int32_t k = 0; k < size; ++k) {
        history.position = PreviousHistoryPosition(history.position);
        --history.held;
        const int8_t code = history.code[history.position];
        const int32_t line = history.line[history.position];
        const int8_t received = code >= kGroupStart ? static_cast<int8_t>(code - kGroupStart) : code;
        if (!UsableLine(line) || (received != kLineWhite && received != kLineGreen)) continue;
        g_layer_selection.state[line] = received == kLineWhite ? kLineGreen : kLineWhite;
        if (!InShownLayer(line)) all_shown = false;
    }
    ++history.redo_groups;
    return all_shown;
}

void Redo() {
    SelectionHistory& history = g_selection_history;
    if (history.redo_groups <= 0 || history.end == -1) return;
    ClearMarks();
    for (int32_t k = 0; k < kHistoryCapacity; ++k) {
        const int8_t code = history.code[history.position];
        const int32_t line = history.line[history.position];
        const int8_t received = code >= kGroupStart ? static_cast<int8_t>(code - kGroupStart) : code;
        if (UsableLine(line) && (received == kLineWhite || received == kLineGreen)) {
            g_layer_selection.state[line] = received;
        }
        history.position = NextHistoryPosition(history.position);
        if (history.held < kHistoryCapacity) ++history.held;
        if (history.position == history.end) {
            history.redo_groups = 0;
            return;
        }
        if (history.code[history.position] >= kGroupStart) {
            --history.redo_groups;
            return;
        }
    }
}

}  // namespace velmora
