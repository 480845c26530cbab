#include "pdf/expansion_statistics.h"

namespace velmora {

ExpansionStatistics g_expansion;

void ClearExpansionRecords() { g_expansion.record_count = 0; }

void ResetExpansionStatistics() {
    g_expansion.maximum_ratio = 0.0f;
    g_expansion.record_count = 0;
}

void NoteExpansion(int32_t input_size, int32_t output_size, int32_t page) {
    if (input_size <= 0) return;
    const float ratio = static_cast<float>(output_size) / static_cast<float>(input_size);
    if (!(ratio > g_expansion.maximum_ratio)) return;
    g_expansion.maximum_ratio = ratio;
    if (g_expansion.record_count >= kExpansionRecordCapacity) return;
    g_expansion.records[g_expansion.record_count++] =
        ExpansionRecord{static_cast<float>(input_size), static_cast<float>(output_size), ratio, page};
}

}  // namespace velmora
