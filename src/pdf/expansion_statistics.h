// The record of how far inflated streams expanded: the largest ratio since the file was loaded
// and, for the pages converted since the driver last emptied it, each stream that beat it.
#pragma once

#include <cstdint>

namespace velmora {

inline constexpr int kExpansionRecordCapacity = 2000;

struct ExpansionRecord {
    float input_size;
    float output_size;
    float ratio;
    int32_t page;
};

struct ExpansionStatistics {
    float maximum_ratio;
    ExpansionRecord records[kExpansionRecordCapacity];
    int32_t record_count;
};

extern ExpansionStatistics g_expansion;

// Empties the record list; the maximum seen since the file was loaded stays.
void ClearExpansionRecords();

// The file reset: maximum 0 and no records.
void ResetExpansionStatistics();

// Notes one inflated stream: a record is kept only when its ratio beats the maximum so far.
void NoteExpansion(int32_t input_size, int32_t output_size, int32_t page);

}  // namespace velmora
