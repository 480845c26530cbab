// The lexical primitives that read a caller's terminated text rather than FileBuffer.
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "pdf/lexical.h"

namespace velmora {

namespace {

// A number run longer than this is no PDF number; its cut value is as good as any.
constexpr int kNumberRunBytes = 64;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int32_t TextInteger(const char* text) {
    return static_cast<int32_t>(std::clamp<long>(std::strtol(text, nullptr, 10), INT32_MIN, INT32_MAX));
}

// Index of the first space at or after `index`, or -1 when the text ends first.
int NextSpace(const char* text, int index, int length) {
    while (index < length && text[index] != ' ') ++index;
    return index < length ? index : -1;
}

}  // namespace

int ReadReference(int start_index, const char* text, int32_t* number, int32_t* generation, char* letter) {
    const int length = static_cast<int>(std::strlen(text));
    if (start_index < 0) return -1;
    int i = start_index;
    while (i < length && !IsDigit(text[i])) ++i;
    if (i >= length) return -1;
    const int first_space = NextSpace(text, i, length);
    if (first_space < 0) return -1;
    const int second_space = NextSpace(text, first_space + 1, length);
    // A reference cut off by the end of the text ends the caller's walk.
    if (second_space < 0 || second_space + 1 >= length) return -1;
    *number = TextInteger(text + i);
    *generation = TextInteger(text + first_space + 1);
    *letter = text[second_space + 1];
    return second_space + 2;
}

int ReadNumber(int start_index, const char* text, double* value) {
    const int length = static_cast<int>(std::strlen(text));
    int i = std::clamp(start_index, 0, length);
    while (i < length && !IsNumberCharacter(static_cast<uint8_t>(text[i]))) ++i;
    // Only the run of number characters is converted, so "-inf" or "0x1p9" cannot yield a
    // value that is not finite.
    char run[kNumberRunBytes + 1];
    int run_length = 0;
    while (i < length && IsNumberCharacter(static_cast<uint8_t>(text[i]))) {
        if (run_length < kNumberRunBytes) run[run_length++] = text[i];
        ++i;
    }
    run[run_length] = '\0';
    *value = std::strtod(run, nullptr);
    return i;
}

int NormalizeText(char* text, int max_length) {
    int length = 0;
    while (length < max_length && text[length] != '\0') {
        if (IsPdfWhitespace(static_cast<uint8_t>(text[length]))) text[length] = ' ';
        ++length;
    }
    text[length] = '\0';
    return length;
}

}  // namespace velmora
