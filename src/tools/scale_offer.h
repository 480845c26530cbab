// The window's offer of the scale a PDF states: asked once per file, never applied unasked.
#pragma once

#include "platform/platform.h"

namespace velmora {

// For the page just shown: when it states a scale (other than 1/1) and has none set, asks the
// first time in the file whether to use it; once the user said OK, every page shown later takes
// its own stated scale. Nothing without the PDFSCALE key. True when a scale was set.
bool OfferStatedScale(WindowHandle window);

}  // namespace velmora
