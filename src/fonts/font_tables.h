// Character tables generated at build time from Debian's packages (scripts/make_font_tables.py):
// the Adobe Glyph List, the three named base encodings and Adobe-Japan1 CID -> Unicode.
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

// Unicode per CID of the Adobe-Japan1 character collection; 0 where it has none in the BMP.
extern const uint16_t AdobeJapan1Unicode[];
extern const int32_t AdobeJapan1Cids;

}  // namespace velmora
