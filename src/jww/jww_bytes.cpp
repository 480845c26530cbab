#include "jww/jww_bytes.h"

#include <cstring>

#include "store/shift_jis.h"

namespace velmora {

namespace {

void Flush(JwwOutput* out) {
    if (out->used == 0) return;
    if (!out->failed && std::fwrite(out->buffer, 1, out->used, out->file) != out->used) out->failed = true;
    out->used = 0;
}

}  // namespace

void BeginJwwOutput(JwwOutput* out, std::FILE* file) {
    out->file = file;
    out->failed = file == nullptr;
    out->written = 0;
    out->used = 0;
}

bool FinishJwwOutput(JwwOutput* out) {
    Flush(out);
    if (!out->failed && std::fflush(out->file) != 0) out->failed = true;
    return !out->failed;
}

void PutBytes(JwwOutput* out, const void* bytes, size_t count) {
    const uint8_t* source = static_cast<const uint8_t*>(bytes);
    out->written += count;
    while (count > 0) {
        if (out->used == kJwwOutputBufferBytes) Flush(out);
        size_t room = kJwwOutputBufferBytes - out->used;
        const size_t step = count < room ? count : room;
        std::memcpy(out->buffer + out->used, source, step);
        out->used += step;
        source += step;
        count -= step;
    }
}

void PutU8(JwwOutput* out, uint8_t value) { PutBytes(out, &value, 1); }

void PutU16(JwwOutput* out, uint16_t value) {
    const uint8_t bytes[2] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)};
    PutBytes(out, bytes, 2);
}

void PutI16(JwwOutput* out, int16_t value) { PutU16(out, static_cast<uint16_t>(value)); }

void PutU32(JwwOutput* out, uint32_t value) {
    const uint8_t bytes[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                              static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
    PutBytes(out, bytes, 4);
}

void PutI32(JwwOutput* out, int32_t value) { PutU32(out, static_cast<uint32_t>(value)); }

void PutDouble(JwwOutput* out, double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    uint8_t bytes[8];
    for (int i = 0; i < 8; ++i) bytes[i] = static_cast<uint8_t>(bits >> (8 * i));
    PutBytes(out, bytes, 8);
}

size_t JwwStringLength(const char* bytes, size_t length) {
    size_t count = 0;
    while (count < length && bytes[count] != '\0') ++count;
    if (count <= kJwwMaxStringBytes) return count;
    // Only a cut walks the characters: a string that fits is written byte for byte.
    size_t end = 0;
    while (end < kJwwMaxStringBytes) {
        const size_t step = IsShiftJisLeadByte(static_cast<uint8_t>(bytes[end])) ? 2 : 1;
        if (end + step > kJwwMaxStringBytes) break;
        end += step;
    }
    return end;
}

void PutShortString(JwwOutput* out, const char* bytes, size_t length) {
    const size_t count = JwwStringLength(bytes, length);
    if (count < 255) {
        PutU8(out, static_cast<uint8_t>(count));
    } else {
        PutU8(out, 0xFF);
        PutU16(out, static_cast<uint16_t>(count));
    }
    PutBytes(out, bytes, count);
}

}  // namespace velmora
