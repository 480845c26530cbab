// Stand-ins for characters code page 932 lacks, as a Japanese draughtsman types them.
#pragma once

#include <cstdint>

namespace velmora {

struct DraughtsmanCharacter {
    uint16_t unicode;
    uint16_t typed;  // a character code page 932 has
};
extern const DraughtsmanCharacter kDraughtsmanCharacters[];
extern const int kDraughtsmanCharacterCount;

// The character typed for code point cp, or 0 when the table has none. Mathematical letters and
// digits (bold, italic, ... beyond the BMP) give their plain letter or digit.
uint16_t TypedCharacter(uint32_t cp);

}  // namespace velmora
