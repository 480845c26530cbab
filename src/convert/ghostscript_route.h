// Rewriting the current PDF with Ghostscript into the intermediate file.
#pragma once

#include "platform/platform.h"

namespace velmora {

// True when the intermediate file is to be read (Ghostscript ran now or before); false when no
// Ghostscript program could be started (code 110 recorded).
bool RunGhostscript(WindowHandle window);

// The exit status of the last Ghostscript run of this process, -1 before any. The route itself
// does not look at it; velmora-convert reports a failed run instead of reading what it left.
int LastGhostscriptStatus();

}  // namespace velmora
