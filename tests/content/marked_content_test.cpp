// Marked content: each line and text records the PDF layer it was drawn in, through nested
// sequences, membership dictionaries and forms with their own /OC.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "content/marked_content.h"
#include "convert/document_reset.h"
#include "pdf/optional_content.h"
#include "support/converted_page.h"
#include "support/pdf_maker.h"
#include "support/store_fixture.h"

namespace velmora {
namespace {

using test_support::ConvertBytes;
using test_support::PdfMaker;

// Groups A, B, C (10, 11, 12; B off); membership dictionary 13 over C and A; form 20 in layer B.
std::string LayeredPage(const std::string& content, const std::string& form_content) {
    PdfMaker pdf = test_support::PageDocument(
        "/MediaBox [0 0 595 842]/Resources <</Font <</F1 6 0 R>>/Properties <</P1 10 0 R/P2 11 0 R/M 13 0 R/X 99 0 R>>"
        "/XObject <</Fm 20 0 R/Plain 21 0 R>>>>",
        content);
    pdf.Add(1, "<</Type/Catalog/Pages 3 0 R/OCProperties <</OCGs [10 0 R 11 0 R 12 0 R]/D <</OFF [11 0 R]>>>>>>");
    pdf.Add(6, "<</Type/Font/Subtype/Type1/BaseFont/Helvetica>>");
    pdf.Add(10, "<</Type/OCG/Name (A)>>");
    pdf.Add(11, "<</Type/OCG/Name (B)>>");
    pdf.Add(12, "<</Type/OCG/Name (C)>>");
    pdf.Add(13, "<</Type/OCMD/OCGs [99 0 R 12 0 R 10 0 R]/P /AllOn>>");
    pdf.Add(20, test_support::StreamBody("/Type/XObject/Subtype/Form/BBox [0 0 999 999]/OC 11 0 R", form_content));
    pdf.Add(21, test_support::StreamBody("/Type/XObject/Subtype/Form/BBox [0 0 999 999]", "80 0 m 81 0 l S"));
    return pdf.Finish(pdf.ClassicXref("/Root 1 0 R/Info 2 0 R"));
}

std::vector<int> LineLayers() {
    std::vector<int> layers;
    for (int32_t i = 0; i < g_store.conversion.line_count; ++i) layers.push_back(g_store.lines[i].pdf_layer);
    return layers;
}

class MarkedContentTest : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        ResetForFile();
    }
};

TEST_F(MarkedContentTest, LinesAndTextsCarryTheInnermostLayerThroughNestingAndForms) {
    ConvertBytes(LayeredPage(
        "0 0 m 1 0 l S "
        "/OC /P1 BDC 10 0 m 11 0 l S /Span <</MCID 1>> BDC 20 0 m 21 0 l S EMC "
        "/OC /P2 BDC 30 0 m 31 0 l S EMC EMC "
        "/OC /M BDC 40 0 m 41 0 l S EMC "
        "/OC /P1 BDC /Fm Do EMC 70 0 m 71 0 l S "
        "/OC /P2 BDC /Plain Do /Artifact BMC 90 0 m 91 0 l S EMC EMC "
        "/OC /X BDC 95 0 m 96 0 l S EMC "
        "/OC /P2 BDC BT /F1 12 Tf 100 100 Td (Hi) Tj ET EMC",
        // The form's surplus EMCs close nothing of its caller; the sequence it leaves open ends with it.
        "50 0 m 51 0 l S EMC EMC /OC /P1 BDC 60 0 m 61 0 l S"));
    ASSERT_EQ(g_optional_content.count, 3);
    EXPECT_EQ(g_optional_content.groups[2].visible, 0);
    // 0 outside; A, A through a Span; B nested; C (first held group of the membership
    // dictionary); B from the form's /OC, A inside it; 0 after; B for a plain form and a BMC
    // inside B; 0 for a name that is no group.
    EXPECT_EQ(LineLayers(), (std::vector<int>{0, 1, 1, 2, 3, 2, 1, 0, 2, 2, 0}));
    ASSERT_EQ(g_store.conversion.text_count, 1);
    EXPECT_EQ(g_store.texts[0].pdf_layer, 2);
    EXPECT_EQ(g_marked_content.depth, 0);
}

TEST_F(MarkedContentTest, DeepAndUnbalancedNestingStaysBounded) {
    std::string content;
    for (int k = 0; k < kMarkedContentDepth + 10; ++k) content += "/OC /P1 BDC ";
    content += "/OC /P2 BDC 0 0 m 1 0 l S EMC 2 0 m 3 0 l S ";
    for (int k = 0; k < kMarkedContentDepth + 30; ++k) content += "EMC ";
    content += "4 0 m 5 0 l S";
    ConvertBytes(LayeredPage(content, ""));
    // Beyond the stack the innermost layer kept is the last one stored; surplus EMCs do nothing.
    EXPECT_EQ(LineLayers(), (std::vector<int>{1, 1, 0}));
    EXPECT_EQ(g_marked_content.depth, 0);
}

}  // namespace
}  // namespace velmora
