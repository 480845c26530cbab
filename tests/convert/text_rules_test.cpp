// Small files, one per rule of reading texts, converted and saved: each text is checked in the
// written JWW file by its string, size and position.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "../jww/jww_fixture.h"
#include "convert/driver.h"
#include "support/pdf_maker.h"

namespace velmora {
namespace {

using test_support::TextPagePdf;

// Where a point of the 200 × 100 page lands in the JWW file: millimetres from the page centre.
constexpr double kPageWidth = 200.0, kPageHeight = 100.0;
double JwwX(double x) { return (x - kPageWidth / 2) * kMmPerPoint; }
double JwwY(double y) { return (y - kPageHeight / 2) * kMmPerPoint; }

const std::string kFontResources = "<</Font <</F1 10 0 R>>>>";

struct TextRule {
    const char* name;
    std::string resources;                // the page's Resources value
    std::map<int, std::string> objects;   // font 10 and its helpers
    std::string content;
    std::string text;                     // the first text, Shift-JIS
    double x, y, size;                    // its start and size in page points
};

std::string Type0(const std::string& encoding) {
    return "<</Type/Font/Subtype/Type0/BaseFont/Ryumin-Light/Encoding/" + encoding +
           "/DescendantFonts [11 0 R]>>";
}
std::string CidFont(const std::string& ordering) {
    return "<</Type/Font/Subtype/CIDFontType0/BaseFont/Ryumin-Light/CIDSystemInfo <</Registry (Adobe)/Ordering (" +
           ordering + ")/Supplement 6>>/FontDescriptor 12 0 R>>";
}
const std::string kHelvetica = "<</Type/Font/Subtype/Type1/BaseFont/Helvetica/Encoding/WinAnsiEncoding>>";
const std::string kHiraganaA =
    "<</Type/Font/Subtype/Type1/BaseFont/Times-Roman/Encoding <</Type/Encoding/Differences [65 /uni3042]>>>>";

std::vector<TextRule> Rules() {
    return {
        {"StandardEncodingType1WithDifferencesAtTheirCodes", kFontResources,
         {{10, "<</Type/Font/Subtype/Type1/BaseFont/Times-Roman/Encoding 11 0 R>>"},
          {11, "<</Type/Encoding/Differences [65 /uni3042 /afii10017 200 /a]>>"}},
         "BT /F1 12 Tf 10 20 Td (AB'C) Tj ET", "あА’C", 10, 20, 12},
        {"TrueTypeMacRoman", kFontResources,
         {{10, "<</Type/Font/Subtype/TrueType/BaseFont/ABCDEF+Helvetica/FirstChar 32/Encoding/MacRomanEncoding>>"}},
         "BT /F1 8 Tf 30 40 Td (\\241\\261) Tj ET", "°±", 30, 40, 8},
        {"WinAnsiOctalEscape", kFontResources,
         {{10, "<</Type/Font/Subtype/TrueType/BaseFont/Arial/FirstChar 32/Encoding/WinAnsiEncoding>>"}},
         "BT /F1 10 Tf 5 5 Td (A\\261B) Tj ET", "A±B", 5, 5, 10},
        {"Type3WithoutBaseFont", kFontResources,
         {{10, "<</Type/Font/Subtype/Type3/FontBBox [0 0 1 1]/FontMatrix [.001 0 0 .001 0 0]/CharProcs 11 0 R"
               "/Encoding <</Type/Encoding/Differences [1 /H /i]>>/FirstChar 1/LastChar 2/Widths [500 500]>>"},
          {11, "<<>>"}},
         "BT /F1 10 Tf 1 0 0 1 50 60 Tm <0102> Tj ET", "Hi", 50, 60, 10},
        {"FontEntryThatIsAReference", "13 0 R",
         {{10, kHelvetica}, {13, "<</Font 14 0 R/ProcSet [/PDF /Text]>>"}, {14, "<</F1 10 0 R>>"}},
         "BT /F1 10 Tf 20 20 Td (Ref) Tj ET", "Ref", 20, 20, 10},
        {"UniJisUcs2Codes", kFontResources,
         {{10, Type0("UniJIS-UCS2-H")}, {11, CidFont("Japan1")}, {12, "<</Type/FontDescriptor>>"}},
         "BT /F1 10 Tf 20 30 Td <30423044> Tj ET", "あい", 20, 30, 10},
        {"IdentityHOverAdobeJapan1", kFontResources,
         {{10, Type0("Identity-H")}, {11, CidFont("Japan1")}, {12, "<</Type/FontDescriptor>>"}},
         "BT /F1 10 Tf 20 30 Td <034B034C> Tj ET", "あぃ", 20, 30, 10},
        // Shift-JIS codes: one byte outside the lead bytes, two after one.
        {"ShiftJisCMapMixesOneAndTwoByteCodes", kFontResources,
         {{10, Type0("90ms-RKSJ-H")}, {11, CidFont("Japan1")}, {12, "<</Type/FontDescriptor>>"}},
         "BT /F1 10 Tf 20 30 Td <4182A082A231> Tj ET", "Aあい1", 20, 30, 10},
        // JIS codes of a vertical CMap give the characters the horizontal one gives.
        {"JisVerticalCMapReadsAsHorizontal", kFontResources,
         {{10, Type0("V")}, {11, CidFont("Japan1")}, {12, "<</Type/FontDescriptor>>"}},
         "BT /F1 10 Tf 20 30 Td <24222122> Tj ET", "あ、", 20, 30, 10},
        {"TfBeforeBT", kFontResources, {{10, kHelvetica}},
         "/F1 14 Tf BT 10 20 Td (A) Tj ET", "A", 10, 20, 14},
        {"CmBeforeQAppliesOnce", kFontResources, {{10, kHelvetica}},
         "2 0 0 2 20 10 cm q BT /F1 5 Tf 1 0 0 1 10 5 Tm (A) Tj ET Q", "A", 40, 20, 10},
        {"ArrayAndOperatorsWithoutBlanks", kFontResources, {{10, kHelvetica}},
         "BT/F1 10 Tf 1 0 0 1 10 20 Tm/F1 10 Tf[(A)-5(B)]TJ ET", "AB", 10, 20, 10},
        {"OneByteHexString", kFontResources, {{10, kHelvetica}},
         "BT /F1 10 Tf 10 20 Td <41b14220d7>Tj ET", "A±B ×", 10, 20, 10},
        {"BalancedParenthesesAndLineContinuation", kFontResources, {{10, kHelvetica}},
         "BT /F1 10 Tf 10 20 Td (a(b)c\\\nd) Tj ET", "a(b)cd", 10, 20, 10},
        // The form names its font F1 as the page does, for another font: the form's own wins.
        {"FormWithItsOwnFonts", "<</Font <</F1 10 0 R>>/XObject <</Fm1 13 0 R>>>>",
         {{10, kHelvetica},
          {13, test_support::StreamBody("/Type/XObject/Subtype/Form/BBox [0 0 200 100]"
                                        "/Resources <</Font <</F1 14 0 R>>>>",
                                        "BT /F1 10 Tf 20 20 Td <00010002> Tj ET")},
          {14, "<</Type/Font/Subtype/Type0/BaseFont/Digits/Encoding/Identity-H/ToUnicode 15 0 R>>"},
          {15, test_support::StreamBody("", "1 begincodespacerange <0000> <FFFF> endcodespacerange\n"
                                            "1 beginbfchar <0001> <0033> <0002> <0038> endbfchar")}},
         "/Fm1 Do", "38", 20, 20, 10},
        // Font dictionaries written in place: F1's own names are no slots, and F1 is not the
        // object named after it.
        {"FontDictionaryWrittenInPlace",
         "<</Font <</F1 <</Type/Font/Subtype/Type1/BaseFont/Times-Roman>>/F2 10 0 R>>>>",
         {{10, kHiraganaA}}, "BT /F1 10 Tf 10 20 Td (AB) Tj /F2 10 Tf (A) Tj ET", "AB", 10, 20, 10},
        {"FormFontWrittenInPlace", "<</Font <</F1 10 0 R>>/XObject <</Fm1 13 0 R>>>>",
         {{10, kHelvetica},
          {13, test_support::StreamBody("/Type/XObject/Subtype/Form/BBox [0 0 200 100]"
                                        "/Resources <</Font <</F1 " + kHiraganaA + ">>>>",
                                        "BT /F1 10 Tf 20 20 Td (AB) Tj ET")}},
         "/Fm1 Do", "あB", 20, 20, 10},
        // As Qt writes a dimension's font: one range whose destination is an array.
        {"ArrayRangeDestination", kFontResources,
         {{10, "<</Type/Font/Subtype/Type0/BaseFont/QtFont/Encoding/Identity-H/ToUnicode 11 0 R>>"},
          {11, test_support::StreamBody("", "1 begincodespacerange <0000> <FFFF> endcodespacerange\n"
                                            "1 beginbfrange <0001> <0004> [<0034> <0032> <0037> <2300>] endbfrange")}},
         "BT /F1 10 Tf 10 20 Td <0004000100020003> Tj ET", "φ427", 10, 20, 10},
    };
}

class TextRulesTest : public JwwTest {};

TEST_F(TextRulesTest, EachRuleGivesItsTextInTheWrittenFile) {
    for (const TextRule& rule : Rules()) {
        SCOPED_TRACE(rule.name);
        const std::string pdf_path = PathOf(std::string(rule.name) + ".pdf");
        const std::string jww_path = PathOf(std::string(rule.name) + ".jww");
        std::ofstream(pdf_path, std::ios::binary) << TextPagePdf(rule.resources, rule.content, rule.objects);
        ResetForFile();
        ASSERT_TRUE(LoadForConversion(nullptr, pdf_path.c_str()));
        ASSERT_TRUE(SaveJwwPage(nullptr, jww_path.c_str(), 1));
        test_support::JwwFile file;
        std::string error;
        ASSERT_TRUE(test_support::ReadJwwFile(jww_path, &file, &error)) << error;
        ASSERT_FALSE(file.texts.empty());
        const test_support::JwwText& text = file.texts[0];
        EXPECT_EQ(text.text, rule.text);
        EXPECT_NEAR(text.size_y, rule.size * kMmPerPoint, 1e-6);
        EXPECT_NEAR(text.x1, JwwX(rule.x), 1e-6);
        EXPECT_NEAR(text.y1, JwwY(rule.y), 1e-6);
        EXPECT_EQ(text.angle, 0.0);
    }
}

}  // namespace
}  // namespace velmora
