// Appending TextRecords: the per-page limits, the TextPool and the TextSizeHistogram.
#pragma once

#include <cstdint>

#include "pdf/error_codes.h"

namespace velmora {

inline constexpr int16_t kNewTextLayerGroup = 8;
inline constexpr double kTextAnglePi = 3.141592;  // angles are given with this π, not M_PI
// What a code no table decodes shows as, once per code of a text none of whose codes decoded.
inline constexpr char kUndecodedMark[] = "〓";

// Appends one text from (x1, y1) to (x2, y2) (before the page-frame step) with the current font
// number and font size. False when nothing was stored: 9,999 texts or 999,999 pool bytes are in
// use, the string and its NUL do not fit the pool (both record code 121 into an empty error
// list), the page is out of range or a coordinate or the size is not a finite number.
// The TextSizeHistogram class of a size: size × 10 truncated, held to the 301 classes.
int32_t TextSizeClass(double size);

bool EmitText(double x1, double y1, double x2, double y2, int page, const char* text, int32_t length);

}  // namespace velmora
