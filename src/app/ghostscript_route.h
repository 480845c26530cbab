// Rewriting the current PDF with Ghostscript into the intermediate file.
#pragma once

#include "platform/platform.h"

namespace velmora {

// True when the intermediate file is to be read (Ghostscript ran now or before); false when no
// Ghostscript program could be started (code 110 recorded).
bool RunGhostscript(WindowHandle window);

}  // namespace velmora
