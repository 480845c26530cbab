// The standard scales a measured ratio of real size to paper size is rounded to: one rule for a
// scale picked in the window and one the PDF states by its viewport measure.
#pragma once

#include <cstdint>

namespace velmora {

inline constexpr int kStandardScaleCount = 15;
extern const int32_t StandardScales[kStandardScaleCount];

// Denominators are 32-bit; a ratio from here on has none.
inline constexpr double kFirstRatioTooLarge = 2147483648.0;

// The denominator of a ratio: truncated toward zero, then the last standard scale t whose band
// 0.96 t - 1 < n < 1.04 t + 1 holds n, or n itself when none does. `ratio` must lie in
// [1, 2^31) (ApplyScale refuses others).
int32_t RoundedScale(double ratio);

}  // namespace velmora
