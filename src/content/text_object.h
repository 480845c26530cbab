// The text object reader the scanner hands a BT … ET object to.
#pragma once

#include <cstdint>

#include "store/records.h"

namespace velmora {

// Reads the text object from `position` (just after BT, or the start of a later stream of the
// page when the previous one ended inside the object). Returns 1 with `position` just after ET,
// or 0 with `position` at the stream's end when no ET follows.
int ReadTextObject(const DecodedStream& stream, int page, int32_t& position);

}  // namespace velmora
