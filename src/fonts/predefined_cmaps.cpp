#include "fonts/predefined_cmaps.h"

#include <cstring>

#include "fonts/font_dictionary.h"
#include "fonts/font_tables.h"
#include "pdf/file_buffer.h"
#include "pdf/page_tree.h"
#include "pdf/reader_bytes.h"
#include "store/records.h"

namespace velmora {

namespace {

// "UniJIS-UCS2-H", "UniJIS-UCS2-HW-V", "UniJIS-UTF16-H", and the same forms of the other
// collections: codes are UTF-16 units.
bool IsUnicodeCMapName(const char* name) {
    return std::strncmp(name, "Uni", 3) == 0 && (std::strstr(name, "-UCS2-") != nullptr || std::strstr(name, "-UTF16-") != nullptr);
}

bool StringEquals(const FontValue& value, const char* text) {
    const size_t length = std::strlen(text);
    if (value.kind != kFontValueString || value.end - value.start != static_cast<int32_t>(length)) return false;
    for (size_t k = 0; k < length; ++k) {
        if (ByteAt(value.start + static_cast<int64_t>(k)) != static_cast<uint8_t>(text[k])) return false;
    }
    return true;
}

// The Ordering of the first descendant font's CIDSystemInfo is "Japan1".
bool DescendantIsJapan1(int32_t start, int32_t end) {
    FontValue descendants;
    if (!FindFontValue(start, end, "DescendantFonts", &descendants) || descendants.kind != kFontValueArray) return false;
    const int32_t number = IntegerAt(SkipToDigit(descendants.start));
    int32_t font_start = 0, font_end = 0;
    if (SkipToDigit(descendants.start) >= descendants.end || !DictionaryBounds(number, &font_start, &font_end)) return false;
    FontValue info;
    FontValue ordering;
    return FindFontValue(font_start, font_end, "CIDSystemInfo", &info) && info.kind == kFontValueDictionary &&
           FindFontValue(info.start, info.end, "Ordering", &ordering) && StringEquals(ordering, "Japan1");
}

}  // namespace

uint8_t PredefinedConversion(int32_t start, int32_t end) {
    FontValue encoding;
    if (!FindFontValue(start, end, "Encoding", &encoding) || encoding.kind != kFontValueName) return kConversionNone;
    if (IsUnicodeCMapName(encoding.name)) return kConversionUnicodeCMap;
    const bool identity = std::strcmp(encoding.name, "Identity-H") == 0 || std::strcmp(encoding.name, "Identity-V") == 0;
    if (identity && DescendantIsJapan1(start, end)) return kConversionAdobeJapan1;
    return kConversionNone;
}

uint16_t PredefinedUnicode(uint8_t conversion_type, uint32_t code) {
    if (conversion_type == kConversionUnicodeCMap) return code <= 0xFFFF ? static_cast<uint16_t>(code) : 0;
    if (conversion_type == kConversionAdobeJapan1) {
        return code < static_cast<uint32_t>(AdobeJapan1Cids) ? AdobeJapan1Unicode[code] : 0;
    }
    return 0;
}

}  // namespace velmora
