#include "content/operator_reader.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace velmora {

OperandList g_operands;

void StoreOperand(int32_t& count, double value) {
    if (count >= kOperandCapacity) return;
    g_operands.values[count++] = value;
}

void KeepToken(const uint8_t* data, int32_t start, int32_t end, int32_t count) {
    const int32_t kept = end - start < kTokenCapacity ? end - start : kTokenCapacity;
    std::memcpy(g_operands.token, data + start, static_cast<size_t>(kept));
    g_operands.token[kept] = '\0';
    g_operands.count = count;
}

int32_t WordEnd(const uint8_t* data, int32_t length, int32_t position) {
    int32_t p = position;
    while (p < length && !IsContentWhiteSpace(data[p]) && !IsContentDelimiter(data[p])) ++p;
    return p;
}

namespace {

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
    return WordEnd(data, length, p);
}

constexpr int32_t kInlineDictionaryWindow = 4096;  // bytes between "BI" and "ID" looked at

// What the inline image's dictionary says of its data: the exact byte count when it is
// unfiltered and its colour space is one the count can be told for (-1 otherwise), and whether
// a filter is named; for data whose first filter is ASCII85 or ASCIIHex, the mark that ends it.
struct InlineImageShape {
    int64_t bytes;
    bool filtered;
    const char* end_mark;
};

bool NameIs(const std::string& token, const char* a, const char* b) { return token == a || token == b; }

InlineImageShape InlineShape(const uint8_t* data, int32_t id_position) {
    // The dictionary runs from the last "BI" before "ID".
    int32_t begin = -1;
    for (int32_t k = id_position - 2; k >= 0 && k >= id_position - kInlineDictionaryWindow; --k) {
        if (data[k] == 'B' && data[k + 1] == 'I' && (k == 0 || IsContentWhiteSpace(data[k - 1]))) {
            begin = k + 2;
            break;
        }
    }
    if (begin < 0) return InlineImageShape{-1, false, nullptr};
    // Tokens: names, numbers, brackets; values of arrays and dictionaries are read as tokens too.
    std::vector<std::string> tokens;
    for (int32_t p = begin; p < id_position;) {
        const uint8_t c = data[p];
        if (IsContentWhiteSpace(c)) { ++p; continue; }
        int32_t q = p + 1;
        if (c == '[' || c == ']') {
            tokens.emplace_back(1, static_cast<char>(c));
            p = q;
            continue;
        }
        q = WordEnd(data, id_position, q);
        tokens.emplace_back(reinterpret_cast<const char*>(data + p), static_cast<size_t>(q - p));
        p = q;
    }
    int64_t width = -1, height = -1, bits = 8, components = -1;
    bool mask = false, filtered = false;
    const char* end_mark = nullptr;
    for (size_t i = 0; i + 1 < tokens.size(); ++i) {
        const std::string& key = tokens[i];
        const std::string& value = tokens[i + 1];
        if (NameIs(key, "/W", "/Width")) width = std::atoll(value.c_str());
        if (NameIs(key, "/H", "/Height")) height = std::atoll(value.c_str());
        if (NameIs(key, "/BPC", "/BitsPerComponent")) bits = std::atoll(value.c_str());
        if (NameIs(key, "/IM", "/ImageMask")) mask = value == "true";
        if (NameIs(key, "/F", "/Filter")) {
            filtered = value != "[" || (i + 2 < tokens.size() && tokens[i + 2] != "]");
            const std::string& first = value == "[" && i + 2 < tokens.size() ? tokens[i + 2] : value;
            if (NameIs(first, "/A85", "/ASCII85Decode")) end_mark = "~>";
            if (NameIs(first, "/AHx", "/ASCIIHexDecode")) end_mark = ">";
        }
        if (NameIs(key, "/CS", "/ColorSpace")) {
            if (NameIs(value, "/G", "/DeviceGray") || NameIs(value, "/CalGray", "/CalGray")) components = 1;
            if (NameIs(value, "/RGB", "/DeviceRGB") || NameIs(value, "/CalRGB", "/CalRGB")) components = 3;
            if (NameIs(value, "/CMYK", "/DeviceCMYK")) components = 4;
            // [/I base hival lookup]: one index per sample.
            if (value == "[" && i + 2 < tokens.size() && NameIs(tokens[i + 2], "/I", "/Indexed")) components = 1;
        }
    }
    if (mask) {
        components = 1;
        bits = 1;
    }
    constexpr int64_t kSideBound = int64_t{1} << 20;
    if (width <= 0 || height <= 0 || width > kSideBound || height > kSideBound || components <= 0 || bits <= 0 ||
        bits > 16) {
        return InlineImageShape{-1, filtered, end_mark};
    }
    return InlineImageShape{height * ((width * components * bits + 7) / 8), filtered, end_mark};
}

bool EndsImageData(const uint8_t* data, int32_t length, int32_t k) {
    return data[k] == 'E' && data[k + 1] == 'I' &&
           (k + 2 >= length || IsContentWhiteSpace(data[k + 2]) || IsContentDelimiter(data[k + 2]));
}

// Bytes after a candidate "EI" that read as content: printable ASCII and white space up to the
// stream's end or for 64 bytes. Compressed image data rarely looks so for that long.
bool FollowedByContent(const uint8_t* data, int32_t length, int32_t from) {
    constexpr int32_t kContentLookAhead = 64;
    for (int32_t k = from; k < length && k < from + kContentLookAhead; ++k) {
        if (!IsContentWhiteSpace(data[k]) && (data[k] < 0x20 || data[k] > 0x7E)) return false;
    }
    return true;
}

// After "ID": one white-space byte, then the image's data. Unfiltered data of a known shape has
// an exact length (its last byte may stand right before "EI"). Other data ends at the first "EI"
// that stands alone behind and is followed by content, spaced before or (filtered data often
// ends in its filter's end mark) not; else at an "EI" with white space before it, else at the
// first "EI" that stands alone behind, else at the exact length.
int32_t SkipInlineImage(const uint8_t* data, int32_t length, int32_t after_id) {
    const InlineImageShape shape = InlineShape(data, after_id - 2);
    const int64_t exact_end = shape.bytes >= 0 ? int64_t{after_id} + 1 + shape.bytes : -1;
    if (!shape.filtered && exact_end >= 0 && exact_end <= length) {
        int32_t p = static_cast<int32_t>(exact_end);
        while (p < length && IsContentWhiteSpace(data[p])) ++p;
        if (p + 1 < length && EndsImageData(data, length, p)) return p + 2;
    }
    // ASCII data may hold "EI" and line breaks of its own; it ends at its filter's mark.
    if (shape.end_mark != nullptr) {
        const size_t mark_length = std::strlen(shape.end_mark);
        for (int32_t k = after_id + 1; k + static_cast<int32_t>(mark_length) <= length; ++k) {
            if (std::memcmp(data + k, shape.end_mark, mark_length) != 0) continue;
            int32_t p = k + static_cast<int32_t>(mark_length);
            while (p < length && IsContentWhiteSpace(data[p])) ++p;
            if (p + 1 < length && EndsImageData(data, length, p)) return p + 2;
            break;
        }
    }
    for (int32_t k = after_id + 1; k + 1 < length; ++k) {
        if (((shape.filtered && shape.end_mark == nullptr) || IsContentWhiteSpace(data[k - 1])) && EndsImageData(data, length, k) &&
            FollowedByContent(data, length, k + 2)) {
            return k + 2;
        }
    }
    for (int32_t k = after_id + 1; k + 1 < length; ++k) {
        if (IsContentWhiteSpace(data[k - 1]) && EndsImageData(data, length, k)) return k + 2;
    }
    if (shape.filtered) {
        for (int32_t k = after_id + 1; k + 1 < length; ++k) {
            if (EndsImageData(data, length, k)) return k + 2;
        }
    }
    if (exact_end >= 0 && exact_end <= length) return static_cast<int32_t>(exact_end);
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
        KeepToken(data, start, p, count);
        if (std::strcmp(g_operands.token, "ID") == 0) p = SkipInlineImage(data, length, p);
        position = p;
        return true;
    }
    position = p;
    return false;
}

}  // namespace velmora
