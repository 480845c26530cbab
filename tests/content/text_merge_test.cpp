// Glyphs placed one by one joined into strings: what continues a run (font, size, angle, base
// line, gap), where a space goes, what stays apart (table columns, another line, a bold copy),
// the joined string's limit, and the page's counts afterwards.
#include <cstring>
#include <string>

#include "content/text_merge.h"
#include "settings/settings.h"
#include "text_fixture.h"

namespace velmora {
namespace {

class TextMergeTest : public TextTest {
protected:
    void SetUp() override {
        TextTest::SetUp();
        AddFont("F2", 4, kConversionWinAnsi, 0);
        AddFont("F3", 5, kConversionWinAnsi, 0);
        std::strcpy(g_store.jww_font_names[3], "Gothic");
        std::strcpy(g_store.jww_font_names[4], "Gothic");
        std::strcpy(g_store.jww_font_names[5], "Mincho");
        g_settings.text_merge = 1;
    }
    void TearDown() override {
        g_settings.text_merge = 0;
        g_settings.text_vertical = 0;
        for (int font = 3; font <= 6; ++font) g_store.jww_font_names[font][0] = '\0';
        TextTest::TearDown();
    }
    // The page's texts after merging, joined by '|'.
    std::string Merged(const std::string& content) {
        Scan(content);
        MergeTextRuns(1);
        std::string joined;
        for (int i = 0; i < Texts(); ++i) joined += (i > 0 ? "|" : "") + TextString(i);
        return joined;
    }
};

TEST_F(TextMergeTest, GlyphsOfOneBaseLineBecomeOneStringAndTheCountsFollow) {
    // A dimension written a Tm per glyph (Helvetica digit advances, 0.556 of the size 10).
    const std::string glyphs =
        "BT /F1 10 Tf 1 0 0 1 100 200 Tm (3) Tj 1 0 0 1 105.56 200 Tm (8) Tj 1 0 0 1 111.12 200 Tm (0) Tj ET\n";
    EXPECT_EQ(Merged(glyphs), "380");
    ASSERT_EQ(Texts(), 1);
    ExpectBaseLine(0, 100, 200, 120, 200);  // the first glyph's start and direction
    EXPECT_EQ(Text(0).string_length, 3);
    EXPECT_EQ(g_store.pages[1].text_count, 1);
    EXPECT_EQ(g_store.pages[1].nonempty_text_count, 1);
    EXPECT_EQ(g_store.conversion.nonempty_texts, 1);
    EXPECT_EQ(g_store.text_size_histogram[100], 1);
    EXPECT_EQ(g_store.conversion.pool_used, 4);

    // A TJ per glyph, a Tj chain and a wide letter whose estimate falls short: all touch.
    EXPECT_EQ(Merged("BT /F1 10 Tf 10 20 Td [(W)] TJ 1 0 0 1 18.9 20 Tm (m) Tj (m) Tj ET\n"), "Wmm");
    // A gap of a space's width (here 0.6 of the size past the estimate) gives one space, but
    // not beside a space the producer wrote itself.
    EXPECT_EQ(Merged("BT /F1 10 Tf 1 0 0 1 10 20 Tm (AB) Tj 1 0 0 1 26 20 Tm (CD) Tj ET\n"), "AB CD");
    EXPECT_EQ(Merged("BT /F1 10 Tf 1 0 0 1 10 20 Tm (AB ) Tj 1 0 0 1 31 20 Tm (CD) Tj ET\n"), "AB CD");
    // Double-byte characters (× in Shift-JIS): one size wide each.
    EXPECT_EQ(Merged("BT /F1 10 Tf 1 0 0 1 10 20 Tm (\\327) Tj 1 0 0 1 20 20 Tm (\\327) Tj ET\n"), "\x81\x7e\x81\x7e");
    // Two PDF fonts written as one Jw_cad font, and a glyph narrowed by its matrix.
    EXPECT_EQ(Merged("BT /F1 10 Tf 1 0 0 1 10 20 Tm (\\() Tj /F2 10 Tf 1 0 0 1 13 20 Tm (A) Tj ET\n"), "(A");
    EXPECT_EQ(Merged("BT /F1 10 Tf 0.93 0 0 1 10 20 Tm (N) Tj 1 0 0 1 15 20 Tm (o.) Tj ET\n"), "No.");
    // Turned a quarter: the base line runs upwards.
    EXPECT_EQ(Merged("BT /F1 10 Tf 0 1 -1 0 50 50 Tm (1) Tj 0 1 -1 0 50 55.5 Tm (2) Tj ET\n"), "12");
    // Undecoded glyphs joined are one undecoded text for the page's warning.
    AddFont("F4", 6, kConversionNone, 0);
    EXPECT_EQ(Merged("BT /F4 10 Tf 1 0 0 1 10 20 Tm (A) Tj 1 0 0 1 20 20 Tm (B) Tj ET\n"), "\x81\xAC\x81\xAC");
    EXPECT_EQ(g_store.pages[1].undecoded_text_count, 1);

    g_settings.text_merge = 0;
    EXPECT_EQ(Merged(glyphs), "3|8|0");
    EXPECT_EQ(g_store.pages[1].text_count, 3);
}

TEST_F(TextMergeTest, ColumnsLinesFontsSizesAndCopiesStayApart) {
    // Table cells on one base line, two sizes apart after their estimated ends.
    EXPECT_EQ(Merged("BT /F1 10 Tf 1 0 0 1 10 20 Tm (No) Tj 1 0 0 1 40 20 Tm (Name) Tj 1 0 0 1 80 20 Tm (12) Tj ET\n"),
              "No|Name|12");
    // Just beyond the space's width: apart; just within: joined with a space.
    EXPECT_EQ(Merged("BT /F1 10 Tf 1 0 0 1 10 20 Tm (A) Tj 1 0 0 1 25.1 20 Tm (B) Tj ET\n"), "A|B");
    EXPECT_EQ(Merged("BT /F1 10 Tf 1 0 0 1 10 20 Tm (A) Tj 1 0 0 1 24.9 20 Tm (B) Tj ET\n"), "A B");
    // The next row, a glyph raised off the base line, a piece drawn to the left.
    EXPECT_EQ(Merged("BT /F1 10 Tf 1 0 0 1 10 20 Tm (A) Tj 1 0 0 1 15 8 Tm (B) Tj ET\n"), "A|B");
    EXPECT_EQ(Merged("BT /F1 10 Tf 1 0 0 1 10 20 Tm (A) Tj 1 0 0 1 15 21.5 Tm (B) Tj ET\n"), "A|B");
    EXPECT_EQ(Merged("BT /F1 10 Tf 1 0 0 1 10 20 Tm (A) Tj 1 0 0 1 5 20 Tm (B) Tj ET\n"), "A|B");
    // Another written font, another size, another angle.
    EXPECT_EQ(Merged("BT /F1 10 Tf 1 0 0 1 10 20 Tm (A) Tj /F3 10 Tf 1 0 0 1 15 20 Tm (B) Tj ET\n"), "A|B");
    EXPECT_EQ(Merged("BT /F1 10 Tf 1 0 0 1 10 20 Tm (A) Tj /F1 8 Tf 1 0 0 1 15 20 Tm (B) Tj ET\n"), "A|B");
    EXPECT_EQ(Merged("BT /F1 10 Tf 1 0 0 1 10 20 Tm (A) Tj 0.99 0.1 -0.1 0.99 15 20 Tm (B) Tj ET\n"), "A|B");
    // A bold copy drawn over the glyph a little to the right.
    EXPECT_EQ(Merged("BT /F1 10 Tf 1 0 0 1 10 20 Tm (A) Tj 1 0 0 1 10.3 20 Tm (A) Tj ET\n"), "A|A");
    // An empty text keeps its place and is never a part of a run.
    EXPECT_EQ(Merged("BT /F1 10 Tf 1 0 0 1 10 20 Tm (A) Tj () Tj 1 0 0 1 15 20 Tm (B) Tj ET\n"), "A||B");
    EXPECT_EQ(Texts(), 3);
}

TEST_F(TextMergeTest, FullWidthGlyphsStackedInAColumnBecomeOneVerticalText) {
    g_settings.text_vertical = 1;
    const std::string times = "\x81\x7e";  // "×" in Shift-JIS: a full-width character
    // A glyph a line, as vertical notes are written: T* one size down each time. The column runs
    // from the first glyph's top to the last one's foot.
    EXPECT_EQ(Merged("BT /F1 10 Tf 10 TL 1 0 0 1 50 200 Tm (\\327) Tj T* (\\327) Tj T* (\\327) Tj ET\n"), times + times + times);
    ASSERT_EQ(Texts(), 1);
    EXPECT_EQ(Text(0).flags, kTextFlagVertical);
    EXPECT_NEAR(Text(0).angle, -90.0, 1e-4);
    EXPECT_EQ(Text(0).spacing, 0.0);
    ExpectBaseLine(0, 50, 210, 50, 180);
    EXPECT_EQ(g_store.pages[1].text_count, 1);
    // A wider pitch is the glyphs' spacing; the next column to the left is a text of its own.
    EXPECT_EQ(Merged("BT /F1 10 Tf 11 TL 1 0 0 1 50 200 Tm (\\327) Tj T* (\\327) Tj 1 0 0 1 35 200 Tm (\\327) Tj "
                     "T* (\\327) Tj ET\n"),
              times + times + "|" + times + times);
    EXPECT_NEAR(Text(0).spacing, 1.0, 1e-9);
    ExpectBaseLine(1, 35, 210, 35, 189);
    // Table rows stand further apart; half-width pin numbers, a word, a row already joined and a
    // turned glyph stay apart.
    EXPECT_EQ(Merged("BT /F1 10 Tf 15 TL 1 0 0 1 50 200 Tm (\\327) Tj T* (\\327) Tj ET\n"), times + "|" + times);
    EXPECT_EQ(Merged("BT /F1 10 Tf 10 TL 1 0 0 1 50 200 Tm (1) Tj T* (2) Tj ET\n"), "1|2");
    EXPECT_EQ(Merged("BT /F1 10 Tf 10 TL 1 0 0 1 50 200 Tm (\\327\\327) Tj T* (\\327) Tj ET\n"), times + times + "|" + times);
    EXPECT_EQ(Merged("BT /F1 10 Tf 10 TL 1 0 0 1 50 200 Tm (\\327) Tj (\\327) Tj T* (\\327) Tj ET\n"),
              times + times + "|" + times);
    EXPECT_EQ(Merged("BT /F1 10 Tf 0 1 -1 0 50 200 Tm (\\327) Tj 0 1 -1 0 50 190 Tm (\\327) Tj ET\n"), times + "|" + times);
    EXPECT_EQ(Text(0).flags, 0);

    g_settings.text_vertical = 0;
    EXPECT_EQ(Merged("BT /F1 10 Tf 10 TL 1 0 0 1 50 200 Tm (\\327) Tj T* (\\327) Tj ET\n"), times + "|" + times);
}

TEST_F(TextMergeTest, StringsOfAVerticalFontRunDownTheirColumn) {
    g_settings.text_vertical = 1;
    AddFont("F4", 6, kConversionAdobeJapan1, 2);
    g_store.fonts[6].vertical = 1;
    std::strcpy(g_store.jww_font_names[6], "Gothic");
    // Origins hang half a size right of the column's edge, 0.88 of a size below its top less one
    // size; a chained string starts where the last one's glyphs end.
    Scan("BT /F4 10 Tf 1 0 0 1 100 200 Tm <034B034C> Tj <034B> Tj ET\n");
    ASSERT_EQ(Texts(), 2);
    EXPECT_EQ(Text(0).flags, kTextFlagVertical);
    EXPECT_NEAR(Text(0).angle, -90.0, 1e-4);  // the angle takes the writer's pi
    ExpectBaseLine(0, 95, 201.2, 95, 181.2);
    ExpectBaseLine(1, 95, 181.2, 95, 171.2);
    EXPECT_EQ(Merged("BT /F4 10 Tf 1 0 0 1 100 200 Tm <034B034C> Tj <034B> Tj ET\n"), "あぃあ");
    ExpectBaseLine(0, 95, 201.2, 95, 171.2);
    // A number of TJ opens the gap down the column: a size apart is a text of its own.
    EXPECT_EQ(Merged("BT /F4 10 Tf 1 0 0 1 100 200 Tm [<034B> 1000 <034C>] TJ ET\n"), "あ|ぃ");
    ExpectBaseLine(1, 95, 181.2, 95, 171.2);
    // A vertical font's glyph and a horizontal font's stacked under it share the column.
    EXPECT_EQ(Merged("BT /F4 10 Tf 1 0 0 1 100 200 Tm <034B> Tj /F1 10 Tf 1 0 0 1 95 181.2 Tm (\\327) Tj ET\n"),
              "あ\x81\x7e");

    // On a page turned a quarter the column would run across it: the string keeps its base line.
    g_store.pages[1].rotation = 90;
    Scan("BT /F4 10 Tf 1 0 0 1 100 200 Tm <034B034C> Tj ET\n");
    EXPECT_EQ(Text(0).flags, 0);
    g_store.pages[1].rotation = 0;

    g_settings.text_vertical = 0;
    Scan("BT /F4 10 Tf 1 0 0 1 100 200 Tm <034B034C> Tj ET\n");
    EXPECT_EQ(Text(0).flags, 0);
    ExpectBaseLine(0, 100, 200, 100 + kDirectionLength, 200);
}

TEST_F(TextMergeTest, AJoinedStringStopsAtItsCapacity) {
    // 300 glyphs in one chain: the run is cut where the next glyph would pass 249 bytes.
    std::string content = "BT /F1 10 Tf 10 20 Td";
    for (int i = 0; i < 300; ++i) content += " (" + std::string(1, static_cast<char>('a' + i % 26)) + ") Tj";
    Scan(content + " ET\n");
    ASSERT_EQ(Texts(), 300);
    EXPECT_EQ(MergeTextRuns(1), 298);
    ASSERT_EQ(Texts(), 2);
    EXPECT_EQ(Text(0).string_length, kMergedTextCapacity);
    EXPECT_EQ(Text(1).string_length, 300 - kMergedTextCapacity);
    EXPECT_EQ(TextString(1).substr(0, 3), "pqr");  // glyph 249 is 'a' + 249 % 26
    EXPECT_EQ(g_store.conversion.pool_used, 300 + 2);
    EXPECT_EQ(g_store.pages[1].text_count, 2);
}

}  // namespace
}  // namespace velmora
