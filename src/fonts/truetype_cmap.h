// The character maps of an embedded TrueType or OpenType program: its table directory, the
// cmap subtables of formats 0, 4, 6 and 12 and the post table's glyph names, read into what a
// PDF font needs to decode its codes: glyph id -> Unicode, and for one-byte symbolic fonts
// code -> glyph id.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace velmora {

struct TrueTypeProgram {
    int32_t glyph_count = 0;                 // maxp's count (capped), else the largest id met + 1
    std::vector<uint32_t> unicode_by_glyph;  // 0 where neither a Unicode cmap nor a name says
    int32_t glyph_by_byte[256] = {};         // through (3,0) at 0xF000 + byte or byte, else (1,0)
    bool has_byte_cmap = false;              // a (3,0) or (1,0) subtable was read
    bool has_unicode_cmap = false;           // a (3,1), (3,10) or (0,x) subtable was read
    bool has_glyph_names = false;            // post format 1 or 2 named a glyph
};

// Reads the program's tables (a collection's first font); false when the bytes hold no table
// directory. A damaged table gives what it holds within its bounds and nothing more.
bool ReadTrueTypeProgram(const uint8_t* data, size_t length, TrueTypeProgram* program);

}  // namespace velmora
