// The whole PDF file in memory. Objects taken out of object streams are appended behind
// the file's bytes, so the buffer holds twice the file size plus a fixed reserve.
#pragma once

#include <cstdint>

namespace velmora {

inline constexpr int32_t kFileBufferReserve = 1000000;
// What FindDictionary and FindArray may scan in total per file: 50 times the file and a floor.
// One search may run over a whole object or to the end of the file, and searches repeat for
// every object and every reference.
inline constexpr int64_t kScanFloor = int64_t{16} << 20;
inline constexpr int64_t kScanFactor = 50;

struct FileBuffer {
    uint8_t* data;         // zero-filled behind data_length
    int32_t capacity;      // 2 * file_size + kFileBufferReserve
    int32_t data_length;   // valid bytes; grows when objects are appended
    int32_t file_size;     // bytes read from disk
    int64_t scan_budget;   // bytes FindDictionary and FindArray may still scan
};

extern FileBuffer g_file;

// Allocates a zeroed buffer for a file of `file_size` bytes (data_length 0). False on failure
// or when the capacity would not fit a 32-bit position.
bool AllocateFileBuffer(int64_t file_size);
void ReleaseFileBuffer();

// The byte at `position`, or 0 outside 0..data_length-1: every scan reads through this bound.
inline uint8_t ByteAt(int64_t position) {
    return (position >= 0 && position < g_file.data_length) ? g_file.data[position] : 0;
}

}  // namespace velmora
