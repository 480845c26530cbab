#include "tools/layer_tool.h"

namespace velmora {

LayerSelection g_layer_selection;

// The gestures reach the tool already; selecting, undoing and redoing arrive with it.
int PickLine(double, double, double) { return -1; }

int SelectByRectangle(double, double, double, double) { return 0; }

int PickConnectedGroup(double, double, double) { return -1; }

bool Undo() { return true; }

void Redo() {}

}  // namespace velmora
