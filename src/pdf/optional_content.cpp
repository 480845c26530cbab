#include "pdf/optional_content.h"

#include <cstring>
#include <string>

#include "pdf/dictionary_values.h"
#include "pdf/document_values.h"
#include "pdf/lexical.h"
#include "pdf/security_handler.h"
#include "pdf/page_tree.h"
#include "pdf/reader_bytes.h"
#include "platform/platform.h"

namespace velmora {

OptionalContent g_optional_content;

namespace {

constexpr int kStringBytes = 256;           // raw bytes of one name read at most
constexpr int kArrayTokensScanned = 200000; // bytes of one array walked at most

// PDFDocEncoding 0x80..0xA0 in Unicode (0x9F is undefined); the rest above 0xA0 is Latin-1.
constexpr char16_t kPdfDocHigh[33] = {
    0x2022, 0x2020, 0x2021, 0x2026, 0x2014, 0x2013, 0x0192, 0x2044, 0x2039, 0x203A, 0x2212,
    0x2030, 0x201E, 0x201C, 0x201D, 0x2018, 0x2019, 0x201A, 0x2122, 0xFB01, 0xFB02, 0x0141,
    0x0152, 0x0160, 0x0178, 0x017D, 0x0131, 0x0142, 0x0153, 0x0161, 0x017E, u'?', 0x20AC};

int64_t SkipSpaces(int64_t p, int64_t end) {
    while (p < end && IsPdfWhitespace(ByteAt(p))) ++p;
    return p;
}

int HexValue(uint8_t c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The raw bytes of a literal "( )" or hex "< >" string at p; the position after it, or -1.
int64_t ReadStringBytes(int64_t p, int64_t end, std::string* bytes) {
    bytes->clear();
    if (ByteAt(p) == '(') {
        int depth = 1;
        for (++p; p < end; ++p) {
            uint8_t c = ByteAt(p);
            if (c == '\\' && p + 1 < end) {
                const uint8_t e = ByteAt(++p);
                if (e >= '0' && e <= '7') {
                    int value = e - '0';
                    for (int k = 0; k < 2 && p + 1 < end && ByteAt(p + 1) >= '0' && ByteAt(p + 1) <= '7'; ++k) {
                        value = value * 8 + (ByteAt(++p) - '0');
                    }
                    c = static_cast<uint8_t>(value);
                } else if (e == '\r' || e == '\n') {
                    if (e == '\r' && ByteAt(p + 1) == '\n') ++p;
                    continue;
                } else {
                    c = e == 'n' ? '\n' : e == 'r' ? '\r' : e == 't' ? '\t' : e == 'b' ? '\b' : e == 'f' ? '\f' : e;
                }
            } else if (c == '(') {
                ++depth;
            } else if (c == ')' && --depth == 0) {
                return p + 1;
            }
            if (bytes->size() < static_cast<size_t>(kStringBytes)) bytes->push_back(static_cast<char>(c));
        }
        return -1;
    }
    if (ByteAt(p) == '<' && ByteAt(p + 1) != '<') {
        int high = -1;
        for (++p; p < end; ++p) {
            const uint8_t c = ByteAt(p);
            if (c == '>') {
                if (high >= 0 && bytes->size() < static_cast<size_t>(kStringBytes)) bytes->push_back(static_cast<char>(high << 4));
                return p + 1;
            }
            const int v = HexValue(c);
            if (v < 0) continue;
            if (high < 0) {
                high = v;
            } else {
                if (bytes->size() < static_cast<size_t>(kStringBytes)) bytes->push_back(static_cast<char>((high << 4) | v));
                high = -1;
            }
        }
    }
    return -1;
}

std::u16string DecodeTextString(const std::string& bytes) {
    std::u16string text;
    const auto b = [&](size_t i) { return static_cast<uint8_t>(bytes[i]); };
    if (bytes.size() >= 2 && b(0) == 0xFE && b(1) == 0xFF) {
        for (size_t i = 2; i + 1 < bytes.size(); i += 2) text.push_back(static_cast<char16_t>((b(i) << 8) | b(i + 1)));
        return text;
    }
    for (size_t i = 0; i < bytes.size(); ++i) {
        const uint8_t c = b(i);
        text.push_back(c >= 0x80 && c <= 0xA0 ? kPdfDocHigh[c - 0x80] : static_cast<char16_t>(c));
    }
    return text;
}

// "n g R" at p: the object number and the position after "R"; -1 when none stands there.
int64_t ReadReferenceAt(int64_t p, int64_t end, int32_t* number) {
    if (!IsDigitByte(ByteAt(p))) return -1;
    const int32_t n = IntegerAt(p);
    int64_t q = SkipSpaces(SkipDigits(p), end);
    if (!IsDigitByte(ByteAt(q))) return -1;
    q = SkipSpaces(SkipDigits(q), end);
    if (ByteAt(q) != 'R') return -1;
    *number = n;
    return q + 1;
}

// Where an entry's value stands: directly, or behind one reference in its object's body.
bool ValueSpan(DictionarySpan within, const char* name, int64_t* start, int64_t* end) {
    int32_t value_start = 0;
    const int32_t entry_end = FindExactEntry(within.start, within.end, name, &value_start);
    if (entry_end == 0) return false;
    int64_t p = SkipSpaces(value_start, entry_end);
    int32_t number = 0;
    if (ReadReferenceAt(p, entry_end, &number) >= 0) {
        if (!IsObjectNumber(number) || g_store.objects[number].extent <= 0 ||
            !IsObjectHeader(g_store.objects[number].offset, number)) {
            return false;
        }
        *start = g_store.objects[number].offset;
        *end = ObjectEnd(number);
        // Past "n g obj" to the value itself.
        int64_t q = *start;
        while (q < *end && ByteAt(q) != '[' && ByteAt(q) != '<' && ByteAt(q) != '/') ++q;
        *start = q;
        return q < *end;
    }
    *start = p;
    *end = entry_end;
    return true;
}

// Calls `take` for each reference of the array at p, nested arrays flattened (labels skipped).
template <typename Take>
void WalkReferenceArray(int64_t p, int64_t end, Take take) {
    p = SkipSpaces(p, end);
    if (ByteAt(p) != '[') return;
    int depth = 0;
    const int64_t limit = std::min<int64_t>(end, p + kArrayTokensScanned);
    std::string skipped;
    while (p < limit) {
        const uint8_t c = ByteAt(p);
        if (c == '[') {
            if (++depth > kOptionalArrayDepth) return;
            ++p;
        } else if (c == ']') {
            if (--depth == 0) return;
            ++p;
        } else if (c == '(' || (c == '<' && ByteAt(p + 1) != '<')) {
            p = ReadStringBytes(p, limit, &skipped);
            if (p < 0) return;
        } else if (IsDigitByte(c)) {
            int32_t number = 0;
            const int64_t after = ReadReferenceAt(p, limit, &number);
            if (after < 0) {
                p = SkipDigits(p);
            } else {
                take(number);
                p = after;
            }
        } else {
            ++p;
        }
    }
}

int32_t FindGroup(int32_t object_number) {
    for (int32_t i = 1; i <= g_optional_content.count; ++i) {
        if (g_optional_content.groups[i].object_number == object_number) return i;
    }
    return 0;
}

void ReadGroupName(OptionalGroup* group) {
    int32_t start = 0, end = 0;
    group->name[0] = '\0';
    if (!DictionaryBounds(group->object_number, &start, &end)) return;
    int32_t value_start = 0;
    const int32_t entry_end = FindExactEntry(start, end, "Name", &value_start);
    if (entry_end == 0) return;
    // Bounded by the dictionary, not the entry: the entry scan stops at a hex string's ">" before ">>".
    ReadPdfTextString(SkipSpaces(value_start, end), end, group->name, kOptionalGroupNameBytes);
}

}  // namespace

void ResetOptionalContent() {
    // Only the used part: the table is large and most documents have no layers.
    const int32_t used = std::min<int32_t>(g_optional_content.count, kOptionalGroupCapacity - 1);
    std::memset(g_optional_content.groups, 0, sizeof(OptionalGroup) * static_cast<size_t>(used + 1));
    g_optional_content.count = 0;
    g_optional_content.dropped = 0;
}

bool ReadPdfTextString(int64_t position, int64_t end, char* out, int capacity) {
    if (capacity <= 0) return false;
    out[0] = '\0';
    std::string bytes;
    if (ReadStringBytes(position, end, &bytes) < 0) return false;
    DecryptStringAt(position, &bytes);
    std::string text = Utf16ToCodePage932(DecodeTextString(bytes));
    // Cut on a character boundary: a lead byte never stands last.
    size_t length = 0;
    while (length < text.size()) {
        const uint8_t c = static_cast<uint8_t>(text[length]);
        const size_t step = ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) ? 2 : 1;
        if (length + step > static_cast<size_t>(capacity - 1) || length + step > text.size()) break;
        length += step;
    }
    std::memcpy(out, text.data(), length);
    out[length] = '\0';
    return true;
}

int32_t OptionalGroupOfObject(int32_t object_number) {
    return object_number > 0 ? FindGroup(object_number) : 0;
}

int32_t OptionalGroupOfProperties(int32_t object_number) {
    if (g_optional_content.count == 0 || !IsObjectNumber(object_number) || object_number <= 0) return 0;
    if (const int32_t group = FindGroup(object_number)) return group;
    int32_t start = 0, end = 0;
    if (!DictionaryBounds(object_number, &start, &end)) return 0;
    int32_t value_start = 0;
    const int32_t entry_end = FindExactEntry(start, end, "OCGs", &value_start);
    if (entry_end == 0) return 0;
    const int64_t p = SkipSpaces(value_start, end);
    int32_t number = 0;
    if (ByteAt(p) != '[') return ReadReferenceAt(p, end, &number) >= 0 ? FindGroup(number) : 0;
    int32_t first = 0;
    WalkReferenceArray(p, end, [&](int32_t member) {
        if (first == 0) first = FindGroup(member);
    });
    return first;
}

void ReadOptionalContent() {
    ResetOptionalContent();
    int32_t start = 0, end = 0;
    if (!DictionaryBounds(g_document.root.number, &start, &end)) return;
    DictionarySpan properties{};
    if (!DictionaryValue(DictionarySpan{start, end}, "OCProperties", &properties)) return;

    // The groups as /OCGs lists them, into a scratch list; the table takes them in /Order's order.
    static int32_t listed[kOptionalGroupCapacity];
    int32_t listed_count = 0;
    int32_t dropped = 0;
    int64_t a = 0, b = 0;
    if (!ValueSpan(properties, "OCGs", &a, &b)) return;
    WalkReferenceArray(a, b, [&](int32_t number) {
        if (!IsObjectNumber(number) || number <= 0) return;
        for (int32_t k = 0; k < listed_count; ++k) {
            if (listed[k] == number) return;
        }
        if (listed_count >= kOptionalGroupCapacity - 1) {
            ++dropped;
            return;
        }
        listed[listed_count++] = number;
    });

    const auto add = [&](int32_t number) {
        if (FindGroup(number) != 0) return;
        bool is_listed = false;
        for (int32_t k = 0; k < listed_count && !is_listed; ++k) is_listed = listed[k] == number;
        if (!is_listed) return;
        OptionalGroup& group = g_optional_content.groups[++g_optional_content.count];
        group = OptionalGroup{};
        group.object_number = number;
        group.visible = 1;
    };

    DictionarySpan defaults{};
    const bool has_defaults = DictionaryValue(properties, "D", &defaults);
    if (has_defaults && ValueSpan(defaults, "Order", &a, &b)) WalkReferenceArray(a, b, add);
    for (int32_t k = 0; k < listed_count; ++k) add(listed[k]);
    g_optional_content.dropped = dropped;

    if (has_defaults) {
        // A name value ends where the next entry's "/" begins: read it here, not from EntryText.
        int32_t value_start = 0;
        if (FindExactEntry(defaults.start, defaults.end, "BaseState", &value_start) != 0) {
            const int64_t p = SkipSpaces(value_start, defaults.end);
            if (ByteAt(p) == '/' && BytesEqual(p + 1, "OFF", 3)) {
                for (int32_t i = 1; i <= g_optional_content.count; ++i) g_optional_content.groups[i].visible = 0;
            }
        }
        if (ValueSpan(defaults, "ON", &a, &b)) {
            WalkReferenceArray(a, b, [](int32_t number) {
                if (const int32_t i = FindGroup(number)) g_optional_content.groups[i].visible = 1;
            });
        }
        if (ValueSpan(defaults, "OFF", &a, &b)) {
            WalkReferenceArray(a, b, [](int32_t number) {
                if (const int32_t i = FindGroup(number)) g_optional_content.groups[i].visible = 0;
            });
        }
    }
    for (int32_t i = 1; i <= g_optional_content.count; ++i) ReadGroupName(&g_optional_content.groups[i]);
}

}  // namespace velmora
