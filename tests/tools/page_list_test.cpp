// The page list rows: paper name, rotation, scale and counts of every page after the pass that
// converts the pages without figures.
#include <cstring>
#include <string>
#include <vector>

#include "pdf/reader_fixture.h"
#include "report/report.h"
#include "convert/driver.h"
#include "support/pdf_maker.h"
#include "tools/page_list.h"

namespace velmora {
namespace {

using test_support::FlateStreamBody;
using test_support::PdfMaker;
using Rows = std::vector<std::string>;

class PageListTest : public ReaderTest {
protected:
    // Pages 10, 11, ... with the given MediaBox/Rotate entries and contents, page 1 converted first.
    void Open(const std::vector<std::pair<std::string, std::string>>& pages) {
        PdfMaker pdf;
        pdf.Add(1, "<</Type/Catalog/Pages 3 0 R>>");
        pdf.Add(2, "<</Creator (page list)>>");
        std::string kids;
        for (size_t p = 0; p < pages.size(); ++p) kids += std::to_string(10 + 2 * p) + " 0 R ";
        pdf.Add(3, "<</Type/Pages/Kids [" + kids + "]/Count " + std::to_string(pages.size()) + ">>");
        for (size_t p = 0; p < pages.size(); ++p) {
            const int page = 10 + 2 * static_cast<int>(p);
            pdf.Add(page, "<</Type/Page/Parent 3 0 R" + pages[p].first + "/Resources <<>>/Contents " + std::to_string(page + 1) + " 0 R>>");
            pdf.Add(page + 1, FlateStreamBody("", pages[p].second));
        }
        Load(pdf.Finish(pdf.ClassicXref("/Root 1 0 R/Info 2 0 R")));
        ASSERT_EQ(g_store.page_count, static_cast<int>(pages.size()));
        ConvertPage(1);
        ConvertAllPages(nullptr);
    }
};

constexpr char kTwoLines[] = "0 0 m 10 10 l 20 0 l S\n\n";

TEST_F(PageListTest, RowsShowPaperRotationScaleAndCounts) {
    Open({{"/MediaBox [0 0 595 842]", kTwoLines},
          {"/MediaBox [0 0 1191 842]/Rotate 90", "0 0 m 5 5 l S\n\n"},
          {"/MediaBox [0 0 729 1032]", "q Q\n\n"}});
    EXPECT_EQ(PageListRows(), (Rows{
                                  "   1  A4/  0° 1/   1       2      0",
                                  "   2  A3/ 90° 1/   1       1      0",
                                  // B4 matches no paper and is listed as A0; an empty page has no counts.
                                  "   3  A0/  0° 1/   1       0      0",
                              }));
    EXPECT_STREQ(kPageListHeader, "   頁  紙/向き   縮尺    線数 文字列数");

    // A rotation is truncated; the scale is the page's denominator; names come from the table.
    g_store.pages[1].rotation = 90.7;
    g_store.pages[1].scale_denominator = 50;
    g_store.pages[2].paper_size_index = 11;
    g_store.pages[3].paper_size_index = 42;
    g_store.pages[3].rotation = 1e300;
    EXPECT_EQ(PageListRow(1), "   1  A4/ 90° 1/  50       2      0");
    EXPECT_EQ(PageListRow(2), "   2  5A/ 90° 1/   1       1      0");
    EXPECT_EQ(PageListRow(3), "   3  --/2147483647° 1/   1       0      0");
    EXPECT_EQ(PageListRow(0), "");
    EXPECT_EQ(PageListRow(kMaxPages + 1), "");
}

TEST_F(PageListTest, AChosenRowBecomesTheCurrentPage) {
    g_store.page_count = 7;
    ChooseListedPage(2);
    EXPECT_EQ(g_store.current_page, 3);
    ChooseListedPage(-1);  // no row selected
    EXPECT_EQ(g_store.current_page, 1);
    ChooseListedPage(9);
    EXPECT_EQ(g_store.current_page, 7);
}

TEST_F(PageListTest, NoPagesNoRowsAndPageZero) {
    g_store.page_count = 0;
    EXPECT_TRUE(PageListRows().empty());
    ChooseListedPage(-1);
    EXPECT_EQ(g_store.current_page, 0);
}

// A circle of four cubics, centre (100, 100), radius 50.
constexpr char kCircle[] =
    "150 100 m 150 127.615 127.615 150 100 150 c 72.385 150 50 127.615 50 100 c "
    "50 72.385 72.385 50 100 50 c 127.615 50 150 72.385 150 100 c S\n";

TEST_F(PageListTest, ArcsCountAmongTheLinesOfTheirPageAndTheReportListsThemPerPage) {
    const auto report = [] {
        std::string text;
        ReportSink sink;
        sink.text = &text;
        WriteReportBody(sink);
        return text;
    };
    const std::string one = std::string(kTwoLines, std::strlen(kTwoLines) - 1) + kCircle;
    const std::string two = std::string(kCircle) + "10 0 0 10 300 300 cm " + kCircle;
    g_settings.arcs = 1;
    Open({{"/MediaBox [0 0 595 842]", one}, {"/MediaBox [0 0 595 842]", two}});
    EXPECT_EQ(PageListRows(), (Rows{"   1  A4/  0° 1/   1       3      0", "   2  A4/  0° 1/   1       2      0"}));
    EXPECT_NE(report().find("Page 円弧数 (円・円弧・楕円)\r\n   1        1\r\n   2        2\r\n"), std::string::npos);

    // Without arcs the circle is forty pieces and the report has no arc list.
    g_settings.arcs = 0;
    Open({{"/MediaBox [0 0 595 842]", one}});
    EXPECT_EQ(PageListRow(1), "   1  A4/  0° 1/   1      42      0");
    EXPECT_EQ(report().find("円弧数"), std::string::npos);
}

}  // namespace
}  // namespace velmora
