// The scale a PDF states: its viewport measure when it names a unit and covers the drawing, else a
// scale printed among its texts; offered by the window once per file, applied by --scale auto, and
// written into the JWW as the drawing's scale.
#include <gtest/gtest.h>

#include <string>

#include "convert/document_reset.h"
#include "convert/stated_scale.h"
#include "jww/jww_fixture.h"
#include "jww/jww_save.h"
#include "platform/test_seam.h"
#include "settings/settings.h"
#include "settings/settings_text.h"
#include "support/converted_page.h"
#include "support/pdf_maker.h"
#include "tools/page_scale.h"
#include "tools/scale_offer.h"
#include "tools/tool_state.h"

namespace velmora {
namespace {

using test_support::JwwFile;
using test_support::PdfMaker;

// An A4 page with a frame, the texts given as "x y (text)" each, and `page_extra` (a /VP entry).
std::string SheetPdf(const std::vector<std::string>& texts, const std::string& page_extra = "") {
    std::string content = "10 10 m 585 10 l 585 832 l 10 832 l h S 100 100 m 400 500 l S";
    for (const std::string& t : texts) content += " BT /F1 10 Tf " + t + " Tj ET";
    PdfMaker pdf = test_support::PageDocument("/MediaBox [0 0 595 842]" + page_extra + "/Resources <</Font <</F1 6 0 R>>>>", content);
    pdf.Add(6, "<</Type/Font/Subtype/Type1/BaseFont/Helvetica>>");
    return pdf.Finish(pdf.ClassicXref("/Root 1 0 R/Info 2 0 R"));
}

std::string Viewport(const std::string& bbox, const std::string& unit, const std::string& factor) {
    return "/VP [<</Type/Viewport/BBox [" + bbox + "]/Measure <</Type/Measure/Subtype/RL/R (1 mm = 50 mm)"
           "/X [<</Type/NumberFormat/U (" + unit + ")/C " + factor + ">>]/D [<</U (" + unit + ")/C 1>>]>>>>]";
}

TEST(ScaleInTextTest, EachWayOfPrintingAScaleIsReadAndFractionsAreNot) {
    struct Case {
        const char* text;
        int strength;
        int denominator;
    };
    const Case cases[] = {
        {"S=1/100", 2, 100},         {"S:1/50", 2, 50},          {"縮尺 1:100", 2, 100},
        {"SCALE 1:50", 2, 50},       {"A3 1/200", 2, 200},       {"Scale 1 : 5", 2, 5},
        {"Ｓ＝１／１００", 2, 100}, {"縮尺　１：２００", 2, 200}, {"平面図 1/100", 1, 100},
        {"1/100", 1, 100},           {"(1:30)", 1, 30},
        // Fractions, dimensions and sheet numbers: none.
        {"3-1/2", 0, 0},  {"1/2\"", 0, 0}, {"1/4W", 0, 0},   {"11/100", 0, 0}, {"1.5/100", 0, 0},
        {"R1/2", 0, 0},   {"1/2.5", 0, 0}, {"SHEET 1/3", 0, 0}, {"1/100/200", 0, 0}, {"2025/07/01", 0, 0},
    };
    for (const Case& c : cases) {
        const ScaleInText found = FindScaleInText(c.text, static_cast<int32_t>(std::strlen(c.text)));
        EXPECT_EQ(found.strength, c.strength) << c.text;
        if (c.strength > 0) {
            EXPECT_EQ(found.denominator, c.denominator) << c.text;
        }
    }
    EXPECT_STREQ(FindScaleInText("A3 1/200", 8).paper, "A3");
    EXPECT_EQ(FindScaleInText("平面図 1/100", 12).names_drawing, 1);
    EXPECT_EQ(FindScaleInText("1/100", 5).names_drawing, 0);
}

class StatedScaleTest : public JwwTest {
protected:
    const StatedScale& Convert(const std::string& pdf) {
        ResetForFile();
        test_support::ConvertBytes(pdf);
        g_store.current_page = 1;
        return g_stated_scales[1];
    }
    JwwFile SaveAndRead() {
        JwwFile file;
        const std::string path = PathOf("scale.jww");
        std::string error;
        EXPECT_TRUE(SaveJwwPage(nullptr, path.c_str(), 1));
        EXPECT_TRUE(test_support::ReadJwwFile(path, &file, &error)) << error;
        return file;
    }
    void TearDown() override {
        g_settings.stated_scale = 0;
        JwwTest::TearDown();
    }
};

TEST_F(StatedScaleTest, AMeasureWithAUnitGivesTheScaleOneWithoutAUnitOrOffTheDrawingDoesNot) {
    // 1/50 in millimetres: 50 mm real per paper millimetre, 0.352777 mm a point.
    const StatedScale& mm = Convert(SheetPdf({"500 30 Td (S=1/200)"}, Viewport("0 0 595 842", "mm", "17.63885")));
    EXPECT_EQ(mm.measure, PageMeasureKind::kWithUnit);
    EXPECT_EQ(mm.source, StatedScaleSource::kMeasure);
    EXPECT_EQ(mm.denominator, 50);
    EXPECT_NEAR(mm.ratio, 50.0, 1e-3);
    EXPECT_STREQ(mm.viewport.ratio_text, "1 mm = 50 mm");
    ASSERT_TRUE(ApplyStatedScale(1));
    EXPECT_EQ(g_store.pages[1].scale_denominator, 50);
    const JwwFile file = SaveAndRead();
    EXPECT_DOUBLE_EQ(file.groups[0].scale, 50.0);

    // In metres the same sheet is 1/50 too: 0.05 m a paper millimetre.
    EXPECT_EQ(Convert(SheetPdf({}, Viewport("0 0 595 842", "m", "0.01763885"))).denominator, 50);

    // No unit (as AutoCAD writes it): the factor is kept for the report, the texts decide.
    const StatedScale& unitless = Convert(SheetPdf({"500 30 Td (SCALE 1:200)"}, Viewport("0 0 595 842", " ", "0.39574")));
    EXPECT_EQ(unitless.measure, PageMeasureKind::kWithoutUnit);
    EXPECT_DOUBLE_EQ(unitless.viewport.factor, 0.39574);
    EXPECT_EQ(unitless.source, StatedScaleSource::kText);
    EXPECT_EQ(unitless.denominator, 200);

    // A viewport around a corner detail is not the drawing's scale.
    const StatedScale& corner = Convert(SheetPdf({}, Viewport("500 700 590 840", "mm", "17.63885")));
    EXPECT_EQ(corner.measure, PageMeasureKind::kNotCovering);
    EXPECT_EQ(PageStatedScale(1), nullptr);
    EXPECT_FALSE(ApplyStatedScale(1));
    EXPECT_EQ(g_store.pages[1].scale_denominator, 1);
}

TEST_F(StatedScaleTest, TheTitleBlockIsReadFirstAndAFractionBesideNoScaleWordIsNot) {
    // A dimension's "1/2" in the drawing, and "S=" and "1/100" shown in two pieces in the title block.
    const StatedScale& pieces = Convert(SheetPdf({"250 400 Td (1/2)", "60 400 Td (DETAIL 1/5)", "480 40 Td (S=)",
                                                  "492 40 Td (1/100)"}));
    EXPECT_EQ(pieces.source, StatedScaleSource::kText);
    EXPECT_EQ(pieces.denominator, 100);
    EXPECT_STREQ(pieces.text, "S=1/100");

    // A bare "1/50" counts beside a drawing's title, not on its own.
    EXPECT_EQ(Convert(SheetPdf({"480 60 Td (FLOOR PLAN)", "480 45 Td (1/50)"})).denominator, 50);
    EXPECT_EQ(Convert(SheetPdf({"250 400 Td (1/2)", "480 45 Td (1/50)"})).source, StatedScaleSource::kNone);

    // Of two sizes of paper the page's own (A4) is taken.
    EXPECT_EQ(Convert(SheetPdf({"480 60 Td (A1 1/50)", "480 45 Td (A4 1/100)"})).denominator, 100);
}

TEST_F(StatedScaleTest, TheWindowAsksOncePerFileAndOnlyWithItsKey) {
    const std::string sheet = SheetPdf({"480 40 Td (S=1/100)"});
    Convert(sheet);
    EXPECT_FALSE(OfferStatedScale(nullptr));  // no PDFSCALE line: no question
    EXPECT_TRUE(g_test_seam.messages.empty());

    ApplySettingsText("PDFSCALE 1\r\n");
    ASSERT_EQ(g_settings.stated_scale, 1);
    g_test_seam.answers.push_back(MessageAnswer::Cancel);
    EXPECT_FALSE(OfferStatedScale(nullptr));
    ASSERT_EQ(g_test_seam.messages.size(), 1u);
    EXPECT_EQ(g_test_seam.messages[0].text, "図面に縮尺 1/100 の記載があります。この縮尺を使いますか？");
    EXPECT_EQ(g_test_seam.messages[0].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(g_store.pages[1].scale_denominator, 1);
    EXPECT_FALSE(OfferStatedScale(nullptr));  // declined: not asked again in this file
    EXPECT_EQ(g_test_seam.messages.size(), 1u);

    ResetToolsForFile();
    Convert(sheet);
    g_test_seam.answers.push_back(MessageAnswer::Ok);
    EXPECT_TRUE(OfferStatedScale(nullptr));
    EXPECT_EQ(g_store.pages[1].scale_denominator, 100);
    EXPECT_EQ(SaveAndRead().groups[0].scale, 100.0);
    EXPECT_FALSE(OfferStatedScale(nullptr));  // a page with its scale set is not asked about
    EXPECT_EQ(g_test_seam.messages.size(), 2u);
}

}  // namespace
}  // namespace velmora
