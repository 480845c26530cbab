// Every line's length in millimetres at its page's scale: the dash merging and the layer tool
// measure lines by it.
#pragma once

#include <cstdint>

#include "store/records.h"

namespace velmora {

// Millimetres per drawing unit on `page`: the page's scale ratio times kMmPerPoint. A ratio that
// is not a positive number (or a page outside the table) counts as 1/1.
double PageMillimetresPerUnit(int page);

// The length field of lines 0..count-1: each line's extent times `mm_per_unit`.
void ComputeLineLengths(LineRecord* lines, int32_t count, double mm_per_unit);

// The current page's line records in use, within the table.
int32_t CurrentLineCount();

}  // namespace velmora
