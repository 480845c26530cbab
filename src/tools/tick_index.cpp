#include "tools/tick_index.h"

#include <algorithm>
#include <cmath>

#include "tools/bit_mix.h"
#include "tools/dash_merge.h"

namespace velmora {

bool IsPerpendicularTick(const LineRecord* lines, const int32_t* directions, int i, int j) {
    const LineRecord& dash = lines[i];
    const LineRecord& other = lines[j];
    if (directions[i] == kNoDirection) return false;
    if (other.pen_style != 1 || other.width_class != dash.width_class || other.page_number < 0) {
        return false;
    }
    int32_t p1 = directions[i] + 9000;
    if (p1 > 18000) p1 -= 36000;
    int32_t p2 = directions[i] - 9000;
    if (p2 < -18000) p2 += 36000;
    if (!AngleWithin(directions[j], p1, 500) && !AngleWithin(directions[j], p2, 500)) return false;

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

namespace {

constexpr int kMaxLevel = 62;
constexpr double kFinestCellsAcross = 1048576.0;  // 2^20: keeps cell numbers small

uint64_t CellHash(int level, int64_t key, int64_t cx, int64_t cy) {
    uint64_t h = MixBits(static_cast<uint64_t>(key) * 64 + static_cast<uint64_t>(level));
    h = MixBits(h ^ static_cast<uint64_t>(cx));
    return MixBits(h ^ static_cast<uint64_t>(cy) ^ 0x9e3779b97f4a7c15ULL);
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

// The same rounding for filing and for queries: both go through this one monotone mapping,
// so a point inside a clamped reach always lands in one of the reach's cells.
int64_t CellOf(double v, double origin, double inverse) {
    return static_cast<int64_t>(std::floor((v - origin) * inverse));
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
    double pieces_d = std::isfinite(reach) ? std::ceil(length / cell) : 1.0;
    const int64_t pieces = std::max<int64_t>(1, static_cast<int64_t>(pieces_d));

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
            for (int64_t cy = cy0; cy <= cy1; ++cy) {
                // Pieces advance along the line, so only the previous piece can share cells.
                if (cx >= prev_x0 && cx <= prev_x1 && cy >= prev_y0 && cy <= prev_y1) continue;
                emit(level, key, CellHash(level, key, cx, cy));
            }
        }
        prev_x0 = cx0, prev_x1 = cx1, prev_y0 = cy0, prev_y1 = cy1;
    }
}

}  // namespace

void BuildTickIndex(TickIndex& index, const LineRecord* lines, const int32_t* directions, int count) {
    index = TickIndex{};
    index.built = true;
    Grid grid{HUGE_VAL, HUGE_VAL, -HUGE_VAL, -HUGE_VAL, 1.0, {}, 0, 0.0};
    double largest = 0;
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
    }
    double total_length = 0;
    int candidates = 0;
    for (int j = 0; j < count; ++j) {
        if (!CanBeTick(lines[j], directions[j])) continue;
        const double dx = lines[j].x2 - lines[j].x1;
        const double dy = lines[j].y2 - lines[j].y1;
        total_length += std::sqrt(dx * dx + dy * dy);
        ++candidates;
    }
    if (candidates == 0) {
        index.bucket_start.assign(2, 0);
        return;
    }
    const double width = grid.x1 - grid.x0;
    const double height = grid.y1 - grid.y0;
    const double extent = std::max(width, height);
    const double diagonal = std::sqrt(width * width + height * height);
    // Rounding in the exact test can move a crossing or a nearness by a few ulps of the box.
    grid.slack = 1e-9 * (diagonal + largest) + 1e-12;
    const double mean = total_length / candidates;
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

    // Count, size the buckets, then fill: two walks over the same cells, no per-cell lists.
    uint64_t filed = 0;
    std::vector<std::pair<int64_t, uint64_t>> levels;  // (filing key, level bit) per line, merged below
    for (int j = 0; j < count; ++j) {
        if (!CanBeTick(lines[j], directions[j])) continue;
        int line_level = 0;
        int64_t line_key = 0;
        ForEachCell(index, grid, lines[j], directions[j], [&](int level, int64_t key, uint64_t) {
            ++filed;
            line_level = level;
            line_key = key;
        });
        levels.emplace_back(line_key, uint64_t{1} << line_level);
    }
    std::sort(levels.begin(), levels.end());
    for (const auto& [key, bit] : levels) {
        if (index.key_levels.empty() || index.key_levels.back().first != key) {
            index.key_levels.emplace_back(key, 0);
        }
        index.key_levels.back().second |= bit;
    }
    uint64_t buckets = 1;
    while (buckets < filed) buckets <<= 1;
    index.bucket_mask = buckets - 1;
    index.bucket_start.assign(buckets + 1, 0);
    index.entries.resize(filed);
    for (int j = 0; j < count; ++j) {
        if (!CanBeTick(lines[j], directions[j])) continue;
        ForEachCell(index, grid, lines[j], directions[j], [&](int, int64_t, uint64_t hash) {
            ++index.bucket_start[(hash & index.bucket_mask) + 1];
        });
    }
    for (uint64_t b = 0; b < buckets; ++b) index.bucket_start[b + 1] += index.bucket_start[b];
    std::vector<uint32_t> next(index.bucket_start.begin(), index.bucket_start.end() - 1);
    for (int j = 0; j < count; ++j) {
        if (!CanBeTick(lines[j], directions[j])) continue;
        ForEachCell(index, grid, lines[j], directions[j], [&](int, int64_t, uint64_t hash) {
            index.entries[next[hash & index.bucket_mask]++] = j;
        });
    }
}

bool HasPerpendicularTick(const TickIndex& index, const LineRecord* lines, const int32_t* directions,
                          int i) {
    if (directions[i] == kNoDirection) return false;
    const LineRecord& dash = lines[i];
    const int32_t square = directions[i] + 9000;
    const int32_t bins[2] = {DirectionBin(square - 499), DirectionBin(square + 499)};
    auto scan_bucket = [&](uint64_t hash) {
        const uint64_t b = hash & index.bucket_mask;
        for (uint32_t e = index.bucket_start[b]; e < index.bucket_start[b + 1]; ++e) {
            if (IsPerpendicularTick(lines, directions, i, index.entries[e])) return true;
        }
        return false;
    };
    const double xs[2] = {dash.x1, dash.x2};
    const double ys[2] = {dash.y1, dash.y2};
    for (int bin = 0; bin < 2; ++bin) {
        if (bin == 1 && bins[1] == bins[0]) break;
        const int64_t key = FilingKey(dash.width_class, bins[bin]);
        const auto found = std::lower_bound(index.key_levels.begin(), index.key_levels.end(),
                                            std::make_pair(key, uint64_t{0}));
        if (found == index.key_levels.end() || found->first != key) continue;
        const uint64_t level_mask = found->second;
        if (index.single_cell) {
            if (scan_bucket(CellHash(0, key, 0, 0))) return true;
            continue;
        }
        for (int e = 0; e < 2; ++e) {
            // A point that is not finite is near no line (the cross product is not finite).
            if (!std::isfinite(xs[e]) || !std::isfinite(ys[e])) continue;
            if (xs[e] < index.origin_x || xs[e] > index.max_x || ys[e] < index.origin_y ||
                ys[e] > index.max_y) {
                // Outside the box the index was built over (the line moved since): read every line.
                for (int32_t j : index.entries) {
                    if (IsPerpendicularTick(lines, directions, i, j)) return true;
                }
                continue;
            }
            for (int level = 0; level < static_cast<int>(index.inverse_cell.size()); ++level) {
                if ((level_mask >> level & 1) == 0) continue;
                const double inverse = index.inverse_cell[level];
                const int64_t cx = CellOf(xs[e], index.origin_x, inverse);
                const int64_t cy = CellOf(ys[e], index.origin_y, inverse);
                if (scan_bucket(CellHash(level, key, cx, cy))) return true;
            }
        }
    }
    return false;
}

}  // namespace velmora
