// Appending LineRecords: the page-frame step, the per-page limit and the rewinds of n and f*.
#pragma once

#include <cstdint>

#include "content/graphics_state.h"
#include "pdf/error_codes.h"
#include "store/records.h"

namespace velmora {

inline constexpr int16_t kNewLinePen = 2;       // pen colour of a record as created

// A page's /Rotate as quarter turns clockwise, 0..3 (-90 is 3, 450 is 1); other angles are 0.
int QuarterTurns(double rotation);

// The page-frame step shared by lines and texts: the page's top edge goes to y = 0.
Point ToPageFrame(const PageRecord& record, Point p);

// Takes a segment already mapped by ApplyCtm, moves it into the page frame and appends it.
// `grouped` gives it the current FigureCounter as group number. False when the record was not
// stored: the table is full for this page, or a coordinate is not a finite number.
bool EmitLine(double x1, double y1, double x2, double y2, int page, bool grouped);

// Discards the newest `count` records (never more than there are). The page's line count and
// the total-segments counter keep counting them.
void RewindLines(int32_t count);

// Adds one unless the counter is at its largest value.
void SaturatingIncrement(int32_t& counter);

}  // namespace velmora
