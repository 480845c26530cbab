// Font registration through the page set-up: slots, one FontDef per font object, base and JWW
// names, conversion types, the Differences table and the limit of 1999 fonts.
#include <cstring>
#include <map>
#include <string>

#include "fonts/font_resources.h"
#include "fonts/font_fixture.h"
#include "support/pdf_maker.h"
#include "fonts/font_buffers.h"

namespace velmora {
namespace {

using test_support::FlateStreamBody;

const std::string kPlainCMap = "begincodespacerange <00> <FF> endcodespacerange 1 beginbfchar <41> <0041> endbfchar";

class FontResourcesTest : public FontTest {
protected:
    static void SetFontChange(std::initializer_list<std::pair<const char*, const char*>> pairs) {
        int i = 0;
        for (const auto& [pdf, jww] : pairs) {
            std::strcpy(g_settings.font_change_pdf[i], pdf);
            std::strcpy(g_settings.font_change_jww[i], jww);
            ++i;
        }
        g_settings.font_change_count = i;
        std::strcpy(g_settings.font_default, "既定");
    }
};

TEST_F(FontResourcesTest, PagesSharingAFontObjectShareItsFontDef) {
    LoadDocument({"/F1 10 0 R/F2 11 0 R", "/R7 11 0 R"},
                 {{10, Font("Type1")}, {11, Font("TrueType", "/FirstChar 32")}});
    SetUpPage(1);
    SetUpPage(2);
    EXPECT_EQ(g_store.font_count, 2);
    EXPECT_EQ(g_store.pages[1].font_count, 2);
    EXPECT_STREQ(g_store.pages[1].font_resource_names[2], "F2");
    EXPECT_EQ(g_store.pages[1].font_objects[2], 11);
    EXPECT_EQ(SlotFont(2, 1), 2);
    EXPECT_STREQ(g_store.pages[2].font_resource_names[1], "R7");
    EXPECT_EQ(g_store.fonts[2].page, 1);
    EXPECT_STREQ(g_store.fonts[2].resource_name, "F2");
    EXPECT_STREQ(g_store.fonts[2].subtype, "TrueType");
}

TEST_F(FontResourcesTest, BaseNamesDropTheSubsetTagAndDecodeEscapes) {
    SetFontChange({{"Gothic", "ゴシック"}, {"MS", "明朝"}});
    SetUpOnePage("/F1 10 0 R /F2 11 0 R /F3 12 0 R",
                 {{10, "<</Type/Font/Subtype/TrueType/BaseFont /ABCDEF+MS#20Gothic\n/FirstChar 1>>"},
                  {11, Font("Type1", "", "MS-Mincho#2")},
                  {12, Font("Type1", "", "Helvetica")}});
    EXPECT_STREQ(g_store.base_font_names[1], "MS Gothic");
    EXPECT_STREQ(g_store.jww_font_names[1], "ゴシック");  // the first pair that matches wins
    EXPECT_STREQ(g_store.base_font_names[2], "MS-Mincho#2");
    EXPECT_STREQ(g_store.jww_font_names[2], "明朝");
    EXPECT_STREQ(g_store.jww_font_names[3], "既定");
}

TEST_F(FontResourcesTest, ConversionTypesFollowTheSubtype) {
    SetUpOnePage("/A 10 0 R/B 11 0 R/C 12 0 R/D 13 0 R/E 14 0 R/F 15 0 R/G 16 0 R",
                 {{10, Font("Type1", "/ToUnicode 20 0 R")},
                  {11, Font("Type1")},
                  {12, Font("CIDFontType2")},
                  {13, Font("Type3")},
                  {14, Font("TrueType", "/FirstChar 32 /Encoding /WinAnsiEncoding /ToUnicode 20 0 R")},
                  {15, "<</Type/XObject/Subtype/Form/BaseFont/X>>"},
                  {16, "<</Type/Font/BaseFont/NoSubtype>>"},
                  {20, FlateStreamBody("", kPlainCMap)}});
    EXPECT_EQ(g_store.fonts[SlotFont(1, 1)].conversion_type, kConversionToUnicode);
    EXPECT_EQ(g_store.fonts[SlotFont(1, 1)].code_length, 1);
    // A Type1 font without a CMap reads StandardEncoding; a Type3 font only what its encoding names.
    EXPECT_EQ(g_store.fonts[SlotFont(1, 2)].conversion_type, kConversionDifferences);
    EXPECT_STREQ(g_store.fonts[SlotFont(1, 2)].one_byte_codes[0x27], "’");
    EXPECT_EQ(g_store.fonts[SlotFont(1, 3)].conversion_type, kConversionCidFontType2);
    EXPECT_EQ(g_store.fonts[SlotFont(1, 4)].conversion_type, kConversionNone);
    // A CMap is preferred over the encoding's name.
    EXPECT_EQ(g_store.fonts[SlotFont(1, 5)].conversion_type, kConversionToUnicode);
    EXPECT_FALSE(g_font_use.winansi_seen);
    // No font: not registered. No Subtype: counted, but the slot keeps no FontDef.
    EXPECT_EQ(SlotFont(1, 6), 0);
    EXPECT_EQ(SlotFont(1, 7), 0);
    EXPECT_EQ(g_store.font_count, 6);
    EXPECT_STREQ(g_store.base_font_names[6], "NoSubtype");
    EXPECT_TRUE(Codes().empty());
}

TEST_F(FontResourcesTest, WinAnsiTrueTypePassesBytesAndRecords100) {
    SetUpOnePage("/F1 10 0 R", {{10, Font("TrueType", "/FirstChar 32 /Encoding /WinAnsiEncoding")}});
    EXPECT_EQ(g_store.fonts[1].conversion_type, kConversionWinAnsi);
    EXPECT_EQ(Codes(), std::vector<int>({100}));
    EXPECT_TRUE(g_font_use.winansi_seen);
}

TEST_F(FontResourcesTest, Type0FontsWriteVerticallyByTheirCMapsName) {
    SetUpOnePage("/A 10 0 R/B 11 0 R/C 12 0 R/D 13 0 R/E 14 0 R",
                 {{10, Font("Type0", "/Encoding /Identity-V")},
                  {11, Font("Type0", "/Encoding /90ms-RKSJ-V")},
                  {12, Font("Type0", "/Encoding /Identity-H")},
                  {13, Font("Type0", "/Encoding 20 0 R")},
                  {14, Font("Type1", "/Encoding /V")},  // a simple font has no writing mode
                  {20, FlateStreamBody("/Type/CMap/CMapName/Own-V/WMode 1", kPlainCMap)}});
    std::vector<int> vertical;
    for (int slot = 1; slot <= 5; ++slot) vertical.push_back(g_store.fonts[SlotFont(1, slot)].vertical);
    EXPECT_EQ(vertical, std::vector<int>({1, 1, 0, 1, 0}));
}

TEST_F(FontResourcesTest, Type0WithoutToUnicodeGetsNoTextAndRecords101) {
    SetUpOnePage("/F1 10 0 R", {{10, Font("Type0", "/Encoding /Identity-H")}});
    EXPECT_EQ(g_store.fonts[1].conversion_type, kConversionNone);
    EXPECT_EQ(Codes(), std::vector<int>({101}));

    // Identity over another collection says nothing either; Japan1 (here through a referenced
    // descendant array and CIDSystemInfo) and the Unicode CMaps, vertical forms too, do.
    const std::string descendant = "<</Type/Font/Subtype/CIDFontType0/BaseFont/X/CIDSystemInfo 13 0 R>>";
    SetUpOnePage("/F1 10 0 R/F2 11 0 R/F3 14 0 R/F4 15 0 R",
                 {{10, Font("Type0", "/Encoding /Identity-V /DescendantFonts [12 0 R]")},
                  {11, Font("Type0", "/Encoding/Identity-H/DescendantFonts 16 0 R")},
                  {12, "<</Type/Font/Subtype/CIDFontType0/BaseFont/X/CIDSystemInfo <</Registry (Adobe)/Ordering (GB1)>>>>"},
                  {13, "<</Registry (Adobe) /Ordering (Japan1) /Supplement 6>>"},
                  {14, Font("Type0", "/Encoding /UniJIS-UCS2-HW-V")},
                  {15, Font("Type0", "/Encoding /UniJIS-UTF16-H")},
                  {16, "[17 0 R]"},
                  {17, descendant}});
    EXPECT_EQ(g_store.fonts[SlotFont(1, 1)].conversion_type, kConversionNone);
    EXPECT_EQ(g_store.fonts[SlotFont(1, 2)].conversion_type, kConversionAdobeJapan1);
    EXPECT_EQ(g_store.fonts[SlotFont(1, 2)].code_length, 2);
    EXPECT_EQ(g_store.fonts[SlotFont(1, 3)].conversion_type, kConversionUnicodeCMap);
    EXPECT_EQ(g_store.fonts[SlotFont(1, 4)].conversion_type, kConversionUnicodeCMap);
    EXPECT_EQ(Codes(), std::vector<int>({101}));
}

TEST_F(FontResourcesTest, EncodingTablesFromBaseDifferencesAndGlyphNames) {
    // The Differences numbers set the code of the names after them; names the glyph list does
    // not know leave their code empty; a variant suffix and uniXXXX / uXXXX forms are read.
    SetUpOnePage("/F1 10 0 R/F2 11 0 R/F3 12 0 R/F4 14 0 R",
                 {{10, Font("Type1", "/Encoding <</BaseEncoding /WinAnsiEncoding /Differences [39 /quotesingle 65 "
                                     "/g123 /B.sc /uni30A2 /u30A4 /afii10017 /fi]>>")},
                  {11, Font("TrueType", "/FirstChar 32 /Encoding /MacRomanEncoding")},
                  {12, Font("Type3", "/Encoding 13 0 R")},
                  {13, "<</Differences [0 /zero /one]>>"},
                  {14, "<</Subtype /Type1 /Type /Font /BaseFont /Helvetica>>"}});
    const int f1 = SlotFont(1, 1);
    EXPECT_EQ(g_store.fonts[f1].conversion_type, kConversionDifferences);
    EXPECT_EQ(Text(f1, 39), "'");
    EXPECT_EQ(Text(f1, 65), "");
    EXPECT_EQ(Text(f1, 66), "B");
    EXPECT_EQ(Text(f1, 67), "ア");
    EXPECT_EQ(Text(f1, 68), "イ");
    EXPECT_EQ(Text(f1, 69), "А");
    EXPECT_EQ(Text(f1, 70), "fi");  // code page 932 has no ligature
    EXPECT_EQ(Text(f1, 0xB1), "±");  // from the WinAnsi base
    EXPECT_EQ(Text(SlotFont(1, 2), 0xA1), "°");
    EXPECT_EQ(Text(SlotFont(1, 2), 0x27), "'");
    const int f3 = SlotFont(1, 3);
    EXPECT_EQ(g_store.fonts[f3].one_byte_code_count, 2);  // Type3: no base encoding
    EXPECT_EQ(Text(f3, 1), "1");
    EXPECT_EQ(g_store.base_font_names[f3], std::string("Test"));
    // The Type entry after the Subtype's value is found: the walk resumes at each entry's end.
    ASSERT_NE(SlotFont(1, 4), 0);
    EXPECT_EQ(Text(SlotFont(1, 4), 'A'), "A");
}

TEST_F(FontResourcesTest, DifferencesGiveTheNthNameToCodeN) {
    SetUpOnePage("/F1 10 0 R", {{10, Font("TrueType", "/FirstChar 1 /Encoding 9 0 R")},
                                {9, "<</Type/Encoding/Differences [1 /three /period /A]>>"}});
    EXPECT_EQ(g_store.fonts[1].conversion_type, kConversionDifferences);
    EXPECT_EQ(std::string(g_store.differences_table + 1, 3), "3.A");
    EXPECT_EQ(g_store.differences_count, 3);

    SetUpOnePage("/F1 10 0 R", {{10, Font("TrueType", "/FirstChar 1 /Encoding 9 0 R")},
                                {9, "<</Type/Encoding/Differences [32 /space 48 /zero /onehalf /uni3042 /dummy7\n"
                                    "/minus/hyphen/o /parenleft]>>"}});
    EXPECT_EQ(std::string(g_store.differences_table + 1, 9), " 01u#--o(");
    EXPECT_EQ(g_store.differences_table[32], '\0');
    EXPECT_EQ(g_store.differences_count, 9);
}

TEST_F(FontResourcesTest, MoreThan255GlyphNamesReplaceCode255) {
    std::string names;
    for (int n = 0; n < 300; ++n) names += n < 299 ? "/a" : "/B";
    SetUpOnePage("/F1 10 0 R", {{10, Font("TrueType", "/FirstChar 1 /Encoding 9 0 R")},
                                {9, "<</Differences [" + names + "]>>"}});
    EXPECT_EQ(g_store.differences_count, 255);
    EXPECT_EQ(g_store.differences_table[254], 'a');
    EXPECT_EQ(g_store.differences_table[255], 'B');
}

TEST_F(FontResourcesTest, SlotsAndNamesAreCutToThePageRecord) {
    std::string fonts;
    for (int n = 0; n < 300; ++n) fonts += "/F" + std::to_string(n) + " 10 0 R ";
    const std::string long_name = "/" + std::string(400, 'L') + " 10 0 R";
    LoadDocument({fonts.substr(0, 1000), long_name}, {{10, Font("Type1")}});
    SetUpPage(1);
    SetUpPage(2);
    EXPECT_GT(g_store.pages[1].font_count, 50);
    EXPECT_LE(g_store.pages[1].font_count, 255);
    EXPECT_EQ(g_store.font_count, 1);
    EXPECT_EQ(std::strlen(g_store.pages[2].font_resource_names[1]), 254u);
    EXPECT_EQ(SlotFont(2, 1), 1);
}

TEST_F(FontResourcesTest, The2000thFontReusesEntry1999) {
    std::map<int, std::string> objects;
    for (int n = 0; n < 2001; ++n) objects[1000 + n] = Font("Type1", "", "Font" + std::to_string(n));
    LoadDocument({"/F1 1000 0 R"}, objects);
    for (int n = 0; n < 1999; ++n) ASSERT_EQ(RegisterFont(1, 1000 + n, "F"), n + 1);
    EXPECT_EQ(RegisterFont(1, 2999, "F"), 1999);
    EXPECT_EQ(RegisterFont(1, 3000, "F"), 1999);
    EXPECT_EQ(g_store.font_count, 1999);
    EXPECT_EQ(g_store.fonts[1999].font_object, 3000);
    EXPECT_STREQ(g_store.base_font_names[1999], "Font2000");
    EXPECT_EQ(RegisterFont(1, 1000, "F"), 1);
}

TEST_F(FontResourcesTest, ANewFileStartsWithNoFonts) {
    SetUpOnePage("/F1 10 0 R", {{10, Font("Type1", "", "First")}});
    SetUpOnePage("/F1 10 0 R", {{10, Font("Type1", "", "Second")}});
    EXPECT_EQ(g_store.font_count, 1);
    EXPECT_STREQ(g_store.base_font_names[1], "Second");
}

}  // namespace
}  // namespace velmora
