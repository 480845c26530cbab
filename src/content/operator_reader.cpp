#include "content/operator_reader.h"

#include <cstdlib>
#include <cstring>

namespace velmora {

OperandList g_operands;

namespace {

void StoreOperand(int32_t& count, double value) {
    if (count >= kOperandCapacity) return;  // further numbers are read but not kept
    g_operands.values[count++] = value;
}

// The first "]" within the window that is not escaped by a single backslash; -1 if none.
int32_t FindArrayClose(const uint8_t* data, int32_t length, int32_t open) {
    const int32_t last = length - 1 - open < kArrayCloseWindow ? length - 1 : open + kArrayCloseWindow;
    for (int32_t k = open + 1; k <= last; ++k) {
        if (data[k] != ']') continue;
        // data[k - 1] is a backslash only when k - 1 > open, so k - 2 >= open stays inside.
        if (data[k - 1] == '\\' && data[k - 2] != '\\') continue;
        return k;
    }
    return -1;
}

// Numbers inside an array are operands; any other item (a name, a string) is passed over.
void ReadArrayNumbers(const uint8_t* data, int32_t open, int32_t close, int32_t& count) {
    int32_t k = open + 1;
    while (k < close) {
        if (IsContentWhiteSpace(data[k])) {
            ++k;
        } else if (IsContentNumberByte(data[k])) {
            StoreOperand(count, ReadContentNumber(data, close, k));
        } else {
            while (k < close && !IsContentWhiteSpace(data[k])) ++k;
        }
    }
}

// The position after the literal string opened at `open`: balanced parentheses, escaped bytes.
int32_t SkipLiteralString(const uint8_t* data, int32_t length, int32_t open) {
    int32_t depth = 0;
    for (int32_t k = open; k < length; ++k) {
        if (data[k] == '\\') {
            ++k;
        } else if (data[k] == '(') {
            ++depth;
        } else if (data[k] == ')' && --depth == 0) {
            return k + 1;
        }
    }
    return length;
}

// The end of the token at `start`: a name or a word runs to white space or a delimiter.
int32_t TokenEnd(const uint8_t* data, int32_t length, int32_t start) {
    const uint8_t c = data[start];
    int32_t p = start + 1;
    if (c == '(') return SkipLiteralString(data, length, start);
    if ((c == '<' || c == '>') && p < length && data[p] == c) return p + 1;  // "<<" or ">>"
    if (c == '<') {
        while (p < length && data[p] != '>') ++p;
        return p < length ? p + 1 : length;
    }
    if (c != '/' && IsContentDelimiter(c)) return p;  // "]", "{", "}", a stray ")" or ">"
    while (p < length && !IsContentWhiteSpace(data[p]) && !IsContentDelimiter(data[p])) ++p;
    return p;
}

// After "ID": one white-space byte, then the image's bytes up to an "EI" that stands alone.
int32_t SkipInlineImage(const uint8_t* data, int32_t length, int32_t after_id) {
    for (int32_t k = after_id + 1; k + 1 < length; ++k) {
        if (data[k] != 'E' || data[k + 1] != 'I' || !IsContentWhiteSpace(data[k - 1])) continue;
        if (k + 2 >= length || IsContentWhiteSpace(data[k + 2]) || IsContentDelimiter(data[k + 2])) return k + 2;
    }
    return length;
}

}  // namespace

bool IsContentDelimiter(uint8_t c) {
    switch (c) {
        case '(': case ')': case '<': case '>': case '[': case ']': case '{': case '}': case '/': case '%': return true;
        default: return false;
    }
}

int32_t SkipContentComment(const uint8_t* data, int32_t length, int32_t position) {
    int32_t p = position;
    while (p < length && data[p] != '\n' && data[p] != '\r') ++p;
    return p;
}

bool IsContentWhiteSpace(uint8_t c) { return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r' || c == '\0'; }

bool IsContentNumberByte(uint8_t c) { return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'; }

double ReadContentNumber(const uint8_t* data, int32_t length, int32_t& position) {
    char text[kNumberTextCapacity + 1];
    int n = 0;
    while (position < length && IsContentNumberByte(data[position])) {
        if (n < kNumberTextCapacity) text[n++] = static_cast<char>(data[position]);
        ++position;
    }
    text[n] = '\0';
    // Sixty-three digits stay far below the largest double, and no letter reaches strtod.
    return std::strtod(text, nullptr);
}

bool ReadOperator(const DecodedStream& stream, int32_t& position) {
    const uint8_t* data = stream.data;
    const int32_t length = stream.length;
    if (data == nullptr || position < 0 || position >= length) {
        if (position < length) position = length;
        return false;
    }
    int32_t p = position;
    int32_t count = 0;
    for (int item = 0; item < kOperatorItemLimit; ++item) {
        while (p < length && IsContentWhiteSpace(data[p])) ++p;
        if (p >= length) break;
        if (IsContentNumberByte(data[p])) {
            StoreOperand(count, ReadContentNumber(data, length, p));
            continue;
        }
        if (data[p] == '[') {
            const int32_t close = FindArrayClose(data, length, p);
            if (close < 0) {
                ++p;
            } else {
                ReadArrayNumbers(data, p, close, count);
                p = close + 1;
            }
            continue;
        }
        if (data[p] == '%') {
            p = SkipContentComment(data, length, p);
            continue;
        }
        const int32_t start = p;
        p = TokenEnd(data, length, start);
        const int32_t kept = p - start < kTokenCapacity ? p - start : kTokenCapacity;
        std::memcpy(g_operands.token, data + start, static_cast<size_t>(kept));
        g_operands.token[kept] = '\0';
        g_operands.count = count;
        if (std::strcmp(g_operands.token, "ID") == 0) p = SkipInlineImage(data, length, p);
        position = p;
        return true;
    }
    position = p;
    return false;
}

}  // namespace velmora
