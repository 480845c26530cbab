#include "store/solid_records.h"

namespace velmora {

SolidTable g_solids;

void ResetSolidsForPage() {
    g_solids.count = 0;
    g_solids.overflow_reported = false;
}

void ResetSolidsForFile() {
    ResetSolidsForPage();
    for (int32_t& count : g_solids.page_solids) count = 0;
}

void NotePageSolids(int page) {
    if (page >= 1 && page < kPageTableSize) g_solids.page_solids[page] = ReadableSolidCount();
}

int32_t ReadableSolidCount() {
    if (g_solids.count < 0) return 0;
    return g_solids.count < kSolidCapacity ? g_solids.count : kSolidCapacity;
}

}  // namespace velmora
