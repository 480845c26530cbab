// Path operators: segments are emitted as they are built (l, c, v, y, re); painting only adds a
// closing segment (h, S, f, F) or takes records back (the whole path: n after W or h; the last
// subpath: f*).
#pragma once

#include <cstdint>

#include "content/fill_decomposition.h"
#include "content/graphics_state.h"

namespace velmora {

inline constexpr int32_t kPathPointCapacity = 9999;  // points 1..9999
inline constexpr int32_t kPathFullCount = 9998;      // the count is held here once the list is full
inline constexpr int kCurvePieces = 10;

enum PathState : int32_t { kNoPath = 0, kSubpathStarted = 1, kPathClosed = 2 };

struct PathList {
    Point points[kPathPointCapacity + 1];  // index 0 unused
    int32_t count;
    int32_t state;            // PathState
    Point current;            // untransformed user space
    Point last_end;           // end of the last l, c, v, y or re; new curve figures are told by it
    bool has_records;         // a construction operator ran since the path was last cleared
    int32_t first_record;     // the line count when it did: the path's records follow it
    int32_t subpath_first_record;  // the line count at the last m or re
};

extern PathList g_path;

// Start of a page scan. A full list keeps its count at 9998 and its points.
void ResetPathForPageScan();

void PathMoveTo(double x, double y);                                                     // m
void PathLineTo(double x, double y, int page);                                           // l
void PathCurveTo(double x1, double y1, double x2, double y2, double x3, double y3, int page);  // c
void PathCurveV(double x2, double y2, double x3, double y3, int page);                   // v
void PathCurveY(double x1, double y1, double x3, double y3, int page);                   // y
void PathRectangle(double x, double y, double w, double h, int page);                    // re
void PathClose(int page);       // h
void PathStroke(int page);      // S
void PathEndNoPaint();          // n
void PathClip();                // W, W*
void PathFill(int page);        // f, F
void PathFillEvenOdd();         // f*
// While fills become solids: f, F, f* (not stroked) and B, B*, b, b* (stroked, their outline kept).
void PathFillAsSolids(int page, FillRule rule, bool stroked);
// B, B*, b, b* while fills become solids; false for every other token (and with the setting off).
bool RunFillAndStroke(const char* token, int page);

}  // namespace velmora
