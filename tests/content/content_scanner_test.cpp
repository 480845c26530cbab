// The scanner: dispatch and counters, the graphics-state operators, streams of one page.
#include <string>

#include "content_fixture.h"
#include "pdf/error_list.h"

namespace velmora {
namespace {

using ScannerTest = ContentTest;

TEST_F(ScannerTest, CmExamples) {
    Scan("2 0 0 2 100 50 cm 10 10 m 20 10 l S\n");
    ASSERT_EQ(Lines(), 1);
    ExpectLine(0, 120, 70, 140, 70);

    // A scale after a translation keeps the translation.
    Scan("1 0 0 1 100 100 cm 2 0 0 2 0 0 cm 10 10 m 20 10 l S\n");
    ASSERT_EQ(Lines(), 1);
    ExpectLine(0, 120, 120, 140, 120);

    // A placement turned by a quarter: x runs up the page.
    Scan("0 1 -1 0 300 100 cm 10 0 m 20 0 l 0 5 l S\n");
    ASSERT_EQ(Lines(), 2);
    ExpectLine(0, 300, 110, 300, 120);
    ExpectLine(1, 300, 120, 295, 100);

    Scan("q 2 0 0 2 0 0 cm Q 10 10 m 20 10 l S\n");
    ASSERT_EQ(Lines(), 1);
    ExpectLine(0, 10, 10, 20, 10);
}

TEST_F(ScannerTest, EveryPageScanStartsFromTheIdentity) {
    Scan("q 2 0 0 2 0 0 cm\n");
    Scan("10 10 m 20 10 l S\n");
    ASSERT_EQ(Lines(), 1);
    ExpectLine(0, 10, 10, 20, 10);
}

TEST_F(ScannerTest, EachOperatorHasItsCounterAndTheRestCountAsOther) {
    Scan("q Q 1 0 0 1 0 0 cm 0 0 m 1 1 l [] 0 d 1 1 1 1 1 1 c 1 1 1 1 v S n W 1 w 1 0 0 rg 0 0 1 1 re "
         "BT ET h f F f* /Im1 Do 0 g /GS1 gs 0 G 1 i 0 j 0 J 1 0 0 RG q B 1 1 1 1 y W*\n");
    // y counts with v and W* with W.
    const int expected[kOperatorCounterCount] = {
        2, 1, 1, 1, 1, 1, 1, 2, 1, 1, 2, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
        4,  // /Im1, /GS1, RG and B
    };
    for (int op = 0; op < kOperatorCounterCount; ++op) EXPECT_EQ(Counter(static_cast<OperatorCounter>(op)), expected[op]) << op;
}

TEST_F(ScannerTest, DashArraySetsThePenStyleByItsLength) {
    Scan("[3 2] 0 d 0 0 m 1 1 l [] 0 d 2 2 l [6 2 1 2] 0 d 3 3 l [1] 0 d 4 4 l\n");
    ASSERT_EQ(Lines(), 4);
    EXPECT_EQ(Line(0).pen_style, 3);
    EXPECT_EQ(Line(1).pen_style, 1);
    EXPECT_EQ(Line(2).pen_style, 5);
    EXPECT_EQ(Line(3).pen_style, 3);
}

TEST_F(ScannerTest, LineWidthHasAFloorAndIsNotSavedByQ) {
    Scan("0.05 w 0 0 m 1 1 l 0.35 w 2 2 l q 2 w Q 3 3 l -4 w 4 4 l\n");
    ASSERT_EQ(Lines(), 4);
    EXPECT_EQ(Line(0).width_class, 1);
    EXPECT_EQ(Line(1).width_class, 3);
    EXPECT_EQ(Line(2).width_class, 20);
    EXPECT_EQ(Line(3).width_class, 1);
}

TEST_F(ScannerTest, OperatorsWithTooFewOperandsUseOlderValues) {
    Scan("3 4 m 5 6 l l\n");
    ASSERT_EQ(Lines(), 2);
    ExpectLine(1, 5, 6, 5, 6);
}

TEST_F(ScannerTest, StateCarriesAcrossTheStreamsOfAPage) {
    BeginPage();
    AddStream("2 0 0 2 0 0 cm 1 1 m 5 1 l\n");
    AddStream("0 0 m 9 9 l\n", 2);  // another page's stream is not read
    AddStream("S\n");                // too short to read
    AddStream("5 5 l h S\n");
    ContentScanner(1);
    ASSERT_EQ(Lines(), 4);
    ExpectLine(1, 10, 2, 10, 10);
    ExpectLine(2, 2, 2, 10, 10);
    ExpectLine(3, 2, 2, 10, 10);
    EXPECT_EQ(Counter(kOpS), 1);
}

TEST_F(ScannerTest, TextObjectSplitAcrossStreamsContinuesInTheNext) {
    BeginPage();
    AddStream("0 0 m 1 1 l BT /F1 12 Tf 5 5 m 6 6 l");
    AddStream("7 7 m 8 8 l ET 2 2 m 3 3 l\n");
    ContentScanner(1);
    ASSERT_EQ(Lines(), 2);
    ExpectLine(1, 2, 2, 3, 3);
    EXPECT_EQ(Counter(kOpBT), 1);
    EXPECT_EQ(Counter(kOpl), 2);  // nothing inside the text object is dispatched
}

TEST_F(ScannerTest, UnterminatedTextObjectEndsWithThePage) {
    Scan("BT 0 0 m 1 1 l\n");
    EXPECT_EQ(Lines(), 0);
    Scan("0 0 m 1 1 l\n");
    EXPECT_EQ(Lines(), 1);
}

TEST_F(ScannerTest, OperatorRightAtTheEndOfAStreamIsNotRead) {
    Scan("0 0 m 10 0 l 10 10 l h\nS");
    EXPECT_EQ(Counter(kOpS), 0);
    EXPECT_EQ(Lines(), 3);
}

TEST_F(ScannerTest, MalformedContentEndsWithoutLinesFromNothing) {
    const char* inputs[] = {
        "f* f* n h S f F\n",
        "[[[[ 1 2 ] ] ] ] 9 9 l\n",
        "( unbalanced string 0 0 m 5 5 l\n",
        "]]]] >> << /Name 1e5 l\n",
    };
    for (const char* input : inputs) {
        Scan(input);
        EXPECT_LE(Lines(), 1) << input;
        EXPECT_EQ(g_errors.count, 0) << input;
    }
}

TEST_F(ScannerTest, DeepNestingAndLongOperandRunsStayWithinTheStacks) {
    std::string content;
    for (int i = 0; i < 50; ++i) content += "q 1 0 0 1 1 0 cm ";
    for (int i = 0; i < 60; ++i) content += "Q ";
    // 200 numbers end one read without a token; m then sees the first 100 of the 102 before it.
    for (int i = 0; i < 300; ++i) content += "1 ";
    content += "0 0 m 3 0 l\n";
    Scan(content);
    ASSERT_EQ(Lines(), 1);
    ExpectLine(0, 1, 1, 3, 0);
    EXPECT_EQ(g_graphics.ctm_depth, 0);
}

TEST_F(ScannerTest, PageHoldsAtMost999999LinesAndCode120IsRecordedOnce) {
    // 99,999 curves of ten pieces and nine lines make exactly 999,999 records; two lines more overflow.
    std::string content = "0 0 m ";
    content.reserve(1100000);
    for (int i = 0; i < 99999; ++i) content += "1 1 2 2 v\n";
    for (int i = 0; i < 9; ++i) content += "3 3 l\n";
    Scan(content);
    EXPECT_EQ(Lines(), kMaxLinesPerPage);
    EXPECT_EQ(g_errors.count, 0);

    Scan(content + "4 4 l\n5 5 l\n");
    EXPECT_EQ(Lines(), kMaxLinesPerPage);
    EXPECT_EQ(g_store.pages[1].line_count, kMaxLinesPerPage);
    ASSERT_EQ(g_errors.count, 1);
    EXPECT_EQ(g_errors.codes[0], 120);
    ExpectLine(kMaxLinesPerPage - 1, 3, 3, 3, 3);
}

}  // namespace
}  // namespace velmora
