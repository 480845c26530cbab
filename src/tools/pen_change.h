// The pen change dialog's choice that the preview highlights: the selected group and layer.
#pragma once

#include <cstdint>

namespace velmora {

struct PenSelection {
    int32_t group;
    int32_t layer;
};

extern PenSelection g_pen_selection;

}  // namespace velmora
