#include "app/win32/tool_dialogs.h"

namespace velmora {

void RunPageListCommand(WindowHandle) {}

void RunPenChangeCommand(WindowHandle) {}

void RunScaleDialog(WindowHandle) {}

}  // namespace velmora
