// The layer tool's red marks: lines of a length (bit 0) and lines and arcs connected to lines of a
// length (bit 1), and the two buttons that turn red items green or white.
#include "store/document_store.h"
#include "tools/layer_tool.h"
#include "tools/layer_tool_lines.h"
#include "tools/line_lengths.h"

namespace velmora {

namespace {

bool InEqualBand(double length, double l) { return kEqualBandLow * l <= length && length <= kEqualBandHigh * l; }

bool Meets(LengthCriterion criterion, double length, double l) {
    switch (criterion) {
        case LengthCriterion::Longer: return length >= kEqualBandHigh * l;
        case LengthCriterion::Equal: return InEqualBand(length, l);
        case LengthCriterion::Shorter: return length <= kEqualBandLow * l;
    }
    return false;
}

// The line whose length was just entered by a click would turn red with its equals; it is let go
// of first, as a change of its own.
void ReleaseLastClicked() {
    const LayerSelection& tool = g_layer_selection;
    const int32_t line = tool.last_clicked;
    if (line < 0 || line >= ReadableLineCount() || tool.state[line] != kLineGreen) return;
    const double length = g_store.lines[line].length;
    if (kClickedBandLow * tool.length <= length && length <= kClickedBandHigh * tool.length) {
        SetAndRecord(line, kLineWhite, true);
    }
}

bool TakeByConnection(int32_t item, void*) {
    uint8_t& mark = g_layer_selection.mark[item];
    if (mark & kMarkByConnection) return false;
    mark |= kMarkByConnection;
    return true;
}

// Every red item gets `state`, recorded as one group.
void SetRedLines(int8_t state) {
    bool first = true;
    ForEachItem([&](int32_t item) {
        if (g_layer_selection.mark[item] == 0) return;
        SetAndRecord(item, state, first);
        first = false;
    });
}

}  // namespace

bool ApplyLengthMarks(LengthCriterion criterion, bool checked) {
    LayerSelection& tool = g_layer_selection;
    if (!(tool.length > 0)) return false;
    ReleaseLastClicked();
    const int32_t count = ReadableLineCount();
    for (int32_t i = 0; i < count; ++i) {
        if (!TakesPart(i) || !Meets(criterion, g_store.lines[i].length, tool.length)) continue;
        if (checked) {
            tool.mark[i] |= kMarkByLength;
        } else {
            tool.mark[i] &= static_cast<uint8_t>(~kMarkByLength);
        }
    }
    return true;
}

bool ApplyConnectionMarks(bool checked) {
    LayerSelection& tool = g_layer_selection;
    if (!(tool.length > 0)) return false;
    if (!checked) {
        ForEachItem([&](int32_t item) { tool.mark[item] &= static_cast<uint8_t>(~kMarkByConnection); });
        return true;
    }
    ReleaseLastClicked();
    EndPointIndex& index = IndexItemsTakingPart();
    const int32_t count = ReadableLineCount();
    for (int32_t i = 0; i < count; ++i) {
        if (!TakesPart(i) || !InEqualBand(g_store.lines[i].length, tool.length)) continue;
        FollowFigure(index, i, TakeByConnection, nullptr);
    }
    return true;
}

void SelectRedLines() {
    SetRedLines(kLineGreen);
    ClearMarks();
}

void ReleaseRedLines() {
    SetRedLines(kLineWhite);
    ClearMarks();
}

}  // namespace velmora
