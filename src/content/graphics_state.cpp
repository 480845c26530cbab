#include "content/graphics_state.h"

namespace velmora {

GraphicsState g_graphics;

namespace {

// v² + 0.01 truncated toward zero equals 1; compared as a range so no value is ever cast.
bool IsUnit(double v) {
    const double square = v * v + 0.01;
    return square >= 1.0 && square < 2.0;
}

// The q levels beyond the stack share its last entry.
CtmEntry& TopCtmEntry() {
    const int32_t index = g_graphics.ctm_depth < kCtmStackCapacity ? g_graphics.ctm_depth : kCtmStackCapacity - 1;
    return g_graphics.ctm[index];
}

}  // namespace

int32_t MatrixKind(const Matrix& m) {
    if ((IsUnit(m.a) && m.b == 0 && m.c == 0 && IsUnit(m.d)) || (m.a == 0 && IsUnit(m.b) && IsUnit(m.c) && m.d == 0)) {
        return 1;
    }
    if (m.e == 0 && m.f == 0) {
        if ((m.b == 0 && m.c == 0) || (m.a == 0 && m.d == 0)) return 2;
        return 3;
    }
    return 1;
}

void ResetGraphicsState() {
    g_graphics.ctm_depth = 0;
    g_graphics.ctm[0] = CtmEntry{kIdentityMatrix};
    g_graphics.saved_depth = 0;
    g_graphics.cm_matrix = kIdentityMatrix;
    g_graphics.accum_matrix = kIdentityMatrix;
    g_graphics.accum_kind = 0;
    g_graphics.text_base_matrix = kIdentityMatrix;
    g_graphics.colours = kInitialColours;
}

void SaveGraphicsState() {
    GraphicsState& g = g_graphics;
    if (g.saved_depth < kSavedStateCapacity) {
        g.saved[g.saved_depth] = SavedState{g.cm_matrix, g.accum_matrix, g.accum_kind, g.colours};
    }
    if (g.saved_depth < kMaxTrackedDepth) ++g.saved_depth;
    g.text_base_matrix = g.accum_matrix;

    if (g.ctm_depth + 1 < kCtmStackCapacity) g.ctm[g.ctm_depth + 1] = g.ctm[g.ctm_depth];
    if (g.ctm_depth < kMaxTrackedDepth) ++g.ctm_depth;
}

void RestoreGraphicsState() {
    GraphicsState& g = g_graphics;
    // A Q without its q restores nothing: the page level has no saved state to go back to.
    if (g.saved_depth > 0) {
        --g.saved_depth;
        if (g.saved_depth < kSavedStateCapacity) {
            const SavedState& saved = g.saved[g.saved_depth];
            g.cm_matrix = saved.cm_matrix;
            g.accum_matrix = saved.accum_matrix;
            g.accum_kind = saved.accum_kind;
            g.colours = saved.colours;
        }
    }
    g.text_base_matrix = g.accum_matrix;
    if (g.ctm_depth > 0) --g.ctm_depth;
}

void ConcatenateMatrix(const Matrix& o) {
    GraphicsState& g = g_graphics;
    const int32_t kind = MatrixKind(o);
    g.accum_kind = kind;
    g.cm_matrix = o;
    if (kind == 3) {
        g.accum_matrix = o;
    } else {
        Matrix& A = g.accum_matrix;
        A = Matrix{A.a * o.a, A.b * o.b, A.c * o.c, A.d * o.d, A.e + o.e, A.f + o.f};
    }

    // The path matrix is the full product: rotated and skewed placements (0 1 -1 0 x y cm) are
    // as common as scaled ones.
    CtmEntry& top = TopCtmEntry();
    top.matrix = Multiply(o, top.matrix);
}

int32_t PenStyleForDash(int32_t numbers) {
    if (numbers >= 5) return 5;
    if (numbers >= 2) return 3;
    return 1;
}

Point ApplyFull(const Matrix& m, Point p) { return Point{m.a * p.x + m.c * p.y + m.e, m.b * p.x + m.d * p.y + m.f}; }

Point ApplyLinear(const Matrix& m, Point p) { return Point{m.a * p.x + m.c * p.y, m.b * p.x + m.d * p.y}; }

Point ApplyCtm(double x, double y) { return ApplyFull(TopCtmEntry().matrix, Point{x, y}); }

const Matrix& CurrentCtm() { return TopCtmEntry().matrix; }

Matrix Multiply(const Matrix& m, const Matrix& n) {
    return Matrix{m.a * n.a + m.b * n.c, m.a * n.b + m.b * n.d, m.c * n.a + m.d * n.c,
                  m.c * n.b + m.d * n.d, m.e * n.a + m.f * n.c + n.e, m.e * n.b + m.f * n.d + n.f};
}

}  // namespace velmora
