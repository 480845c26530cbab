// Curve pieces that trace a circle or an ellipse kept as one arc instead of ten straight pieces
// each. The path builder hands over every cubic of a subpath as it is emitted; when the run of
// cubics ends, the runs that fit an ellipse lose their line records and become ArcRecords.
#pragma once

#include <cstdint>

#include "content/graphics_state.h"
#include "store/arc_records.h"

namespace velmora {

inline constexpr int kArcRunCapacity = 64;  // cubics of one run examined together

// A cubic's four control points in the page frame.
struct CubicPiece {
    Point p[4];
};

// The fit of pieces[first..last] to one ellipse arc. Accepted only when every check point of
// the pieces (17 per cubic) lies within ArcTolerance(radius) of the ellipse.
struct ArcFit {
    bool ok;
    ArcRecord arc;        // geometry only: centre, radius, angles, tilt, flatness, full circle
    double deviation;     // the largest distance of a check point from the arc, points
};

// The accepted distance between a curve and its arc: 0.2 % of the major radius, at most
// 0.25 pt (0.09 mm on paper). The usual four-cubic circle (handle 0.5523) is off by 0.027 %.
double ArcTolerance(double radius);

ArcFit FitArc(const CubicPiece* pieces, int count);

// Measures of the current run of a conversion (cleared with the page).
struct ArcStatistics {
    int64_t curve_pieces;     // cubics seen while arcs were on
    int64_t arc_pieces;       // of them, replaced by arcs
    int64_t arcs;             // arcs stored
    double largest_deviation; // points
};
extern ArcStatistics g_arc_statistics;

// Called by the path builder (each does nothing unless the ARC setting is on).
void ArcNotePathStart();
void ArcNoteSubpathStart();
// A cubic already mapped by the CTM; its ten pieces were just emitted from `first_line`.
void ArcAddCurve(const Point control[4], int32_t first_line, int page);
// The run of cubics ends: the pieces that fit arcs are replaced by arcs.
void ArcEndRun();
// n and f* take back a whole path or its last subpath: their arcs go too.
void ArcTakeBack(bool whole_path);
void ArcResetForPageScan();

}  // namespace velmora
