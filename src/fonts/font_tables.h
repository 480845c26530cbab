// Character tables generated at build time from Debian's packages (scripts/make_font_tables.py):
// the Adobe Glyph List, the three named base encodings, Adobe-Japan1 CID -> Unicode and the
// predefined Adobe-Japan1 CMaps.
#pragma once

#include <cstdint>

namespace velmora {

struct GlyphListEntry {
    const char* name;
    uint16_t unicode;
};

// Sorted by name (byte order), for a binary search.
extern const GlyphListEntry AdobeGlyphList[];
extern const int32_t AdobeGlyphListSize;

// Unicode per one-byte code; 0 where the encoding has no glyph.
extern const uint16_t StandardEncodingUnicode[256];
extern const uint16_t WinAnsiEncodingUnicode[256];
extern const uint16_t MacRomanEncodingUnicode[256];

// A run of codes of a predefined CMap with consecutive CIDs: code `low` has CID `cid`.
struct CMapCidRange {
    uint16_t low;
    uint16_t high;
    uint16_t cid;
};

// How a predefined CMap's codes are cut from a string.
enum CMapCodeBytes : uint8_t {
    kCMapJis = 0,       // two bytes each
    kCMapEuc = 1,       // two bytes after a lead byte 8E or A1-FE, else one
    kCMapShiftJis = 2,  // two bytes after a lead byte 81-9F or E0-FC, else one
};

struct PredefinedCMapTable {
    const char* name;
    CMapCodeBytes code_bytes;
    const CMapCidRange* ranges;  // sorted by code
    int32_t count;
};

// The horizontal predefined Adobe-Japan1 CMaps by JIS, EUC and Shift-JIS code, sorted by name.
extern const PredefinedCMapTable Japan1CMaps[];
extern const int32_t Japan1CMapCount;

// Unicode per CID of the Adobe-Japan1 character collection; 0 where it has none in the BMP.
extern const uint16_t AdobeJapan1Unicode[];
extern const int32_t AdobeJapan1Cids;

}  // namespace velmora
