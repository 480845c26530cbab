// Files whose cross-reference is missing or points elsewhere: the table is rebuilt from the
// objects' own headers in one pass, and the load says so.
#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include "pdf/document_values.h"
#include "pdf/error_list.h"
#include "pdf/file_buffer.h"
#include "pdf/xref_rebuild.h"
#include "reader_fixture.h"
#include "support/pdf_maker.h"

namespace velmora {
namespace {

using test_support::ObjectStreamBody;
using test_support::OnePageDocument;
using test_support::PdfMaker;

bool Rebuilt() {
    return std::count(g_errors.codes, g_errors.codes + g_errors.count, kWarningXrefRebuilt) == 1 &&
           g_document.xref_rebuilt == 1;
}

class XrefRebuildTest : public ReaderTest {};

TEST_F(XrefRebuildTest, ShiftedOffsetsAndMissingTablesAreRebuilt) {
    // Offsets shifted by bytes inserted after the table was written.
    PdfMaker shifted = OnePageDocument();
    std::string bytes = shifted.Finish(shifted.ClassicXref("/Root 1 0 R/Info 2 0 R"));
    bytes.insert(9, "% inserted by a mail program\n");
    Load(bytes);
    EXPECT_FALSE(HasFatalError()) << ::testing::PrintToString(Codes());
    EXPECT_TRUE(Rebuilt());
    EXPECT_EQ(g_store.page_count, 1);
    EXPECT_EQ(g_document.root.number, 1);

    // No table, no startxref, no trailer: the catalog is found by its type.
    PdfMaker bare = OnePageDocument();
    Load(bare.bytes + "%%EOF\n");
    EXPECT_FALSE(HasFatalError()) << ::testing::PrintToString(Codes());
    EXPECT_TRUE(Rebuilt());
    EXPECT_EQ(g_store.page_count, 1);
    EXPECT_EQ(g_document.root.number, 1);

    // An intact file is read from its table, without the warning.
    PdfMaker intact = OnePageDocument();
    Load(intact.Finish(intact.ClassicXref("/Root 1 0 R/Info 2 0 R")));
    EXPECT_TRUE(Codes().empty()) << ::testing::PrintToString(Codes());
    EXPECT_EQ(g_document.xref_rebuilt, 0);
}

TEST_F(XrefRebuildTest, LastDefinitionWinsAndObjectStreamsAreFound) {
    PdfMaker pdf("%PDF-1.5\n");
    pdf.Add(1, "<</Type/Catalog/Pages 3 0 R>>");
    pdf.Add(4, "<</Type/Page/Parent 3 0 R/MediaBox [0 0 100 100]/Contents 5 0 R>>");
    pdf.Add(5, test_support::FlateStreamBody("", "0 0 m 10 10 l S"));
    // The page tree only in an object stream; an older page tree without kids is replaced.
    pdf.Add(3, "<</Type/Pages/Kids []/Count 0>>");
    pdf.Add(9, ObjectStreamBody({{3, "<</Type/Pages/Kids [4 0 R]/Count 1>>"}, {6, "(member)"}}));
    // A second, later definition of object 5 with other content.
    pdf.Add(5, test_support::FlateStreamBody("", "0 0 m 20 20 l 30 30 l S"));
    // A trailer naming the Root, as an incremental update's would; the startxref is wrong.
    pdf.bytes += "trailer\n<</Size 10/Root 1 0 R>>\nstartxref\n999999\n%%EOF\n";
    Load(pdf.bytes);
    EXPECT_FALSE(HasFatalError()) << ::testing::PrintToString(Codes());
    EXPECT_TRUE(Rebuilt());
    EXPECT_EQ(g_store.page_count, 1);
    EXPECT_EQ(g_store.objects[3].stream_object, 9);
    EXPECT_EQ(g_store.objects[6].stream_object, 9);
    EXPECT_EQ(g_store.objects[5].offset, pdf.offsets[5]);  // the later of the two
    EXPECT_EQ(g_document.trailer_size, 10);
}

TEST_F(XrefRebuildTest, TheScanIsOnePassAndIgnoresLookAlikes) {
    // "endobj", numbers run together with letters and over-long numbers are no headers.
    std::string noise = "%PDF-1.4\n";
    for (int i = 0; i < 2000; ++i) noise += "x1 0 obj 12345678901 0 obj endobj 0 0 obj";
    noise += "\n";
    PdfMaker pdf(noise);
    pdf.Add(1, "<</Type/Catalog/Pages 3 0 R>>");
    pdf.Add(3, "<</Type/Pages/Kids [4 0 R]/Count 1>>");
    pdf.Add(4, "<</Type/Page/Parent 3 0 R/MediaBox [0 0 100 100]/Contents 5 0 R>>");
    pdf.Add(5, test_support::FlateStreamBody("", "0 0 m 10 10 l S"));
    Load(pdf.bytes);
    EXPECT_EQ(g_store.page_count, 1) << ::testing::PrintToString(Codes());
    EXPECT_TRUE(Rebuilt());
    // Objects 0 of the noise ("0 0 obj") are headers; nothing else of it is.
    EXPECT_EQ(g_store.objects[1].offset, pdf.offsets[1]);
    const int64_t examined = RebuildCrossReference();
    EXPECT_LE(examined, int64_t{g_file.file_size});
}

TEST_F(XrefRebuildTest, PdfTwoHeaderIsRead) {
    PdfMaker pdf = OnePageDocument();
    pdf.bytes.replace(0, 8, "%PDF-2.0");
    Load(pdf.Finish(pdf.ClassicXref("/Root 1 0 R/Info 2 0 R")));
    EXPECT_TRUE(Codes().empty()) << ::testing::PrintToString(Codes());
    EXPECT_EQ(g_store.page_count, 1);
    pdf.bytes.replace(0, 8, "%PDF-2.1");
    Load(pdf.bytes);
    EXPECT_EQ(Codes(), std::vector<int>{10});
}

}  // namespace
}  // namespace velmora
