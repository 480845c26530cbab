// Paths to line records: what each construction and painting operator leaves in the line table.
#include <string>

#include "content_fixture.h"

namespace velmora {
namespace {

using PathTest = ContentTest;

std::string Repeat(const std::string& piece, int times) {
    std::string out;
    out.reserve(piece.size() * static_cast<size_t>(times));
    for (int i = 0; i < times; ++i) out += piece;
    return out;
}

TEST_F(PathTest, TriangleClosedByHAndStrokedGetsTheClosingSegmentTwice) {
    Scan("0 0 m 10 0 l 10 10 l 5 15 l h S\n");
    ASSERT_EQ(Lines(), 5);
    ExpectLine(0, 0, 0, 10, 0);
    ExpectLine(2, 10, 10, 5, 15);
    ExpectLine(3, 0, 0, 5, 15);
    ExpectLine(4, 0, 0, 5, 15);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(Line(i).group_number, 0);
}

TEST_F(PathTest, RectangleStrokedOrFilledGivesFourGroupedSidesAndAPoint) {
    for (const char* paint : {"S", "f", "F"}) {
        Scan(std::string("10 20 30 40 re ") + paint + "\n");
        ASSERT_EQ(Lines(), 5) << paint;
        ExpectLine(0, 10, 20, 10, 60);
        ExpectLine(1, 10, 60, 40, 60);
        ExpectLine(2, 40, 60, 40, 20);
        ExpectLine(3, 40, 20, 10, 20);
        ExpectLine(4, 10, 20, 10, 20);
        EXPECT_GT(Line(0).group_number, 0);
        for (int i = 1; i < 4; ++i) EXPECT_EQ(Line(i).group_number, Line(0).group_number);
        EXPECT_EQ(Line(4).group_number, 0);
    }
}

TEST_F(PathTest, ClippingPathsAreTakenBack) {
    Scan("5 5 m 9 9 l S 0 0 100 100 re W n\n");
    ASSERT_EQ(Lines(), 1);
    ExpectLine(0, 5, 5, 9, 9);
    Scan("0 0 m 10 0 l 10 10 l 0 10 l h W n\n");
    EXPECT_EQ(Lines(), 0);
}

TEST_F(PathTest, AClipPathIsTakenBackWholeCurvesAndSubpathsToo) {
    Scan("0 0 m 0 5 5 10 10 10 c 15 10 20 5 20 0 c 20 -5 15 -10 10 -10 c 5 -10 0 -5 0 0 c h W n\n");
    // 41 records (4 × 10 pieces and the closing h), all taken back; the page keeps counting them.
    EXPECT_EQ(g_store.pages[1].line_count, 41);
    EXPECT_EQ(Lines(), 0);

    // W* is a clip like W; both subpaths go, the stroke before them stays.
    Scan("5 5 m 9 9 l S 0 0 m 10 0 l 10 10 l h 2 2 m 4 2 5 5 y 0 0 100 100 re W* n 1 1 m 2 2 l S\n");
    ASSERT_EQ(Lines(), 2);
    ExpectLine(0, 5, 5, 9, 9);
    ExpectLine(1, 1, 1, 2, 2);
    EXPECT_EQ(Counter(kOpW), 1);
}

TEST_F(PathTest, EvenOddFillTakesTheLastSubpathBackWhileFillClosesIt) {
    Scan("0 0 m 10 0 l 10 10 l f*\n");
    EXPECT_EQ(Lines(), 0);
    EXPECT_EQ(g_store.conversion.total_segments, 2);
    // A curve's ten pieces go as a whole; the subpath before the last stays, and so does an
    // outline closed before a last m.
    Scan("0 0 m 5 0 l 20 20 m 0 5 5 10 10 10 c f* 0 0 m 10 0 l 10 10 l h 5 5 m f*\n");
    ASSERT_EQ(Lines(), 4);
    ExpectLine(0, 0, 0, 5, 0);
    ExpectLine(3, 0, 0, 10, 10);
    Scan("0 0 m 10 0 l 10 10 l f\n");
    ASSERT_EQ(Lines(), 3);
    ExpectLine(2, 0, 0, 10, 10);
}

TEST_F(PathTest, GroupNumbersTieCurvePiecesAndRectangleSides) {
    Scan("5 5 m 1 1 2 2 3 3 c 4 4 5 5 6 6 c 20 20 m 1 1 2 2 3 3 c 7 7 8 8 v 9 9 10 10 v 0 0 1 1 re 1 1 1 1 re S\n");
    ASSERT_EQ(Lines(), 3 * 10 + 2 * 10 + 2 * 4 + 1);
    const int first = Line(0).group_number;
    EXPECT_GT(first, 0);
    EXPECT_EQ(Line(9).group_number, first);
    EXPECT_EQ(Line(10).group_number, first);  // the second c starts where the first ended
    EXPECT_EQ(Line(19).group_number, first);
    EXPECT_EQ(Line(20).group_number, first + 1);  // a c after m starts a new figure
    EXPECT_EQ(Line(30).group_number, first + 2);  // every v is a figure of its own
    EXPECT_EQ(Line(40).group_number, first + 3);
    EXPECT_EQ(Line(50).group_number, first + 4);  // and so is every re
    EXPECT_EQ(Line(54).group_number, first + 5);

    // The counter belongs to the file: the next page goes on from here.
    Scan("5 5 m 1 1 2 2 v\n");
    EXPECT_EQ(Line(0).group_number, first + 6);
}

TEST_F(PathTest, CubicIsFlattenedIntoTenConnectedPieces) {
    Scan("0 0 m 0 10 10 10 10 0 c S\n");
    ASSERT_EQ(Lines(), 10);
    ExpectLine(0, 0, 0, Line(0).x2, Line(0).y2 + 842.0);
    for (int i = 1; i < 10; ++i) {
        EXPECT_EQ(Line(i).x1, Line(i - 1).x2);
        EXPECT_EQ(Line(i).y1, Line(i - 1).y2);
    }
    EXPECT_NEAR(Line(4).x2, 5.0, 1e-9);  // B(0.5)
    EXPECT_NEAR(Line(4).y2, 7.5 - 842.0, 1e-9);
    EXPECT_NEAR(Line(0).x2, 0.28, 1e-9);  // B(0.1) = 3·0.9·0.01·10 + 0.001·10
    EXPECT_NEAR(Line(9).x2, 10.0, 1e-9);
    EXPECT_NEAR(Line(9).y2, 0.0 - 842.0, 1e-9);
}

TEST_F(PathTest, VAndYAreCubicsWithTheCurrentOrTheEndPointAsAControlPoint) {
    // v: (P0, P0, Q, P3) gives B(0.5) = (6.25, 3.75), B(0.1) = (0.27 + 0.02, 0.27).
    Scan("0 0 m 10 10 20 0 v S\n");
    ASSERT_EQ(Lines(), 10);
    EXPECT_NEAR(Line(4).x2, 6.25, 1e-9);
    EXPECT_NEAR(Line(4).y2, 3.75 - 842.0, 1e-9);
    EXPECT_NEAR(Line(0).x2, 0.29, 1e-9);
    EXPECT_NEAR(Line(0).y2, 0.27 - 842.0, 1e-9);
    EXPECT_NEAR(Line(9).x2, 20.0, 1e-9);

    // y: (P0, P1, P3, P3) gives B(0.5) = (13.75, 3.75); each is a figure of its own.
    Scan("0 0 m 10 10 20 0 y 5 5 30 0 y S\n");
    ASSERT_EQ(Lines(), 20);
    EXPECT_NEAR(Line(4).x2, 13.75, 1e-9);
    EXPECT_NEAR(Line(4).y2, 3.75 - 842.0, 1e-9);
    ExpectLine(9, Line(9).x1, Line(9).y1 + 842.0, 20, 0);
    EXPECT_EQ(Line(10).group_number, Line(0).group_number + 1);
    EXPECT_EQ(Counter(kOpv), 2);
}

TEST_F(PathTest, CurveThatStaysInPlaceStillGivesTenPieces) {
    Scan("3 4 m 3 4 3 4 3 4 c S\n");
    ASSERT_EQ(Lines(), 10);
    for (int i = 0; i < 10; ++i) ExpectLine(i, 3, 4, 3, 4);
}

TEST_F(PathTest, CurvesAndRectanglesUseTheMatrix) {
    Scan("2 0 0 2 10 20 cm 0 0 m 1 0 2 0 3 0 c 1 1 2 3 re S\n");
    ASSERT_EQ(Lines(), 15);
    ExpectLine(9, Line(9).x1, Line(9).y1 + 842.0, 16, 20);
    ExpectLine(10, 12, 22, 12, 28);
    ExpectLine(12, 16, 28, 16, 22);

    // Under a quarter turn every corner is mapped: (x, y) goes to (100 - y, x).
    Scan("0 1 -1 0 100 0 cm 0 0 10 20 re S\n");
    ASSERT_EQ(Lines(), 5);
    ExpectLine(0, 100, 0, 80, 0);
    ExpectLine(1, 80, 0, 80, 10);
    ExpectLine(2, 80, 10, 100, 10);
    ExpectLine(3, 100, 10, 100, 0);
}

TEST_F(PathTest, PaintingAnEmptyPathAddsNothing) {
    Scan("f F f* n h S W S W n\n");
    EXPECT_EQ(Lines(), 0);
    EXPECT_EQ(g_store.conversion.total_segments, 0);
    Scan("0 0 m 5 5 l S f* f F h n W n W S\n");
    ASSERT_EQ(Lines(), 1);
    ExpectLine(0, 0, 0, 5, 5);
}

TEST_F(PathTest, FirstLineOfAPageStartsAtTheOrigin) {
    Scan("7 8 l S\n");
    ASSERT_EQ(Lines(), 1);
    ExpectLine(0, 0, 0, 7, 8);
}

TEST_F(PathTest, PathLongerThanThePointListKeepsEmitting) {
    Scan("0 0 m " + Repeat("1 1 l ", kPathPointCapacity + 10) + "S\n");
    EXPECT_EQ(Lines(), kPathPointCapacity + 10);
    EXPECT_LE(g_path.count, kPathPointCapacity);
}

TEST_F(PathTest, EvenOddFillOfAPathLongerThanThePointListTakesItAllBack) {
    Scan("0 0 10 10 re " + Repeat("1 1 l ", kPathPointCapacity - 5) + "f*\n");
    EXPECT_EQ(g_store.pages[1].line_count, 4 + kPathPointCapacity - 5);
    EXPECT_EQ(Lines(), 0);
    EXPECT_EQ(g_path.count, 0);
}

}  // namespace
}  // namespace velmora
