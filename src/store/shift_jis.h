// Shift-JIS, the encoding of every text the store holds: where a character's bytes end.
#pragma once

#include <cstdint>

namespace velmora {

// A byte that opens a double-byte character (0x81..0x9F, 0xE0..0xFC).
inline bool IsShiftJisLeadByte(uint8_t byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }

// Bytes of the character at the start of `bytes` (`length` > 0 of them left): two after a lead
// byte, unless the text ends first.
inline int ShiftJisCharacterBytes(const char* bytes, int64_t length) {
    return IsShiftJisLeadByte(static_cast<uint8_t>(bytes[0])) && length >= 2 ? 2 : 1;
}

}  // namespace velmora
