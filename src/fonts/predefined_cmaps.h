// Type0 fonts without a usable ToUnicode CMap whose codes still say which character they are:
// a predefined Unicode CMap (UniJIS-UCS2-H and its kin: the code is the UTF-16 unit) or
// Identity-H/V over the Adobe-Japan1 collection (the code is the CID), or a predefined
// Adobe-Japan1 CMap by JIS, EUC or Shift-JIS code (H, V, 90ms-RKSJ-H, ...: the code gives a CID).
#pragma once

#include <cstdint>

#include "store/records.h"

namespace velmora {

// The conversion type the Type0 font dictionary [start, end] allows: kConversionUnicodeCMap,
// kConversionAdobeJapan1, kConversionJapan1CMap (with `japan1_cmap` set to 1 + the CMap's row of
// Japan1CMaps), or kConversionNone.
uint8_t PredefinedConversion(int32_t start, int32_t end, uint8_t* japan1_cmap);

// The row of Japan1CMaps for a CMap name; a vertical name reads as its horizontal one. -1 when
// the name is none of them.
int Japan1CMapRow(const char* name);

// The Type0 font dictionary [start, end] writes vertically: its Encoding is Identity-V or another
// vertical CMap ("V", "...-V"), or an embedded CMap with /WMode 1.
bool NamesVerticalCMap(int32_t start, int32_t end);

// The Unicode value of a code of `font` under one of those conversion types; 0 when none.
uint16_t PredefinedUnicode(const FontDef& font, uint32_t code);

}  // namespace velmora
