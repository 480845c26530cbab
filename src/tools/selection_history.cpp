#include "tools/selection_history.h"

namespace velmora {

SelectionHistory g_selection_history;

void ResetSelectionHistory() {
    SelectionHistory& history = g_selection_history;
    history.position = 0;
    history.end = -1;
    history.redo_groups = 0;
    history.held = 0;
}

void RecordSelectionEntry(int32_t line, int8_t state, bool first) {
    SelectionHistory& history = g_selection_history;
    history.line[history.position] = line;
    history.code[history.position] = static_cast<int8_t>(state + (first ? kGroupStart : 0));
    history.redo_groups = 0;
    history.position = NextHistoryPosition(history.position);
    history.end = history.position;
    if (history.held < kHistoryCapacity) ++history.held;
}

}  // namespace velmora
