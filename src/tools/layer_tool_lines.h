// What the layer tool's operations share: which lines and arcs take part, a recorded change of
// state, and the end point index of the items taking part (built once per operation).
#pragma once

#include <cstdint>

#include "store/arc_records.h"
#include "store/document_store.h"
#include "tools/end_point_index.h"
#include "tools/layer_tool.h"

namespace velmora {

// The fields of a line or arc item that the tool reads and rewrites.
struct ItemFields {
    uint8_t pen_style;
    int32_t page_number;
    int16_t* layer_group;
    int16_t* layer;
};

inline bool IsArcItem(int32_t item) { return item >= kArcItemBase; }
ItemFields FieldsOf(int32_t item);
// A line or arc of the current page's tables.
bool UsableItem(int32_t item);

// Every line item, then every arc item.
template <typename Visit>
void ForEachItem(Visit visit) {
    const int32_t lines = ReadableLineCount();
    for (int32_t i = 0; i < lines; ++i) visit(i);
    const int32_t arcs = ReadableArcCount();
    for (int32_t a = 0; a < arcs; ++a) visit(kArcItemBase + a);
}

// Solid, not merged away, and not unavailable: the items a pick, a rectangle or a mark can reach.
bool TakesPart(int32_t item);

// The item gets `state` and the change is recorded; `first` starts a new group.
void SetAndRecord(int32_t item, int8_t state, bool first);

// The end points of every item taking part now, filed afresh.
EndPointIndex& IndexItemsTakingPart();

// FollowConnections on that index from `item`, offering items to `take`.
void FollowFigure(EndPointIndex& index, int32_t item, bool (*take)(int32_t item, void* context), void* context);

}  // namespace velmora
