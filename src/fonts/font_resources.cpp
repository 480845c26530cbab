#include "fonts/font_resources.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

#include "fonts/font_program.h"
#include "fonts/predefined_cmaps.h"
#include "fonts/simple_encoding.h"
#include "fonts/tounicode.h"
#include "pdf/error_list.h"
#include "pdf/lexical.h"
#include "pdf/page_tree.h"
#include "store/document_store.h"
#include "settings/settings.h"
#include "fonts/font_buffers.h"
#include "pdf/dictionary_values.h"

namespace velmora {

namespace {

constexpr int kSubtypeCharacters = 50;
constexpr int kSubsetNameCharacters = 50;

// Glyph names the Differences reader knows, matched by prefix in this order ("onehalf" gives
// 1); any other name stands for its own first character.
struct GlyphName {
    const char* name;
    char character;
};
constexpr GlyphName GlyphNameTable[] = {
    {"zero", '0'},   {"one", '1'},         {"two", '2'},       {"three", '3'},     {"four", '4'},
    {"five", '5'},   {"six", '6'},         {"seven", '7'},     {"eight", '8'},     {"nine", '9'},
    {"plus", '+'},   {"minus", '-'},       {"period", '.'},    {"comma", ','},     {"dagger", '?'},
    {"equal", '='},  {"exclam", '!'},      {"slash", '/'},     {"quotesingle", '\''}, {"space", ' '},
    {"hyphen", '-'}, {"parenleft", '('},   {"parenright", ')'}, {"dummy", '#'},
};

bool Contains(const char* text, const char* part) { return std::strstr(text, part) != nullptr; }

void CopyCut(char* destination, const char* source, size_t capacity) {
    const size_t length = strnlen(source, capacity - 1);
    std::memcpy(destination, source, length);
    destination[length] = '\0';
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// "#xx" becomes the byte xx; a "#" without two hex digits (or standing for NUL) stays as it is.
void DecodeNameEscapes(const char* name, char* out, size_t capacity) {
    size_t length = 0;
    for (size_t i = 0; name[i] != '\0' && length + 1 < capacity; ++i) {
        if (name[i] == '#' && name[i + 1] != '\0' && name[i + 2] != '\0') {
            const int high = HexValue(name[i + 1]);
            const int low = HexValue(name[i + 2]);
            if (high >= 0 && low >= 0 && (high | low) != 0) {
                out[length++] = static_cast<char>(high * 16 + low);
                i += 2;
                continue;
            }
        }
        out[length++] = name[i];
    }
    out[length] = '\0';
}

bool EndsGlyphName(char c) {
    return c == '\0' || IsPdfWhitespace(static_cast<uint8_t>(c)) || std::strchr("/[]()<>", c) != nullptr;
}

// The character of the glyph name at `glyph`: the first table row the name begins with, else
// the name's own first character.
char GlyphCharacter(const char* glyph) {
    size_t length = 0;
    while (!EndsGlyphName(glyph[length])) ++length;
    for (const GlyphName& row : GlyphNameTable) {
        const size_t row_length = std::strlen(row.name);
        if (row_length <= length && std::strncmp(glyph, row.name, row_length) == 0) return row.character;
    }
    return glyph[0];
}

// A fresh entry for a newly counted font; the 1999th entry is reused, so its earlier font's
// codes and CMap go.
void ClearFontEntry(int k) {
    FontDef& font = g_store.fonts[k];
    font = FontDef{};
    ReleaseCMapText(k);
    ClearFontProgram(k);
    g_store.base_font_names[k][0] = '\0';
    g_store.jww_font_names[k][0] = '\0';
}

}  // namespace

namespace {

bool EndsResourceName(char c) {
    return IsPdfWhitespace(static_cast<uint8_t>(c)) || std::strchr("/<>[]()", c) != nullptr;
}

// The font dictionaries written in place in the page's own or inherited /Font dictionary.
std::vector<NamedDictionary> PageDirectFonts(int page) {
    DictionarySpan resources{}, fonts{};
    if (!PageResources(g_store.pages[page].page_object, &resources) || !DictionaryValue(resources, "Font", &fonts)) {
        return {};
    }
    return DirectDictionaries(fonts);
}

int RegisterPageDirectFont(int page, const char* name, const std::vector<NamedDictionary>& fonts) {
    for (const NamedDictionary& font : fonts) {
        if (font.name == name) return RegisterDirectFont(page, font.span, name);
    }
    return 0;
}

}  // namespace

void RegisterPageFonts(int page, const char* font_text) {
    if (page < 1 || page >= kPageTableSize) return;
    PageRecord& record = g_store.pages[page];
    record.font_count = 0;
    if (font_text == nullptr) return;
    const std::string_view text(font_text, strnlen(font_text, kFontResourcesTextBytes));
    const int length = static_cast<int>(text.size());
    if (length < 4) return;

    bool direct[kFontSlotsPerPage] = {};
    int slot = 1;
    for (int i = 0; slot < kFontSlotsPerPage;) {
        const char* slash = static_cast<const char*>(std::memchr(font_text + i, '/', static_cast<size_t>(length - i)));
        if (slash == nullptr) break;
        const int name_start = static_cast<int>(slash - font_text) + 1;
        int name_end = name_start;
        while (name_end < length && !EndsResourceName(font_text[name_end])) ++name_end;
        // Names longer than the slot are cut; the reference after them is read all the same.
        const int kept = std::min(name_end - name_start, kFontResourceNameBytes - 1);
        std::memcpy(record.font_resource_names[slot], font_text + name_start, static_cast<size_t>(kept));
        record.font_resource_names[slot][kept] = '\0';
        int value = name_end;
        while (value < length && IsPdfWhitespace(static_cast<uint8_t>(font_text[value]))) ++value;
        if (text.compare(static_cast<size_t>(value), 2, "<<") == 0) {
            // A font dictionary written in place: its own names are no font slots.
            direct[slot] = true;
            record.font_objects[slot] = 0;
            const size_t close = DictionaryTextEnd(text, static_cast<size_t>(value));
            i = close == std::string_view::npos ? length : static_cast<int>(close) + 2;
        } else {
            int32_t object = 0, generation = 0;
            char letter = 0;
            ReadReference(0, font_text + name_end, &object, &generation, &letter);
            record.font_objects[slot] = object;
            i = name_end;
        }
        ++slot;
        if (i >= length - 3) break;
    }
    record.font_count = slot - 1;
    const bool any_direct = std::find(direct + 1, direct + slot, true) != direct + slot;
    const std::vector<NamedDictionary> direct_fonts = any_direct ? PageDirectFonts(page) : std::vector<NamedDictionary>{};
    for (int k = 1; k <= record.font_count; ++k) {
        const char* name = record.font_resource_names[k];
        const int number =
            direct[k] ? RegisterPageDirectFont(page, name, direct_fonts) : RegisterFont(page, record.font_objects[k], name);
        record.font_numbers[k] = number > 0 ? number : 0;
    }
}

namespace {

// A ToUnicode CMap that gives codes of some length; one without a codespace range gives none,
// and its font is read as if it had no CMap.
bool ReadUsableToUnicode(DictionarySpan font, int32_t font_object) {
    return ReadToUnicode(font, font_object) && g_store.fonts[g_store.font_count].code_length > 0;
}

// Type0: its CMap, else a predefined CMap that says the characters, else its descendant's
// program, else no text (101). A CMap whose codes are mostly private-use or control characters
// gives way to the program where the program says more.
uint8_t CompositeConversion(int32_t font_object, DictionarySpan font) {
    const int k = g_store.font_count;
    const int32_t start = font.start, end = font.end;
    if (ReadUsableToUnicode(font, font_object)) {
        if (CMapSaysNoCharacters() && g_store.fonts[k].code_length == 2) DecodeCompositeThroughProgram(k, start, end, true);
        return kConversionToUnicode;
    }
    const uint8_t predefined = PredefinedConversion(start, end, &g_store.fonts[k].japan1_cmap);
    if (predefined != kConversionNone) {
        g_store.fonts[k].code_length = 2;
        return predefined;
    }
    if (DecodeCompositeThroughProgram(k, start, end, false)) return kConversionToUnicode;
    RecordError(kWarningNeedsExternalCMap);
    return kConversionNone;
}

// Type1, TrueType and Type3: the CMap, else the table the encoding gives.
uint8_t SimpleConversion(int32_t font_object, DictionarySpan font, bool true_type, DefaultEncoding fallback) {
    const int k = g_store.font_count;
    const int32_t start = font.start, end = font.end;
    if (ReadUsableToUnicode(font, font_object)) {
        if (CMapSaysNoCharacters() && g_store.fonts[k].code_length == 1) DecodeSimpleThroughProgram(k, start, end, true);
        return kConversionToUnicode;
    }
    // A CMap without codes may have left a code length; the encoding's table is one-byte.
    g_store.fonts[k].code_length = 0;
    if (DecodeSimpleThroughProgram(k, start, end, false)) return kConversionToUnicode;
    if (true_type) {
        char value[kEntryTextCapacity + 1];
        // The document's Differences table, which the report shows, describes the last font read.
        const bool differences = ReadDifferences(font);
        // A plain WinAnsiEncoding reads its bytes through the WinAnsi table as they are shown.
        if (GetKeyValue(start, end, "WinAnsiEncoding", value) && !differences) return kConversionWinAnsi;
    }
    return ReadSimpleEncoding(k, start, end, fallback) > 0 ? kConversionDifferences : kConversionNone;
}

// Registers the font dictionary at `span`: object `font_object`, or 0 for one written in place.
int RegisterFontDictionary(int page, int32_t font_object, DictionarySpan span, const char* resource_name) {
    const int count = std::clamp(g_store.font_count, 0, kLastFontNumber);
    const int32_t start = span.start, end = span.end;
    // A Type entry that names a font; the walk ends at the dictionary's end without one. Each
    // step resumes where the entry ended, at the "/" of the next one.
    for (int32_t position = start; position < end;) {
        const int32_t step = FindKey(position, end, "Type");
        if (step == 0) return 0;
        if (Contains(EntryText, "Font")) break;
        position += step - 1;
    }
    // Type3 fonts need no BaseFont; they take the default JWW font.
    const bool type3 = FindKey(start, end, "Subtype") != 0 && Contains(EntryText, "Type3");
    char base_name[kFontNameBytes] = "";
    char jww_name[kFontNameBytes];
    CopyCut(jww_name, g_settings.font_default, kFontNameBytes);
    const bool has_base_font = FindKey(start, end, "BaseFont") != 0 && ReadBaseFont(span, base_name, jww_name);
    if (!has_base_font && !type3) return 0;

    const int k = std::min(count + 1, kLastFontNumber);
    g_store.font_count = k;
    ClearFontEntry(k);
    CopyCut(g_store.base_font_names[k], base_name, kFontNameBytes);
    CopyCut(g_store.jww_font_names[k], jww_name, kFontNameBytes);

    if (FindKey(start, end, "Subtype") == 0) return 0;
    FontDef& font = g_store.fonts[k];
    char subtype[kEntryTextCapacity + 1];
    std::memcpy(subtype, EntryText, sizeof subtype);
    NormalizeText(subtype, kSubtypeCharacters);
    CopyCut(font.subtype, subtype, sizeof font.subtype);
    font.font_object = font_object;
    font.direct_start = font_object == 0 ? span.start : 0;
    font.page = page;
    CopyCut(font.resource_name, resource_name != nullptr ? resource_name : "", sizeof font.resource_name);
    font.conversion_type = kConversionNone;

    if (Contains(font.subtype, "Type0")) {
        font.vertical = NamesVerticalCMap(start, end) ? 1 : 0;
        font.conversion_type = CompositeConversion(font_object, span);
    } else if (Contains(font.subtype, "Type1")) {
        font.conversion_type = SimpleConversion(font_object, span, false, kStandardEncodingDefault);
    } else if (Contains(font.subtype, "TrueType")) {
        font.conversion_type = SimpleConversion(font_object, span, true, kStandardEncodingDefault);
    } else if (Contains(font.subtype, "CIDFontType2")) {
        font.conversion_type = kConversionCidFontType2;
    } else if (Contains(font.subtype, "Type3")) {
        font.conversion_type = SimpleConversion(font_object, span, false, kNoDefaultEncoding);
    }
    if (font.conversion_type == kConversionWinAnsi) g_font_use.winansi_seen = true;
    return k;
}

}  // namespace

int RegisterFont(int page, int32_t font_object, const char* resource_name) {
    if (font_object < 1) return 0;  // object 0 heads the free list; a missing reference reads as 0
    const int count = std::clamp(g_store.font_count, 0, kLastFontNumber);
    for (int k = 1; k <= count; ++k) {
        if (g_store.fonts[k].font_object == font_object) return k;
    }
    DictionarySpan span{};
    if (!DictionaryBounds(font_object, &span.start, &span.end)) return 0;
    return RegisterFontDictionary(page, font_object, span, resource_name);
}

int RegisterDirectFont(int page, DictionarySpan font, const char* resource_name) {
    if (font.start <= 0 || font.end <= font.start) return 0;
    const int count = std::clamp(g_store.font_count, 0, kLastFontNumber);
    for (int k = 1; k <= count; ++k) {
        if (g_store.fonts[k].font_object == 0 && g_store.fonts[k].direct_start == font.start) return k;
    }
    return RegisterFontDictionary(page, 0, font, resource_name);
}

bool ReadBaseFont(DictionarySpan font, char* base_name, char* jww_name) {
    if (FindKey(font.start, font.end, "BaseFont") == 0) return false;
    char name[kEntryTextCapacity + 1];
    const char* plus = std::strchr(EntryText, '+');
    // The subset tag before "+" says nothing about the font.
    CopyCut(name, plus != nullptr ? plus + 1 : EntryText, sizeof name);
    NormalizeText(name, plus != nullptr ? kSubsetNameCharacters : kFontNameBytes - 1);
    // The value name ends at the next entry; the white space before it is no part of the name.
    for (size_t n = std::strlen(name); n > 0 && name[n - 1] == ' '; --n) name[n - 1] = '\0';
    DecodeNameEscapes(name, base_name, kFontNameBytes);

    CopyCut(jww_name, g_settings.font_default, kFontNameBytes);
    const int pairs = std::clamp(g_settings.font_change_count, 0, kFontChangeCapacity);
    for (int i = 0; i < pairs; ++i) {
        const char* fragment = g_settings.font_change_pdf[i];
        if (fragment[0] != '\0' && Contains(base_name, fragment)) {
            CopyCut(jww_name, g_settings.font_change_jww[i], kFontNameBytes);
            break;
        }
    }
    return true;
}

bool ReadDifferences(DictionarySpan font) {
    const int32_t start = font.start, end = font.end;
    char value[kEntryTextCapacity + 1];
    if (!GetKeyValue(start, end, "FirstChar", value)) return false;
    if (!GetKeyValue(start, end, "Encoding", value) || value[0] == '\0') return false;
    int32_t encoding = 0, generation = 0;
    char letter = 0;
    if (ReadReference(0, value, &encoding, &generation, &letter) == -1) {
        RecordError(kWarningEncodingName);
        return false;
    }
    value[0] = '\0';
    int32_t encoding_start = 0, encoding_end = 0;
    if (DictionaryBounds(encoding, &encoding_start, &encoding_end)) {
        GetKeyValue(encoding_start, encoding_end, "Differences", value);
    }
    // The table describes the font read last; codes it does not fill give nothing.
    std::memset(g_store.differences_table, 0, sizeof g_store.differences_table);
    // The numbers of the array are not read: the n-th glyph name describes code n.
    int code = 1;
    int filled = 0;
    const size_t length = std::strlen(value);
    for (size_t i = length > 0 ? 1 : 0; i < length; ++i) {
        if (value[i] != '/') continue;
        g_store.differences_table[code] = GlyphCharacter(value + i + 1);
        filled = std::max(filled, code);
        code = std::min(code + 1, kOneByteCodes - 1);
    }
    g_store.differences_count = filled;
    return true;
}

}  // namespace velmora
