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

// What the preview marks on a page whose scale was measured: the two picked points (drawing
// coordinates) and the distance the user entered for them (millimetres; 0 = none).
struct ScaleMarks {
    double first_x, first_y;
    double second_x, second_y;
    double distance;
};

ScaleMarks PageScaleMarks(int page);
void SetPageScaleMarks(int page, const ScaleMarks& marks);

// No scale: 1/1 with the ratio 1, no picked points, no distance.
void ClearPageScale(int page);

}  // namespace velmora
