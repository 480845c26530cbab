// A filled path as quadrilaterals that cover exactly its filled area under nonzero or even-odd.
#pragma once

#include <cstdint>

#include "content/graphics_state.h"

namespace velmora {

// Work units (edge visits across beams) one fill may cost; a pathological path beyond it keeps
// the pieces found so far and is reported as cut.
inline constexpr int64_t kDecompositionWorkLimit = 20000000;

struct FillQuad {
    Point corner[4];  // a ring; a triangle has two equal corners
};

enum class FillRule { kNonZero, kEvenOdd };

struct DecompositionResult {
    int32_t quads;  // written to the output
    bool cut;       // the output or the work limit was reached
};

// Subpath s runs over points [ends[s-1], ends[s]) (ends[-1] = 0) and is closed implicitly.
// Calls the output with every piece in order of rising y.
using FillQuadSink = void (*)(const FillQuad& quad, void* context);
DecompositionResult DecomposeFill(const Point* points, const int32_t* subpath_ends, int32_t subpath_count, FillRule rule,
                                  FillQuadSink sink, void* context, int32_t max_quads);

// Twice the signed area of a ring of four corners (positive counter-clockwise).
double QuadArea(const FillQuad& quad);

}  // namespace velmora
