// Character codes of the current font to Shift-JIS text, by the font's conversion type.
#pragma once

#include <cstdint>

#include "store/records.h"

namespace velmora {

inline constexpr int kDecodedTextCapacity = 249;  // bytes of one decoded text, without its NUL

struct DecodedText {
    char bytes[kDecodedTextCapacity + 1];  // always terminated
    int32_t length;
    int32_t undecoded;  // codes that gave no character
};

// The FontDef of the current font number, or null when the number lies outside the table.
const FontDef* CurrentFont();

// Appends the text of codes first … first + count − 1 of the last text operator
// (g_text_operands) through the current font. A character that would not fit whole into the
// 249 bytes is dropped with all after it; codes outside the operator are not read. Codes that
// give nothing are counted in `undecoded`.
void DecodeText(int32_t first, int32_t count, DecodedText& text);

}  // namespace velmora
