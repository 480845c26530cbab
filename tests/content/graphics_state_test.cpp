// Matrix kinds, cm as the full matrix product on the path matrix, the text matrices' element-wise
// composition, and q/Q over both stacks.
#include <gtest/gtest.h>

#include "content/graphics_state.h"

namespace velmora {
namespace {

class GraphicsStateTest : public ::testing::Test {
protected:
    void SetUp() override { ResetGraphicsState(); }

    static void ExpectPoint(Point p, double x, double y) {
        EXPECT_DOUBLE_EQ(p.x, x);
        EXPECT_DOUBLE_EQ(p.y, y);
    }
    static void ExpectMatrix(const Matrix& m, const Matrix& expected) {
        EXPECT_DOUBLE_EQ(m.a, expected.a);
        EXPECT_DOUBLE_EQ(m.b, expected.b);
        EXPECT_DOUBLE_EQ(m.c, expected.c);
        EXPECT_DOUBLE_EQ(m.d, expected.d);
        EXPECT_DOUBLE_EQ(m.e, expected.e);
        EXPECT_DOUBLE_EQ(m.f, expected.f);
    }
};

TEST_F(GraphicsStateTest, KindsFollowTheTableInOrder) {
    struct Case {
        Matrix m;
        int32_t kind;
    } cases[] = {
        {{1, 0, 0, 1, 0, 0}, 1},        // unit scale wins before the translation-free rows
        {{-1, 0, 0, 1, 5, 5}, 1},
        {{0.995, 0, 0, -1.4, 0, 0}, 1}, // 0.99 <= v² + 0.01 < 2 counts as unit
        {{0, 1, -1, 0, 0, 0}, 1},       // a quarter turn
        {{2, 0, 0, 2, 0, 0}, 2},
        {{0, 3, 3, 0, 0, 0}, 2},
        {{0.99, 0, 0, 1, 0, 0}, 2},     // 0.99² + 0.01 = 0.9901 is not unit
        {{1.5, 0, 0, 1, 0, 0}, 2},      // 1.5² + 0.01 = 2.26 is not unit
        {{2, 1, 1, 2, 0, 0}, 3},
        {{0, 1, 2, 3, 0, 0}, 3},
        {{2, 0, 0, 2, 100, 50}, 1},
        {{2, 1, 1, 2, 0, 7}, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MatrixKind(c.m), c.kind) << c.m.a << " " << c.m.b << " " << c.m.c << " " << c.m.d << " "
                                           << c.m.e << " " << c.m.f;
    }
}

TEST_F(GraphicsStateTest, NoCmLeavesPointsAsTheyAre) {
    ExpectMatrix(CurrentCtm(), kIdentityMatrix);
    ExpectPoint(ApplyCtm(3, 4), 3, 4);
}

TEST_F(GraphicsStateTest, KindOneMapsInFull) {
    ConcatenateMatrix(Matrix{2, 0, 0, 2, 100, 50});
    ExpectPoint(ApplyCtm(10, 10), 120, 70);
    ExpectPoint(ApplyCtm(20, 10), 140, 70);
}

TEST_F(GraphicsStateTest, ALinearCmKeepsTheTranslationBeforeIt) {
    ConcatenateMatrix(Matrix{1, 0, 0, 1, 100, 100});
    ConcatenateMatrix(Matrix{2, 0, 0, 2, 0, 0});
    ExpectMatrix(g_graphics.ctm[0].matrix, Matrix{2, 0, 0, 2, 100, 100});
    ExpectPoint(ApplyCtm(10, 10), 120, 120);
    ExpectPoint(ApplyCtm(20, 10), 140, 120);
}

TEST_F(GraphicsStateTest, KindThreeMapsInFullAndReplacesTheAccumMatrix) {
    ConcatenateMatrix(Matrix{1, 0, 0, 1, 30, 40});
    ConcatenateMatrix(Matrix{2, 1, 1, 2, 0, 0});
    EXPECT_EQ(g_graphics.accum_kind, 3);
    ExpectMatrix(g_graphics.accum_matrix, Matrix{2, 1, 1, 2, 0, 0});
    ExpectMatrix(g_graphics.cm_matrix, Matrix{2, 1, 1, 2, 0, 0});
    // The path matrix is the product (2, 1, 1, 2, 30, 40).
    ExpectPoint(ApplyCtm(1, 1), 33, 43);
}

TEST_F(GraphicsStateTest, APathMatrixIsTheProductOfRotationsScalesAndSkews) {
    ConcatenateMatrix(Matrix{2, 0, 0, 3, 0, 0});
    ConcatenateMatrix(Matrix{0, 1, -1, 0, 4, 5});
    // (1, 1) turns to (3, 6) by the quarter turn, then scales to (6, 18).
    ExpectMatrix(g_graphics.ctm[0].matrix, Matrix{0, 3, -2, 0, 8, 15});
    ExpectPoint(ApplyCtm(1, 1), 6, 18);
    // The text matrices keep their element-wise composition.
    ExpectMatrix(g_graphics.accum_matrix, Matrix{0, 0, 0, 0, 4, 5});

    ResetGraphicsState();
    ConcatenateMatrix(Matrix{1, 0, 0.5, 1, 0, 0});   // a skew
    ConcatenateMatrix(Matrix{0, -1, 1, 0, 0, 100});  // a quarter turn the other way
    // (10, 0) turns to (0, 90), then skews to (45, 90).
    ExpectPoint(ApplyCtm(10, 0), 45, 90);
}

TEST_F(GraphicsStateTest, TranslationIsComposedWithTheCoefficientsBeforeTheUpdate) {
    ConcatenateMatrix(Matrix{2, 0, 0, 3, 10, 20});
    ConcatenateMatrix(Matrix{1, 0, 0, 1, 5, 5});
    ExpectMatrix(g_graphics.ctm[0].matrix, Matrix{2, 0, 0, 3, 20, 35});
    // AccumMatrix multiplies the coefficients and adds the translations.
    ExpectMatrix(g_graphics.accum_matrix, Matrix{2, 0, 0, 3, 15, 25});
}

TEST_F(GraphicsStateTest, QRestoresThePathMatrixAndTheTextMatrices) {
    ConcatenateMatrix(Matrix{1, 0, 0, 1, 7, 8});
    SaveGraphicsState();
    ExpectMatrix(g_graphics.text_base_matrix, Matrix{1, 0, 0, 1, 7, 8});
    ConcatenateMatrix(Matrix{2, 0, 0, 2, 0, 0});
    ExpectPoint(ApplyCtm(10, 10), 27, 28);
    EXPECT_EQ(g_graphics.accum_kind, 2);
    RestoreGraphicsState();
    ExpectPoint(ApplyCtm(10, 10), 17, 18);
    EXPECT_EQ(g_graphics.accum_kind, 1);
    ExpectMatrix(g_graphics.cm_matrix, Matrix{1, 0, 0, 1, 7, 8});
    ExpectMatrix(g_graphics.accum_matrix, Matrix{1, 0, 0, 1, 7, 8});
    ExpectMatrix(g_graphics.text_base_matrix, Matrix{1, 0, 0, 1, 7, 8});
}

TEST_F(GraphicsStateTest, NineteenNestedLevelsEachRestoreTheirOwnMatrix) {
    for (int level = 1; level < kCtmStackCapacity; ++level) {
        SaveGraphicsState();
        ConcatenateMatrix(Matrix{1, 0, 0, 1, 1, 0});
    }
    ExpectPoint(ApplyCtm(0, 0), kCtmStackCapacity - 1, 0);
    for (int level = kCtmStackCapacity - 1; level >= 1; --level) {
        RestoreGraphicsState();
        ExpectPoint(ApplyCtm(0, 0), level - 1, 0);
        EXPECT_DOUBLE_EQ(g_graphics.accum_matrix.e, level - 1);
    }
}

TEST_F(GraphicsStateTest, NestingDeeperThanTheStacksStaysBalanced) {
    ConcatenateMatrix(Matrix{1, 0, 0, 1, 5, 0});
    SaveGraphicsState();
    ConcatenateMatrix(Matrix{1, 0, 0, 1, 5, 0});
    for (int i = 0; i < 3 * kCtmStackCapacity; ++i) {
        SaveGraphicsState();
        ConcatenateMatrix(Matrix{3, 0, 0, 3, 0, 0});
    }
    for (int i = 0; i < 3 * kCtmStackCapacity; ++i) RestoreGraphicsState();
    // The levels within the stacks are back as they were.
    ExpectPoint(ApplyCtm(0, 0), 10, 0);
    EXPECT_DOUBLE_EQ(g_graphics.accum_matrix.e, 10);
    RestoreGraphicsState();
    ExpectPoint(ApplyCtm(0, 0), 5, 0);
    EXPECT_DOUBLE_EQ(g_graphics.accum_matrix.e, 5);
}

TEST_F(GraphicsStateTest, QWithoutQKeepsThePageLevel) {
    ConcatenateMatrix(Matrix{2, 0, 0, 2, 0, 0});
    RestoreGraphicsState();
    RestoreGraphicsState();
    ExpectPoint(ApplyCtm(1, 1), 2, 2);
    ExpectMatrix(g_graphics.accum_matrix, Matrix{2, 0, 0, 2, 0, 0});
    ExpectMatrix(g_graphics.text_base_matrix, Matrix{2, 0, 0, 2, 0, 0});
    EXPECT_EQ(g_graphics.saved_depth, 0);
    EXPECT_EQ(g_graphics.ctm_depth, 0);
}

}  // namespace
}  // namespace velmora
