// Big-endian reads inside an embedded font program's bytes: every read is checked against the
// program's length and gives 0 past it, so a table whose offsets point outside reads as empty.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velmora {

struct ProgramBytes {
    const uint8_t* data;
    size_t length;

    bool Holds(uint64_t offset, uint64_t size) const { return offset <= length && size <= length - offset; }
    uint32_t U8(uint64_t offset) const { return Holds(offset, 1) ? data[offset] : 0; }
    uint32_t U16(uint64_t offset) const {
        return Holds(offset, 2) ? (uint32_t{data[offset]} << 8) | data[offset + 1] : 0;
    }
    uint32_t U32(uint64_t offset) const {
        if (!Holds(offset, 4)) return 0;
        return (uint32_t{data[offset]} << 24) | (uint32_t{data[offset + 1]} << 16) | (uint32_t{data[offset + 2]} << 8) |
               data[offset + 3];
    }
    // The part [offset, offset + size) cut to the bytes present; empty when offset lies outside.
    ProgramBytes Part(uint64_t offset, uint64_t size) const {
        if (offset >= length) return ProgramBytes{data, 0};
        const uint64_t available = length - offset;
        return ProgramBytes{data + offset, static_cast<size_t>(size < available ? size : available)};
    }
};

// Glyph ids and codes the readers keep: one font program never names more glyphs than this.
inline constexpr int32_t kProgramGlyphCap = 65536;

// Unicode values taken from a font program are real characters only: private use and control
// characters say nothing of the text.
inline bool IsPrivateOrControl(uint32_t u) {
    return u < 0x20 || (u >= 0x7F && u <= 0x9F) || (u >= 0xE000 && u <= 0xF8FF) || (u >= 0xD800 && u <= 0xDFFF) ||
           u > 0x10FFFF;
}

}  // namespace velmora
