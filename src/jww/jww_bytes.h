// The byte forms of a JWW file (an MFC archive): little-endian scalars and CString short strings,
// buffered over a stdio stream. A failed write is remembered, never ignored.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace velmora {

// The longest string the 0xFF + uint16 form holds; the longer MFC forms are rejected by readers.
inline constexpr size_t kJwwMaxStringBytes = 65533;
inline constexpr size_t kJwwOutputBufferBytes = 16384;

struct JwwOutput {
    std::FILE* file;
    bool failed;          // a write to the stream came back short
    uint64_t written;     // bytes accepted so far, buffered or not
    size_t used;
    uint8_t buffer[kJwwOutputBufferBytes];
};

void BeginJwwOutput(JwwOutput* out, std::FILE* file);
// Hands the buffered bytes to the stream and flushes it. False when any write failed.
bool FinishJwwOutput(JwwOutput* out);

void PutBytes(JwwOutput* out, const void* bytes, size_t count);
void PutU8(JwwOutput* out, uint8_t value);
void PutU16(JwwOutput* out, uint16_t value);
void PutI16(JwwOutput* out, int16_t value);
void PutU32(JwwOutput* out, uint32_t value);
void PutI32(JwwOutput* out, int32_t value);
void PutDouble(JwwOutput* out, double value);

// The length a Shift-JIS string is written with: its bytes up to `length` or a NUL; a longer one
// than kJwwMaxStringBytes is cut before the first double-byte character that would not fit whole.
size_t JwwStringLength(const char* bytes, size_t length);
// MFC's ANSI CString: a length byte below 255, else 0xFF and a uint16 length; then the bytes.
// Writes the first JwwStringLength(bytes, length) bytes, so the length and the bytes agree.
void PutShortString(JwwOutput* out, const char* bytes, size_t length);

}  // namespace velmora
