// The layer tool open on a page built line by line: lines in given layers, rectangles, chains,
// and the tool's selection read back.
#pragma once

#include <vector>

#include "support/page_records.h"
#include "support/preview_fixture.h"
#include "tools/layer_tool.h"

namespace velmora {

class LayerToolTest : public PreviewTest {
protected:
    void SetUp() override {
        PreviewTest::SetUp();
        ResetSelectionHistory();
    }
    void TearDown() override {
        CloseLayerTool();
        PreviewTest::TearDown();
    }

    // A solid line in group `group`, layer `layer`; its index.
    static int Line(double x1, double y1, double x2, double y2, int group = 0, int layer = 0) {
        LineRecord& line = test_support::AddLine(x1, y1, x2, y2);
        line.layer_group = static_cast<int16_t>(group);
        line.layer = static_cast<int16_t>(layer);
        return g_store.conversion.line_count - 1;
    }
    // The four sides of a rectangle, corner to corner; the first side's index.
    static int Rectangle(double x, double y, double width, double height, int group = 0, int layer = 0) {
        const int first = Line(x, y, x + width, y, group, layer);
        Line(x + width, y, x + width, y - height, group, layer);
        Line(x + width, y - height, x, y - height, group, layer);
        Line(x, y - height, x, y, group, layer);
        return first;
    }
    // `count` segments end to end, each `step` long, going right and down in turns; the first's index.
    static int Chain(double x, double y, int count, double step, int group = 0, int layer = 0) {
        const int first = g_store.conversion.line_count;
        for (int i = 0; i < count; ++i) {
            const double nx = i % 2 == 0 ? x + step : x;
            const double ny = i % 2 == 0 ? y : y - step;
            Line(x, y, nx, ny, group, layer);
            x = nx;
            y = ny;
        }
        return first;
    }

    static int8_t State(int line) { return g_layer_selection.state[line]; }
    static uint8_t Mark(int line) { return g_layer_selection.mark[line]; }
    // The lines in `state`, in order.
    static std::vector<int> LinesIn(int8_t state) {
        std::vector<int> found;
        for (int i = 0; i < g_store.conversion.line_count; ++i) {
            if (g_layer_selection.state[i] == state) found.push_back(i);
        }
        return found;
    }
    static std::vector<int> Marked() {
        std::vector<int> found;
        for (int i = 0; i < g_store.conversion.line_count; ++i) {
            if (g_layer_selection.mark[i] != 0) found.push_back(i);
        }
        return found;
    }
    // The length L the user entered, in millimetres (the lines are measured at 1/1).
    static void EnterLength(double points) { g_layer_selection.length = points * kMmPerPoint; }
};

}  // namespace velmora
