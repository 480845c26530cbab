// The one inflate loop for untrusted streams: the output grows on demand up to a bound instead of
// being allocated at its full size, so a small stream never costs 50 times its length up front.
// Content, cross-reference and object streams and the ToUnicode CMaps all decode through it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velmora {

struct InflatedBytes {
    uint8_t* data;    // malloc'd, `length` bytes followed by `spare` zero bytes; null when no memory
    size_t length;    // bytes produced
    bool failed;      // the data were damaged or memory ran out (what was produced is kept)
};

// Inflates `input` in the way one zlib call with `flush` (Z_FINISH or Z_NO_FLUSH) into a buffer of
// `bound` bytes would: the same bytes, the same stop, the same verdict.
InflatedBytes InflateBounded(const uint8_t* input, uint32_t input_length, uint64_t bound, size_t spare, int flush);

}  // namespace velmora
