#include "app/win32/tool_dialogs.h"

namespace velmora {

void RunLayerToolCommand(WindowHandle) {}

void ShowLayerToolLength(double) {}

void UpdateLayerToolHistoryButtons() {}

}  // namespace velmora
