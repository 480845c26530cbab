// The charset and encoding of an embedded CFF program (Type1C, CIDFontType0C): its header, the
// Name, Top DICT and String INDEXes, charset formats 0, 1 and 2 (and the predefined ISOAdobe
// one), encodings formats 0 and 1 with their supplements; name-keyed glyphs get Unicode values
// through their names, CID-keyed ones keep their CIDs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace velmora {

struct CffProgram {
    int32_t glyph_count = 0;                 // the CharStrings INDEX's count (capped)
    bool cid_keyed = false;                  // the Top DICT has ROS
    bool japan1 = false;                     // ... and its ordering is Japan1
    std::vector<uint32_t> sid_by_glyph;      // name-keyed: the glyph's SID; CID-keyed: its CID
    std::vector<uint32_t> unicode_by_glyph;  // name-keyed: through the glyph's name; 0 where none
    int32_t glyph_by_code[256] = {};         // the font's own encoding (formats 0, 1); 0 where none
    bool own_encoding = false;               // an encoding of format 0 or 1 was read
};

// The 391 standard strings SIDs 0..390 name.
inline constexpr int kCffStandardStrings = 391;
extern const char* const CffStandardStrings[kCffStandardStrings];

// Reads the first font of the CFF data; false when the header or the INDEXes it needs are not
// there. A damaged charset or encoding gives what it holds within its bounds.
bool ReadCffProgram(const uint8_t* data, size_t length, CffProgram* program);

}  // namespace velmora
