#include "store/solid_records.h"

namespace velmora {

SolidTable g_solids;

void ResetSolidsForPage() {
    g_solids.count = 0;
    g_solids.overflow_reported = false;
}

int32_t ReadableSolidCount() {
    if (g_solids.count < 0) return 0;
    return g_solids.count < kSolidCapacity ? g_solids.count : kSolidCapacity;
}

}  // namespace velmora
