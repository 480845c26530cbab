// A fresh store with a page of 595 x 842 points, a fresh preview state and tool highlights, and
// a window of 800 x 600 pixels: the preview's tests start where an opened file does.
#pragma once

#include <cstring>

#include "store/file_names.h"
#include "support/page_records.h"
#include "support/recording_surface.h"
#include "support/store_fixture.h"
#include "tools/layer_tool.h"
#include "tools/pen_change.h"
#include "view/page_drawing.h"
#include "view/preview_state.h"

namespace velmora {

class PreviewTest : public StoreTest {
protected:
    static constexpr ClientSize kClient = {800, 600};

    void SetUp() override {
        StoreTest::SetUp();
        ResetPreviewState();
        g_layer_selection.shown_group = 0;
        g_layer_selection.shown_layer = 0;
        std::memset(g_layer_selection.state, 0, sizeof g_layer_selection.state);
        std::memset(g_layer_selection.mark, 0, sizeof g_layer_selection.mark);
        g_pen_selection = PenSelection{0, 0};
        g_file_names.pdf_path[0] = '\0';
        g_store.page_count = 1;
        test_support::SetMediaBox(0, 0, 595, 842);
    }

    // One WM_PAINT of the window.
    test_support::Recording Paint(ClientSize client = kClient) {
        test_support::Recording recording;
        PaintPreview(nullptr, test_support::RecordingSurface(&recording), client);
        return recording;
    }
};

}  // namespace velmora
