// The neighbour index behind the dash merging's tick test: which lines can be a perpendicular
// tick at an end point of a dash, found without reading every line of the page.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "store/records.h"

namespace velmora {

// A filed line with its direction, so most candidates are settled without reading the record.
struct TickEntry {
    int32_t line;
    int32_t direction;
};

// Line j is a tick of line i when j is solid, not absorbed, of i's width class, within 5 degrees of
// perpendicular to i (directions[] as in the dash merging), crosses the infinite line through i, and
// one end point Q of i gives |cross(Q - j1, j2 - j1)| < 10. Records are read as they are now.
bool IsPerpendicularTick(const LineRecord* lines, const int32_t* directions, int i, int j);

// A filing key (width class and direction bin) asked about, with the grid levels its lines were
// filed at (bit mask).
struct KeySlot {
    int64_t key;
    uint64_t levels;
    bool used;
};

// Every line that could ever be a tick is filed under the grid cells its reach overlaps: the
// segment widened by 11 / |j| (the near test allows 10 / |j| at up to 5.01 degrees off square) plus
// a rounding allowance. Cells come in sizes base * 2^level; each line sits at the level where its
// reach fits half a cell, cut into pieces no longer than a cell, so a long line fills a band of
// cells rather than its bounding box. A query reads the cell of each end point at every level in
// use for the width class. Buckets are cells hashed, so a bucket may hold lines of other cells;
// the exact test rejects those. Lines are also filed by width class and by direction in bins of
// 10 degrees over half a turn, and only under the keys of the lines the index is built for. The
// index only narrows the candidates, never decides. A rebuilt index reuses the memory of the one
// it replaces.
struct TickIndex {
    bool single_cell = false;  // coordinates too large to grid: every line is a candidate
    int line_count = 0;
    std::vector<KeySlot> keys;  // the filing keys of the asked lines' ticks, hashed
    size_t key_count = 0;
    double origin_x = 0, origin_y = 0;
    double max_x = 0, max_y = 0;
    std::vector<double> inverse_cell;                     // per level, 1 / cell size
    uint64_t bucket_mask = 0;
    std::vector<uint32_t> bucket_start;                   // bucket_mask + 2 offsets into entries
    std::vector<TickEntry> entries;                       // by bucket, in store order within one
};

// Files those of lines 0..count-1 that are solid, not absorbed, have a direction and could be a
// tick of one of the `asked` lines (of its width class, near square to it). Ticks can only be lost
// later (a merged line turns dashed, absorbed lines are marked), so the index stays valid. A line
// not asked about is still answered, by trying every line.
void BuildTickIndex(TickIndex& index, const LineRecord* lines, const int32_t* directions, int count,
                    const std::vector<int32_t>& asked);

// Whether some line is a perpendicular tick of line i, through the index.
bool HasPerpendicularTick(const TickIndex& index, const LineRecord* lines, const int32_t* directions,
                          int i);

// The same question in three steps, so that a caller can start the memory reads of the searches
// it will make next while it works on the current one: start names the buckets to read and
// fetches them, read takes their ranges and fetches their entries, finish answers from the
// records as they are then.
inline constexpr int kMostTickProbes = 2 * 2 * 63;  // direction bins x end points x grid levels

enum class TickReach : uint8_t {
    Buckets,     // the buckets of the end points' cells
    FiledLines,  // every filed line: an end point lies outside the box the index was built over
    AllLines,    // every line: the index was not built for lines of this width and direction
};

struct TickSearch {
    int32_t line = -1;
    TickReach reach = TickReach::Buckets;
    int probes = 0;
    uint64_t buckets[kMostTickProbes];
    uint32_t first[kMostTickProbes], last[kMostTickProbes];
};

void StartTickSearch(const TickIndex& index, const LineRecord* lines, const int32_t* directions, int i,
                     TickSearch& search);
void ReadTickBuckets(const TickIndex& index, TickSearch& search);
bool FinishTickSearch(const TickIndex& index, const LineRecord* lines, const int32_t* directions,
                      const TickSearch& search);

}  // namespace velmora
