#include "app/win32/tool_dialogs.h"

namespace velmora {

void RunPageListCommand(WindowHandle) {}

void RunLayerToolCommand(WindowHandle) {}

void RunPenChangeCommand(WindowHandle) {}

void RunScaleDialog(WindowHandle) {}

void ShowLayerToolLength(double) {}

void UpdateLayerToolHistoryButtons() {}

}  // namespace velmora
