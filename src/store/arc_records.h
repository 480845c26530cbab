// Arcs (circles, arcs of circles and ellipses) of the page being converted: a table of their
// own beside the line table, with the same attribute header as LineRecord.
#pragma once

#include <cstdint>

#include "store/capacities.h"

namespace velmora {

inline constexpr int kArcCapacity = 100000;  // ArcRecords of one page; an arc past it stays lines

struct ArcRecord {
    int32_t group_number;   // the figure number of the curve pieces it replaces
    uint8_t pen_style;
    int16_t pen_colour;
    int16_t pen_width;      // always 0
    int16_t layer;
    int16_t layer_group;
    int16_t flags;          // always 0
    double centre_x, centre_y;  // page frame, points
    double radius;          // the semi-axis along `tilt`, points
    double start_angle;     // radians, counter-clockwise, 0 <= start < 2 pi
    double sweep;           // radians, counter-clockwise, 0 < sweep <= 2 pi
    double tilt;            // radians: direction of the `radius` axis
    double flatness;        // the other semi-axis / radius; 1 for a circle
    int32_t full_circle;    // 1 when closed through 360 degrees
    int32_t width_class;    // line width x 10, truncated toward zero, as for lines
    int32_t page_number;    // 1-based
    // Where the curve itself began and ended, bit for bit as the records beside it end (the
    // computed ends differ in the last bits): the layer tool connects figures through these.
    double end_x[2], end_y[2];
};

struct ArcTable {
    ArcRecord records[kArcCapacity];
    int32_t count;
    int32_t page_arcs[kPageTableSize];  // arcs of each page converted since the file was opened
};

extern ArcTable g_arcs;

// The current page's arc records that may be read.
inline int32_t ReadableArcCount() {
    return g_arcs.count < 0 ? 0 : (g_arcs.count < kArcCapacity ? g_arcs.count : kArcCapacity);
}

// The table emptied and every page's arc count forgotten (a new file).
void ResetArcsForFile();
// Notes the current table as page `page`'s arcs (after its scan).
void NotePageArcs(int page);

// A point of the arc at parameter angle `theta` (radians), page frame.
void ArcPointAt(const ArcRecord& arc, double theta, double* x, double* y);
inline void ArcStartPoint(const ArcRecord& arc, double* x, double* y) { ArcPointAt(arc, arc.start_angle, x, y); }
inline void ArcEndPoint(const ArcRecord& arc, double* x, double* y) {
    ArcPointAt(arc, arc.start_angle + arc.sweep, x, y);
}

}  // namespace velmora
