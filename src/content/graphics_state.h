// The graphics state the scanner keeps: the matrix stack applied to path points (CtmStack) and
// the matrices kept for text placement (CmMatrix, AccumMatrix, TextBaseMatrix).
#pragma once

#include <cstdint>

#include "content/colour_state.h"

namespace velmora {

// Page level and 63 nested q levels. Producers nest 19 levels inside a form placed under two
// more; levels beyond the stack would share its last entry and keep each other's cm.
inline constexpr int kCtmStackCapacity = 64;
inline constexpr int kSavedStateCapacity = 64;     // entries of the SavedStateStack
inline constexpr int32_t kMaxTrackedDepth = 1000000;  // q levels counted beyond the stacks

struct Matrix {
    double a, b, c, d, e, f;  // (x, y) maps to (a·x + c·y + e, b·x + d·y + f)
};
inline constexpr Matrix kIdentityMatrix = {1.0, 0.0, 0.0, 1.0, 0.0, 0.0};

struct Point {
    double x, y;
};

struct CtmEntry {
    Matrix matrix;  // every cm of the level and the levels below, multiplied in order
};

struct SavedState {
    Matrix cm_matrix;
    Matrix accum_matrix;
    int32_t accum_kind;
    ColourState colours;
};

struct GraphicsState {
    CtmEntry ctm[kCtmStackCapacity];
    int32_t ctm_depth;          // q levels above the page level, also those beyond the stack
    SavedState saved[kSavedStateCapacity];
    int32_t saved_depth;        // likewise counted beyond the stack
    Matrix cm_matrix;           // operands of the last cm
    Matrix accum_matrix;        // cm operands composed element by element
    int32_t accum_kind;
    Matrix text_base_matrix;    // AccumMatrix as it stood at the last q or Q
    ColourState colours;        // fill and stroke colours, saved and restored by q and Q
};

extern GraphicsState g_graphics;

// 1, 2 or 3 as the table of kinds decides (kind 0 only marks an entry no cm has touched).
int32_t MatrixKind(const Matrix& m);

// Start of a page scan: empty stacks, every matrix the identity.
void ResetGraphicsState();
void SaveGraphicsState();     // q
void RestoreGraphicsState();  // Q
void ConcatenateMatrix(const Matrix& operands);  // cm

// A path point through the top CtmStack entry.
Point ApplyCtm(double x, double y);
// The top CtmStack entry: user space to the page's default space.
const Matrix& CurrentCtm();
// m × n: a point mapped by the result is mapped by m first, then by n (cm gives CTM' = M × CTM).
Matrix Multiply(const Matrix& m, const Matrix& n);

// The pen style of d (1, 3 or 5) follows the number of dash numbers, phase included, not their
// values; inside a text object too.
int32_t PenStyleForDash(int32_t numbers);

Point ApplyFull(const Matrix& m, Point p);
Point ApplyLinear(const Matrix& m, Point p);

}  // namespace velmora
