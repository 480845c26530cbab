// The tokeniser inside a text object: numbers, a font name, literal and hexadecimal strings and
// arrays of them before each text operator.
#pragma once

#include <cstdint>

#include "store/records.h"

namespace velmora {

inline constexpr int kTextCodeCapacity = 100;      // character codes of one operator, all strings
inline constexpr int kTextSegmentCapacity = 99;    // strings of one operator that keep their codes
inline constexpr int kTextItemLimit = 1000;        // items read before an operator is given up
inline constexpr int kTextNameCapacity = 99;       // name characters, plus a terminator

// How a literal string's bytes become codes, chosen by the current font's conversion type.
enum StringCoding : int32_t {
    kStringNotCounted = 0,  // no current font: the bytes are passed over
    kStringOneByte = 1,     // one code per byte
    kStringTwoByte = 2,     // one code per two bytes, the first byte high
    kStringEuc = 3,         // two bytes after a lead byte 8E or A1-FE, else one
    kStringShiftJis = 4,    // two bytes after a lead byte 81-9F or E0-FC, else one
};

// What ReadTextOperator leaves for the text handlers; numbers go to g_operands as in the scanner.
struct TextOperands {
    uint32_t codes[kTextCodeCapacity];
    int32_t code_count;                               // codes kept, all strings together
    int32_t segment_codes[kTextSegmentCapacity];      // codes of each string, in order
    double segment_adjustments[kTextSegmentCapacity]; // numbers after each string of an array
    int32_t segment_count;
    char name[kTextNameCapacity + 1];
    bool has_name;                                    // a name was read for this operator
};

extern TextOperands g_text_operands;

// The string coding of the current font (g_store.conversion.font_number).
StringCoding CurrentStringCoding();

// Reads operands and the next token from `position` (never past the stream's end). True with the
// token in g_operands.token and `position` just past it; false when the stream ended or 1000
// items held no token. `position` always moves forward unless it is already at the end.
bool ReadTextOperator(const DecodedStream& stream, int32_t& position);

}  // namespace velmora
