#include "fonts/predefined_cmaps.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "fonts/font_dictionary.h"
#include "fonts/font_tables.h"
#include "pdf/file_buffer.h"
#include "pdf/lexical.h"
#include "pdf/optional_content.h"
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

// The string value read as PDF reads it: escapes resolved and, in a protected file, decrypted
// (a producer's "no editing" export encrypts even the Ordering).
bool StringEquals(const FontValue& value, const char* text) {
    // Literal strings start after "("; hex strings, as qpdf writes encrypted ones, at their "<".
    const bool literal = value.kind == kFontValueString;
    if (!literal && !(value.kind == kFontValueOther && ByteAt(value.start) == '<')) return false;
    constexpr int64_t kHexStringReach = 2 * kFontValueNameBytes + 2;
    const int64_t from = literal ? int64_t{value.start} - 1 : value.start;
    const int64_t to = literal ? int64_t{value.end} + 1 : from + kHexStringReach;
    char read[kFontValueNameBytes];
    return ReadPdfTextString(from, to, read, sizeof read) && std::strcmp(read, text) == 0;
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

// "V" and "...-V": the vertical form of a CMap.
static bool IsVerticalName(const char* name) {
    const size_t length = std::strlen(name);
    return length > 0 && name[length - 1] == 'V' && (length == 1 || name[length - 2] == '-');
}

int Japan1CMapRow(const char* name) {
    char horizontal[kFontValueNameBytes];
    std::snprintf(horizontal, sizeof horizontal, "%s", name);
    if (IsVerticalName(horizontal)) horizontal[std::strlen(horizontal) - 1] = 'H';
    for (int row = 0; row < Japan1CMapCount; ++row) {
        if (std::strcmp(Japan1CMaps[row].name, horizontal) == 0) return row;
    }
    return -1;
}

uint8_t PredefinedConversion(int32_t start, int32_t end, uint8_t* japan1_cmap) {
    *japan1_cmap = 0;
    FontValue encoding;
    if (!FindFontValue(start, end, "Encoding", &encoding) || encoding.kind != kFontValueName) return kConversionNone;
    if (IsUnicodeCMapName(encoding.name)) return kConversionUnicodeCMap;
    const int row = Japan1CMapRow(encoding.name);
    if (row >= 0) {
        *japan1_cmap = static_cast<uint8_t>(row + 1);
        return kConversionJapan1CMap;
    }
    const bool identity = std::strcmp(encoding.name, "Identity-H") == 0 || std::strcmp(encoding.name, "Identity-V") == 0;
    if (identity && DescendantIsJapan1(start, end)) return kConversionAdobeJapan1;
    return kConversionNone;
}

bool NamesVerticalCMap(int32_t start, int32_t end) {
    FontValue encoding;
    if (!FindFontValue(start, end, "Encoding", &encoding)) return false;
    if (encoding.kind == kFontValueName) return IsVerticalName(encoding.name);
    // An embedded CMap says so in its own dictionary.
    char value[kEntryTextCapacity + 1];
    return encoding.kind == kFontValueDictionary && GetKeyValue(encoding.start, encoding.end, "WMode", value) &&
           TextInteger(value) == 1;
}

uint16_t PredefinedUnicode(const FontDef& font, uint32_t code) {
    uint32_t cid = code;
    switch (font.conversion_type) {
        case kConversionUnicodeCMap: return code <= 0xFFFF ? static_cast<uint16_t>(code) : 0;
        case kConversionAdobeJapan1: break;
        case kConversionJapan1CMap: {
            if (font.japan1_cmap < 1 || font.japan1_cmap > Japan1CMapCount) return 0;
            const PredefinedCMapTable& table = Japan1CMaps[font.japan1_cmap - 1];
            const CMapCidRange* end = table.ranges + table.count;
            const CMapCidRange* range = std::upper_bound(table.ranges, end, code,
                                                         [](uint32_t c, const CMapCidRange& r) { return c < r.low; });
            if (range == table.ranges || code > (range - 1)->high) return 0;
            cid = (range - 1)->cid + (code - (range - 1)->low);
            break;
        }
        default: return 0;
    }
    return cid < static_cast<uint32_t>(AdobeJapan1Cids) ? AdobeJapan1Unicode[cid] : 0;
}

}  // namespace velmora
