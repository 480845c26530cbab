// Whole pages from small made files: where their drawn paths land once the page's set-up, its
// forms and its rotation have been applied.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "content/form_xobject.h"
#include "pdf/error_list.h"
#include "support/converted_page.h"
#include "support/pdf_maker.h"
#include "support/store_fixture.h"

namespace velmora {
namespace {

using test_support::ConvertBytes;
using test_support::ExpectSegment;
using test_support::FlateStreamBody;
using test_support::OnePageDocument;
using test_support::PdfMaker;
using test_support::Segment;
using test_support::StreamBody;

class PageGeometryTest : public StoreTest {
protected:
    static std::vector<int> Codes() { return std::vector<int>(g_errors.codes, g_errors.codes + g_errors.count); }
    static std::string Finish(PdfMaker& pdf) { return pdf.Finish(pdf.ClassicXref("/Root 1 0 R/Info 2 0 R")); }
};

// A page on a MediaBox [0 0 595 842] placing form 7 (under a quarter turn), which places form 9;
// the page's resources are a reference to a dictionary without fonts.
PdfMaker FormDocument(const std::string& page_content, const std::string& form7, const std::string& form9,
                      const std::string& form9_extra = "") {
    PdfMaker pdf = OnePageDocument("/MediaBox [0 0 595 842]", page_content);
    pdf.Add(4, "<</Type/Page/Parent 3 0 R/MediaBox [0 0 595 842]/Resources 8 0 R/Contents 5 0 R>>");
    pdf.Add(7, FlateStreamBody("/Type/XObject/Subtype/Form/BBox [0 0 100 100]/Matrix [2 0 0 2 0 0]"
                               "/Resources <</XObject <</Fm2 9 0 R/Im1 10 0 R>>>>",
                               form7));
    pdf.Add(8, "<</ProcSet [/PDF]/XObject <</Fm10 9 0 R/Fm1 7 0 R/Im1 10 0 R>>>>");  // names matched whole
    pdf.Add(9, StreamBody("/Type/XObject/Subtype/Form/BBox [0 0 100 100]" + form9_extra, form9));
    pdf.Add(10, StreamBody("/Type/XObject/Subtype/Image/Width 1/Height 1/BitsPerComponent 8", "0 0 m 9 9 l S"));
    return pdf;
}

TEST_F(PageGeometryTest, FormsAreDrawnUnderTheirMatricesWithTheirOwnResources) {
    PdfMaker pdf = FormDocument("q 0 1 -1 0 300 100 cm /Fm1 Do Q 0 0 m 5 5 l S /Im1 Do\n",
                                "0 0 m 10 0 l S /Fm2 Do /Im1 Do 1 1 m 2 2 l S\n", "0 0 m 0 10 l S\n",
                                "/Matrix [1 0 0 1 5 5]");
    const std::vector<Segment> lines = ConvertBytes(Finish(pdf));
    // The image painted on the page and in form 7 is left out, and said so.
    EXPECT_EQ(Codes(), std::vector<int>{kWarningRasterImages});
    EXPECT_EQ(RasterImagesOnPage(1), 2);
    ASSERT_EQ(lines.size(), 4u);
    // Form 7 maps (x, y) to (300 - 2y, 100 + 2x) in the page's space; form 9 adds (5, 5) first.
    ExpectSegment(lines[0], 300, 842 - 100, 300, 842 - 120);
    ExpectSegment(lines[1], 290, 842 - 110, 270, 842 - 110);
    ExpectSegment(lines[2], 298, 842 - 102, 296, 842 - 104);  // after form 9, form 7's matrix again
    ExpectSegment(lines[3], 0, 842, 5, 842 - 5);              // after form 7, the page's own
    const int32_t* counters = g_store.pages[1].operator_counters;
    EXPECT_EQ(counters[kOpDo], 4);  // the images only counted, inside forms as on the page
    EXPECT_EQ(g_store.pages[1].line_count, 4);
}

TEST_F(PageGeometryTest, FormsThatNameThemselvesEndAtTheNestingLimitOrTheBudget) {
    // Form 9 falls back on form 7's resources, which name it: it runs itself, one level deeper
    // each time. Its Q without q cannot undo the levels of the content that placed it.
    PdfMaker once = FormDocument("1 0 0 1 0 10 cm /Fm1 Do 0 0 m 1 0 l S\n", "/Fm2 Do\n",
                                 "Q Q Q 3 0 0 3 0 0 cm 0 0 m 0 1 l S /Fm2 Do\n");
    std::vector<Segment> lines = ConvertBytes(Finish(once));
    ASSERT_EQ(lines.size(), static_cast<size_t>(kFormNestingLimit - 1 + 1));
    ExpectSegment(lines.back(), 0, 842 - 10, 1, 842 - 10);
    EXPECT_EQ(Codes(), std::vector<int>{});

    // Twice at every level would be 2^11 runs; the page's budget (50 times the file) ends them.
    PdfMaker twice = FormDocument("/Fm1 Do 0 0 m 1 0 l S\n", "/Fm2 Do\n",
                                  "0 0 m 0 1 l S /Fm2 Do /Fm2 Do" + std::string(200, ' ') + "\n");
    const std::string bytes = Finish(twice);
    lines = ConvertBytes(bytes);
    EXPECT_EQ(Codes(), std::vector<int>{90});
    EXPECT_LT(lines.size(), 50 * bytes.size() / 200);
    ExpectSegment(lines.back(), 0, 842, 1, 842);
}

TEST_F(PageGeometryTest, EveryQuarterTurnOfThePageIsApplied) {
    // A 200 x 100 page: turned by 270 the viewer shows it 100 wide and 200 high, its bottom edge
    // on the right; (x, y) lands at (100 - y, 200 - x).
    for (const char* rotate : {"270", "-90"}) {
        PdfMaker pdf = OnePageDocument(std::string("/MediaBox [0 0 200 100]/Rotate ") + rotate, "10 20 m 30 20 l S\n");
        const std::vector<Segment> lines = ConvertBytes(Finish(pdf));
        ASSERT_EQ(lines.size(), 1u) << rotate;
        ExpectSegment(lines[0], 80, 190, 80, 170);
        EXPECT_EQ(g_store.pages[1].media_box[2], 100);
    }
    PdfMaker half = OnePageDocument("/MediaBox [0 0 200 100]/Rotate 180", "10 20 m 30 20 l S\n");
    std::vector<Segment> lines = ConvertBytes(Finish(half));
    ASSERT_EQ(lines.size(), 1u);
    ExpectSegment(lines[0], 190, 20, 170, 20);
}

TEST_F(PageGeometryTest, APageTakesMediaBoxResourcesAndRotateFromItsTree) {
    PdfMaker pdf = OnePageDocument("", "10 20 m 30 20 l S /Fm1 Do\n");
    pdf.Add(3, "<</Type/Pages/Kids [4 0 R]/Count 1/MediaBox [0 0 200 100]/Rotate 90/Resources 8 0 R>>");
    pdf.Add(4, "<</Type/Page/Parent 3 0 R/Contents 5 0 R>>");
    pdf.Add(7, StreamBody("/Subtype/Form", "0 0 m 0 5 l S"));
    pdf.Add(8, "<</XObject <</Fm1 7 0 R>>>>");
    const std::vector<Segment> lines = ConvertBytes(Finish(pdf));
    EXPECT_EQ(Codes(), std::vector<int>{});
    ASSERT_EQ(lines.size(), 2u);
    // Turned by 90, (x, y) lands at (y, x).
    ExpectSegment(lines[0], 20, 10, 20, 30);
    ExpectSegment(lines[1], 0, 0, 5, 0);
}

TEST_F(PageGeometryTest, FilesOfEveryCrossReferenceLayoutDrawTheirPage) {
    // Each file holds the usual page, whose content draws (0, 0)-(100, 100) on a 595 x 842 box.
    std::vector<std::pair<std::string, std::string>> files;
    {
        PdfMaker pdf = OnePageDocument();  // a free list whose links fall inside object 1
        pdf.free_links = {{0, 10}, {10, 11}};
        files.push_back({"free entries", pdf.Finish(pdf.ClassicXref(0, 12, "/Size 12/Root 1 0 R"))});
    }
    {
        PdfMaker pdf = OnePageDocument();  // subsections, and an update through /Prev
        const int first = pdf.ClassicTable({{0, 3}, {3, 4}}, "/Size 7/Root 1 0 R");
        pdf.Add(5, FlateStreamBody("", "0 0 m 100 100 l S"));
        files.push_back({"update", pdf.Finish(pdf.ClassicTable({{5, 1}}, "/Size 7/Prev " + std::to_string(first)))});
    }
    {
        PdfMaker pdf = OnePageDocument();  // a stream without DecodeParms, Info or filter
        test_support::XrefStreamOptions options;
        options.decode_parms = options.info = false;
        options.filter = "";
        files.push_back({"plain stream", pdf.Finish(pdf.XrefStream(7, 8, {}, options))});
    }
    {
        PdfMaker pdf = OnePageDocument();  // the page and its tree among 120 objects of a stream
        std::vector<std::pair<int, std::string>> objects = {{3, "<</Type/Pages/Kids [4 0 R]/Count 1>>"}};
        for (int n = 10; n < 128; ++n) objects.push_back({n, "<</Filler " + std::to_string(n) + ">>"});
        objects.push_back({4, "<</Type/Page/MediaBox [0 0 595 842]/Resources <<>>/Contents 5 0 R>>"});
        std::map<int, std::pair<int, int>> compressed;
        for (size_t i = 0; i < objects.size(); ++i) compressed[objects[i].first] = {9, static_cast<int>(i)};
        pdf.offsets.erase(3);
        pdf.offsets.erase(4);
        pdf.Add(9, test_support::ObjectStreamBody(objects, "\n", "\n"));
        files.push_back({"object stream", pdf.Finish(pdf.XrefStream(8, 128, compressed))});
    }
    files.push_back({"hybrid", test_support::HybridDocument()});  // the page tree only in the stream
    for (const auto& [name, bytes] : files) {
        ClearErrors();
        const std::vector<Segment> lines = ConvertBytes(bytes);
        EXPECT_EQ(Codes(), std::vector<int>{}) << name;
        ASSERT_EQ(lines.size(), 1u) << name;
        ExpectSegment(lines[0], 0, 842, 100, 742);
    }
}

}  // namespace
}  // namespace velmora

namespace velmora {
namespace {

struct PlacedText {
    std::string text;
    double x1, y1;
};

std::vector<PlacedText> PageTexts() {
    std::vector<PlacedText> out;
    for (int32_t i = 0; i < g_store.conversion.text_count; ++i) {
        const TextRecord& t = g_store.texts[i];
        out.push_back(PlacedText{std::string(g_store.text_pool + t.string_offset, t.string_length), t.x1, t.y1});
    }
    return out;
}

TEST_F(PageGeometryTest, TheCropBoxIsThePageAndWhatItHidesIsLeftOut) {
    // An A3 sheet whose tree crops it to an A4-sized window: [100 50 695 892] meets the sheet in
    // [100 50 695 842], 595 x 792 points.
    PdfMaker pdf = OnePageDocument("/MediaBox [0 0 1191 842]",
                                   "110 60 m 200 60 l S\n"           // inside
                                   "50 400 m 150 400 l S\n"          // across the left edge: whole
                                   "800 100 m 900 200 l S\n"         // right of the window
                                   "50 800 m 150 900 l S\n"          // passes the top-left corner outside
                                   "BT /F1 12 Tf 120 100 Td (In) Tj ET\n"
                                   "BT /F1 12 Tf 800 100 Td (Out) Tj ET\n");
    pdf.Add(3, "<</Type/Pages/Kids [4 0 R]/Count 1/CropBox [100 50 695 892]>>");
    const std::vector<Segment> lines = ConvertBytes(Finish(pdf));
    EXPECT_EQ(g_store.pages[1].paper_size_index, 4);
    ASSERT_EQ(lines.size(), 2u);
    ExpectSegment(lines[0], 10, 792 - 10, 100, 792 - 10);
    ExpectSegment(lines[1], -50, 792 - 350, 50, 792 - 350);
    const std::vector<PlacedText> texts = PageTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "In");
    EXPECT_NEAR(texts[0].x1, 20, 1e-9);
    EXPECT_NEAR(texts[0].y1, 50 - 792, 1e-9);

    // The same sheet without the crop is an A3 page that keeps everything.
    PdfMaker whole = OnePageDocument("/MediaBox [0 0 1191 842]", "800 100 m 900 200 l S\n");
    EXPECT_EQ(ConvertBytes(Finish(whole)).size(), 1u);
    EXPECT_EQ(g_store.pages[1].paper_size_index, 3);

    // Both boxes given by reference, as cairo writes them, are read from their objects.
    PdfMaker referenced = OnePageDocument("/MediaBox 8 0 R/CropBox 9 0 R", "110 60 m 200 60 l S 800 100 m 900 200 l S\n");
    referenced.Add(8, "[0 0 1191 842]");
    referenced.Add(9, "[ 100 50 695 892 ]");
    const std::vector<Segment> cropped = ConvertBytes(Finish(referenced));
    EXPECT_EQ(g_store.pages[1].paper_size_index, 4);
    ASSERT_EQ(cropped.size(), 1u);
    ExpectSegment(cropped[0], 10, 792 - 10, 100, 792 - 10);
}

TEST_F(PageGeometryTest, AMediaBoxAwayFromTheOriginDrawsAsTheSameBoxAtTheOrigin) {
    const auto convert = [](const std::string& box, double dx, double dy) {
        const auto at = [&](double x, double y) { return std::to_string(x + dx) + " " + std::to_string(y + dy); };
        PdfMaker pdf = OnePageDocument(box, at(0, 0) + " m " + at(100, 100) + " l S " + at(700, 900) + " m " +
                                                at(800, 950) + " l S BT /F1 12 Tf " + at(50, 50) +
                                                " Td (A) Tj ET\n");
        const std::vector<Segment> lines = ConvertBytes(Finish(pdf));
        const std::vector<PlacedText> texts = PageTexts();
        EXPECT_EQ(g_store.pages[1].paper_size_index, 4);
        EXPECT_EQ(g_store.pages[1].media_box[2] - g_store.pages[1].media_box[0], 595);
        EXPECT_EQ(g_store.pages[1].media_box[3] - g_store.pages[1].media_box[1], 842);
        return std::make_pair(lines, texts);
    };
    const auto at_origin = convert("/MediaBox [0 0 595 842]", 0, 0);
    const auto shifted = convert("/MediaBox [10 20 605 862]", 10, 20);
    // Without a CropBox nothing is left out, not even what lies beyond the sheet.
    ASSERT_EQ(at_origin.first.size(), 2u);
    ASSERT_EQ(shifted.first.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        const Segment& s = at_origin.first[i];
        ExpectSegment(shifted.first[i], s.x1, s.y1, s.x2, s.y2);
    }
    ExpectSegment(at_origin.first[0], 0, 842, 100, 742);
    ASSERT_EQ(shifted.second.size(), 1u);
    ASSERT_EQ(at_origin.second.size(), 1u);
    EXPECT_NEAR(shifted.second[0].x1, 50, 1e-9);
    EXPECT_NEAR(shifted.second[0].y1, at_origin.second[0].y1, 1e-9);
}

}  // namespace
}  // namespace velmora
