// Font resources of a page: each resource name and its font dictionary, registered once per
// document as a FontDef with its base and JWW font names and its conversion type.
#pragma once

#include <cstdint>

#include "pdf/dictionary_values.h"
#include "store/records.h"

namespace velmora {

// FontDef numbers run 1..1999; a 2000th font reuses the last entry.
inline constexpr int kLastFontNumber = 1999;

// Called by SetUpPage with the text of the page's font dictionary (‘/F1 5 0 R/F2 6 0 R’, at most
// kFontResourcesTextBytes): fills the page's font slots and registers their fonts.
void RegisterPageFonts(int page, const char* font_text);

// The FontDef number of the font dictionary `font_object`, registering it on first use; 0 when
// the object is no font dictionary with a BaseFont and a Subtype.
int RegisterFont(int page, int32_t font_object, const char* resource_name);
// The same for a font dictionary written in place in a resource dictionary, known by its span;
// registered once per span.
int RegisterDirectFont(int page, DictionarySpan font, const char* resource_name);

// The font's base name (subset tag dropped, "#xx" decoded) and the JWW font name the settings
// choose for it; `base_name` and `jww_name` hold kFontNameBytes. False without a BaseFont.
bool ReadBaseFont(DictionarySpan font, char* base_name, char* jww_name);

// Fills the document's Differences table from the font's Encoding object: the n-th glyph name
// gives code n. False without FirstChar or an Encoding reference (code 100 for a name).
bool ReadDifferences(DictionarySpan font);

}  // namespace velmora
