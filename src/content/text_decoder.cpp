#include "content/text_decoder.h"

#include <cstring>

#include "content/text_operator.h"
#include "fonts/predefined_cmaps.h"
#include "fonts/simple_encoding.h"
#include "fonts/sjis_fallback.h"
#include "fonts/tounicode.h"
#include "store/capacities.h"
#include "store/document_store.h"

namespace velmora {

namespace {

// Appends a whole character or nothing, so a text never ends in half a double-byte character.
void Append(DecodedText& text, const char* bytes, size_t bound) {
    const size_t n = strnlen(bytes, bound);
    if (n == 0 || static_cast<size_t>(text.length) + n > kDecodedTextCapacity) return;
    std::memcpy(text.bytes + text.length, bytes, n);
    text.length += static_cast<int32_t>(n);
    text.bytes[text.length] = '\0';
}

// A code another font maps differently takes this font's own entries from the DuplicateList;
// the owner is compared as the whole font number, so font 257 is not taken for font 1.
void AppendTwoByteCode(DecodedText& text, uint32_t code, int32_t font_number) {
    if (code >= kCidMapEntries) return;
    const CidMapEntry& entry = g_store.cid_map[code];
    const int32_t duplicates = g_store.duplicate_count < kDuplicateCapacity ? g_store.duplicate_count : kDuplicateCapacity;
    bool found = false;
    if (entry.duplicate == 1 && entry.owner_font != font_number && duplicates > 0) {
        for (int32_t i = 1; i <= duplicates; ++i) {
            const DuplicateEntry& d = g_store.duplicates[i];
            if (d.code != static_cast<int32_t>(code) || d.font_number != font_number) continue;
            Append(text, d.text, sizeof d.text);
            found = true;
        }
    }
    if (!found) Append(text, entry.text, sizeof entry.text);
}

}  // namespace

const FontDef* CurrentFont() {
    const int32_t n = g_store.conversion.font_number;
    return n >= 0 && n < kFontCapacity ? &g_store.fonts[n] : nullptr;
}

void DecodeText(int32_t first, int32_t count, DecodedText& text) {
    if (text.length < 0 || text.length > kDecodedTextCapacity) text.length = 0;
    text.bytes[text.length] = '\0';
    const FontDef* font = CurrentFont();
    const int32_t available = g_text_operands.code_count;
    if (font == nullptr || first < 0 || count <= 0 || first >= available) return;
    const int32_t last = count < available - first ? first + count : available;
    const int32_t font_number = g_store.conversion.font_number;

    for (int32_t i = first; i < last; ++i) {
        const int32_t before = text.length;
        const uint32_t code = g_text_operands.codes[i];
        char character[3] = {};
        switch (font->conversion_type) {
            case kConversionToUnicode:
                if (const char* whole = LongTextForCode(font_number, font->code_length, code)) {
                    Append(text, whole, kLongCodeTextBytes);
                } else if (font->code_length == 2) {
                    AppendTwoByteCode(text, code, font_number);
                } else if (font->code_length == 1 && code < kOneByteCodes) {
                    Append(text, font->one_byte_codes[code], sizeof font->one_byte_codes[code]);
                }
                break;
            case kConversionDifferences:
                // The font's own table from its encoding; an unfilled code adds nothing.
                if (code < kOneByteCodes) Append(text, font->one_byte_codes[code], sizeof font->one_byte_codes[code]);
                break;
            case kConversionWinAnsi:
                // Bytes above 127 are Windows-1252 characters, not half-width katakana.
                OneByteSlotText(WinAnsiUnicode(static_cast<uint8_t>(code & 0xFF)), character);
                Append(text, character, sizeof character);
                break;
            case kConversionUnicodeCMap:
            case kConversionAdobeJapan1:
            case kConversionJapan1CMap: {
                const uint16_t u = PredefinedUnicode(*font, code);
                if (u != 0) UnicodeToSjis(u, character);
                Append(text, character, sizeof character);
                break;
            }
            default:  // types 0 and 3 and unknown types give placeholders
                text.undecoded += last - i;
                return;
        }
        if (text.length == before && text.length < kDecodedTextCapacity - 1) ++text.undecoded;
    }
}

}  // namespace velmora
