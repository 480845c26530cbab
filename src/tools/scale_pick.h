// Setting the page's scale from two picked points: the right clicks the main window's mouse
// routing passes on. Each click is snapped to a line end point or crossing (tools/scale_snap.h);
// the pick state (idle, first point held, both held) is the tools' own (tools/tool_state.h).
#pragma once

#include "platform/platform.h"

namespace velmora {

// The tool's own state for the whole run: the points held and their distance on paper.
struct ScalePick {
    double first_x, first_y;    // P1, drawing coordinates
    double second_x, second_y;  // P2
    double paper_distance;      // millimetres from P1 to P2 on paper
};

extern ScalePick g_scale_pick;

// One right click at the drawing point (x, y), snapping within `half_width` drawing units. On a
// page that has a scale already it first asks whether to change it (Cancel ends the pick).
// True when a point was taken (or both are already held); the pick state is then 1 or 2, and at
// 2 the window runs the distance dialog. False when nothing was taken; the state is unchanged,
// except after the question, which always leaves it 0.
bool PickScalePoint(WindowHandle window, double x, double y, double half_width);

// The first picked point while the pick state is 1 (the rubber line starts there). False when
// no point is held.
bool FirstScalePoint(double* x, double* y);

// After the distance dialog has run: the pick starts afresh.
void EndScalePick();

}  // namespace velmora
