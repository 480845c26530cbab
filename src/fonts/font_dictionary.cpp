#include "fonts/font_dictionary.h"

#include <cstdlib>
#include <cstring>

#include "pdf/file_buffer.h"
#include "pdf/page_tree.h"
#include "pdf/reader_bytes.h"

namespace velmora {

namespace {

bool IsWhite(uint8_t c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\0'; }
bool IsDelimiter(uint8_t c) { return std::strchr("()<>[]{}/%", c) != nullptr && c != '\0'; }

int32_t SkipWhite(int32_t p, int32_t end) {
    while (p < end) {
        const uint8_t c = ByteAt(p);
        if (c == '%') {
            while (p < end && ByteAt(p) != '\n' && ByteAt(p) != '\r') ++p;
        } else if (IsWhite(c)) {
            ++p;
        } else {
            break;
        }
    }
    return p;
}

// A name's characters from `p` (just after "/"); the position after them.
int32_t ReadName(int32_t p, int32_t end, char* name) {
    int n = 0;
    while (p < end && !IsWhite(ByteAt(p)) && !IsDelimiter(ByteAt(p))) {
        if (n < kFontValueNameBytes - 1) name[n++] = static_cast<char>(ByteAt(p));
        ++p;
    }
    name[n] = '\0';
    return p;
}

// The position of the ")" closing the literal string opened at `open`, or `end`.
int32_t StringClose(int32_t open, int32_t end) {
    int depth = 0;
    for (int32_t p = open; p < end; ++p) {
        const uint8_t c = ByteAt(p);
        if (c == '\\') {
            ++p;
        } else if (c == '(') {
            ++depth;
        } else if (c == ')' && --depth == 0) {
            return p;
        }
    }
    return end;
}

// The position of the byte that closes the dictionary or array opened at `open` (the second
// ">" of ">>", or "]"), strings and nested values stepped over; `end` when it is not closed.
int32_t ContainerClose(int32_t open, int32_t end) {
    int depth = 0;
    for (int32_t p = open; p < end; ++p) {
        const uint8_t c = ByteAt(p);
        if (c == '(') {
            p = StringClose(p, end);
        } else if (c == '<' && ByteAt(p + 1) == '<') {
            ++depth;
            ++p;
        } else if (c == '>' && ByteAt(p + 1) == '>') {
            ++p;
            if (--depth == 0) return p;
        } else if (c == '[') {
            ++depth;
        } else if (c == ']') {
            if (--depth == 0) return p;
        }
    }
    return end;
}

bool ReadValueAt(int32_t p, int32_t end, bool follow, FontValue* value);

// The value an indirect object holds: its header ("n g obj", or "n offset" for an object taken
// out of an object stream) is stepped over.
bool ReadObjectValue(int32_t n, FontValue* value) {
    if (!IsObjectNumber(n) || n == 0 || g_store.objects[n].extent <= 0) return false;
    const int32_t end = ObjectEnd(n);
    int32_t p = SkipWhite(g_store.objects[n].offset, end);
    for (int number = 0; number < 2; ++number) {
        if (p < end && (ByteAt(p) == '-' || ByteAt(p) == '+')) ++p;
        if (!(p < end && IsDigitByte(ByteAt(p)))) return false;
        while (p < end && IsDigitByte(ByteAt(p))) ++p;
        p = SkipWhite(p, end);
    }
    if (ByteAt(p) == 'o' && ByteAt(p + 1) == 'b' && ByteAt(p + 2) == 'j') p += 3;
    return ReadValueAt(p, end, false, value);
}

// One value at `p`; a reference is followed once when `follow` holds.
bool ReadValueAt(int32_t p, int32_t end, bool follow, FontValue* value) {
    *value = FontValue{};
    p = SkipWhite(p, end);
    if (p >= end) return false;
    const uint8_t c = ByteAt(p);
    if (c == '/') {
        value->kind = kFontValueName;
        value->start = p + 1;
        value->end = ReadName(p + 1, end, value->name);
        return true;
    }
    if ((c == '<' && ByteAt(p + 1) == '<') || c == '[') {
        const int32_t close = ContainerClose(p, end);
        if (close >= end) return false;
        value->kind = c == '[' ? kFontValueArray : kFontValueDictionary;
        value->start = c == '[' ? p + 1 : p + 2;
        value->end = close;
        return true;
    }
    if (c == '(') {
        const int32_t close = StringClose(p, end);
        if (close >= end) return false;
        value->kind = kFontValueString;
        value->start = p + 1;
        value->end = close;
        return true;
    }
    value->kind = kFontValueOther;
    value->start = p;
    value->end = p;
    if (!IsDigitByte(c)) return true;
    // "n g R": the object's own value stands for it.
    const int32_t number = IntegerAt(p);
    int32_t q = p;
    while (q < end && IsDigitByte(ByteAt(q))) ++q;
    q = SkipWhite(q, end);
    if (!(q < end && IsDigitByte(ByteAt(q)))) return true;
    while (q < end && IsDigitByte(ByteAt(q))) ++q;
    q = SkipWhite(q, end);
    if (!(q < end && ByteAt(q) == 'R')) return true;
    return follow && ReadObjectValue(number, value);
}

}  // namespace

bool FindFontValue(int32_t begin, int32_t end, const char* key, FontValue* value) {
    *value = FontValue{};
    // The closing ">" at `end` is no part of the entries.
    int depth = 0;
    char name[kFontValueNameBytes];
    for (int32_t p = begin; p < end;) {
        const uint8_t c = ByteAt(p);
        if (c == '(') {
            p = StringClose(p, end) + 1;
        } else if ((c == '<' && ByteAt(p + 1) == '<') || (c == '>' && ByteAt(p + 1) == '>')) {
            depth += c == '<' ? 1 : -1;
            p += 2;
        } else if (c == '[' || c == ']') {
            depth += c == '[' ? 1 : -1;
            ++p;
        } else if (c == '/') {
            p = ReadName(p + 1, end, name);
            if (depth == 0 && std::strcmp(name, key) == 0) return ReadValueAt(p, end, true, value);
        } else {
            ++p;
        }
    }
    return false;
}

bool NextArrayItem(int32_t& position, int32_t end, bool* is_number, double* number, char* name) {
    int32_t p = SkipWhite(position, end);
    if (p >= end) {
        position = end;
        return false;
    }
    const uint8_t c = ByteAt(p);
    if (c == '/') {
        position = ReadName(p + 1, end, name);
        *is_number = false;
        return true;
    }
    if (IsDigitByte(c) || c == '-' || c == '+' || c == '.') {
        char text[32];
        int n = 0;
        while (p < end && (IsDigitByte(ByteAt(p)) || ByteAt(p) == '-' || ByteAt(p) == '+' || ByteAt(p) == '.')) {
            if (n < static_cast<int>(sizeof text) - 1) text[n++] = static_cast<char>(ByteAt(p));
            ++p;
        }
        text[n] = '\0';
        position = p;
        *is_number = true;
        *number = std::strtod(text, nullptr);
        return true;
    }
    // Strings, nested containers and stray bytes are stepped over whole.
    if (c == '(') {
        position = StringClose(p, end) + 1;
    } else if ((c == '<' && ByteAt(p + 1) == '<') || c == '[') {
        position = ContainerClose(p, end) + 1;
    } else {
        position = p + 1;
        while (position < end && !IsWhite(ByteAt(position)) && !IsDelimiter(ByteAt(position))) ++position;
    }
    return false;
}

}  // namespace velmora
