#include "fonts/tounicode.h"

#include <zlib.h>

#include <algorithm>
#include <bitset>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>
#include <string_view>

#include "fonts/sjis_fallback.h"
#include "pdf/bounded_inflate.h"
#include "pdf/security_handler.h"
#include "pdf/error_list.h"
#include "pdf/lexical.h"
#include "pdf/page_tree.h"
#include "pdf/reader_bytes.h"
#include "pdf/stream_decoding.h"
#include "store/document_store.h"

namespace velmora {

ToUnicodeData g_tounicode[kFontCapacity];
uint16_t UnicodeByCode[kCidMapEntries];
int32_t g_two_byte_registrations;
CMapTally g_cmap_tally;

namespace {

// Object kinds the report shows for a font with a CMap and for the CMap stream itself.
constexpr int32_t kKindFontWithToUnicode = 11;
constexpr int32_t kKindToUnicodeStream = 12;

constexpr int32_t kRawCopySpare = 500;
constexpr int32_t kInflateSpare = 10;
constexpr uint64_t kLargestText = INT32_MAX - 64;
// Positions inside one section are 16-bit: a section is read up to this many bytes.
constexpr int64_t kSectionWindow = 65535;
// A destination keeps this many UTF-16 units (a ligature of three letters, a surrogate pair, a
// few combining marks); what follows is dropped.
constexpr int kDestinationUnits = 8;
// No real CMap comes near this (65,536 codes, each met a few times); a crafted one that does
// would otherwise keep the page set-up busy for minutes.
constexpr int64_t kRegistrationBudget = int64_t{1} << 20;

constexpr std::string_view kCodespaceKeyword = "begincodespacerange";
constexpr std::string_view kBfrangeKeyword = "beginbfrange";
constexpr std::string_view kBfrangeEnd = "endbfrange";
constexpr std::string_view kBfcharKeyword = "beginbfchar";
constexpr std::string_view kBfcharEnd = "endbfchar";

bool IsFontNumber(int k) { return k >= 0 && k < kFontCapacity; }

// The CMap text being parsed, the registrations it may still make, and whether a table was full.
struct CMapScan {
    std::string_view text;
    int64_t budget;
    bool table_full;
};

// One destination of a range or a character: its UTF-16 units.
struct Destination {
    uint16_t units[kDestinationUnits];
    int count;
};

int64_t Find(const CMapScan& scan, std::string_view what, int64_t from, int64_t to) {
    if (from < 0) from = 0;
    to = std::min<int64_t>(to, static_cast<int64_t>(scan.text.size()));
    if (from >= to) return -1;
    const size_t found = scan.text.substr(0, static_cast<size_t>(to)).find(what, static_cast<size_t>(from));
    return found == std::string_view::npos ? -1 : static_cast<int64_t>(found);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The number written by up to `digits` hexadecimal characters at `position`, stopping at the
// first other character or at `end`.
int32_t HexNumber(const CMapScan& scan, int64_t position, int digits, int64_t end) {
    int32_t value = 0;
    for (int d = 0; d < digits && position + d < end; ++d) {
        const int digit = HexDigit(scan.text[static_cast<size_t>(position + d)]);
        if (digit < 0) break;
        value = value * 16 + digit;
    }
    return value;
}

// Code width in bytes from the first codespace range: 2 when its "<" and ">" are more than 3
// apart, else 1; 0 without a codespace range.
int CodespaceWidth(const CMapScan& scan) {
    const int64_t size = static_cast<int64_t>(scan.text.size());
    const int64_t keyword = Find(scan, kCodespaceKeyword, 0, size);
    if (keyword < 0) return 0;
    const int64_t after = keyword + static_cast<int64_t>(kCodespaceKeyword.size());
    const int64_t open = Find(scan, "<", after, size);
    const int64_t close = Find(scan, ">", after, size);
    if (open < 0 || close < 0) return 0;
    return close - open > 3 ? 2 : 1;
}

// The hexadecimal string opened by the "<" at `open`: four digits to a unit, two digits alone
// (a one-byte destination) as one unit. Returns the position after its ">" (or `end`).
int64_t ReadDestination(const CMapScan& scan, int64_t open, int64_t end, Destination* d) {
    d->count = 0;
    int32_t value = 0;
    int digits = 0;
    int64_t p = open + 1;
    for (; p < end; ++p) {
        const char c = scan.text[static_cast<size_t>(p)];
        if (c == '>') break;
        const int digit = HexDigit(c);
        if (digit < 0) continue;  // white space inside the string
        value = value * 16 + digit;
        if (++digits == 4) {
            if (d->count < kDestinationUnits) d->units[d->count++] = static_cast<uint16_t>(value);
            value = 0;
            digits = 0;
        }
    }
    if (digits > 0 && d->count < kDestinationUnits) d->units[d->count++] = static_cast<uint16_t>(value);
    return p < end ? p + 1 : end;
}

// The Shift-JIS text of every character of a destination, surrogate pairs joined to their code
// point; characters that would not fit `capacity` are left off whole.
int DestinationSjis(const Destination& d, char* out, int capacity) {
    int length = 0;
    out[0] = '\0';
    for (int i = 0; i < d.count; ++i) {
        uint32_t cp = d.units[i];
        if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < d.count && d.units[i + 1] >= 0xDC00 && d.units[i + 1] < 0xE000) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (d.units[i + 1] - 0xDC00);
            ++i;
        }
        char s[3];
        const int n = CodePointToSjis(cp, s);
        if (n == 0 || length + n >= capacity) continue;
        std::memcpy(out + length, s, static_cast<size_t>(n));
        length += n;
        out[length] = '\0';
    }
    return length;
}

bool IsPrivateOrControlUnit(uint16_t u) { return u < 0x20 || (u >= 0x7F && u <= 0x9F) || (u >= 0xE000 && u <= 0xF8FF); }

bool Register(int k, int width, int32_t code, const Destination& d, CMapScan& scan) {
    if (scan.budget <= 0) return false;
    --scan.budget;
    if (d.count == 0) return true;
    ++g_cmap_tally.codes;
    if (IsPrivateOrControlUnit(d.units[0])) ++g_cmap_tally.private_or_control;
    char text[kLongCodeTextBytes];
    const int length = DestinationSjis(d, text, sizeof text);
    if (!RegisterCodeText(k, width, code, text, length, d.units[0])) scan.table_full = true;
    return true;
}

// The largest code of a width: a range never reaches past its code space.
int32_t LargestCode(int width) { return width == 2 ? kCidMapEntries - 1 : kOneByteCodes - 1; }

// One bfrange section: "<lo> <hi> <u...>" registers lo..hi as u, u + 1, ... (the last unit
// counts up, so a surrogate pair or a ligature keeps its other units); "<lo> <hi> [<a> <b> ...]"
// gives each code of the range its own element.
void ParseBfrange(int k, int width, CMapScan& scan, int64_t begin, int64_t end) {
    if (width == 0) return;
    const int digits = 2 * width;
    for (int64_t p = begin; p < end && scan.budget > 0;) {
        const int64_t a = Find(scan, "<", p, end);
        if (a < 0) return;
        const int32_t lo = HexNumber(scan, a + 1, digits, end);
        const int64_t b = Find(scan, "<", a + digits, end);
        if (b < 0) return;
        const int32_t hi = std::min(HexNumber(scan, b + 1, digits, end), LargestCode(width));
        const int64_t c = Find(scan, "<", b + digits, end);
        if (c < 0) return;
        const int64_t bracket = Find(scan, "[", b + digits, c);
        Destination d{};
        if (bracket >= 0) {
            const int64_t close = Find(scan, "]", bracket, end);
            const int64_t stop = close < 0 ? end : close;
            int32_t code = lo;
            for (int64_t e = Find(scan, "<", bracket, stop); e >= 0 && code <= hi; e = Find(scan, "<", e, stop), ++code) {
                e = ReadDestination(scan, e, stop, &d);
                if (!Register(k, width, code, d, scan)) return;
            }
            p = close < 0 ? end : close + 1;
            continue;
        }
        p = ReadDestination(scan, c, end, &d);
        if (d.count == 0) continue;
        const uint16_t last = d.units[d.count - 1];
        for (int32_t code = lo; code <= hi && last + (code - lo) <= 0xFFFF; ++code) {
            d.units[d.count - 1] = static_cast<uint16_t>(last + (code - lo));
            if (!Register(k, width, code, d, scan)) return;
        }
    }
}

// One bfchar section: "<src> <u...>" pairs.
void ParseBfchar(int k, int width, CMapScan& scan, int64_t begin, int64_t end) {
    if (width == 0) return;
    const int digits = 2 * width;
    for (int64_t p = begin; p < end && scan.budget > 0;) {
        const int64_t a = Find(scan, "<", p, end);
        if (a < 0) return;
        const int32_t source = HexNumber(scan, a + 1, digits, end);
        const int64_t c = Find(scan, "<", a + digits + 2, end);
        if (c < 0) return;
        Destination d{};
        p = ReadDestination(scan, c, end, &d);
        if (!Register(k, width, source, d, scan)) return;
    }
}

using SectionParser = void (*)(int, int, CMapScan&, int64_t, int64_t);

// Every section opened by `keyword`, in order. False when a section lacks its end keyword,
// which ends the parsing of the whole CMap.
bool ParseSections(int k, int codespace_width, int* width, CMapScan& scan, std::string_view keyword,
                   std::string_view end_keyword, SectionParser parse) {
    const int64_t size = static_cast<int64_t>(scan.text.size());
    for (int64_t p = 0; p < size;) {
        const int64_t open = Find(scan, keyword, p, size);
        if (open < 0) return true;
        const int64_t begin = open + static_cast<int64_t>(keyword.size());
        const int64_t close = Find(scan, end_keyword, begin, size);
        if (close < 0) return false;
        *width = codespace_width;
        parse(k, codespace_width, scan, begin, std::min(close, begin + kSectionWindow));
        p = close + static_cast<int64_t>(end_keyword.size());
    }
    return true;
}

// The decoded CMap of an inflated stream: one inflate pass with Z_NO_FLUSH, at most 50 times
// the input.
char* InflateText(const uint8_t* input, uint32_t input_length, int32_t* text_length, bool* failed) {
    const uint64_t bound = std::min<uint64_t>(uint64_t{input_length} * kExpansionFactor, kLargestText);
    const InflatedBytes inflated = InflateBounded(input, input_length, bound, kInflateSpare, Z_NO_FLUSH);
    *text_length = static_cast<int32_t>(inflated.length);
    *failed = inflated.failed;
    return reinterpret_cast<char*>(inflated.data);
}

// The bytes of all CMap texts held, so that the reader can bound them by the file's size.
int64_t g_cmap_bytes_held = 0;

void GiveText(int k, char* data, int32_t length) {
    ToUnicodeData& entry = g_tounicode[k];
    std::free(entry.data);
    g_cmap_bytes_held -= entry.length;
    entry.data = data;
    entry.length = data != nullptr ? length : 0;
    g_cmap_bytes_held += entry.length;
}

}  // namespace

LongCodeText g_long_texts[kLongCodeTextCapacity];
int32_t g_long_text_count;
int32_t g_long_text_slots[kLongCodeTextSlots];

namespace {

uint32_t LongTextHash(int k, int width, uint32_t code) {
    return (static_cast<uint32_t>(k) * 2654435761u ^ (code * 40503u) ^ static_cast<uint32_t>(width)) %
           kLongCodeTextSlots;
}

// Keeps a text of more than two bytes for font k's code; false when the table is full.
bool KeepLongText(int k, int width, int32_t code, const char* text) {
    uint32_t slot = LongTextHash(k, width, static_cast<uint32_t>(code));
    for (int probe = 0; probe < kLongCodeTextSlots; ++probe, slot = (slot + 1) % kLongCodeTextSlots) {
        const int32_t index = g_long_text_slots[slot] - 1;
        if (index < 0) break;
        LongCodeText& e = g_long_texts[index];
        if (e.font == k && e.width == width && e.code == code) {
            std::strncpy(e.text, text, sizeof e.text - 1);
            return true;
        }
    }
    if (g_long_text_count >= kLongCodeTextCapacity) return false;
    LongCodeText& e = g_long_texts[g_long_text_count];
    e = LongCodeText{k, code, width, {}};
    std::strncpy(e.text, text, sizeof e.text - 1);
    g_long_text_slots[slot] = ++g_long_text_count;
    return true;
}

}  // namespace

const char* LongTextForCode(int k, int width, uint32_t code) {
    if (g_long_text_count == 0) return nullptr;
    uint32_t slot = LongTextHash(k, width, code);
    for (int probe = 0; probe < kLongCodeTextSlots; ++probe, slot = (slot + 1) % kLongCodeTextSlots) {
        const int32_t index = g_long_text_slots[slot] - 1;
        if (index < 0) return nullptr;
        const LongCodeText& e = g_long_texts[index];
        if (e.font == k && e.width == width && static_cast<uint32_t>(e.code) == code) return e.text;
    }
    return nullptr;
}

void ResetLongTexts() {
    if (g_long_text_count > 0) std::memset(g_long_text_slots, 0, sizeof g_long_text_slots);
    g_long_text_count = 0;
}

namespace {
// The two-byte codes the CMap being parsed has registered, and where: a later range or
// character of the same CMap replaces an earlier one (a range that runs past the end of its
// byte, <39FF> <3AFF>, is followed by the codes it overran).
std::bitset<kCidMapEntries> g_in_map_now;
std::bitset<kCidMapEntries> g_in_duplicates_now;

bool ReplaceOwnText(int k, int32_t code, const char s[3]) {
    if (g_in_map_now[static_cast<size_t>(code)]) {
        std::memcpy(g_store.cid_map[code].text, s, 3);
        return true;
    }
    if (!g_in_duplicates_now[static_cast<size_t>(code)]) return false;
    for (int i = std::min(g_store.duplicate_count, kDuplicateCapacity); i >= 1; --i) {
        DuplicateEntry& d = g_store.duplicates[i];
        if (d.code == code && d.font_number == k) {
            std::memset(d.text, 0, sizeof d.text);
            std::memcpy(d.text, s, 3);
            return true;
        }
    }
    return false;
}
}  // namespace

bool CMapSaysNoCharacters() { return g_cmap_tally.codes > 0 && 2 * g_cmap_tally.private_or_control >= g_cmap_tally.codes; }

void StartFontRegistrations() {
    g_in_map_now.reset();
    g_in_duplicates_now.reset();
}

void RegisterCode(int k, int width, int32_t code, uint16_t u) {
    char s[3];
    const int length = UnicodeToSjis(u, s);
    RegisterCodeText(k, width, code, s, length, u);
}

bool RegisterCodeText(int k, int width, int32_t code, const char* text, int length, uint16_t first_unit) {
    if (!IsFontNumber(k)) return true;
    // The code's tables hold two bytes; a longer text (a ligature, several characters) is kept
    // beside them whole, and the tables get the characters that fit.
    char s[3] = {};
    bool kept = true;
    if (length > 2) {
        if ((width == 1 && code >= 0 && code < kOneByteCodes) || (width == 2 && code >= 0 && code < kCidMapEntries)) {
            kept = KeepLongText(k, width, code, text);
        }
        const int first = (static_cast<uint8_t>(text[0]) >= 0x81 && static_cast<uint8_t>(text[0]) <= 0x9F) ||
                                  (static_cast<uint8_t>(text[0]) >= 0xE0 && static_cast<uint8_t>(text[0]) <= 0xFC)
                              ? 2
                              : 1;
        std::memcpy(s, text, static_cast<size_t>(first));
        if (first == 1 && !((static_cast<uint8_t>(text[1]) >= 0x81 && static_cast<uint8_t>(text[1]) <= 0x9F) ||
                            (static_cast<uint8_t>(text[1]) >= 0xE0 && static_cast<uint8_t>(text[1]) <= 0xFC))) {
            s[1] = text[1];
        }
    } else if (length > 0) {
        std::memcpy(s, text, static_cast<size_t>(length));
    }
    if (width == 2) {
        if (code < 0 || code >= kCidMapEntries) return kept;
        CidMapEntry& e = g_store.cid_map[code];
        if (ReplaceOwnText(k, code, s)) {
            // replaced in place
        } else if (e.text[0] == '\0' || (e.text[0] == s[0] && e.text[1] == s[1])) {
            std::memcpy(e.text, s, sizeof e.text);
            e.owner_font = static_cast<uint8_t>(k & 0xFF);
            g_in_map_now.set(static_cast<size_t>(code));
        } else {
            // The code already stands for another text of an earlier font; it keeps that one.
            if (g_store.duplicate_count >= kDuplicateCapacity) kept = false;
            g_store.duplicate_count = std::min(g_store.duplicate_count + 1, kDuplicateCapacity);
            DuplicateEntry& d = g_store.duplicates[g_store.duplicate_count];
            std::memset(d.text, 0, sizeof d.text);
            std::memcpy(d.text, s, sizeof s);
            d.code = code;
            d.font_number = k;
            e.duplicate = 1;
            g_in_duplicates_now.set(static_cast<size_t>(code));
        }
        UnicodeByCode[code] = first_unit;
        ++g_two_byte_registrations;
    } else if (width == 1) {
        if (code < 0 || code >= kOneByteCodes) return kept;
        FontDef& font = g_store.fonts[k];
        std::memcpy(font.one_byte_codes[code], s, sizeof s);
        ++font.one_byte_code_count;
    }
    return kept;
}

void SetCMapText(int k, const char* bytes, int32_t length) {
    if (!IsFontNumber(k)) return;
    const int32_t size = std::max(length, 0);
    auto* data = static_cast<char*>(std::malloc(static_cast<size_t>(size) + kRawCopySpare));
    if (data != nullptr) {
        if (size > 0) std::memcpy(data, bytes, static_cast<size_t>(size));
        data[size] = '\0';
    }
    GiveText(k, data, size);
    g_tounicode[k].input_length = 0;  // kept for inflated CMaps only
}

void InflateCMap(int k, int32_t position, int32_t length) {
    const int64_t available = int64_t{g_file.data_length} - position;
    const bool present = length > 0 && position >= 0 && available > 0;
    InflateCMapBytes(k, present ? g_file.data + position : nullptr,
                     present ? static_cast<int32_t>(std::min<int64_t>(length, available)) : 0, length);
}

void InflateCMapBytes(int k, const uint8_t* bytes, int32_t input, int32_t length) {
    if (!IsFontNumber(k)) return;
    int32_t text_length = 0;
    bool failed = true;
    char* data = nullptr;
    if (bytes != nullptr && input > 0) data = InflateText(bytes, static_cast<uint32_t>(input), &text_length, &failed);
    GiveText(k, data, text_length);
    g_tounicode[k].input_length = length;
    if (failed) RecordError(kWarningTextsNotInflated);
}

void ParseCMap(int k, int* width) {
    *width = 0;
    if (!IsFontNumber(k) || g_tounicode[k].data == nullptr) return;
    CMapScan scan{std::string_view(g_tounicode[k].data, static_cast<size_t>(g_tounicode[k].length)),
                  kRegistrationBudget, false};
    const int codespace_width = CodespaceWidth(scan);
    StartFontRegistrations();
    g_cmap_tally = CMapTally{};
    if (ParseSections(k, codespace_width, width, scan, kBfrangeKeyword, kBfrangeEnd, ParseBfrange)) {
        ParseSections(k, codespace_width, width, scan, kBfcharKeyword, kBfcharEnd, ParseBfchar);
    }
    if (scan.table_full) RecordError(kWarningCodeTableFull);
}

bool ReadToUnicode(DictionarySpan font, int32_t font_object) {
    const int k = g_store.font_count;
    if (!IsFontNumber(k)) return false;
    const int32_t start = font.start, end = font.end;
    char value[kEntryTextCapacity + 1];
    if (!GetKeyValue(start, end, "ToUnicode", value)) return false;
    int32_t t = 0, generation = 0;
    char letter = 0;
    if (ReadReference(0, value, &t, &generation, &letter) == -1) return false;
    // Without the CMap's own dictionary the font's bounds stay, and the stream is normally not found.
    int32_t stream_start = start, stream_end = end;
    DictionaryBounds(t, &stream_start, &stream_end);
    if (IsObjectNumber(font_object)) g_store.objects[font_object].kind = kKindFontWithToUnicode;
    if (IsObjectNumber(t)) g_store.objects[t].kind = kKindToUnicodeStream;
    // Up to 1999 fonts may name one CMap whose Length reaches past the file: each copy could be
    // the rest of the file, or 50 times it inflated. All of them together stay within 50 times.
    if (g_cmap_bytes_held >= int64_t{kExpansionFactor} * g_file.file_size) {
        RecordError(kWarningTextsNotInflated);
        return false;
    }

    int32_t data_offset = 0;
    const int32_t length = LocateStream(stream_start, stream_end, &data_offset);
    if (length <= 0) {
        RecordError(kErrorNoStream);
        return false;
    }
    const int32_t position = ClampToInt32(int64_t{stream_end} + data_offset);
    const bool flate = IsObjectNumber(t) &&
                       std::string_view(g_store.objects[t].label, strnlen(g_store.objects[t].label, kObjectLabelBytes))
                               .find("FlateDecode") != std::string_view::npos;
    // A protected file's CMap is decrypted with its object's key first.
    std::vector<uint8_t> plain;
    if (IsObjectNumber(t) && DecryptStream(t, g_store.objects[t].generation, g_file.data + position, length, &plain)) {
        if (flate) {
            InflateCMapBytes(k, plain.data(), static_cast<int32_t>(plain.size()), length);
        } else {
            SetCMapText(k, reinterpret_cast<const char*>(plain.data()), static_cast<int32_t>(plain.size()));
        }
    } else if (flate) {
        InflateCMap(k, position, length);
    } else {
        // LocateStream has cut the length to the bytes present.
        SetCMapText(k, reinterpret_cast<const char*>(g_file.data + position), length);
    }
    g_store.fonts[k].tounicode_object = t;
    int width = 0;
    ParseCMap(k, &width);
    g_store.fonts[k].code_length = width;
    return true;
}

void ReleaseCMapText(int k) {
    if (!IsFontNumber(k)) return;
    GiveText(k, nullptr, 0);
    g_tounicode[k] = ToUnicodeData{};
}

void FreeCMapTexts() {
    for (int k = 0; k < kFontCapacity; ++k) ReleaseCMapText(k);
}

}  // namespace velmora
