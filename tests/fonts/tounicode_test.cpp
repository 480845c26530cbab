// ToUnicode CMaps read through the page set-up: code widths, bfrange and bfchar sections, the
// document-wide code table with its duplicates, compressed and plain streams, broken ones.
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "fonts/draughtsman_characters.h"
#include "fonts/font_fixture.h"
#include "fonts/sjis_fallback.h"
#include "pdf/error_list.h"
#include <cstdio>
#include "fonts/font_resources.h"
#include "pdf/file_buffer.h"
#include "support/pdf_maker.h"

namespace velmora {
namespace {

using test_support::FlateStreamBody;
using test_support::StreamBody;

class ToUnicodeTest : public FontTest {
protected:
    // One page with font 10 (Type0) whose CMap stream 11 holds `cmap`.
    void LoadCMap(const std::string& cmap, bool compressed = true) {
        SetUpOnePage("/F1 10 0 R", {{10, Font("Type0", "/ToUnicode 11 0 R")},
                                    {11, compressed ? FlateStreamBody("", cmap) : StreamBody("", cmap)}});
        ASSERT_EQ(SlotFont(1, 1), 1);
    }
};

TEST_F(ToUnicodeTest, TwoByteRangeStoresTheTextInTheDocumentTable) {
    LoadCMap(TwoByte("1 beginbfrange\n<0003> <0003> <0020>\nendbfrange"));
    EXPECT_EQ(g_store.fonts[1].conversion_type, kConversionToUnicode);
    EXPECT_EQ(g_store.fonts[1].code_length, 2);
    EXPECT_EQ(g_store.fonts[1].tounicode_object, 11);
    EXPECT_EQ(Cid(3), " ");
    EXPECT_EQ(g_store.cid_map[3].owner_font, 1);
    EXPECT_EQ(Cid(4), "");
    EXPECT_EQ(UnicodeByCode[3], 0x20);
    EXPECT_EQ(g_two_byte_registrations, 1);
    EXPECT_EQ(g_store.objects[10].kind, 11);
    EXPECT_EQ(g_store.objects[11].kind, 12);
}

TEST_F(ToUnicodeTest, OneByteRangeFillsTheFontsOwnTable) {
    LoadCMap(OneByte("1 beginbfrange\n<01> <03> <0041>\nendbfrange"));
    EXPECT_EQ(g_store.fonts[1].code_length, 1);
    EXPECT_EQ(Text(1, 1), "A");
    EXPECT_EQ(Text(1, 2), "B");
    EXPECT_EQ(Text(1, 3), "C");
    EXPECT_EQ(Text(1, 4), "");
    EXPECT_EQ(g_store.fonts[1].one_byte_code_count, 3);
    EXPECT_EQ(Cid(1), "");
}

TEST_F(ToUnicodeTest, WholeRangesAreRegisteredUpToTheirCodeSpace) {
    LoadCMap(TwoByte("2 beginbfrange\n<0010> <013B> <4E00>\n<FFF0> <FFFF> <0041>\nendbfrange"));
    EXPECT_EQ(Cid(0x10), "一");
    EXPECT_EQ(UnicodeByCode[0x13B], 0x4E00 + 299);  // 300 codes, all kept
    EXPECT_FALSE(Cid(0x13B).empty());
    EXPECT_EQ(Cid(0x13C), "");
    EXPECT_EQ(Cid(0xFFFF), "P");
    EXPECT_EQ(g_two_byte_registrations, 300 + 16);
    // A one-byte range reaching past its code space stops at 0xFF.
    LoadCMap(OneByte("1 beginbfrange\n<F0> <FFFF> <0061>\nendbfrange"));
    EXPECT_EQ(Text(1, 0xFF), "p");
    EXPECT_EQ(g_store.fonts[1].one_byte_code_count, 16);
}

TEST_F(ToUnicodeTest, LaterEntriesOfOneCMapReplaceWhatARangeOverran) {
    LoadCMap(TwoByte("2 beginbfrange\n<39FF> <3AFF> <FF33>\n<3A00> <3A00> <FF34>\nendbfrange\n"
                     "1 beginbfchar\n<3A01> <0041>\nendbfchar"));
    EXPECT_EQ(Cid(0x39FF), "Ｓ");
    EXPECT_EQ(Cid(0x3A00), "Ｔ");
    EXPECT_EQ(Cid(0x3A01), "A");
    EXPECT_EQ(g_store.duplicate_count, 0);
    // Another font's CMap does not replace them: its texts are duplicates.
    SetUpOnePage("/F1 10 0 R /F2 20 0 R",
                 {{10, Font("Type0", "/ToUnicode 11 0 R")},
                  {11, FlateStreamBody("", TwoByte("1 beginbfchar\n<0005> <4E9C>\nendbfchar"))},
                  {20, Font("Type0", "/ToUnicode 21 0 R")},
                  {21, FlateStreamBody("", TwoByte("2 beginbfchar\n<0005> <5516>\n<0005> <4E00>\nendbfchar"))}});
    EXPECT_EQ(Cid(5), "亜");
    ASSERT_EQ(g_store.duplicate_count, 1);
    EXPECT_STREQ(g_store.duplicates[1].text, "一");
}

TEST_F(ToUnicodeTest, ArrayDestinationsGiveEachCodeItsOwnElement) {
    // As Qt writes them: a dimension's digits and a net label's letters out of order.
    LoadCMap(TwoByte("2 beginbfrange\n<0001> <0005> [<0033> <0038> <0030>\n<0034> <00660069>]\n"
                     "<0010> <0010> <0044>\nendbfrange\n"
                     "2 beginbfchar\n<0020> <00660069>\n<0021>     <0047>\nendbfchar"));
    EXPECT_EQ(Cid(1) + Cid(2) + Cid(3) + Cid(4), "3804");
    EXPECT_EQ(Cid(0x33), "");  // the elements are destinations, not codes
    EXPECT_EQ(Cid(0x10), "D");
    EXPECT_EQ(Cid(0x20), "fi");  // a ligature keeps both letters
    EXPECT_EQ(Cid(5), "fi");
    EXPECT_EQ(Cid(0x21), "G");
    EXPECT_EQ(g_long_text_count, 0);
}

TEST_F(ToUnicodeTest, LongAndSupplementaryDestinationsAreKeptWhole) {
    LoadCMap(TwoByte("1 beginbfrange\n<0001> <0002> <006600660069>\nendbfrange\n"
                     "3 beginbfchar\n<0003> <D835DC34>\n<0004> <4E00 4E8C 4E09>\n<0005> <D83DDE00>\nendbfchar"));
    EXPECT_STREQ(LongTextForCode(1, 2, 1), "ffi");
    EXPECT_STREQ(LongTextForCode(1, 2, 2), "ffj");  // the last unit counts up
    EXPECT_EQ(Cid(1), "ff");                        // the code table keeps what fits
    EXPECT_EQ(Cid(3), "A");                         // U+1D434, mathematical italic A
    EXPECT_STREQ(LongTextForCode(1, 2, 4), "一二三");
    EXPECT_EQ(Cid(4), "一");
    EXPECT_EQ(LongTextForCode(1, 2, 3), nullptr);
    EXPECT_EQ(LongTextForCode(2, 2, 1), nullptr);  // another font's code
    EXPECT_EQ(Cid(5), "?");                        // an emoji has no stand-in
    EXPECT_EQ(g_unmapped_characters, 1);
    EXPECT_TRUE(Codes().empty());
}

TEST_F(ToUnicodeTest, AFullLongTextTableIsAWarning) {
    std::string chars;
    for (int c = 0; c < kLongCodeTextCapacity + 10; ++c) {
        char line[48];
        std::snprintf(line, sizeof line, "%s<%04X> <006600660069>\n", c % 1000 == 0 ? "endbfchar\nbeginbfchar\n" : "", c);
        chars += line;
    }
    LoadCMap(TwoByte("1 beginbfchar\n" + chars + "endbfchar"));
    EXPECT_EQ(g_long_text_count, kLongCodeTextCapacity);
    EXPECT_STREQ(LongTextForCode(1, 2, kLongCodeTextCapacity - 1), "ffi");
    EXPECT_EQ(LongTextForCode(1, 2, kLongCodeTextCapacity), nullptr);
    EXPECT_EQ(Cid(kLongCodeTextCapacity + 5), "ff");
    EXPECT_EQ(Codes(), std::vector<int>{kWarningCodeTableFull});
}

TEST_F(ToUnicodeTest, CharactersTheCodePageLacksTakeTheFallbackTable) {
    LoadCMap(TwoByte("3 beginbfchar\n<0001> <2F08>\n<0002> <0E01>\n<0003> <4E9C>\nendbfchar"));
    EXPECT_EQ(Cid(1), "人");
    EXPECT_EQ(Cid(2), "?");
    EXPECT_EQ(Cid(3), "亜");
    EXPECT_EQ(g_unmapped_characters, 1);
}

TEST_F(ToUnicodeTest, DrawingSignsTheCodePageLacksAreTypedAsADraughtsmanWould) {
    LoadCMap(TwoByte("9 beginbfchar\n<0001> <2300>\n<0002> <00D8>\n<0003> <2126>\n<0004> <00E9>\n<0005> <2013>\n"
                     "<0006> <2014>\n<0007> <00B2>\n<0008> <2264>\n<0009> <2032>\nendbfchar"));
    EXPECT_EQ(Cid(1), "φ");
    EXPECT_EQ(Cid(2), "φ");
    EXPECT_EQ(Cid(3), "Ω");
    EXPECT_EQ(Cid(4), "e");
    EXPECT_EQ(Cid(5), "‐");
    EXPECT_EQ(Cid(6), "―");
    EXPECT_EQ(Cid(7), "2");
    EXPECT_EQ(Cid(8), "≦");
    EXPECT_EQ(Cid(9), "′");
    EXPECT_EQ(g_unmapped_characters, 0);
    for (int i = 1; i < kDraughtsmanCharacterCount; ++i) {
        ASSERT_LT(kDraughtsmanCharacters[i - 1].unicode, kDraughtsmanCharacters[i].unicode) << i;  // binary search
    }
}

TEST_F(ToUnicodeTest, AnotherFontsDifferentTextForACodeIsKeptAsADuplicate) {
    SetUpOnePage("/F1 10 0 R /F2 20 0 R /F3 30 0 R",
                 {{10, Font("Type0", "/ToUnicode 11 0 R")},
                  {11, FlateStreamBody("", TwoByte("2 beginbfchar\n<0005> <4E9C>\n<0006> <4E00>\nendbfchar"))},
                  {20, Font("Type0", "/ToUnicode 21 0 R")},
                  {21, FlateStreamBody("", TwoByte("2 beginbfchar\n<0005> <5516>\n<0006> <4E00>\nendbfchar"))},
                  {30, Font("Type0", "/ToUnicode 31 0 R")},
                  {31, FlateStreamBody("", TwoByte("1 beginbfchar\n<0005> <5516>\nendbfchar"))}});
    const CidMapEntry& five = g_store.cid_map[5];
    EXPECT_EQ(Cid(5), "亜");
    EXPECT_EQ(five.owner_font, 1);
    EXPECT_EQ(five.duplicate, 1);
    ASSERT_EQ(g_store.duplicate_count, 2);
    EXPECT_STREQ(g_store.duplicates[1].text, "唖");
    EXPECT_EQ(g_store.duplicates[1].code, 5);
    EXPECT_EQ(g_store.duplicates[1].font_number, 2);
    EXPECT_EQ(g_store.duplicates[2].font_number, 3);
    // The same text from a second font is no duplicate; the later font owns the code.
    EXPECT_EQ(Cid(6), "一");
    EXPECT_EQ(g_store.cid_map[6].owner_font, 2);
    EXPECT_EQ(g_store.cid_map[6].duplicate, 0);
    EXPECT_EQ(UnicodeByCode[5], 0x5516);
}

TEST_F(ToUnicodeTest, PlainAndCompressedStreamsGiveTheSameText) {
    const std::string cmap = TwoByte("1 beginbfchar\n<0001> <0041>\nendbfchar");
    LoadCMap(cmap, false);
    ASSERT_NE(g_tounicode[1].data, nullptr);
    EXPECT_EQ(std::string(g_tounicode[1].data, g_tounicode[1].length), cmap);
    EXPECT_EQ(g_tounicode[1].input_length, 0);
    EXPECT_EQ(Cid(1), "A");

    LoadCMap(cmap, true);
    EXPECT_EQ(std::string(g_tounicode[1].data, g_tounicode[1].length), cmap);
    EXPECT_EQ(g_tounicode[1].input_length, static_cast<int>(test_support::Deflate(cmap).size()));
    EXPECT_TRUE(Codes().empty());
}

TEST_F(ToUnicodeTest, ExpansionBeyondFiftyFoldIsCutSilently) {
    const std::string cmap = TwoByte("1 beginbfchar\n<0001> <0041>\nendbfchar") + std::string(200000, ' ');
    LoadCMap(cmap);
    EXPECT_EQ(g_tounicode[1].length, 50 * static_cast<int>(test_support::Deflate(cmap).size()));
    EXPECT_EQ(Cid(1), "A");
    EXPECT_TRUE(Codes().empty());
}

TEST_F(ToUnicodeTest, AllCMapTextsTogetherStayWithinFiftyTimesTheFile) {
    // Sixty fonts name one plain CMap whose Length reaches past the file and its filler: each
    // copy is the rest of the file, so together they would hold sixty times the file.
    constexpr int kFonts = 60;
    std::map<int, std::string> objects = {
        {5, "<</Length 99999999>>\nstream\n" + OneByte("1 beginbfchar\n<41> <0041>\nendbfchar") + "\nendstream"},
        {99, "(" + std::string(30000, 'x') + ")"}};
    std::string fonts;
    for (int i = 0; i < kFonts; ++i) {
        objects[10 + i] = Font("Type1", "/ToUnicode 5 0 R");
        fonts += "/F" + std::to_string(i) + " " + std::to_string(10 + i) + " 0 R ";
    }
    SetUpOnePage(fonts, objects);
    int64_t held = 0, largest = 0;
    int with_cmap = 0;
    for (int k = 1; k <= kFonts; ++k) {
        held += g_tounicode[k].length;
        largest = std::max<int64_t>(largest, g_tounicode[k].length);
        with_cmap += g_store.fonts[k].conversion_type == kConversionToUnicode ? 1 : 0;
    }
    EXPECT_EQ(Text(1, 0x41), "A");
    EXPECT_GT(largest, 30000);
    EXPECT_GT(with_cmap, 0);
    EXPECT_LT(with_cmap, kFonts);
    EXPECT_LT(held - largest, int64_t{50} * g_file.file_size);
    EXPECT_EQ(Codes(), std::vector<int>(kFonts - with_cmap, 91));
}

TEST_F(ToUnicodeTest, DamagedOrMissingStreamsAreReportedAndSetUpGoesOn) {
    // Data that is not zlib: 91; the CMap gives no codes, so the Type0 font has no text: 101.
    SetUpOnePage("/F1 10 0 R", {{10, Font("Type0", "/ToUnicode 11 0 R")},
                                {11, StreamBody("/Filter/FlateDecode", "this is no zlib data")}});
    EXPECT_EQ(Codes(), std::vector<int>({91, 101}));
    EXPECT_EQ(g_store.fonts[1].conversion_type, kConversionNone);
    EXPECT_EQ(g_store.fonts[1].code_length, 0);
    EXPECT_EQ(g_store.pages[1].contents_count, 1);

    // A stream without a Length: 80, and for a Type0 font 101.
    SetUpOnePage("/F1 10 0 R", {{10, Font("Type0", "/ToUnicode 11 0 R")}, {11, "<</Filter/FlateDecode>>\nstream\nxx"}});
    EXPECT_EQ(Codes(), std::vector<int>({80, 101}));
    EXPECT_EQ(g_store.fonts[1].conversion_type, kConversionNone);
}

TEST_F(ToUnicodeTest, ASectionWithoutItsEndKeywordEndsTheCMap) {
    LoadCMap(TwoByte("1 beginbfrange\n<0001> <0001> <0041>\nendbfrange\n1 beginbfrange\n<0002> <0002> <0042>\n"
                     "1 beginbfchar\n<0003> <0043>\nendbfchar"));
    EXPECT_EQ(Cid(1), "A");
    EXPECT_EQ(Cid(2), "");
    EXPECT_EQ(Cid(3), "");
}

TEST_F(ToUnicodeTest, WithoutACodespaceNothingIsStored) {
    LoadCMap("1 beginbfchar\n<0003> <0043>\nendbfchar\n1 beginbfrange\n<01> <02> <0041>\nendbfrange");
    // A CMap of code length 0 is no CMap: the Type0 font says so with 101.
    EXPECT_EQ(g_store.fonts[1].conversion_type, kConversionNone);
    EXPECT_EQ(Codes(), std::vector<int>({101}));
    EXPECT_EQ(g_store.fonts[1].code_length, 0);
    EXPECT_EQ(Cid(3), "");
    EXPECT_EQ(Text(1, 1), "");
    EXPECT_EQ(g_two_byte_registrations, 0);
}

TEST_F(ToUnicodeTest, CodesOutsideTheTablesAreNotStored) {
    LoadCMap(OneByte("1 beginbfchar\n<41> <0041>\nendbfchar"));
    const int before = g_store.fonts[1].one_byte_code_count;
    RegisterCode(1, 1, 256, 0x42);
    RegisterCode(1, 2, 0x10000, 0x42);
    RegisterCode(1, 2, -1, 0x42);
    EXPECT_EQ(g_store.fonts[1].one_byte_code_count, before);
    EXPECT_EQ(g_two_byte_registrations, 0);
    EXPECT_EQ(Text(1, 0x41), "A");
}

}  // namespace
}  // namespace velmora
