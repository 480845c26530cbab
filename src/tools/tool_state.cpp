#include "tools/tool_state.h"

namespace velmora {

ToolState g_tool_state;

namespace {
// The distance dialog's first offer: a metre, a common length to measure on a plan.
constexpr double kFirstOfferedDistance = 1000.0;
}  // namespace

void ResetToolsForFile() {
    g_tool_state.scale_pick = ScalePickState::kIdle;
    g_tool_state.last_entered_distance = kFirstOfferedDistance;
    g_tool_state.layer_mode = LayerToolMode::kClosed;
    g_tool_state.layer_moved = false;
    g_tool_state.pen_dialog_shown = false;
    g_tool_state.stated_scale_offer = StatedScaleOffer::kNotAsked;
}

}  // namespace velmora
