// Which lines meet at an end point, found without comparing every line with every other: each
// distinct end point of the lines taking part is filed once in a hash table keyed on the bit
// patterns of its two coordinates (so equal doubles meet and points one bit apart do not), with
// the list of lines that end there. A walk follows the shared end points with a work list, so a
// connected set of any size is handled without recursion, and each point's list is read at most
// once however many lines meet there.
#pragma once

#include <cstdint>
#include <vector>

#include "store/records.h"

namespace velmora {

struct EndPointIndex {
    int32_t line_count = 0;
    uint32_t slot_mask = 0;
    std::vector<int32_t> slots;          // hash slots: a point number, or -1
    std::vector<double> point_x, point_y;
    std::vector<int32_t> point_of_end;   // per line * 2 + end: its point, or -1 (not filed)
    std::vector<int32_t> first_member;   // per point: where its lines start in `members`
    std::vector<int32_t> members;        // lines by point
    std::vector<uint8_t> followed;       // per point: its lines were offered from a taken line
    std::vector<int32_t> work;           // lines taken whose end points are still to follow
};

// Files the end points of lines 0..count-1 for which `files(line, context)` holds. Points with
// a coordinate that is not a number are not filed (they equal nothing).
void BuildEndPointIndex(EndPointIndex& index, const LineRecord* lines, int32_t count,
                        bool (*files)(int32_t line, void* context), void* context);
// The same for members 0..count-1 of any kind: `ends_of(member, context, xs, ys)` gives a member's
// two end points, or false when it is not filed.
void BuildEndPointIndex(EndPointIndex& index, int32_t count,
                        bool (*ends_of)(int32_t member, void* context, double xs[2], double ys[2]), void* context);

// Starting from `start`, offers `take(line, context)` every filed line that shares an end point
// with `start` (not `start` itself), and then every filed line that shares one with a line taken
// so far; `start` itself is offered once a line at one of its points was taken. `take` returns
// true when it took the line, and must not take a line twice. Walks on one index share its
// followed points: a point followed by an earlier walk is not offered again.
void FollowConnections(EndPointIndex& index, int32_t start, bool (*take)(int32_t line, void* context),
                       void* context);

}  // namespace velmora
