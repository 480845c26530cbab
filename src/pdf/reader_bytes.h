// Bounded byte helpers shared by the loader, the stream reader and the page tree: every read
// goes through ByteAt (file_buffer.h), so positions outside the data read as zero.
#pragma once

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>

#include "pdf/file_buffer.h"
#include "store/capacities.h"
#include "store/document_store.h"

namespace velmora {

inline bool IsDigitByte(uint8_t c) { return c >= '0' && c <= '9'; }

// True when the bytes at `position` are `text`'s first `length` characters.
inline bool BytesEqual(int64_t position, const char* text, int length) {
    for (int k = 0; k < length; ++k) {
        if (ByteAt(position + k) != static_cast<uint8_t>(text[k])) return false;
    }
    return true;
}

inline int32_t ClampToInt32(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

// First digit at or after `position`, or data_length when none is left.
inline int64_t SkipToDigit(int64_t position) {
    int64_t p = std::max<int64_t>(position, 0);
    while (p < g_file.data_length && !IsDigitByte(g_file.data[p])) ++p;
    return p;
}

inline int64_t SkipDigits(int64_t position) {
    int64_t p = std::max<int64_t>(position, 0);
    while (p < g_file.data_length && IsDigitByte(g_file.data[p])) ++p;
    return p;
}

// The integer a standard conversion reads from `bytes` (leading whitespace and sign allowed),
// looking at no more than `available` bytes.
inline int32_t BytesInteger(const uint8_t* bytes, int64_t available) {
    constexpr int kSliceBytes = 40;  // more digits than any int holds
    char slice[kSliceBytes + 1];
    int length = 0;
    while (length < kSliceBytes && length < available) {
        slice[length] = static_cast<char>(bytes[length]);
        ++length;
    }
    slice[length] = '\0';
    return static_cast<int32_t>(std::clamp<long long>(std::strtoll(slice, nullptr, 10), INT32_MIN, INT32_MAX));
}

inline int32_t IntegerAt(int64_t position) {
    if (position < 0 || position >= g_file.data_length) return 0;
    return BytesInteger(g_file.data + position, g_file.data_length - position);
}

inline int32_t TextInteger(const char* text) {
    return static_cast<int32_t>(std::clamp<long long>(std::strtoll(text, nullptr, 10), INT32_MIN, INT32_MAX));
}

inline bool IsObjectNumber(int64_t n) { return n >= 0 && n < kObjectCapacity; }

// One past the last position of the object's extent.
inline int32_t ObjectEnd(int32_t n) {
    const ObjectEntry& entry = g_store.objects[n];
    return ClampToInt32(int64_t{entry.offset} + entry.extent);
}

}  // namespace velmora
