#include "view/preview_state.h"

#include "tools/tool_state.h"

namespace velmora {

PreviewState g_preview = {kGestureNone, 1.0, {1.0, 0.0, 0.0}, false, {0, 0}, {0, 0}, false, false, kNoBand, false, true};

void ResetPreviewState() {
    g_preview = PreviewState{kGestureNone, 1.0, {1.0, 0.0, 0.0}, false, {0, 0}, {0, 0}, false, false, kNoBand, false, true};
}

void ResetViewForFile() {
    g_current_view = ViewTransform{1.0, 0.0, 0.0};
    g_preview.fit_pending = true;
}

void ResetViewAndToolsForFile() {
    ResetViewForFile();
    ResetToolsForFile();
}

}  // namespace velmora
