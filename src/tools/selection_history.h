// The layer tool's undo history: a ring of the selection changes users made, grouped by action.
// Each entry is a line and the state it received (0 white, 2 green), plus 10 on the first entry
// of an action, which is how undo and redo find where a group begins and ends.
#pragma once

#include <cstdint>

namespace velmora {

inline constexpr int kHistoryCapacity = 1000000;
inline constexpr int8_t kGroupStart = 10;  // added to the first entry's code of an action

struct SelectionHistory {
    int32_t line[kHistoryCapacity];
    int8_t code[kHistoryCapacity];
    int32_t position;     // the next entry to write; 0 also means nothing to undo
    int32_t end;          // one past the last entry redo may reach; -1 = nothing to redo
    int32_t redo_groups;  // groups undone and not yet redone
    // Entries behind the position that are still in the ring (not overwritten, not undone):
    // undo never walks into entries the ring no longer holds.
    int32_t held;
};

extern SelectionHistory g_selection_history;

// Nothing to undo or redo.
void ResetSelectionHistory();

// One change of a line's state, written at the position; `first` marks the start of an action.
// Whatever was undone can no longer be redone.
void RecordSelectionEntry(int32_t line, int8_t state, bool first);

// The position one entry back or forward, around the ring.
inline int32_t PreviousHistoryPosition(int32_t position) {
    return position == 0 ? kHistoryCapacity - 1 : position - 1;
}
inline int32_t NextHistoryPosition(int32_t position) { return position + 1 == kHistoryCapacity ? 0 : position + 1; }

}  // namespace velmora
