// A fresh store holding a converted page 1 of `pages` A4 pages, and the drawing tools' own
// program-wide state as the program starts: no scale point held, "この頁だけ" chosen, the pen
// dialog closed.
#pragma once

#include <string>

#include "support/page_records.h"
#include "support/store_fixture.h"
#include "tools/choice_flags.h"
#include "tools/pen_change.h"
#include "tools/scale_pick.h"

namespace velmora {

class ToolTest : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        g_scale_pick = ScalePick{};
        for (int i = 0; i < kPenChoiceCount; ++i) g_pen_choice[i] = (i == 0);
        g_pen_selection = PenSelection{0, 0};
        UsePages(1);
    }

    static void UsePages(int pages) {
        g_store.page_count = pages;
        g_store.current_page = 1;
        for (int page = 1; page <= pages; ++page) test_support::SetMediaBox(0, 0, 595, 842, page);
    }

    // A line of the given layer group, layer and pen (width class 0 unless set).
    static LineRecord& AddLayerLine(int group, int layer, int pen, double x1, double y1, double x2, double y2) {
        LineRecord& line = test_support::AddLine(x1, y1, x2, y2);
        line.layer_group = static_cast<int16_t>(group);
        line.layer = static_cast<int16_t>(layer);
        line.pen_colour = static_cast<int16_t>(pen);
        return line;
    }

    static std::string LastMessage() {
        if (g_test_seam.messages.empty()) return "";
        return g_test_seam.messages.back().title + ": " + g_test_seam.messages.back().text;
    }
};

}  // namespace velmora
