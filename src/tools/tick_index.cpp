#include "tools/tick_index.h"

#include <algorithm>
#include <cmath>

#include "tools/bit_mix.h"
#include "tools/dash_merge.h"

namespace velmora {

namespace {

// The two directions square to a line's, each folded back onto -18000..18000.
struct SquareDirections {
    int32_t p1, p2;
};

SquareDirections SquareTo(int32_t direction) {
    int32_t p1 = direction + 9000;
    if (p1 > 18000) p1 -= 36000;
    int32_t p2 = direction - 9000;
    if (p2 < -18000) p2 += 36000;
    return {p1, p2};
}

bool WithinSquare(const SquareDirections& square, int32_t direction) {
    return AngleWithin(direction, square.p1, 500) || AngleWithin(direction, square.p2, 500);
}

// Everything of the tick test but the directions: the other line is solid, not absorbed, of the
// dash's width, crosses the line through the dash and passes near one of its end points.
bool CrossesNearEnd(const LineRecord& dash, const LineRecord& other) {
    if (other.pen_style != 1 || other.width_class != dash.width_class || other.page_number < 0) {
        return false;
    }
    const double ax = dash.x2 - dash.x1;
    const double ay = dash.y2 - dash.y1;
    const double c2 = (other.y2 - dash.y1) * ax - (other.x2 - dash.x1) * ay;
    const double c1 = (other.y1 - dash.y1) * ax - (other.x1 - dash.x1) * ay;
    if (!(c2 * c1 < 0)) return false;

    const double bx = other.x2 - other.x1;
    const double by = other.y2 - other.y1;
    const double k1 = (dash.y1 - other.y1) * bx - (dash.x1 - other.x1) * by;
    const double k2 = (dash.y2 - other.y1) * bx - (dash.x2 - other.x1) * by;
    return (-10 < k1 && k1 < 10) || (-10 < k2 && k2 < 10);
}

}  // namespace

bool IsPerpendicularTick(const LineRecord* lines, const int32_t* directions, int i, int j) {
    if (directions[i] == kNoDirection) return false;
    return WithinSquare(SquareTo(directions[i]), directions[j]) && CrossesNearEnd(lines[i], lines[j]);
}

namespace {

constexpr int kMaxLevel = 62;
constexpr double kFinestCellsAcross = 1048576.0;  // 2^20: keeps cell numbers small

// A cell's hash in three steps, so that filing a line mixes its key and level once and each
// column of its cells once.
uint64_t LevelHash(int level, int64_t key) {
    return MixBits(static_cast<uint64_t>(key) * 64 + static_cast<uint64_t>(level));
}

uint64_t ColumnHash(uint64_t level_hash, int64_t cx) { return MixBits(level_hash ^ static_cast<uint64_t>(cx)); }

uint64_t CellHash(uint64_t column_hash, int64_t cy) {
    return MixBits(column_hash ^ static_cast<uint64_t>(cy) ^ 0x9e3779b97f4a7c15ULL);
}

uint64_t CellHash(int level, int64_t key, int64_t cx, int64_t cy) {
    return CellHash(ColumnHash(LevelHash(level, key), cx), cy);
}

bool Finite(const LineRecord& line) {
    return std::isfinite(line.x1) && std::isfinite(line.y1) && std::isfinite(line.x2) &&
           std::isfinite(line.y2);
}

// Lines that can be ticks now or later: the set only shrinks while the pass runs.
bool CanBeTick(const LineRecord& line, int32_t direction) {
    return line.pen_style == 1 && line.page_number >= 0 && direction != kNoDirection &&
           Finite(line);
}

// Directions folded onto half a turn in bins of 10 degrees: a tick lies within 5 degrees of
// either perpendicular, that is within 5 degrees of one folded direction, so two bins hold it.
constexpr int32_t kHalfTurn = 18000;
constexpr int32_t kDirectionBin = 1000;

int32_t DirectionBin(int32_t direction) {
    const int32_t folded = ((direction % kHalfTurn) + kHalfTurn) % kHalfTurn;
    return folded / kDirectionBin;
}

// Lines are filed by width class and direction bin; queries name both.
int64_t FilingKey(int32_t width_class, int32_t bin) {
    return static_cast<int64_t>(width_class) * 32 + bin;
}

// The filing keys a tick of a line of this width and direction is filed under: within 5 degrees
// of square, that is the folded direction's window of +-4.99 degrees, which spans one or two bins.
int SquareKeys(int32_t width_class, int32_t direction, int64_t keys[2]) {
    const int32_t square = direction + 9000;
    keys[0] = FilingKey(width_class, DirectionBin(square - 499));
    keys[1] = FilingKey(width_class, DirectionBin(square + 499));
    return keys[1] == keys[0] ? 1 : 2;
}

// The same rounding for filing and for queries: both go through this one monotone mapping,
// so a point inside a clamped reach always lands in one of the reach's cells.
int64_t CellOf(double v, double origin, double inverse) {
    // Truncation corrected downwards is floor here (cell numbers stay far inside int64), and
    // spares a call into the maths library four times per piece of every line filed.
    const double scaled = (v - origin) * inverse;
    const int64_t cell = static_cast<int64_t>(scaled);
    return scaled < static_cast<double>(cell) ? cell - 1 : cell;
}

struct Grid {
    double x0, y0, x1, y1;  // box of every finite end point: no query point lies outside it
    double base_cell;
    std::vector<double> cell;  // per level
    int top_level;          // cells at this level are at least as large as the box
    double slack;           // rounding allowance of the exact test, in points
};

// Calls emit(hash) for each cell of line j's reach (a cell may repeat across pieces; harmless).
template <typename Emit>
void ForEachCell(const TickIndex& index, const Grid& grid, const LineRecord& line, int32_t direction,
                 Emit&& emit) {
    const int64_t key = FilingKey(line.width_class, DirectionBin(direction));
    if (index.single_cell) {
        emit(0, key, CellHash(0, key, 0, 0));
        return;
    }
    const double dx = line.x2 - line.x1;
    const double dy = line.y2 - line.y1;
    const double length = std::sqrt(dx * dx + dy * dy);
    double reach = 11.0 / length + grid.slack;
    int level = 0;
    if (!(length > 0) || !std::isfinite(reach)) {
        level = grid.top_level;
        reach = HUGE_VAL;
    } else {
        while (level < grid.top_level && grid.cell[level] < 2 * reach) ++level;
    }
    const double cell = grid.cell[level];
    const double inverse = index.inverse_cell[level];
    // Most lines are no longer than a cell: one piece, without the division.
    double pieces_d = std::isfinite(reach) && length > cell ? std::ceil(length / cell) : 1.0;
    const int64_t pieces = std::max<int64_t>(1, static_cast<int64_t>(pieces_d));
    const uint64_t level_hash = LevelHash(level, key);

    int64_t prev_x0 = 1, prev_x1 = 0, prev_y0 = 1, prev_y1 = 0;  // empty
    for (int64_t p = 0; p < pieces; ++p) {
        const double t0 = static_cast<double>(p) / static_cast<double>(pieces);
        const double t1 = static_cast<double>(p + 1) / static_cast<double>(pieces);
        const double ax = p == 0 ? line.x1 : line.x1 + dx * t0;
        const double ay = p == 0 ? line.y1 : line.y1 + dy * t0;
        const double bx = p + 1 == pieces ? line.x2 : line.x1 + dx * t1;
        const double by = p + 1 == pieces ? line.y2 : line.y1 + dy * t1;
        const double lo_x = std::max(std::min(ax, bx) - reach, grid.x0);
        const double hi_x = std::min(std::max(ax, bx) + reach, grid.x1);
        const double lo_y = std::max(std::min(ay, by) - reach, grid.y0);
        const double hi_y = std::min(std::max(ay, by) + reach, grid.y1);
        if (lo_x > hi_x || lo_y > hi_y) continue;
        const int64_t cx0 = CellOf(lo_x, grid.x0, inverse), cx1 = CellOf(hi_x, grid.x0, inverse);
        const int64_t cy0 = CellOf(lo_y, grid.y0, inverse), cy1 = CellOf(hi_y, grid.y0, inverse);
        for (int64_t cx = cx0; cx <= cx1; ++cx) {
            const uint64_t column_hash = ColumnHash(level_hash, cx);
            for (int64_t cy = cy0; cy <= cy1; ++cy) {
                // Pieces advance along the line, so only the previous piece can share cells.
                if (cx >= prev_x0 && cx <= prev_x1 && cy >= prev_y0 && cy <= prev_y1) continue;
                emit(level, key, CellHash(column_hash, cy));
            }
        }
        prev_x0 = cx0, prev_x1 = cx1, prev_y0 = cy0, prev_y1 = cy1;
    }
}

// A cell a line is filed under: the low half of the cell's hash (a page files far fewer than 2^31
// cells and the table has at most two buckets per cell, so the bucket is in there) and the entry.
struct FiledCell {
    uint32_t hash;
    TickEntry entry;
};

constexpr int kGroupBits = 11;  // 2^11 write heads: few enough for the caches to follow

// What a build needs besides the index itself, kept from one build to the next like the index:
// a page of a million lines needs tens of megabytes of it, and fresh memory costs a page fault
// every 4 KB.
struct BuildScratch {
    std::vector<int32_t> filed;  // lines that may be a tick of an asked line
    std::vector<FiledCell> cells, grouped;
    std::vector<uint32_t> group_start, heads;
};

BuildScratch g_scratch;

// Fills bucket_start and entries from the filed cells, in two steps that each write to few
// places at once: the cells are grouped by the high bits of their bucket, then each group, small
// enough to stay in cache, is laid out bucket by bucket. Filing straight into the table instead
// missed the cache on every entry. Both steps keep store order within a bucket.
void LayOutBuckets(TickIndex& index, const std::vector<FiledCell>& cells) {
    const uint64_t buckets = index.bucket_mask + 1;  // a power of two
    int bits = 0;
    while ((uint64_t{1} << bits) < buckets) ++bits;
    const int group_bits = std::min(bits, kGroupBits);
    const int shift = bits - group_bits;
    const size_t groups = size_t{1} << group_bits;
    const uint64_t local_mask = (uint64_t{1} << shift) - 1;

    std::vector<uint32_t>& group_start = g_scratch.group_start;
    group_start.assign(groups + 1, 0);
    for (const FiledCell& cell : cells) ++group_start[((cell.hash & index.bucket_mask) >> shift) + 1];
    for (size_t g = 0; g < groups; ++g) group_start[g + 1] += group_start[g];
    std::vector<FiledCell>& grouped = g_scratch.grouped;
    grouped.resize(cells.size());
    std::vector<uint32_t>& heads = g_scratch.heads;
    heads.assign(group_start.begin(), group_start.end() - 1);
    for (const FiledCell& cell : cells) grouped[heads[(cell.hash & index.bucket_mask) >> shift]++] = cell;

    index.bucket_start.resize(buckets + 1);
    index.entries.resize(cells.size());
    heads.assign(local_mask + 1, 0);
    for (size_t g = 0; g < groups; ++g) {
        std::fill(heads.begin(), heads.end(), 0);
        for (uint32_t e = group_start[g]; e < group_start[g + 1]; ++e) ++heads[grouped[e].hash & local_mask];
        uint32_t place = group_start[g];
        const uint64_t base = static_cast<uint64_t>(g) << shift;
        for (uint64_t k = 0; k <= local_mask; ++k) {
            index.bucket_start[base + k] = place;
            const uint32_t here = heads[k];
            heads[k] = place;
            place += here;
        }
        for (uint32_t e = group_start[g]; e < group_start[g + 1]; ++e) {
            index.entries[heads[grouped[e].hash & local_mask]++] = grouped[e].entry;
        }
    }
    index.bucket_start[buckets] = static_cast<uint32_t>(cells.size());
}

constexpr size_t kFirstKeySlots = 64;  // a page has a few dozen keys; more make the table grow

size_t KeySlotOf(const std::vector<KeySlot>& slots, int64_t key) {
    const size_t mask = slots.size() - 1;
    size_t slot = MixBits(static_cast<uint64_t>(key)) & mask;
    while (slots[slot].used && slots[slot].key != key) slot = (slot + 1) & mask;
    return slot;
}

// Adds an asked key; the table doubles when half full, so probes stay short.
void AddAskedKey(TickIndex& index, int64_t key) {
    KeySlot& slot = index.keys[KeySlotOf(index.keys, key)];
    if (slot.used) return;
    slot = KeySlot{key, 0, true};
    if (++index.key_count * 2 <= index.keys.size()) return;
    std::vector<KeySlot> old(index.keys.size() * 2);
    old.swap(index.keys);
    for (const KeySlot& moved : old) {
        if (moved.used) index.keys[KeySlotOf(index.keys, moved.key)] = moved;
    }
}

// The slot of a filing key asked about, or null.
const KeySlot* FindAskedKey(const TickIndex& index, int64_t key) {
    const KeySlot& slot = index.keys[KeySlotOf(index.keys, key)];
    return slot.used ? &slot : nullptr;
}

}  // namespace

void BuildTickIndex(TickIndex& index, const LineRecord* lines, const int32_t* directions, int count,
                    const std::vector<int32_t>& asked) {
    index.single_cell = false;
    index.line_count = count;
    index.keys.assign(kFirstKeySlots, KeySlot{});
    index.key_count = 0;
    index.bucket_mask = 0;
    for (int32_t i : asked) {
        if (i < 0 || i >= count || directions[i] == kNoDirection) continue;
        int64_t keys[2];
        const int n = SquareKeys(lines[i].width_class, directions[i], keys);
        for (int k = 0; k < n; ++k) AddAskedKey(index, keys[k]);
    }

    Grid grid{HUGE_VAL, HUGE_VAL, -HUGE_VAL, -HUGE_VAL, 1.0, {}, 0, 0.0};
    double largest = 0;
    double total_length = 0;
    std::vector<int32_t>& filed = g_scratch.filed;
    filed.clear();
    for (int j = 0; j < count; ++j) {
        const LineRecord& line = lines[j];
        const double xs[2] = {line.x1, line.x2};
        const double ys[2] = {line.y1, line.y2};
        for (int e = 0; e < 2; ++e) {
            if (!std::isfinite(xs[e]) || !std::isfinite(ys[e])) continue;
            grid.x0 = std::min(grid.x0, xs[e]);
            grid.x1 = std::max(grid.x1, xs[e]);
            grid.y0 = std::min(grid.y0, ys[e]);
            grid.y1 = std::max(grid.y1, ys[e]);
            largest = std::max({largest, std::fabs(xs[e]), std::fabs(ys[e])});
        }
        if (!CanBeTick(line, directions[j]) ||
            FindAskedKey(index, FilingKey(line.width_class, DirectionBin(directions[j]))) == nullptr) {
            continue;
        }
        const double dx = line.x2 - line.x1;
        const double dy = line.y2 - line.y1;
        total_length += std::sqrt(dx * dx + dy * dy);
        filed.push_back(j);
    }
    if (filed.empty()) {
        index.inverse_cell.clear();
        index.entries.clear();
        index.bucket_start.assign(2, 0);
        return;
    }
    const double width = grid.x1 - grid.x0;
    const double height = grid.y1 - grid.y0;
    const double extent = std::max(width, height);
    const double diagonal = std::sqrt(width * width + height * height);
    // Rounding in the exact test can move a crossing or a nearness by a few ulps of the box.
    grid.slack = 1e-9 * (diagonal + largest) + 1e-12;
    const double mean = total_length / static_cast<double>(filed.size());
    grid.base_cell = std::max(mean, extent / kFinestCellsAcross);
    if (!std::isfinite(diagonal) || !std::isfinite(grid.slack) || !std::isfinite(grid.base_cell) ||
        !(grid.base_cell > 0)) {
        index.single_cell = true;
        grid.base_cell = 1.0;
    }
    while (grid.top_level < kMaxLevel && grid.base_cell * std::ldexp(1.0, grid.top_level) < extent) {
        ++grid.top_level;
    }
    index.origin_x = grid.x0;
    index.origin_y = grid.y0;
    index.max_x = grid.x1;
    index.max_y = grid.y1;
    index.inverse_cell.resize(grid.top_level + 1);
    grid.cell.resize(grid.top_level + 1);
    for (int level = 0; level <= grid.top_level; ++level) {
        grid.cell[level] = grid.base_cell * std::ldexp(1.0, level);
        index.inverse_cell[level] = 1.0 / grid.cell[level];
    }

    // One walk over the lines files every cell; sorting the filed cells by bucket then lays out
    // the table in order instead of scattering each entry to a random bucket.
    std::vector<FiledCell>& cells = g_scratch.cells;
    cells.clear();
    cells.reserve(filed.size() * 3);
    for (int32_t j : filed) {
        int line_level = 0;
        int64_t line_key = 0;
        ForEachCell(index, grid, lines[j], directions[j], [&](int level, int64_t key, uint64_t hash) {
            cells.push_back(FiledCell{static_cast<uint32_t>(hash), TickEntry{j, directions[j]}});
            line_level = level;
            line_key = key;
        });
        // A filed line's key was asked about, so it is in the table.
        index.keys[KeySlotOf(index.keys, line_key)].levels |= uint64_t{1} << line_level;
    }
    uint64_t buckets = 1;
    while (buckets < cells.size()) buckets <<= 1;
    index.bucket_mask = buckets - 1;
    LayOutBuckets(index, cells);
}

namespace {

static_assert(kMostTickProbes == 2 * 2 * (kMaxLevel + 1), "direction bins x end points x levels");
constexpr int kCandidateBatch = 32;

// The candidates whose direction fits, tested a batch at a time: their records are fetched
// together, as they lie scattered over the whole table.
struct CandidateBatch {
    const LineRecord* lines;
    const LineRecord* dash;
    int32_t line[kCandidateBatch];
    int count = 0;
};

bool BatchTicks(CandidateBatch& batch) {
    for (int k = 0; k < batch.count; ++k) {
        const char* record = reinterpret_cast<const char*>(batch.lines + batch.line[k]);
        __builtin_prefetch(record);
        __builtin_prefetch(record + sizeof(LineRecord) - 1);
    }
    const int count = batch.count;
    batch.count = 0;
    for (int k = 0; k < count; ++k) {
        if (CrossesNearEnd(*batch.dash, batch.lines[batch.line[k]])) return true;
    }
    return false;
}

}  // namespace

void StartTickSearch(const TickIndex& index, const LineRecord* lines, const int32_t* directions, int i,
                     TickSearch& search) {
    search.line = i;
    search.reach = TickReach::Buckets;
    search.probes = 0;
    if (directions[i] == kNoDirection) return;
    const LineRecord& dash = lines[i];
    int64_t keys[2];
    const int key_count = SquareKeys(dash.width_class, directions[i], keys);
    const KeySlot* slots[2];
    for (int k = 0; k < key_count; ++k) {
        slots[k] = FindAskedKey(index, keys[k]);
        if (slots[k] == nullptr) {
            search.reach = TickReach::AllLines;
            return;
        }
    }
    const double xs[2] = {dash.x1, dash.x2};
    const double ys[2] = {dash.y1, dash.y2};
    for (int k = 0; k < key_count; ++k) {
        const int64_t key = keys[k];
        const uint64_t level_mask = slots[k]->levels;
        if (index.single_cell) {
            search.buckets[search.probes++] = CellHash(0, key, 0, 0) & index.bucket_mask;
            continue;
        }
        for (int e = 0; e < 2; ++e) {
            // A point that is not finite is near no line (the cross product is not finite).
            if (!std::isfinite(xs[e]) || !std::isfinite(ys[e])) continue;
            if (xs[e] < index.origin_x || xs[e] > index.max_x || ys[e] < index.origin_y ||
                ys[e] > index.max_y) {
                search.reach = TickReach::FiledLines;
                return;
            }
            for (int level = 0; level < static_cast<int>(index.inverse_cell.size()); ++level) {
                if ((level_mask >> level & 1) == 0) continue;
                const double inverse = index.inverse_cell[level];
                const int64_t cx = CellOf(xs[e], index.origin_x, inverse);
                const int64_t cy = CellOf(ys[e], index.origin_y, inverse);
                const uint64_t bucket = CellHash(level, key, cx, cy) & index.bucket_mask;
                // Both end points of a short dash often lie in one cell: its bucket is read once.
                uint64_t* const named = search.buckets + search.probes;
                if (std::find(search.buckets, named, bucket) == named) search.buckets[search.probes++] = bucket;
            }
        }
    }
    for (int p = 0; p < search.probes; ++p) __builtin_prefetch(&index.bucket_start[search.buckets[p]]);
}

void ReadTickBuckets(const TickIndex& index, TickSearch& search) {
    for (int p = 0; p < search.probes; ++p) {
        search.first[p] = index.bucket_start[search.buckets[p]];
        search.last[p] = index.bucket_start[search.buckets[p] + 1];
        if (search.first[p] < search.last[p]) __builtin_prefetch(&index.entries[search.first[p]]);
    }
}

bool FinishTickSearch(const TickIndex& index, const LineRecord* lines, const int32_t* directions,
                      const TickSearch& search) {
    const int i = search.line;
    if (directions[i] == kNoDirection) return false;
    const LineRecord& dash = lines[i];
    const SquareDirections square_to = SquareTo(directions[i]);
    if (search.reach == TickReach::AllLines) {
        // Not a line the index was built for: every line is tried.
        for (int j = 0; j < index.line_count; ++j) {
            if (IsPerpendicularTick(lines, directions, i, j)) return true;
        }
        return false;
    }
    if (search.reach == TickReach::FiledLines) {
        // Outside the box the index was built over (the line moved since): every filed line is
        // tried, which answers the question whole.
        for (const TickEntry& entry : index.entries) {
            if (WithinSquare(square_to, entry.direction) && CrossesNearEnd(dash, lines[entry.line])) return true;
        }
        return false;
    }
    // The entry's own copy of the direction settles most candidates without reading the line.
    CandidateBatch batch{lines, &dash, {}, 0};
    for (int p = 0; p < search.probes; ++p) {
        for (uint32_t e = search.first[p]; e < search.last[p]; ++e) {
            const TickEntry& entry = index.entries[e];
            if (!WithinSquare(square_to, entry.direction)) continue;
            batch.line[batch.count++] = entry.line;
            if (batch.count == kCandidateBatch && BatchTicks(batch)) return true;
        }
    }
    return BatchTicks(batch);
}

bool HasPerpendicularTick(const TickIndex& index, const LineRecord* lines, const int32_t* directions,
                          int i) {
    TickSearch search;
    StartTickSearch(index, lines, directions, i, search);
    ReadTickBuckets(index, search);
    return FinishTickSearch(index, lines, directions, search);
}

}  // namespace velmora
