#include "content/text_operator.h"

#include <cstring>

#include "content/operator_reader.h"
#include "content/text_decoder.h"
#include "fonts/font_tables.h"
#include "store/capacities.h"
#include "store/document_store.h"

namespace velmora {

TextOperands g_text_operands;

namespace {

// Collects the codes of one string into the operator's buffers.
struct StringSink {
    StringCoding coding;
    bool kept;        // false for strings beyond the segment capacity and inside nested arrays
    int32_t codes;    // codes kept for this string
    int32_t high;     // first byte of a two-byte code waiting for its second, or -1
};

StringSink BeginString(StringCoding coding, bool wanted) {
    return StringSink{coding, wanted && g_text_operands.segment_count < kTextSegmentCapacity, 0, -1};
}

void AddCode(StringSink& sink, uint32_t code) {
    if (!sink.kept || g_text_operands.code_count >= kTextCodeCapacity) return;
    g_text_operands.codes[g_text_operands.code_count++] = code;
    ++sink.codes;
}

void AddByte(StringSink& sink, uint8_t b) {
    switch (sink.coding) {
        case kStringNotCounted: return;
        case kStringOneByte: AddCode(sink, b); return;
        case kStringTwoByte:
            if (sink.high < 0) {
                sink.high = b;
            } else {
                AddCode(sink, static_cast<uint32_t>(sink.high) << 8 | b);
                sink.high = -1;
            }
            return;
        case kStringEuc:
        case kStringShiftJis: {
            const bool lead = sink.coding == kStringEuc ? (b == 0x8E || (b >= 0xA1 && b <= 0xFE))
                                                        : ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC));
            if (sink.high >= 0) {
                AddCode(sink, static_cast<uint32_t>(sink.high) << 8 | b);
                sink.high = -1;
            } else if (lead) {
                sink.high = b;
            } else {
                AddCode(sink, b);
            }
            return;
        }
    }
}

// A two-byte font's odd last byte makes no code.
void EndString(const StringSink& sink) {
    if (!sink.kept) return;
    TextOperands& t = g_text_operands;
    t.segment_codes[t.segment_count] = sink.codes;
    t.segment_adjustments[t.segment_count] = 0.0;
    ++t.segment_count;
}

bool IsOctalDigit(uint8_t c) { return c >= '0' && c <= '7'; }

// A literal string as PDF reads it: balanced parentheses inside it are kept, "\ddd" is one to
// three octal digits, "\n \r \t \b \f" are control bytes, a backslash before a line end
// continues the line, any other escaped byte stands for itself. Returns the position after the
// closing ")", or the stream's end.
int32_t ReadLiteralString(const uint8_t* data, int32_t length, int32_t open, StringSink& sink) {
    int32_t depth = 1;
    int32_t k = open + 1;
    while (k < length) {
        const uint8_t c = data[k];
        if (c != '\\') {
            if (c == '(') ++depth;
            if (c == ')' && --depth == 0) return k + 1;
            AddByte(sink, c);
            ++k;
            continue;
        }
        if (k + 1 >= length) return length;
        const uint8_t escaped = data[k + 1];
        k += 2;
        if (IsOctalDigit(escaped)) {
            int value = escaped - '0';
            for (int digits = 1; digits < 3 && k < length && IsOctalDigit(data[k]); ++digits) value = value * 8 + (data[k++] - '0');
            AddByte(sink, static_cast<uint8_t>(value & 0xFF));  // "\777" keeps its low byte
            continue;
        }
        switch (escaped) {
            case 'n': AddByte(sink, '\n'); break;
            case 'r': AddByte(sink, '\r'); break;
            case 't': AddByte(sink, '\t'); break;
            case 'b': AddByte(sink, '\b'); break;
            case 'f': AddByte(sink, '\f'); break;
            case '\r':
                if (k < length && data[k] == '\n') ++k;  // CR LF is one line end
                break;
            case '\n': break;
            default: AddByte(sink, escaped); break;
        }
    }
    return length;
}

int HexValue(uint8_t c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Every two hex digits are one byte, cut into codes by the font's code length like the bytes of
// a literal string; an odd last digit is the high half of a byte. Other bytes are passed over.
int32_t ReadHexString(const uint8_t* data, int32_t length, int32_t open, StringSink& sink) {
    int high = -1;
    int32_t k = open + 1;
    for (; k < length && data[k] != '>'; ++k) {
        const int v = HexValue(data[k]);
        if (v < 0) continue;
        if (high < 0) {
            high = v;
        } else {
            AddByte(sink, static_cast<uint8_t>(high << 4 | v));
            high = -1;
        }
    }
    if (high >= 0) AddByte(sink, static_cast<uint8_t>(high << 4));
    return k < length ? k + 1 : length;
}

}  // namespace

StringCoding CurrentStringCoding() {
    const FontDef* font = CurrentFont();
    if (font == nullptr) return kStringNotCounted;
    switch (font->conversion_type) {
        case kConversionToUnicode: return font->code_length == 2 ? kStringTwoByte : kStringOneByte;
        case kConversionDifferences:
        case kConversionWinAnsi: return kStringOneByte;
        case kConversionUnicodeCMap:
        case kConversionAdobeJapan1: return kStringTwoByte;
        case kConversionJapan1CMap: {
            const int row = font->japan1_cmap - 1;
            if (row < 0 || row >= Japan1CMapCount) return kStringTwoByte;
            switch (Japan1CMaps[row].code_bytes) {
                case kCMapEuc: return kStringEuc;
                case kCMapShiftJis: return kStringShiftJis;
                default: return kStringTwoByte;
            }
        }
        // No conversion: the codes are still counted, two bytes each for a composite font, so
        // that each shows as a placeholder where it stands.
        default: return font->code_length == 2 || std::strstr(font->subtype, "Type0") != nullptr ||
                                std::strstr(font->subtype, "CIDFont") != nullptr
                            ? kStringTwoByte
                            : kStringOneByte;
    }
}

bool ReadTextOperator(const DecodedStream& stream, int32_t& position) {
    TextOperands& t = g_text_operands;
    t.code_count = 0;
    t.segment_count = 0;
    t.has_name = false;
    const uint8_t* data = stream.data;
    const int32_t length = stream.length;
    if (data == nullptr || position < 0 || position >= length) {
        if (position < length) position = length;
        return false;
    }

    const StringCoding coding = CurrentStringCoding();
    int32_t p = position;
    int32_t count = 0;
    int32_t depth = 0;                // array nesting; only the outermost array is read
    bool after_kept_string = false;   // a number now adjusts the array's last string
    for (int item = 0; item < kTextItemLimit; ++item) {
        while (p < length && IsContentWhiteSpace(data[p])) ++p;
        if (p >= length) break;
        const uint8_t c = data[p];
        if (c == '%') {
            p = SkipContentComment(data, length, p);
            continue;
        }
        if (IsContentNumberByte(c)) {
            const double value = ReadContentNumber(data, length, p);
            if (depth > 1) continue;
            StoreOperand(count, value);
            if (depth == 1 && after_kept_string) t.segment_adjustments[t.segment_count - 1] += value;
            continue;
        }
        if (c == '(' || c == '<') {
            StringSink sink = BeginString(coding, depth <= 1);
            p = c == '(' ? ReadLiteralString(data, length, p, sink) : ReadHexString(data, length, p, sink);
            EndString(sink);
            if (depth == 1) after_kept_string = sink.kept;
            continue;
        }
        if (c == '[') {
            if (++depth == 1) after_kept_string = false;
            ++p;
            continue;
        }
        if (depth > 0) {
            if (c == ']') {
                --depth;
                ++p;
                continue;
            }
            // Names and stray delimiters inside an array are stepped over; a word such as TJ or
            // ET means the array was never closed, and it is read as the operator.
            if (IsContentDelimiter(c)) {
                ++p;
                p = WordEnd(data, length, p);
                continue;
            }
            depth = 0;
        }
        if (c == '/') {
            const int32_t start = ++p;
            p = WordEnd(data, length, p);
            const int32_t kept = p - start < kTextNameCapacity ? p - start : kTextNameCapacity;
            std::memcpy(t.name, data + start, static_cast<size_t>(kept));
            t.name[kept] = '\0';
            t.has_name = true;
            continue;
        }
        const int32_t start = p;
        if (c == 'T' && p + 1 < length && data[p + 1] == '*') {
            p += 2;  // T* is a token even when another byte follows at once
        } else {
            p = WordEnd(data, length, p);
            if (p == start) ++p;  // a stray ")", ">", "{" or "}" is a token of its own
        }
        KeepToken(data, start, p, count);
        position = p;
        return true;
    }
    position = p;
    return false;
}

}  // namespace velmora
