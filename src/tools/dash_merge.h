// Dash run merging: runs of separately drawn dashes become one dashed or dash-dot line before
// the page is saved as JWW or arranged in layers.
#pragma once

#include <cstdint>

namespace velmora {

// Directions are hundredths of a degree, -18000..18000. The work tables mark lines and gaps
// without a direction with these values; none of them matches a direction in AngleWithin.
inline constexpr int32_t kNoDirection = -36000;       // A: the line is not solid or has no length
inline constexpr int32_t kGapAfterNoLine = -36001;    // B: the line itself has no direction
inline constexpr int32_t kNoGap = -36002;             // B: the next line is not solid or touches
inline constexpr int32_t kGapAfterLastLine = -36003;  // B: the line is the last record

inline constexpr double kDegreesScale = 5729.579143313326;  // 18000 / pi
inline constexpr int kShortestDashRun = 5;

// floor(atan2(dy, dx) * kDegreesScale); the caller passes finite values.
int32_t DirectionOf(double dx, double dy);

// True when a == b, or b lies strictly within tolerance of a on the circle of 36000 hundredths.
// Values of -36000 and below are the markers above and match only themselves.
bool AngleWithin(int32_t a, int32_t b, int32_t tolerance);

// The pass over the current page's line records; runs once per conversion
// (g_store.conversion.dash_merge_done) and leaves the absorbed count in dash_merged_count.
void MergeDashRuns();

}  // namespace velmora
