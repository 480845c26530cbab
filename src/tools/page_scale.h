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

// The scale the PDF states for the page (its viewport measure, else a printed scale): a measure
// keeps its exact ratio under the rounded denominator, a printed 1/N is given as 1/N. False, and
// the page left as it is, when the page states none.
bool ApplyStatedScale(int page);

// No scale: 1/1 with the ratio 1, no picked points, no distance.
void ClearPageScale(int page);

}  // namespace velmora
