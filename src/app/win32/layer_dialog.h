// The layer tool's modeless dialog in the window program. RunLayerToolCommand,
// ShowLayerToolLength and UpdateLayerToolHistoryButtons (tool_dialogs.h) are defined with it.
#pragma once

#include <windows.h>

namespace velmora {

// True when `message` was the dialog's (keyboard navigation inside it); the message loop then
// does not dispatch it again.
bool IsLayerToolMessage(MSG* message);

}  // namespace velmora
