#include "pdf/file_buffer.h"

#include <cstdlib>

namespace velmora {

FileBuffer g_file;

bool AllocateFileBuffer(int64_t file_size) {
    ReleaseFileBuffer();
    if (file_size < 0) return false;
    const int64_t capacity = 2 * file_size + kFileBufferReserve;
    if (capacity > INT32_MAX) return false;
    auto* data = static_cast<uint8_t*>(std::calloc(static_cast<size_t>(capacity), 1));
    if (data == nullptr) return false;
    g_file.data = data;
    g_file.capacity = static_cast<int32_t>(capacity);
    g_file.data_length = 0;
    g_file.file_size = static_cast<int32_t>(file_size);
    g_file.scan_budget = kScanFloor + kScanFactor * file_size;
    return true;
}

void ReleaseFileBuffer() {
    std::free(g_file.data);
    g_file = FileBuffer{};
}

}  // namespace velmora
