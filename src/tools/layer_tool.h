// The layer arrangement tool's state that the preview draws, and the entry points of its mouse
// gestures. The selection rules, the history and the move come with the tool itself; until
// then the gestures select nothing.
#pragma once

#include <cstdint>

#include "store/capacities.h"

namespace velmora {

inline constexpr int8_t kLineUnavailable = -1;  // another layer, not selected
inline constexpr int8_t kLineWhite = 0;         // in the shown layer, not selected
inline constexpr int8_t kLineGreen = 2;         // selected
inline constexpr uint8_t kMarkByLength = 1;
inline constexpr uint8_t kMarkByConnection = 2;

// One selection state and one mark per line record.
struct LayerSelection {
    int32_t shown_group;
    int32_t shown_layer;
    int8_t state[kLineCapacity];
    uint8_t mark[kLineCapacity];
};

extern LayerSelection g_layer_selection;

// Left click at the drawing point (x, y) within `half_width`: the toggled line, or -1.
int PickLine(double x, double y, double half_width);
// Left drag: toggles the lines strictly inside the rectangle; the number toggled.
int SelectByRectangle(double x0, double y0, double x1, double y1);
// Right click: the hit line and everything connected to it; the hit line, or -1.
int PickConnectedGroup(double x, double y, double half_width);
// Right drags: false when an undone line lies outside the shown layer (full repaint needed).
bool Undo();
void Redo();

}  // namespace velmora
