// The current path as a filled area sees it: every subpath kept, in device space, curves in ten
// pieces. PathList keeps only the last subpath; a fill needs all of them (holes, rings).
#pragma once

#include <cstdint>

#include "content/fill_decomposition.h"
#include "content/graphics_state.h"

namespace velmora {

inline constexpr int32_t kFillPathPointCapacity = 200000;
inline constexpr int32_t kFillPathSubpathCapacity = 20000;

struct FillPath {
    Point points[kFillPathPointCapacity];
    int32_t subpath_ends[kFillPathSubpathCapacity];  // one past each finished subpath's last point
    int32_t count;
    int32_t subpaths;      // finished subpaths
    int32_t open_start;    // first point of the subpath being built
    bool closed;           // h closed it: a point after it starts over from its first point
    bool cut;              // points or subpaths beyond the capacity were dropped
};

extern FillPath g_fill_path;

// True while fills become solids: the path builder then keeps the fill path.
bool FillsAsSolids();

void ClearFillPath();
void FillPathMove(Point device);
void FillPathLine(Point device);
void FillPathClose();

// The fill path as solids of `page` in the current fill colour, painted after `paint_position`
// line records; the fill path is cleared afterwards.
void EmitFillSolids(int page, FillRule rule, int32_t paint_position);

}  // namespace velmora
