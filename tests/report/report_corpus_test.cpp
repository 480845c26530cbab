// Reports of real drawings, one of each kind of cross-reference and one with Japanese fonts,
// opened and converted the way the report command does (the sanitizer build runs these too).
#include <algorithm>
#include <string>
#include <vector>

#include "convert/document_reset.h"
#include "fonts/tounicode.h"
#include "pdf/document_values.h"
#include "report_fixture.h"
#include "support/test_data.h"

namespace velmora {
namespace {

struct CorpusCase {
    const char* file;
    bool xref_stream;
    bool two_byte_codes;
};

constexpr CorpusCase kCases[] = {
    {"cairo_drawing_01.pdf", false, false},              // classic table
    {"jp_circuit_distiller_rot90_01.pdf", true, false},  // cross-reference stream, object streams
    {"jp_site_plan_01.pdf", false, true},                // Japanese CID font with a ToUnicode CMap
};

size_t Count(const std::vector<std::string>& lines, const std::string& line) {
    return static_cast<size_t>(std::count(lines.begin(), lines.end(), line));
}

using ReportCorpus = ReportTest;

TEST_F(ReportCorpus, ReportsOfEachKindAreComplete) {
    VELMORA_SKIP_WITHOUT_REAL_WORLD_DATA();
    for (const CorpusCase& c : kCases) {
        SCOPED_TRACE(c.file);
        const std::string path = CorpusPath(c.file);
        ASSERT_TRUE(SetPdfPath(path.c_str()));
        ResetTestSeam();
        OpenPdf(nullptr);
        ASSERT_EQ(g_store.conversion_route, ConversionRoute::kDirect);
        ConvertAllPages(nullptr);
        const std::vector<std::string> lines = ReportLines();
        ASSERT_GT(lines.size(), 60u);
        EXPECT_EQ(lines[0], "FileName : " + path);
        EXPECT_EQ(Count(lines, "XRef Stream (圧縮型クロスリファレンスストリームフォーマット) 使用PDFファイル"),
                  c.xref_stream ? 1u : 0u);
        EXPECT_EQ(Count(lines, "アドレス： ( ) 表示は XRef Stream (圧縮型)のオブジェクト展開位置"), c.xref_stream ? 1u : 0u);

        // One object row per entry from the first object number, one page row per page.
        const std::vector<std::string> objects = Section(lines, "====================  オブジェクト一覧  ====================");
        const size_t object_rows = static_cast<size_t>(g_store.object_count - g_document.first_object_number);
        EXPECT_EQ(objects.size(), 4 + object_rows + (c.xref_stream ? 1 : 0) + 2);
        const std::vector<std::string> pages = Section(lines, "====================  ページ  ====================");
        EXPECT_EQ(pages.size(), 8 + static_cast<size_t>(g_store.page_count) + 2);

        // The ToUnicode table holds every two-byte code with a text, five to a line.
        int with_text = 0;
        for (const CidMapEntry& e : g_store.cid_map) with_text += (e.text[0] != '\0' || e.text[1] != '\0') ? 1 : 0;
        EXPECT_EQ(with_text > 0, c.two_byte_codes);
        const std::vector<std::string> codes =
            Section(lines, "====================  Tounicode で変換された文字  ====================");
        ASSERT_GT(codes.size(), 4u);
        const size_t code_lines = static_cast<size_t>((with_text + 4) / 5);
        for (size_t i = 0; i < code_lines; ++i) EXPECT_NE(codes[4 + i], "") << i;
        EXPECT_EQ(codes[4 + code_lines], "");

        EXPECT_EQ(lines[lines.size() - 6], "====================  Disable Command check  ====================");
        EXPECT_EQ(lines.back(), "");
        FreeDocument();
    }
}

}  // namespace
}  // namespace velmora
