#include "tools/page_scale.h"

#include "store/document_store.h"

namespace velmora {

void SetPageScale(int page, int32_t denominator, double ratio) {
    if (page < 1 || page >= kPageTableSize) return;
    UsePageRecords(page);
    g_store.pages[page].scale_denominator = denominator;
    g_store.pages[page].scale_ratio = ratio;
}

void SetGivenPageScale(int page, int32_t denominator) { SetPageScale(page, denominator, denominator); }

}  // namespace velmora
