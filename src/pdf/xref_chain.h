// The cross-reference chain from startxref: classic tables with any number of subsections, their
// /Prev and /XRefStm, cross-reference streams and their /Prev, and linearized first-page tables.
#pragma once

#include <cstdint>

namespace velmora {

// Reads every section the chain names, newest first (the newest entry of an object wins), then
// sets the extents, appends the objects of object streams and sets the object count. Records
// 42, 41, 50, 65 or 43 when the section at `startxref` cannot be read; an older section that
// cannot be read ends the chain.
void ReadCrossReference(int32_t startxref);

}  // namespace velmora
