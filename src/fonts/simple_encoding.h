// One-byte fonts without a ToUnicode CMap: the code table built from the font's encoding (a
// named base, Differences at their codes), glyph names through the Adobe Glyph List, and the
// result in Shift-JIS.
#pragma once

#include <cstdint>

namespace velmora {

// The Unicode value a glyph name stands for: the glyph list, "uniXXXX", "uXXXX" to "uXXXXXX"
// (basic plane only), a variant suffix after "." and ligature parts after "_" ignored. 0 when
// the name means nothing known.
uint16_t GlyphNameUnicode(const char* name);

// Shift-JIS text for one Unicode character in a one-byte table slot (two bytes at most, so a
// ligature keeps its first two letters); returns its length.
int OneByteSlotText(uint16_t u, char out[3]);

// How a font without a named base encoding reads its codes.
enum DefaultEncoding : int32_t {
    kNoDefaultEncoding = 0,        // Type3: only what Differences names
    kStandardEncodingDefault = 1,  // Type1 and TrueType: StandardEncoding
};

// Fills the one-byte table of FontDef k from the Encoding of the font dictionary [start, end].
// Returns the number of codes filled (0 when the encoding gives nothing).
int ReadSimpleEncoding(int k, int32_t start, int32_t end, DefaultEncoding fallback);

// The Unicode value of a byte shown with WinAnsiEncoding.
uint16_t WinAnsiUnicode(uint8_t byte);

}  // namespace velmora
