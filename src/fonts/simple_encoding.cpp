#include "fonts/simple_encoding.h"

#include <cstring>

#include "fonts/font_dictionary.h"
#include "fonts/font_tables.h"
#include "fonts/sjis_fallback.h"
#include "store/capacities.h"
#include "store/document_store.h"

namespace velmora {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The value of exactly `digits` hex digits at `text`, or -1.
int32_t HexRun(const char* text, size_t digits) {
    int32_t value = 0;
    for (size_t k = 0; k < digits; ++k) {
        const int d = HexDigit(text[k]);
        if (d < 0) return -1;
        value = value * 16 + d;
    }
    return value;
}

bool IsSurrogate(int32_t u) { return u >= 0xD800 && u <= 0xDFFF; }

uint16_t LookUpGlyphList(const char* name, size_t length) {
    int32_t low = 0, high = AdobeGlyphListSize - 1;
    while (low <= high) {
        const int32_t middle = low + (high - low) / 2;
        const char* candidate = AdobeGlyphList[middle].name;
        int order = std::strncmp(candidate, name, length);
        if (order == 0 && candidate[length] != '\0') order = 1;
        if (order == 0) return AdobeGlyphList[middle].unicode;
        if (order < 0) {
            low = middle + 1;
        } else {
            high = middle - 1;
        }
    }
    return 0;
}

const uint16_t* NamedBaseEncoding(const char* name) {
    if (std::strcmp(name, "StandardEncoding") == 0) return StandardEncodingUnicode;
    if (std::strcmp(name, "WinAnsiEncoding") == 0) return WinAnsiEncodingUnicode;
    if (std::strcmp(name, "MacRomanEncoding") == 0) return MacRomanEncodingUnicode;
    return nullptr;
}

}  // namespace

uint16_t GlyphNameUnicode(const char* name) {
    // "a.sc" is a variant of "a"; "f_i" reads as its first part.
    size_t length = std::strcspn(name, "._");
    if (length == 0) return 0;
    if (length == 7 && std::strncmp(name, "uni", 3) == 0) {
        const int32_t u = HexRun(name + 3, 4);
        if (u > 0 && !IsSurrogate(u)) return static_cast<uint16_t>(u);
    }
    if (length >= 11 && (length - 3) % 4 == 0 && std::strncmp(name, "uni", 3) == 0) {
        const int32_t u = HexRun(name + 3, 4);  // a sequence: its first character
        if (u > 0 && !IsSurrogate(u)) return static_cast<uint16_t>(u);
    }
    if (name[0] == 'u' && length >= 5 && length <= 7) {
        const int32_t u = HexRun(name + 1, length - 1);
        if (u > 0 && u <= 0xFFFF && !IsSurrogate(u)) return static_cast<uint16_t>(u);
    }
    return LookUpGlyphList(name, length);
}

int OneByteSlotText(uint16_t u, char out[3]) {
    // Code page 932 has no ligatures; the letters keep the word readable.
    static constexpr const char* kLigatures[] = {"ff", "fi", "fl", "fi", "fl"};
    if (u >= 0xFB00 && u <= 0xFB04) {
        std::memcpy(out, kLigatures[u - 0xFB00], 3);
        return 2;
    }
    if (u == 0) {
        out[0] = '\0';
        return 0;
    }
    return UnicodeToSjis(u, out);
}

int ReadSimpleEncoding(int k, int32_t start, int32_t end, DefaultEncoding fallback) {
    if (k < 0 || k >= kFontCapacity) return 0;
    const uint16_t* base = fallback == kStandardEncodingDefault ? StandardEncodingUnicode : nullptr;
    uint16_t unicode[kOneByteCodes] = {};
    FontValue encoding;
    FontValue differences{};
    if (FindFontValue(start, end, "Encoding", &encoding)) {
        if (encoding.kind == kFontValueName) {
            if (const uint16_t* named = NamedBaseEncoding(encoding.name)) base = named;
        } else if (encoding.kind == kFontValueDictionary) {
            FontValue named;
            if (FindFontValue(encoding.start, encoding.end, "BaseEncoding", &named) && named.kind == kFontValueName &&
                NamedBaseEncoding(named.name) != nullptr) {
                base = NamedBaseEncoding(named.name);
            }
            FindFontValue(encoding.start, encoding.end, "Differences", &differences);
        }
    }
    if (base != nullptr) std::memcpy(unicode, base, sizeof unicode);
    // Each number sets the code of the names after it.
    int32_t code = 0;
    ForEachArrayItem(differences, [&](bool is_number, double number, const char* glyph) {
        if (is_number) {
            code = number >= 0.0 && number < kOneByteCodes ? static_cast<int32_t>(number) : kOneByteCodes;
            return;
        }
        if (code >= 0 && code < kOneByteCodes) unicode[code] = GlyphNameUnicode(glyph);
        ++code;
    });

    FontDef& font = g_store.fonts[k];
    int filled = 0;
    for (int c = 0; c < kOneByteCodes; ++c) {
        if (OneByteSlotText(unicode[c], font.one_byte_codes[c]) > 0) ++filled;
    }
    font.one_byte_code_count = filled;
    return filled;
}

uint16_t WinAnsiUnicode(uint8_t byte) { return WinAnsiEncodingUnicode[byte]; }

}  // namespace velmora
