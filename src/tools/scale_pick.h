// Setting the page's scale from two picked points: the entry points the main window's mouse
// routing calls. The picking itself (snapping, the three pick states, the question before a
// change) comes with the scale tool; until then a pick takes no point.
#pragma once

#include "platform/platform.h"

namespace velmora {

// One right click at the drawing point (x, y), snapping within `half_width` drawing units.
// True when a point was taken (or both are already held); the pick state is then 1 or 2.
bool PickScalePoint(WindowHandle window, double x, double y, double half_width);

// The first picked point while the pick state is 1 (the rubber line starts there). False when
// no point is held.
bool FirstScalePoint(double* x, double* y);

// After the distance dialog has run: the pick starts afresh.
void EndScalePick();

}  // namespace velmora
