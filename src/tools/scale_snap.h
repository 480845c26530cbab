// Snapping a picked point of the scale setting to the drawing: the nearest line end point or
// line crossing within a square of half-width r (10 pixels in drawing units) around the mouse.
#pragma once

namespace velmora {

// Candidates collected at most per search; further ones are ignored.
inline constexpr int kSnapCandidateLimit = 1000;
// Line pairs whose direction cross product lies strictly inside this bound count as parallel.
inline constexpr double kParallelLimit = 0.01;

// The mouse in drawing coordinates and the half-width r of the square searched around it.
struct SnapArea {
    double x;
    double y;
    double half_width;
};

// The nearest end point of a line of the current page (merged-away lines excluded) strictly
// inside the square. It must be strictly nearer than *best (squared distance); on a tie the
// earlier one wins, and when none is nearer the first found is taken. *best becomes its
// squared distance. False when no end point lies in the square.
bool SnapToEndPoint(const SnapArea& area, double* x, double* y, double* best);

// The nearest crossing of two line segments that both pass strictly within r of the mouse, the
// crossing itself strictly inside the square and strictly nearer than `best`. Every line takes
// part, merged-away ones too.
bool SnapToIntersection(const SnapArea& area, double* x, double* y, double best);

// One picked point: a crossing when it is strictly nearer than every end point in the square,
// else the nearest end point. False when neither lies in the square.
bool TakeScalePoint(const SnapArea& area, double* x, double* y);

}  // namespace velmora
