#include "tools/end_point_index.h"

#include <cmath>
#include <cstring>

#include "tools/bit_mix.h"

namespace velmora {

namespace {

constexpr uint32_t kSmallestSlotCount = 16;

uint64_t BitsOf(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// -0.0 and 0.0 are equal doubles; filing both under one bit pattern keeps the hash exact.
double Normalised(double value) { return value + 0.0; }

int32_t FilePoint(EndPointIndex& index, double x, double y) {
    const uint64_t hash = MixBits(BitsOf(x) ^ MixBits(BitsOf(y) + 0x9e3779b97f4a7c15ULL));
    uint32_t slot = static_cast<uint32_t>(hash) & index.slot_mask;
    for (;;) {
        const int32_t point = index.slots[slot];
        if (point < 0) break;
        if (index.point_x[point] == x && index.point_y[point] == y) return point;
        slot = (slot + 1) & index.slot_mask;
    }
    const int32_t point = static_cast<int32_t>(index.point_x.size());
    index.slots[slot] = point;
    index.point_x.push_back(x);
    index.point_y.push_back(y);
    return point;
}

}  // namespace

namespace {

struct LineFiling {
    const LineRecord* lines;
    bool (*files)(int32_t line, void* context);
    void* context;
};

bool LineEnds(int32_t line, void* context, double xs[2], double ys[2]) {
    const LineFiling& filing = *static_cast<LineFiling*>(context);
    if (!filing.files(line, filing.context)) return false;
    const LineRecord& record = filing.lines[line];
    xs[0] = record.x1;
    ys[0] = record.y1;
    xs[1] = record.x2;
    ys[1] = record.y2;
    return true;
}

}  // namespace

void BuildEndPointIndex(EndPointIndex& index, const LineRecord* lines, int32_t count,
                        bool (*files)(int32_t line, void* context), void* context) {
    LineFiling filing{lines, files, context};
    BuildEndPointIndex(index, count, LineEnds, &filing);
}

void BuildEndPointIndex(EndPointIndex& index, int32_t count,
                        bool (*ends_of)(int32_t member, void* context, double xs[2], double ys[2]), void* context) {
    index.line_count = count < 0 ? 0 : count;
    const size_t ends = static_cast<size_t>(index.line_count) * 2;
    // At most half the slots in use: probes stay short.
    uint32_t slot_count = kSmallestSlotCount;
    while (slot_count < ends * 2) slot_count *= 2;
    index.slot_mask = slot_count - 1;
    index.slots.assign(slot_count, -1);
    index.point_x.clear();
    index.point_y.clear();
    index.point_of_end.assign(ends, -1);

    for (int32_t i = 0; i < index.line_count; ++i) {
        double xs[2], ys[2];
        if (!ends_of(i, context, xs, ys)) continue;
        for (int end = 0; end < 2; ++end) {
            if (std::isnan(xs[end]) || std::isnan(ys[end])) continue;
            index.point_of_end[static_cast<size_t>(i) * 2 + end] =
                FilePoint(index, Normalised(xs[end]), Normalised(ys[end]));
        }
    }

    // Lines by point: counted, then placed.
    const size_t points = index.point_x.size();
    index.first_member.assign(points + 1, 0);
    for (int32_t point : index.point_of_end) {
        if (point >= 0) ++index.first_member[static_cast<size_t>(point) + 1];
    }
    for (size_t p = 0; p < points; ++p) index.first_member[p + 1] += index.first_member[p];
    index.members.resize(static_cast<size_t>(index.first_member[points]));
    std::vector<int32_t>& next = index.work;  // the place of each point's next member
    next.assign(index.first_member.begin(), index.first_member.end() - 1);
    for (size_t e = 0; e < ends; ++e) {
        const int32_t point = index.point_of_end[e];
        if (point >= 0) index.members[static_cast<size_t>(next[static_cast<size_t>(point)]++)] = static_cast<int32_t>(e / 2);
    }
    index.followed.assign(points, 0);
    index.work.clear();
}

void FollowConnections(EndPointIndex& index, int32_t start, bool (*take)(int32_t line, void* context),
                       void* context) {
    if (start < 0 || start >= index.line_count) return;
    std::vector<int32_t>& work = index.work;
    work.clear();
    // Each point's lines are offered once per index: whatever was not taken then is either taken
    // already or not filed, and stays so.
    const auto follow = [&](int32_t point, int32_t from) {
        if (point < 0 || index.followed[static_cast<size_t>(point)]) return false;
        index.followed[static_cast<size_t>(point)] = 1;
        bool took = false;
        for (int32_t m = index.first_member[static_cast<size_t>(point)];
             m < index.first_member[static_cast<size_t>(point) + 1]; ++m) {
            const int32_t line = index.members[static_cast<size_t>(m)];
            if (line != from && take(line, context)) {
                work.push_back(line);
                took = true;
            }
        }
        return took;
    };
    bool reached_back = false;
    for (int end = 0; end < 2; ++end) {
        if (follow(index.point_of_end[static_cast<size_t>(start) * 2 + end], start)) reached_back = true;
    }
    // A line taken at one of the start's points is connected to the start in turn.
    if (reached_back) take(start, context);
    while (!work.empty()) {
        const int32_t line = work.back();
        work.pop_back();
        for (int end = 0; end < 2; ++end) follow(index.point_of_end[static_cast<size_t>(line) * 2 + end], line);
    }
}

}  // namespace velmora
