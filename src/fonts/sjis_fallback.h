// Unicode to Shift-JIS for the CMap reader: code page 932 through the platform seam, and the
// fixed stand-ins for the characters the code page lacks.
#pragma once

#include <cstdint>

namespace velmora {

// The four ranges of the fallback table, in table order.
struct SjisFallbackRange {
    uint16_t first;
    uint16_t count;
};
inline constexpr SjisFallbackRange kSjisFallbackRanges[] = {
    {0x2000, 16},   // general punctuation spaces
    {0x2E80, 352},  // CJK radicals supplement and Kangxi radicals
    {0xF900, 368},  // CJK compatibility ideographs
    {0xFE13, 4},    // vertical colon, semicolon, exclamation and question marks
};
inline constexpr int kSjisFallbackEntries = 740;

// One double-byte Shift-JIS character per code point, the ranges back to back (generated).
extern const char* const SjisFallbackTable[kSjisFallbackEntries];

// 2 with the table's two bytes in out[0..1] when u lies in a fallback range, else 1 (out untouched).
int SjisFallback(uint16_t u, char* out);

// One UTF-16 unit as Shift-JIS text of up to 2 bytes, terminated in out[3]: the code page's own
// conversion ("?" for what it lacks), the fallback table for a "?" inside its ranges. Returns
// the text's length.
int UnicodeToSjis(uint16_t u, char out[3]);

// Any code point (beyond the BMP too) as Shift-JIS text of up to 2 bytes, as UnicodeToSjis.
int CodePointToSjis(uint32_t cp, char out[3]);

// Conversions since the file was loaded that found no character at all and gave "?" (the
// report prints it); reset with the font tables.
extern int32_t g_unmapped_characters;

}  // namespace velmora
