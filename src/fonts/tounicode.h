// ToUnicode CMaps: the stream of a font's CMap, its bfrange and bfchar sections, and the tables
// by character code that the text showing reads (the font's one-byte table, the document's
// CidMapTable with its DuplicateList, both in g_store).
#pragma once

#include <cstdint>

#include "pdf/dictionary_values.h"
#include "store/capacities.h"

namespace velmora {

// The CMap text of FontDef k, owned while data is not null.
struct ToUnicodeData {
    char* data;            // terminated
    int32_t length;        // bytes of CMap text
    int32_t input_length;  // the stream's /Length, for the report's expansion ratio (inflated CMaps)
};

// Beside the FontDef table, indexed by font number.
extern ToUnicodeData g_tounicode[kFontCapacity];

// The Unicode character registered last for each two-byte code (the report reads it). A new
// file overwrites it; it is never cleared.
extern uint16_t UnicodeByCode[kCidMapEntries];
// Two-byte code registrations since the file was loaded (the report prints it).
extern int32_t g_two_byte_registrations;

// Reads the ToUnicode CMap of the font dictionary at `font` (object `font_object`, 0 when written
// in place) for FontDef g_store.font_count: its text, code length and codes. False when the font
// has none or its stream cannot be located (code 80).
bool ReadToUnicode(DictionarySpan font, int32_t font_object);

// Inflates the CMap stream at `position` into font k's buffer (code 91 when inflate fails; what
// was decoded is kept).
void InflateCMap(int k, int32_t position, int32_t length);
// The same over `input` bytes already in memory (a decrypted stream); `length` is the stream's.
void InflateCMapBytes(int k, const uint8_t* bytes, int32_t input, int32_t length);

// Gives font k a copy of `length` bytes as its CMap text, replacing what it had.
void SetCMapText(int k, const char* bytes, int32_t length);

// Parses font k's CMap text: every bfrange section, then every bfchar section. `width` becomes
// the code width in bytes (1 or 2), 0 when no section was read or no codespace range is given.
void ParseCMap(int k, int* width);

// What the CMap parsed last registered: its codes, and how many of them stand for a private-use
// (U+E000..U+F8FF) or control character (below U+0020, U+007F..U+009F) by their first unit.
struct CMapTally {
    int64_t codes;
    int64_t private_or_control;
};
extern CMapTally g_cmap_tally;
// A CMap says nothing of its text when at least half of its registered codes are such.
bool CMapSaysNoCharacters();

// A font that registers codes without parsing a CMap starts here, so the codes it registers
// replace only its own earlier ones, never those of the font registered before it.
void StartFontRegistrations();

// Registers one code of font k (width in bytes: 1 or 2; 0 stores nothing) as UTF-16 unit u.
void RegisterCode(int k, int width, int32_t code, uint16_t u);
// Registers one code as a Shift-JIS text of `length` bytes whose first UTF-16 unit was
// first_unit. False when a table it needed was full (the text is then cut).
bool RegisterCodeText(int k, int width, int32_t code, const char* text, int length, uint16_t first_unit);

// Texts of more than two Shift-JIS bytes for one code (ligatures, several characters): the
// code tables keep what fits, this table the whole text, by font, code width and code.
inline constexpr int kLongCodeTextCapacity = 4096;
inline constexpr int kLongCodeTextSlots = 8192;
inline constexpr int kLongCodeTextBytes = 16;
struct LongCodeText {
    int32_t font;
    int32_t code;
    int32_t width;
    char text[kLongCodeTextBytes];  // terminated
};
extern LongCodeText g_long_texts[kLongCodeTextCapacity];
extern int32_t g_long_text_count;
// The whole text of font k's code when it is longer than two bytes, else null.
const char* LongTextForCode(int k, int width, uint32_t code);
// Called with the font tables' reset: no long text of the previous file is kept.
void ResetLongTexts();

// Releases font k's CMap text, or every font's.
void ReleaseCMapText(int k);
void FreeCMapTexts();

}  // namespace velmora
