#include "pdf/viewport_measure.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "pdf/dictionary_values.h"
#include "pdf/lexical.h"
#include "pdf/optional_content.h"
#include "pdf/page_tree.h"
#include "pdf/reader_bytes.h"

namespace velmora {

namespace {

constexpr int kNestingRead = 16;          // dictionaries and arrays inside one viewport
constexpr int64_t kViewportBytes = 65536; // bytes of one /VP array walked at most
constexpr int kNumberChars = 31;

int64_t SkipSpaces(int64_t p, int64_t end) {
    while (p < end && IsPdfWhitespace(ByteAt(p))) ++p;
    return p;
}

// Past a literal string "( )" at p (escapes and nested brackets), or p + 1 for anything else.
int64_t SkipString(int64_t p, int64_t end) {
    if (ByteAt(p) != '(') return p + 1;
    int depth = 0;
    for (; p < end; ++p) {
        const uint8_t c = ByteAt(p);
        if (c == '\\') {
            ++p;
        } else if (c == '(') {
            ++depth;
        } else if (c == ')' && --depth == 0) {
            return p + 1;
        }
    }
    return end;
}

// The end (past ">>" or "]") of the dictionary or array opening at p; -1 when it does not close.
int64_t ClosingOf(int64_t p, int64_t end) {
    int depth = 0;
    while (p < end) {
        const uint8_t c = ByteAt(p);
        if (c == '(') {
            p = SkipString(p, end);
        } else if ((c == '<' && ByteAt(p + 1) == '<') || c == '[') {
            if (++depth > kNestingRead) return -1;
            p += c == '[' ? 1 : 2;
        } else if ((c == '>' && ByteAt(p + 1) == '>') || c == ']') {
            p += c == ']' ? 1 : 2;
            if (--depth == 0) return p;
        } else {
            ++p;
        }
    }
    return -1;
}

bool NumberAt(int64_t p, int64_t end, double* value) {
    char text[kNumberChars + 1];
    int n = 0;
    while (p < end && n < kNumberChars && IsNumberCharacter(ByteAt(p))) text[n++] = static_cast<char>(ByteAt(p++));
    text[n] = '\0';
    if (n == 0) return false;
    char* stop = nullptr;
    *value = std::strtod(text, &stop);
    return stop != text;
}

// "n g R" at p: the object number, or -1.
int32_t ReferenceAt(int64_t p, int64_t end) {
    if (!IsDigitByte(ByteAt(p))) return -1;
    const int32_t n = IntegerAt(p);
    int64_t q = SkipSpaces(SkipDigits(p), end);
    if (!IsDigitByte(ByteAt(q))) return -1;
    q = SkipSpaces(SkipDigits(q), end);
    return ByteAt(q) == 'R' && IsObjectNumber(n) ? n : -1;
}

// The value of entry `name` in [start, end): where it begins, behind one reference followed to
// its object's body. False when the entry is absent.
bool EntryValue(int64_t start, int64_t end, const char* name, int64_t* value, int64_t* value_end) {
    int32_t value_start = 0;
    if (FindExactEntry(ClampToInt32(start), ClampToInt32(end), name, &value_start) == 0) return false;
    const int64_t p = SkipSpaces(value_start, end);
    const int32_t object = ReferenceAt(p, end);
    if (object < 0) {
        *value = p;
        *value_end = end;
        return true;
    }
    if (g_store.objects[object].extent <= 0 || !IsObjectHeader(g_store.objects[object].offset, object)) return false;
    const int64_t object_end = ObjectEnd(object);
    int64_t q = g_store.objects[object].offset;
    while (q < object_end && ByteAt(q) != '[' && ByteAt(q) != '<' && ByteAt(q) != '(') ++q;
    *value = q;
    *value_end = object_end;
    return q < object_end;
}

// The first dictionary of the array (or the dictionary itself) at p, as [start, end).
bool FirstDictionary(int64_t p, int64_t end, int64_t* start, int64_t* stop) {
    p = SkipSpaces(p, end);
    if (ByteAt(p) == '[') p = SkipSpaces(p + 1, end);
    const int32_t object = ReferenceAt(p, end);
    if (object >= 0) {
        int32_t a = 0, b = 0;
        if (!DictionaryBounds(object, &a, &b)) return false;
        *start = a;
        *stop = b;
        return true;
    }
    if (ByteAt(p) != '<' || ByteAt(p + 1) != '<') return false;
    const int64_t close = ClosingOf(p, end);
    if (close < 0) return false;
    *start = p + 2;
    *stop = close - 2;
    return true;
}

void TextEntry(int64_t start, int64_t end, const char* name, char* out, int capacity) {
    out[0] = '\0';
    int64_t p = 0, stop = 0;
    if (!EntryValue(start, end, name, &p, &stop)) return;
    ReadPdfTextString(p, stop, out, capacity);
}

void TrimBlanks(char* text) {
    size_t length = std::strlen(text);
    size_t first = 0;
    // Blanks of either width: " " and the ideographic space.
    for (;;) {
        if (first < length && text[first] == ' ') {
            ++first;
        } else if (first + 1 < length && static_cast<uint8_t>(text[first]) == 0x81 && text[first + 1] == 0x40) {
            first += 2;
        } else {
            break;
        }
    }
    while (length > first && text[length - 1] == ' ') --length;
    std::memmove(text, text + first, length - first);
    text[length - first] = '\0';
}

// One viewport dictionary [start, end): its box and measure. False without a /Measure /RL.
bool ReadOneViewport(int64_t start, int64_t end, ViewportMeasure* out) {
    int64_t p = 0, stop = 0;
    *out = ViewportMeasure{};
    if (!EntryValue(start, end, "BBox", &p, &stop) || ByteAt(p) != '[') return false;
    ++p;
    for (double& v : out->bbox) {
        p = SkipSpaces(p, stop);
        if (!NumberAt(p, stop, &v)) return false;
        while (p < stop && IsNumberCharacter(ByteAt(p))) ++p;
    }
    if (out->bbox[0] > out->bbox[2]) std::swap(out->bbox[0], out->bbox[2]);
    if (out->bbox[1] > out->bbox[3]) std::swap(out->bbox[1], out->bbox[3]);

    int64_t m = 0, m_end = 0;
    if (!EntryValue(start, end, "Measure", &p, &stop) || !FirstDictionary(p, stop, &m, &m_end)) return false;
    int64_t subtype = 0, subtype_end = 0;
    if (!EntryValue(m, m_end, "Subtype", &subtype, &subtype_end) || !BytesEqual(subtype, "/RL", 3)) return false;
    int64_t x = 0, x_end = 0;
    if (!EntryValue(m, m_end, "X", &p, &stop) || !FirstDictionary(p, stop, &x, &x_end)) return false;
    int64_t c = 0, c_end = 0;
    if (!EntryValue(x, x_end, "C", &c, &c_end) || !NumberAt(c, c_end, &out->factor)) return false;
    TextEntry(x, x_end, "U", out->unit, kMeasureUnitBytes);
    TrimBlanks(out->unit);
    TextEntry(m, m_end, "R", out->ratio_text, kMeasureRatioBytes);
    TrimBlanks(out->ratio_text);
    return out->factor > 0;
}

}  // namespace

bool ReadViewportMeasure(int32_t page_object, ViewportMeasure* measure) {
    const DictionarySpan page = PageObjectSpan(page_object);
    if (page.start >= page.end) return false;
    int64_t p = 0, end = 0;
    if (!EntryValue(page.start, page.end, "VP", &p, &end) || ByteAt(p) != '[') return false;
    const int64_t array_end = ClosingOf(p, std::min<int64_t>(end, p + kViewportBytes));
    if (array_end < 0) return false;
    bool found = false;
    double best_area = -1;
    ++p;
    for (int k = 0; k < kViewportsRead; ++k) {
        p = SkipSpaces(p, array_end);
        int64_t start = 0, stop = 0;
        int64_t next = -1;
        const int32_t object = ReferenceAt(p, array_end);
        if (object >= 0) {
            int32_t a = 0, b = 0;
            if (!DictionaryBounds(object, &a, &b)) break;
            start = a;
            stop = b;
            next = SkipDigits(SkipSpaces(SkipDigits(p), array_end));
            next = SkipSpaces(next, array_end) + 1;
        } else if (ByteAt(p) == '<' && ByteAt(p + 1) == '<') {
            next = ClosingOf(p, array_end);
            if (next < 0) break;
            start = p + 2;
            stop = next - 2;
        } else {
            break;
        }
        ViewportMeasure candidate{};
        if (ReadOneViewport(start, stop, &candidate)) {
            const double area = (candidate.bbox[2] - candidate.bbox[0]) * (candidate.bbox[3] - candidate.bbox[1]);
            if (area > best_area) {
                best_area = area;
                *measure = candidate;
                found = true;
            }
        }
        p = next;
    }
    return found;
}

double MillimetresPerMeasureUnit(const char* unit) {
    struct UnitName {
        const char* name;
        double millimetres;
    };
    static const UnitName kUnits[] = {
        {"mm", 1.0},      {"ｍｍ", 1.0},      {"ミリ", 1.0},        {"ミリメートル", 1.0}, {"㎜", 1.0},
        {"cm", 10.0},     {"ｃｍ", 10.0},     {"センチ", 10.0},     {"センチメートル", 10.0}, {"㎝", 10.0},
        {"m", 1000.0},    {"ｍ", 1000.0},     {"メートル", 1000.0}, {"in", 25.4},  {"inch", 25.4},
        {"\"", 25.4},     {"インチ", 25.4},   {"ft", 304.8},        {"feet", 304.8}, {"'", 304.8},
        {"フィート", 304.8}};
    bool ascii = true;
    for (const char* c = unit; *c != '\0'; ++c) ascii = ascii && static_cast<uint8_t>(*c) < 0x80;
    for (const UnitName& u : kUnits) {
        // ASCII names in either case; Shift-JIS ones as they are (their trail bytes may be letters).
        const size_t n = std::strlen(u.name);
        if (std::strlen(unit) != n) continue;
        bool same = true;
        for (size_t i = 0; i < n && same; ++i) {
            const char a = ascii && unit[i] >= 'A' && unit[i] <= 'Z' ? static_cast<char>(unit[i] - 'A' + 'a') : unit[i];
            same = a == u.name[i];
        }
        if (same) return u.millimetres;
    }
    return 0.0;
}

}  // namespace velmora
