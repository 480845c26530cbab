// Text placement: Tf, Td, TD, TL, T*, Tm, Tj chaining, ', TJ splitting, and the text state that
// outlives a text object.
#include <numbers>
#include <string>

#include "convert/document_reset.h"
#include "pdf/error_list.h"
#include "text_fixture.h"
#include "content/text_object.h"

namespace velmora {
namespace {

using TextShowingTest = TextTest;

TEST_F(TextShowingTest, OneStringWithTdThenTheCursorAfterIt) {
    g_settings.text_pen = 6;
    Scan("BT /F1 12 Tf 100 200 Td (AB) Tj ET\n");
    ASSERT_EQ(Texts(), 1);
    EXPECT_EQ(TextString(0), "AB");
    ExpectBaseLine(0, 100, 200, 120, 200);
    const TextRecord& t = Text(0);
    EXPECT_DOUBLE_EQ(t.size_x, 12.0);
    EXPECT_DOUBLE_EQ(t.size_y, 12.0);
    EXPECT_DOUBLE_EQ(t.angle, 0.0);
    EXPECT_EQ(t.font_number, 3);
    EXPECT_EQ(t.pen_colour, 6);
    EXPECT_EQ(t.layer_group, 8);
    EXPECT_EQ(t.text_kind, 1);
    EXPECT_EQ(t.page_number, 1);
    EXPECT_EQ(t.duplicate_mark, 0);
    EXPECT_DOUBLE_EQ(g_text.cursor.x, 112.0);  // half the size per byte
    EXPECT_DOUBLE_EQ(g_text.cursor.y, 200.0);
    EXPECT_EQ(g_store.pages[1].text_count, 1);
    EXPECT_EQ(g_store.pages[1].nonempty_text_count, 1);
    EXPECT_EQ(g_store.text_size_histogram[120], 1);
    EXPECT_EQ(Counter(kOpBT), 1);
    EXPECT_EQ(Counter(kOpOther), 0);  // ET was taken by the text object
}

TEST_F(TextShowingTest, TjChainsUntilTheLineStartMoves) {
    Scan("BT /F1 10 Tf 100 200 Td (AB) Tj (CDE) Tj (F) Tj 0 -20 Td (G) Tj (H) Tj ET\n");
    ASSERT_EQ(Texts(), 5);
    ExpectBaseLine(0, 100, 200, 120, 200);
    ExpectBaseLine(1, 110, 200, 130, 200);  // after AB: 2 bytes × 5
    ExpectBaseLine(2, 125, 200, 145, 200);  // after CDE: 3 bytes × 5
    ExpectBaseLine(3, 100, 180, 120, 180);  // Td starts the line again
    ExpectBaseLine(4, 105, 180, 125, 180);
}

TEST_F(TextShowingTest, LeadingOperatorsMoveTheLineStart) {
    Scan("BT /F1 10 Tf 100 700 Td 14 TL (A) Tj T* (B) Tj 0 -20 TD (C) Tj (D) ' (E) Tj T*(F)Tj ET\n");
    ASSERT_EQ(Texts(), 6);
    ExpectBaseLine(0, 100, 700, 120, 700);
    ExpectBaseLine(1, 100, 686, 120, 686);
    ExpectBaseLine(2, 100, 666, 120, 666);
    ExpectBaseLine(3, 100, 646, 120, 646);  // TD left the leading at 20
    ExpectBaseLine(4, 100, 646, 120, 646);  // ' does not move the cursor, and unchains
    ExpectBaseLine(5, 100, 626, 120, 626);  // T* is a token even with a string right after it
    EXPECT_EQ(TextString(3), "D");
}

TEST_F(TextShowingTest, TmSetsTheLineStartSizeAndDirection) {
    Scan("BT /F1 1 Tf 20 0 0 20 50 60 Tm (A) Tj ET\n");
    ASSERT_EQ(Texts(), 1);
    EXPECT_DOUBLE_EQ(Text(0).size_x, 20.0);
    ExpectBaseLine(0, 50, 60, 450, 60);  // D = (400, 0)
    EXPECT_DOUBLE_EQ(g_store.conversion.text_matrix_linear[0], 20.0);

    Scan("BT /F1 10 Tf 0 1 -1 0 300 100 Tm (AB) Tj (C) Tj ET\n");
    ASSERT_EQ(Texts(), 2);
    ExpectBaseLine(0, 300, 100, 300, 120);  // a quarter turn
    EXPECT_NEAR(Text(0).angle, 90.0 * std::numbers::pi / 3.141592, 1e-9);  // the angle's π is 3.141592
    ExpectBaseLine(1, 300, 110, 300, 130);
}

TEST_F(TextShowingTest, PlacementFollowsThePathMatrixOnce) {
    // The cm before q scales texts by 2 once, as it does the paths: Tm's (10, 10) lands at (20, 20).
    Scan("2 0 0 2 0 0 cm q BT /F1 10 Tf 1 0 0 1 10 10 Tm (AB) Tj (C) Tj ET 10 10 m 20 10 l S\n");
    ASSERT_EQ(Texts(), 2);
    EXPECT_DOUBLE_EQ(Text(0).size_x, 20.0);
    ExpectBaseLine(0, 20, 20, 60, 20);
    ExpectBaseLine(1, 40, 20, 80, 20);  // AB's estimate: half of 20 per byte
    EXPECT_NEAR(g_store.lines[0].x1, Text(0).x1, 1e-9);  // the path point (10, 10) lies under the text
    EXPECT_NEAR(g_store.lines[0].y1, Text(0).y1, 1e-9);
}

TEST_F(TextShowingTest, TjSplitsOnlyAtMinus500OrBelow) {
    Scan("BT /F1 12 Tf 100 200 Td [(AB) -120 (CD)] TJ ET\n");
    ASSERT_EQ(Texts(), 1);
    EXPECT_EQ(TextString(0), "ABCD");
    ExpectBaseLine(0, 100, 200, 120, 200);

    Scan("BT /F1 12 Tf 100 200 Td [(AB) -600 (CD)] TJ ET\n");
    ASSERT_EQ(Texts(), 2);
    EXPECT_EQ(TextString(0), "AB");
    EXPECT_EQ(TextString(1), "CD");
    ExpectBaseLine(0, 100, 200, 120, 200);
    ExpectBaseLine(1, 119.2, 200, 139.2, 200);  // 12 for AB, then the gap 0.6 × 12

    Scan("BT /F1 12 Tf 100 200 Td [(AB) -500 (CD) -499 (EF) 300 (G)] TJ (H) Tj ET\n");
    ASSERT_EQ(Texts(), 3);
    EXPECT_EQ(TextString(0), "AB");
    EXPECT_EQ(TextString(1), "CDEFG");
    ExpectBaseLine(2, 100, 200, 120, 200);  // TJ leaves the chain off: Tj starts at P
}

TEST_F(TextShowingTest, TjGapIsTextSpaceThroughThePathMatrix) {
    // Scaled by 2: AB's estimate is 20 wide and the gap of 1000 × 10 / 1000 becomes 20.
    Scan("2 0 0 2 0 0 cm BT /F1 10 Tf [(AB) -1000 (CD)] TJ ET\n");
    ASSERT_EQ(Texts(), 2);
    ExpectBaseLine(1, 40, 0, 80, 0);

    // A translation moves both runs alike; the gap itself carries none of it.
    Scan("1 0 0 1 0 10 cm BT /F1 10 Tf [(AB) -1000 (CD)] TJ ET\n");
    ASSERT_EQ(Texts(), 2);
    ExpectBaseLine(0, 0, 10, 20, 10);
    ExpectBaseLine(1, 20, 10, 40, 10);
}

TEST_F(TextShowingTest, ArraysThatDoNotAlternateAreSteppedThrough) {
    // Two strings in a row join; a number before the first string is not a gap; numbers in a
    // row add up; names and nested arrays are passed over.
    Scan("BT /F1 10 Tf [-900 (AB) (CD) -600 (EF) -300 -300 (GH) /N [(X) -900] (IJ)] TJ ET\n");
    ASSERT_EQ(Texts(), 3);
    EXPECT_EQ(TextString(0), "ABCD");
    EXPECT_EQ(TextString(1), "EF");
    EXPECT_EQ(TextString(2), "GHIJ");
    EXPECT_EQ(g_store.conversion.font_number, 3);  // the name inside the array picked no font
}

TEST_F(TextShowingTest, TextStateOutlivesTheObjectButPlacementDoesNot) {
    AddFont("F2", 5, kConversionWinAnsi, 0);
    Scan("BT /F2 14 Tf 100 100 Td ET BT (A) Tj ET\n");
    ASSERT_EQ(Texts(), 1);
    EXPECT_EQ(Text(0).font_number, 5);
    EXPECT_DOUBLE_EQ(Text(0).size_x, 14.0);
    ExpectBaseLine(0, 0, 0, 20, 0);

    // A text object cut by the stream's end goes on in the next stream with a fresh state.
    BeginPage();
    AddStream("BT /F1 12 Tf 100 200 Td (A) Tj");
    AddStream("(B) Tj ET 0 0 m 5 0 l S\n");
    ContentScanner(1);
    ASSERT_EQ(Texts(), 2);
    ExpectBaseLine(1, 0, 0, 20, 0);
    EXPECT_EQ(Text(1).font_number, 3);
    EXPECT_EQ(Lines(), 1);
}

TEST_F(TextShowingTest, NamesPickTheFontBySlot) {
    AddFont("F2", 7, kConversionWinAnsi, 0);
    AddFont("F10", 9, kConversionWinAnsi, 0);
    Scan("BT /F2 12 Tf (A) Tj /F10 12 Tf (B) Tj /F1x 12 Tf (C) Tj /F2 12 Tf /Span <</MCID 3>> BDC /GS1 gs (D) Tj EMC "
         "ET\n");
    ASSERT_EQ(Texts(), 4);
    EXPECT_EQ(Text(0).font_number, 7);
    EXPECT_EQ(Text(1).font_number, 9);
    EXPECT_EQ(Text(2).font_number, 1);  // no slot of that name
    EXPECT_EQ(Text(3).font_number, 7);  // only Tf's name selects: a tag or a state name does not
    EXPECT_EQ(TextString(3), "D");
}

TEST_F(TextShowingTest, OnlyTheEtOperatorEndsTheObject) {
    Scan("BT /F1 12 Tf (GET) Tj (SETUP) Tj (SHEET)Tj 0 0 m 5 0 l S ET 0 0 m 5 0 l S\n");
    ASSERT_EQ(Texts(), 3);
    EXPECT_EQ(TextString(1), "SETUP");
    EXPECT_EQ(TextString(2), "SHEET");
    EXPECT_EQ(Lines(), 1);  // only the path after ET is drawn
    EXPECT_EQ(Counter(kOpm), 1);
}

TEST_F(TextShowingTest, OtherOperatorsInsideAreIgnoredAndDashSetsThePen) {
    Scan("BT /F1 12 Tf 2 0 0 2 0 0 cm q 0 0 m 9 9 l S [3 2] 0 d 1 Ts 1 Tc 2 Tw 100 Tz 1 Tc (A) \" (B) Tj ET "
         "0 0 m 5 5 l S\n");
    ASSERT_EQ(Texts(), 1);
    EXPECT_EQ(TextString(0), "B");
    ExpectBaseLine(0, 0, 0, 20, 0);  // cm inside the object changed nothing
    ASSERT_EQ(Lines(), 1);
    EXPECT_EQ(Line(0).pen_style, 3);
    const int32_t* counters = g_text_state_use.counters;
    EXPECT_EQ(counters[0], 1);  // Ts
    EXPECT_EQ(counters[1], 2);  // Tc
    EXPECT_EQ(counters[2], 1);  // Tw
    EXPECT_EQ(counters[3], 1);  // Tz

    // The counters run over pages and are cleared by a file load only.
    Scan("BT 1 Ts ET\n");
    EXPECT_EQ(counters[0], 2);
    ResetForFile();
    EXPECT_EQ(counters[0], 0);
}

}  // namespace
}  // namespace velmora
