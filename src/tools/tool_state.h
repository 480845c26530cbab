// What the tools keep between window messages for the file in hand: how far the scale pick has
// got, the distance typed last, and which tool is open. A new file starts them afresh.
#pragma once

#include <cstdint>

namespace velmora {

enum class ScalePickState : int32_t {
    kIdle = 0,
    kFirstPointHeld = 1,
    kBothPointsHeld = 2,
};

enum class LayerToolMode : int32_t {
    kClosed = 0,
    kOpen = 1,
};

// The question whether to use the scale the PDF states: not asked yet in this file, or answered.
enum class StatedScaleOffer : int32_t {
    kNotAsked = 0,
    kAccepted = 1,
    kDeclined = 2,
};

struct ToolState {
    ScalePickState scale_pick;
    double last_entered_distance;  // millimetres, offered by the next distance dialog
    LayerToolMode layer_mode;
    bool layer_moved;              // the layer tool moved lines on this page
    bool pen_dialog_shown;
    StatedScaleOffer stated_scale_offer;
};

extern ToolState g_tool_state;

inline bool LayerToolOpen() { return g_tool_state.layer_mode == LayerToolMode::kOpen; }
inline bool FirstScalePointHeld() { return g_tool_state.scale_pick == ScalePickState::kFirstPointHeld; }

// The start values a newly opened file gets.
void ResetToolsForFile();

}  // namespace velmora
