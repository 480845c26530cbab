// Texts decoded through a font's embedded program (FontFile2, FontFile3) where its dictionary
// says nothing usable of its characters: the program is located and decoded from the file, read
// by the TrueType or CFF reader, and its codes registered in the font's tables as a ToUnicode
// CMap's would be.
#pragma once

#include <cstddef>
#include <cstdint>

#include "store/capacities.h"

namespace velmora {

enum FontProgramKind : uint8_t {
    kFontProgramNone = 0,
    kFontProgramTrueType = 1,  // FontFile2, or FontFile3 /OpenType
    kFontProgramCff = 2,       // FontFile3 /Type1C or /CIDFontType0C
};

// Which program decoded each FontDef's codes, by font number; cleared with the font's entry.
extern uint8_t g_font_program_kind[kFontCapacity];
// Fonts decoded through their programs since the file was loaded (the report prints it).
extern int32_t g_program_decoded_fonts;
void ResetFontPrograms();
void ClearFontProgram(int k);

// Type0 font k (dictionary [start, end]) with Identity-H/V codes: registers each CID its
// descendant's program gives a character as a two-byte code. `replace` keeps the codes its
// CMap registered just before and overwrites those the program gives. True when a code was
// registered (the font then reads as a ToUnicode font of two-byte codes).
bool DecodeCompositeThroughProgram(int k, int32_t start, int32_t end, bool replace);

// Simple font k: fills its one-byte table from its program. `cmap_failed` says a ToUnicode CMap
// was read but gives no characters; without one the program is read only where the dictionary
// gives nothing itself: a symbolic TrueType font or a Type1C font with no /Encoding.
bool DecodeSimpleThroughProgram(int k, int32_t start, int32_t end, bool cmap_failed);

// The readers on raw program bytes, for the fuzz harness: how many glyphs got a character.
int32_t ProgramCharacterCount(const uint8_t* data, size_t length);

}  // namespace velmora
