// A 64-bit mixer for hash tables keyed on bit patterns (the splitmix64 finaliser): every input
// bit reaches every output bit.
#pragma once

#include <cstdint>

namespace velmora {

inline uint64_t MixBits(uint64_t h) {
    h ^= h >> 30;
    h *= 0xbf58476d1ce4e5b9ULL;
    h ^= h >> 27;
    h *= 0x94d049bb133111ebULL;
    h ^= h >> 31;
    return h;
}

}  // namespace velmora
