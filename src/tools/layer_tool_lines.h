// What the layer tool's operations share: which lines take part, a recorded change of state, and
// the end point index of the lines taking part (built once per operation).
#pragma once

#include <cstdint>

#include "tools/end_point_index.h"

namespace velmora {

// Solid, not merged away, and not unavailable: the lines a pick, a rectangle or a mark can reach.
bool TakesPart(int32_t line);

// The line gets `state` and the change is recorded; `first` starts a new group.
void SetAndRecord(int32_t line, int8_t state, bool first);

// The end points of every line taking part now, filed afresh.
EndPointIndex& IndexLinesTakingPart();

}  // namespace velmora
