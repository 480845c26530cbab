// Raster images are left out of the drawing, but never take the operators behind them along,
// and a page of images or of undecodable content is never taken for an empty page.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "content/form_xobject.h"
#include "convert/page_setup.h"
#include "pdf/error_list.h"
#include "support/converted_page.h"
#include "support/pdf_maker.h"
#include "support/store_fixture.h"

namespace velmora {
namespace {

using test_support::ConvertBytes;
using test_support::OnePageDocument;
using test_support::PdfMaker;
using test_support::Segment;
using test_support::StreamBody;

class ImagesTest : public StoreTest {
protected:
    static std::vector<int> Codes() { return std::vector<int>(g_errors.codes, g_errors.codes + g_errors.count); }
    static std::string WithContent(const std::string& content, const std::string& raw_content = "") {
        PdfMaker pdf = OnePageDocument("/MediaBox [0 0 595 842]", content);
        if (!raw_content.empty()) pdf.Add(5, StreamBody("", raw_content));
        return pdf.Finish(pdf.ClassicXref("/Root 1 0 R/Info 2 0 R"));
    }
};

TEST_F(ImagesTest, InlineImagesEndWhereTheirDictionarySaysAndNothingBehindIsLost) {
    // Unfiltered 4 x 2 RGB at 8 bits: 24 bytes, the last one right before EI, with "EI" and white
    // space inside the data.
    std::string data = "ab EI (defghijklmnopqr\nX";
    ASSERT_EQ(data.size(), 24u);
    const std::string unfiltered = "0 0 m 10 0 l S\nBI /W 4 /H 2 /BPC 8 /CS /RGB ID " + data + "EI\n0 0 m 0 10 l S\n";
    EXPECT_EQ(ConvertBytes(WithContent("", unfiltered)).size(), 2u);
    EXPECT_EQ(RasterImagesOnPage(1), 1);
    EXPECT_EQ(Codes(), std::vector<int>{kWarningRasterImages});

    // Long names, an image mask of 9 x 3 (2 bytes a row), then the next operator at once.
    const std::string mask = "BI /Width 9 /Height 3 /ImageMask true ID " + std::string("\x01\xFF" "EI" "\x02\x03", 6) +
                             "EI 0 0 m 5 5 l S";
    EXPECT_EQ(ConvertBytes(WithContent("", mask)).size(), 1u);

    // Filtered data ending directly in EI: the first EI that stands alone ends it, even with a
    // spaced EI of a later image further on.
    const std::string filtered = "BI /W 2 /H 2 /CS /G /F /AHx ID 00ff00ff>EI 0 0 m 7 7 l S";
    EXPECT_EQ(ConvertBytes(WithContent("", filtered)).size(), 1u);
    const std::string binary = "BI /W 9 /H 9 /CS /G /F /Fl ID " + std::string("x\x9c\x01EI\x02\xfe\x03", 8) +
                               "EI 0 0 m 7 7 l S BI /W 1 /H 1 /F /AHx ID 00> EI 0 0 m 5 5 l S";
    EXPECT_EQ(ConvertBytes(WithContent("", binary)).size(), 2u);
    // ASCII85 data that reads like content runs to its end mark.
    const std::string ascii85 = "BI /W 9 /H 9 /F [/A85 /Fl] ID Gb EI 0 0 m 3 3 l S\n~>EI 0 0 m 7 7 l S";
    EXPECT_EQ(ConvertBytes(WithContent("", ascii85)).size(), 1u);
    // Filtered data with white space before EI, and a look-alike inside.
    const std::string spaced = "BI /W 2 /H 2 /CS /G /F /AHx ID 00EIff00ff> EI 0 0 m 7 7 l S";
    EXPECT_EQ(ConvertBytes(WithContent("", spaced)).size(), 1u);
}

TEST_F(ImagesTest, ARasterOnlyPageIsCountedAndAnUndecodablePageIsUnreadable) {
    PdfMaker pdf = OnePageDocument("/MediaBox [0 0 595 842]/Resources <</XObject <</Im1 9 0 R>>>>",
                                   "q 100 0 0 100 0 0 cm /Im1 Do Q q /Im1 Do Q");
    pdf.Add(9, StreamBody("/Type/XObject/Subtype/Image/Width 1/Height 1/BitsPerComponent 8/ColorSpace/DeviceGray", "x"));
    EXPECT_TRUE(ConvertBytes(pdf.Finish(pdf.ClassicXref("/Root 1 0 R/Info 2 0 R"))).empty());
    EXPECT_EQ(RasterImagesOnPage(1), 2);
    EXPECT_FALSE(PageContentUnreadable(1));

    // A content stream whose inflate fails: the page is unreadable, not empty.
    PdfMaker broken = OnePageDocument();
    broken.Add(5, StreamBody("/Filter/FlateDecode", "this is no zlib data"));
    EXPECT_TRUE(ConvertBytes(broken.Finish(broken.ClassicXref("/Root 1 0 R/Info 2 0 R"))).empty());
    EXPECT_TRUE(PageContentUnreadable(1));
    const std::vector<int> codes = Codes();
    EXPECT_NE(std::find(codes.begin(), codes.end(), kWarningContentUnreadable), codes.end());
    EXPECT_EQ(RasterImagesOnPage(1), 0);
}

TEST_F(ImagesTest, DoFindsEachNameAsItsFirstEntryInItsOwnScopeAndManyImagesStayWithinTheBudget) {
    // Im1 is a prefix of Im10; Fm1 is named twice (the first entry counts); Bad is no reference;
    // the form's own resources name Im1 as a second form drawing one line.
    const std::string image =
        StreamBody("/Type/XObject/Subtype/Image/Width 1/Height 1/BitsPerComponent 8/ColorSpace/DeviceGray", "x");
    PdfMaker pdf = OnePageDocument(
        "/MediaBox [0 0 595 842]/Resources <</XObject <</Im10 9 0 R /Im1 10 0 R /Fm1 11 0 R /Fm1 9 0 R /Bad 7>>>>",
        "/Im1 Do /Im10 Do /Im2 Do /Bad Do /Fm1 Do /Im1 Do");
    pdf.Add(9, image);
    pdf.Add(10, image);
    pdf.Add(11, StreamBody("/Type/XObject/Subtype/Form/BBox [0 0 50 50]/Resources <</XObject <</Im1 12 0 R>>>>",
                           "/Im1 Do /Im10 Do"));
    pdf.Add(12, StreamBody("/Type/XObject/Subtype/Form/BBox [0 0 50 50]", "0 0 m 40 0 l S"));
    const std::vector<Segment> segments = ConvertBytes(pdf.Finish(pdf.ClassicXref("/Root 1 0 R/Info 2 0 R")));
    ASSERT_EQ(segments.size(), 1u);
    EXPECT_NEAR(segments[0].x2 - segments[0].x1, 40.0, 1e-9);
    EXPECT_EQ(RasterImagesOnPage(1), 3);

    // Two thousand images, each painted once: every one is counted and no dictionary search runs
    // out of the file's budget, which reading the /XObject dictionary at every Do would spend.
    constexpr int kImages = 2000;
    std::string names, content;
    for (int k = 0; k < kImages; ++k) {
        names += "/I" + std::to_string(k) + " " + std::to_string(20 + k) + " 0 R ";
        content += "q 10 0 0 10 0 0 cm /I" + std::to_string(k) + " Do Q\n";
    }
    PdfMaker many = OnePageDocument("/MediaBox [0 0 595 842]/Resources <</XObject <<" + names + ">>>>",
                                    content + "0 0 m 100 0 l S");
    for (int k = 0; k < kImages; ++k) many.Add(20 + k, image);
    ClearErrors();
    EXPECT_EQ(ConvertBytes(many.Finish(many.ClassicXref("/Root 1 0 R/Info 2 0 R"))).size(), 1u);
    EXPECT_EQ(RasterImagesOnPage(1), kImages);
    EXPECT_EQ(Codes(), std::vector<int>{kWarningRasterImages});
}

}  // namespace
}  // namespace velmora
