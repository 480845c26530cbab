// Giving a page its drawing scale: the one place that writes a page's scale fields, for the
// window's scale tool and for velmora-convert's --scale.
#pragma once

#include <cstdint>

namespace velmora {

// Page `page` gets the scale 1/`denominator` and the unrounded ratio of real size to paper
// size; the JWW writer takes the denominator as the drawing's scale and scales the geometry by
// ratio / denominator. Pages outside the table are left alone.
void SetPageScale(int page, int32_t denominator, double ratio);

// A scale given as 1/N by the user, without measuring: the ratio is N, so the geometry keeps its
// paper size and the drawing says 1/N.
void SetGivenPageScale(int page, int32_t denominator);

}  // namespace velmora
