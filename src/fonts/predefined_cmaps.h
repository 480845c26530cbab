// Type0 fonts without a usable ToUnicode CMap whose codes still say which character they are:
// a predefined Unicode CMap (UniJIS-UCS2-H and its kin: the code is the UTF-16 unit) or
// Identity-H/V over the Adobe-Japan1 collection (the code is the CID).
#pragma once

#include <cstdint>

namespace velmora {

// The conversion type the Type0 font dictionary [start, end] allows: kConversionUnicodeCMap,
// kConversionAdobeJapan1, or kConversionNone.
uint8_t PredefinedConversion(int32_t start, int32_t end);

// The Unicode value of a two-byte code under one of those conversion types; 0 when none.
uint16_t PredefinedUnicode(uint8_t conversion_type, uint32_t code);

}  // namespace velmora
