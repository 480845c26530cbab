#include "view/preview_state.h"

namespace velmora {

PreviewState g_preview = {kGestureNone, 1.0, {1.0, 0.0, 0.0}, false, {0, 0}, {0, 0}, false, false, kNoBand, false};

void ResetPreviewState() {
    g_preview = PreviewState{kGestureNone, 1.0, {1.0, 0.0, 0.0}, false, {0, 0}, {0, 0}, false, false, kNoBand, false};
}

}  // namespace velmora
