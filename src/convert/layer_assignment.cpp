#include "convert/layer_assignment.h"

#include <cstdint>

#include "store/arc_records.h"
#include "store/document_store.h"
#include "settings/settings.h"
#include "store/solid_records.h"

namespace velmora {

namespace {

struct LayerPlace {
    int16_t layer;
    int16_t group;
};

// Moves a place `steps` layers further on, carrying into the next group as often as needed, so
// a layer never leaves 0..15 however many widths a page has.
LayerPlace Advance(LayerPlace place, int steps) {
    int layer = place.layer + steps;
    int group = place.group + layer / kLayersPerGroup;
    layer %= kLayersPerGroup;
    group %= kLayerGroupCount;
    return {static_cast<int16_t>(layer), static_cast<int16_t>(group)};
}

int WidthClass(int32_t width_class) {
    if (width_class < 0) return 1;  // as the program counts it: a negative class joins class 1
    if (width_class >= kWidthClassCount) return kWidthClassCount - 1;
    return width_class;
}

// Size x x 10 truncated, clamped to 0..300; NaN and infinities land at the ends, never in a cast.
int SizeClass(double size_x) {
    const double scaled = size_x * 10.0;
    if (!(scaled >= 0.0)) return 0;
    if (scaled >= kTextSizeClasses - 1) return kTextSizeClasses - 1;
    return static_cast<int>(scaled);
}

int RecordCount(int32_t count, int capacity) {
    if (count <= 0) return 0;
    return count < capacity ? count : capacity;
}

}  // namespace

void AssignLineLayers() {
    const int line_count = RecordCount(g_store.conversion.line_count, kLineCapacity);
    const int arc_count = ReadableArcCount();
    if (line_count == 0 && arc_count == 0) return;

    int32_t counts[kWidthClassCount] = {};
    for (int i = 0; i < line_count; ++i) ++counts[WidthClass(g_store.lines[i].width_class)];
    // Arcs are curve pieces kept whole: they count and go where the pieces would have gone.
    for (int i = 0; i < arc_count; ++i) ++counts[WidthClass(g_arcs.records[i].width_class)];
    int used = 0;
    for (int32_t count : counts) used += count > 0 ? 1 : 0;

    double step = kPenSpread / (used + 1);
    if (step >= 1.0) step = kSmallPenStep;

    LayerPlace places[kWidthClassCount] = {};
    int16_t pens[kWidthClassCount] = {};
    LayerPlace next = {0, kFirstLineLayerGroup};
    double acc = 0.0;
    for (int c = 0; c < kWidthClassCount; ++c) {
        if (counts[c] == 0) continue;
        // Accumulated, not multiplied, so the pens fall where the program puts them.
        acc += step;
        if (acc >= kPenSpread) acc = kLastPenSlot;
        places[c] = next;
        pens[c] = static_cast<int16_t>(g_settings.pen_order[static_cast<int>(acc)]);
        next = Advance(next, 1);
    }

    // Lines and arcs take one rule: the layer and pen of their width class, figures a group further.
    const auto place_by_width = [&](auto& record) {
        const int c = WidthClass(record.width_class);
        const LayerPlace place = record.group_number != 0 ? Advance(places[c], used + 1) : places[c];
        record.layer = place.layer;
        record.layer_group = place.group;
        record.pen_colour = pens[c];
    };
    for (int i = 0; i < line_count; ++i) place_by_width(g_store.lines[i]);
    for (int i = 0; i < arc_count; ++i) place_by_width(g_arcs.records[i]);
}

void AssignTextLayers() {
    const int text_count = RecordCount(g_store.conversion.text_count, kTextCapacity);
    if (text_count == 0) return;

    // A size class the histogram never saw keeps the place texts are created with.
    LayerPlace places[kTextSizeClasses];
    for (LayerPlace& place : places) place = {0, kFirstTextLayerGroup};
    LayerPlace next = {0, kFirstTextLayerGroup};
    for (int c = 0; c < kTextSizeClasses; ++c) {
        if (g_store.text_size_histogram[c] <= 0) continue;
        places[c] = next;
        next = Advance(next, 1);
    }

    for (int i = 0; i < text_count; ++i) {
        TextRecord& text = g_store.texts[i];
        const LayerPlace place = places[SizeClass(text.size_x)];
        text.layer = place.layer;
        text.layer_group = place.group;
    }
}

// One layer per distinct fill colour, in order of first appearance, on the layer groups that no
// line or text uses (from the last group down), so hiding a colour hides nothing else.
void AssignSolidLayers() {
    const int solid_count = ReadableSolidCount();
    if (solid_count == 0) return;
    bool group_used[kLayerGroupCount] = {};
    const int line_count = RecordCount(g_store.conversion.line_count, kLineCapacity);
    for (int i = 0; i < line_count; ++i) {
        const int g = g_store.lines[i].layer_group;
        if (g >= 0 && g < kLayerGroupCount) group_used[g] = true;
    }
    const int text_count = RecordCount(g_store.conversion.text_count, kTextCapacity);
    for (int i = 0; i < text_count; ++i) {
        const int g = g_store.texts[i].layer_group;
        if (g >= 0 && g < kLayerGroupCount) group_used[g] = true;
    }
    int16_t free_groups[kLayerGroupCount];
    int free_count = 0;
    for (int g = kLayerGroupCount - 1; g >= 0; --g) {
        if (!group_used[g]) free_groups[free_count++] = static_cast<int16_t>(g);
    }
    if (free_count == 0) free_groups[free_count++] = kLayerGroupCount - 1;  // every group taken: share the last
    // Colours beyond the free layers share them in turn.
    const int layers = free_count * kLayersPerGroup;
    uint32_t colours[kLayerGroupCount * kLayersPerGroup];
    int colour_count = 0;
    for (int i = 0; i < solid_count; ++i) {
        SolidRecord& solid = g_solids.records[i];
        int index = 0;
        while (index < colour_count && colours[index] != solid.colour) ++index;
        if (index == colour_count) {
            if (colour_count < layers) colours[colour_count++] = solid.colour;
            else index = static_cast<int>(solid.colour % static_cast<uint32_t>(layers));
        }
        solid.layer = static_cast<int16_t>(index % kLayersPerGroup);
        solid.layer_group = free_groups[index / kLayersPerGroup];
    }
}

}  // namespace velmora
