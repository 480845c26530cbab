#include "pdf/bounded_inflate.h"

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace velmora {

namespace {

constexpr size_t kFirstOutputBytes = size_t{1} << 16;  // the output grows from here
constexpr uint64_t kFirstOutputPerInputByte = 4;

}  // namespace

InflatedBytes InflateBounded(const uint8_t* input, uint32_t input_length, uint64_t bound, size_t spare, int flush) {
    InflatedBytes out{nullptr, 0, true};
    z_stream z{};
    if (inflateInit(&z) != Z_OK) return out;
    z.next_in = const_cast<uint8_t*>(input);
    z.avail_in = input_length;

    size_t capacity = static_cast<size_t>(
        std::min<uint64_t>(bound, std::max<uint64_t>(kFirstOutputBytes, uint64_t{input_length} * kFirstOutputPerInputByte)));
    auto* buffer = static_cast<uint8_t*>(std::malloc(capacity + spare));
    size_t produced = 0;
    int result = buffer == nullptr ? Z_MEM_ERROR : Z_OK;
    for (bool first = true; buffer != nullptr; first = false) {
        const size_t room = std::min<size_t>(capacity - produced, UINT_MAX);
        z.next_out = buffer + produced;
        z.avail_out = static_cast<uInt>(room);
        result = inflate(&z, flush);
        produced += room - z.avail_out;
        // Without Z_FINISH, a later call that finds nothing more to do means the single call into
        // the whole buffer would have ended Z_OK; with it, the input really ended early.
        if (flush != Z_FINISH && !first && result == Z_BUF_ERROR) result = Z_OK;
        const bool full = z.avail_out == 0 && (result == Z_OK || result == Z_BUF_ERROR);
        if (!full || capacity >= bound) break;
        const size_t grown = static_cast<size_t>(std::min<uint64_t>(bound, uint64_t{capacity} * 2));
        auto* larger = static_cast<uint8_t*>(std::realloc(buffer, grown + spare));
        if (larger == nullptr) {
            result = Z_MEM_ERROR;
            break;
        }
        buffer = larger;
        capacity = grown;
    }
    inflateEnd(&z);

    if (buffer != nullptr) {
        auto* exact = static_cast<uint8_t*>(std::realloc(buffer, produced + spare));
        if (exact != nullptr) buffer = exact;
        std::memset(buffer + produced, 0, spare);
    }
    out.data = buffer;
    out.length = produced;
    out.failed = result != Z_OK && result != Z_STREAM_END;
    return out;
}

}  // namespace velmora
