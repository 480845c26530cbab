// The post table of a TrueType program: glyph names (format 1, the 258 standard Macintosh
// names; format 2, indices into them and the table's own Pascal strings) through the glyph list.
#pragma once

#include <cstdint>
#include <vector>

#include "fonts/font_program_bytes.h"

namespace velmora {

inline constexpr int kMacGlyphNames = 258;
extern const char* const MacGlyphNames[kMacGlyphNames];

// Gives each glyph still without a Unicode value the one its name stands for; returns how many
// glyphs got one.
int32_t ReadPostNames(const ProgramBytes& post, std::vector<uint32_t>* unicode_by_glyph);

}  // namespace velmora
