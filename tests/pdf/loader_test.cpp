// File loading: header, startxref window, classic and linearized tables, trailer, classification.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pdf/document_values.h"
#include "pdf/file_buffer.h"
#include "pdf/object_table.h"
#include "convert/page_setup.h"
#include "reader_fixture.h"
#include "support/pdf_maker.h"

namespace velmora {
namespace {

using test_support::OnePageDocument;
using test_support::PdfMaker;

std::string OnePageFile() {
    PdfMaker pdf = OnePageDocument();
    return pdf.Finish(pdf.ClassicXref("/Root 1 0 R/Info 2 0 R"));
}

// The table readers' own codes; the rebuild behind them has its own tests.
class Loader : public ReaderTest {
protected:
    void SetUp() override {
        ReaderTest::SetUp();
        ReadTablesOnly();
    }
};
using Vec = std::vector<int>;

TEST_F(Loader, HeaderVersionsOneToSevenOnlyAtTheVeryStart) {
    const std::string file = OnePageFile();
    Load(file);
    EXPECT_EQ(Codes(), Vec{});
    EXPECT_STREQ(g_document.version_text, "PDF-1.4");
    EXPECT_EQ(g_store.page_count, 1);
    EXPECT_EQ(g_file.file_size, static_cast<int32_t>(file.size()));

    for (const char* header : {"%PDF-1.0", "%PDF-2.1", "%PDF-1.8", "%PDF 1.4"}) {
        Load(header + file.substr(8));
        EXPECT_EQ(Codes(), Vec{10}) << header;
        EXPECT_EQ(g_store.page_count, 0) << header;
    }
    Load(" " + file);
    EXPECT_EQ(Codes(), Vec{10});
    EXPECT_STREQ(g_document.version_text, "%PDF-1.");
    Load("");
    EXPECT_EQ(Codes(), Vec{10});
}

TEST_F(Loader, StartxrefMustBeginFifteenToThirtyFourBytesBeforeTheEnd) {
    const std::string file = OnePageFile();  // ends "startxref\nNNN\n%%EOF\n"
    const size_t keyword_from_end = file.size() - file.rfind("startxref");
    ASSERT_LT(keyword_from_end, 34u);
    Load(file + std::string(34 - keyword_from_end, ' '));
    EXPECT_EQ(Codes(), Vec{});
    Load(file + std::string(35 - keyword_from_end, ' '));
    EXPECT_EQ(Codes(), Vec{30});
    Load(file + std::string(40, '\n'));
    EXPECT_EQ(Codes(), Vec{30});

    // Too close to the end: "startxref" and a number in the last 14 bytes.
    const std::string tail = "startxref\n9\n";
    Load(file.substr(0, file.rfind("startxref")) + tail);
    EXPECT_EQ(Codes(), Vec{30});
}

TEST_F(Loader, OneTableFillsItsEntries) {
    PdfMaker pdf = OnePageDocument();
    Load(pdf.Finish(pdf.ClassicXref("/Root 1 0 R/Info 2 0 R")));
    EXPECT_EQ(g_store.object_count, 7);
    EXPECT_EQ(g_document.trailer_size, 7);
    EXPECT_EQ(g_document.root.number, 1);
    EXPECT_EQ(g_document.root.letter, 'R');
    EXPECT_EQ(g_document.info.number, 2);
    EXPECT_EQ(g_document.first_object_number, 0);
    EXPECT_EQ(g_document.xref_stream_flag, 0);
    for (int n = 1; n <= 6; ++n) EXPECT_EQ(g_store.objects[n].offset, pdf.offsets[n]) << n;
    EXPECT_EQ(g_store.objects[0].type, 'f');
    EXPECT_EQ(g_store.objects[0].kind, kKindOther);  // a free entry fails the header test
    EXPECT_EQ(g_store.objects[4].type, 'n');
    // Extents reach to the next higher offset, the last one to the end of the data.
    EXPECT_EQ(g_store.objects[5].extent, pdf.offsets[6] - pdf.offsets[5]);
    EXPECT_EQ(g_store.objects[6].offset + g_store.objects[6].extent, g_file.data_length);

}

TEST_F(Loader, SubsectionsAreReadWhateverTheirLinesEndIn) {
    // Three subsections, lines of 19 bytes ending in a line feed only.
    PdfMaker pdf = OnePageDocument();
    Load(pdf.Finish(pdf.ClassicTable({{0, 1}, {1, 2}, {3, 4}}, "/Size 7/Root 1 0 R", "\n")));
    EXPECT_EQ(Codes(), Vec{});
    EXPECT_EQ(g_store.object_count, 7);
    for (int n = 1; n <= 6; ++n) EXPECT_EQ(g_store.objects[n].offset, pdf.offsets[n]) << n;
    EXPECT_EQ(g_store.page_count, 1);

    // A subsection naming more entries than stand before the trailer.
    PdfMaker short_table = OnePageDocument();
    std::string file = short_table.Finish(short_table.ClassicTable({{0, 1}, {1, 6}}, "/Size 7/Root 1 0 R"));
    file.replace(file.find("1 6\n"), 4, "1 9\n");
    Load(file);
    EXPECT_EQ(Codes(), Vec{50});
}

TEST_F(Loader, FreeEntriesDoNotCutTheObjectsBeforeThem) {
    // The free list 0 -> 10 -> 11: its links, taken as offsets, lie inside object 1.
    PdfMaker pdf = OnePageDocument();
    pdf.free_links = {{0, 10}, {10, 11}};
    Load(pdf.Finish(pdf.ClassicXref(0, 12, "/Size 12/Root 1 0 R")));
    ASSERT_LT(pdf.offsets[1], 10);
    ASSERT_GT(pdf.offsets[2], 11);
    EXPECT_EQ(Codes(), Vec{});
    EXPECT_EQ(g_store.objects[10].type, 'f');
    EXPECT_EQ(g_store.objects[10].offset, 11);
    EXPECT_EQ(g_store.objects[1].extent, pdf.offsets[2] - pdf.offsets[1]);
    EXPECT_EQ(g_store.page_count, 1);
}

TEST_F(Loader, UpdatesAreReadThroughPrevAndTheNewestEntryWins) {
    PdfMaker pdf = OnePageDocument();
    const int first = pdf.ClassicXref("/Root 1 0 R/Info 2 0 R");
    // The second revision changes the page's box and adds object 7; the third names a new Info.
    const int page = pdf.Add(4, "<</Type/Page/Parent 3 0 R/MediaBox [0 0 300 400]/Resources <<>>/Contents 5 0 R>>");
    pdf.Add(7, "<</Type/Annot>>");
    const int second = pdf.ClassicTable({{0, 1}, {4, 1}, {7, 1}}, "/Size 8/Root 1 0 R/Prev " + std::to_string(first));
    pdf.Add(8, "<</Producer (third)>>");
    const int third = pdf.ClassicTable({{8, 1}}, "/Size 9/Info 8 0 R/Prev " + std::to_string(second));
    Load(pdf.Finish(third));
    EXPECT_EQ(Codes(), Vec{});
    EXPECT_EQ(g_store.object_count, 9);
    EXPECT_EQ(g_document.root.number, 1);  // from the second revision, the newest that names one
    EXPECT_EQ(g_document.info.number, 8);
    EXPECT_EQ(g_store.objects[4].offset, page);
    EXPECT_EQ(g_store.objects[7].offset, pdf.offsets[7]);
    ASSERT_EQ(g_store.page_count, 1);
    FreePageStreams();
    ResetForPage(1);
    ASSERT_TRUE(SetUpPage(1));
    EXPECT_EQ(g_store.pages[1].media_box[3], 400);

    // A section naming itself is read once; one that cannot be read ends the chain with what the
    // newer ones gave.
    for (const char* prev : {"self", "99999999", "12"}) {
        PdfMaker loop = OnePageDocument();
        const int xref = static_cast<int>(loop.bytes.size());
        const std::string target = std::string(prev) == "self" ? std::to_string(xref) : prev;
        loop.ClassicXref("/Root 1 0 R/Prev " + target);
        Load(loop.Finish(xref));
        EXPECT_EQ(Codes(), Vec{}) << prev;
        EXPECT_EQ(g_store.page_count, 1) << prev;
    }
}

TEST_F(Loader, HybridFilesReadTheStreamTheirTrailerNames) {
    Load(test_support::HybridDocument());
    EXPECT_EQ(Codes(), Vec{});
    EXPECT_EQ(g_store.objects[3].stream_object, 9);
    EXPECT_EQ(g_store.objects[3].type, 'n');
    EXPECT_EQ(g_store.page_count, 1);
    // A stream position that is the table itself, which is no stream: the table stands alone.
    Load(test_support::HybridDocument(true));
    EXPECT_EQ(Codes(), Vec{63});  // the page tree is only in the stream
}

TEST_F(Loader, TablesThatCannotBeReadEndTheLoad) {
    std::string file = OnePageFile();
    const size_t header = file.find("xref\n0 7");
    Load(file.substr(0, header) + "xref\n0 100000" + file.substr(header + 8));
    EXPECT_EQ(Codes(), Vec{65});
    EXPECT_EQ(g_store.object_count, 100000);

    // Entries at 100,000 and above are skipped; the ones below are read.
    Load(file.substr(0, header) + "xref\n99998 7" + file.substr(header + 8));
    EXPECT_EQ(g_store.objects[99998].type, 'f');
    EXPECT_EQ(g_store.objects[99999].offset, 9);  // the line written for object 1
    EXPECT_EQ(g_store.objects[1].offset, 0);      // later lines are dropped, not wrapped
    EXPECT_EQ(g_document.first_object_number, 99998);
    EXPECT_EQ(Codes(), Vec{43});  // a table not starting at 0 is taken as linearized

    std::string no_trailer = file;
    no_trailer.replace(no_trailer.find("trailer"), 7, "trailor");
    Load(no_trailer);
    EXPECT_EQ(Codes(), Vec{50});

    const size_t number = file.rfind("startxref\n") + 10;
    Load(file.substr(0, number) + "12" + file.substr(file.find('\n', number)));
    EXPECT_EQ(Codes(), Vec{42});
    Load(file.substr(0, number) + "99999999999" + file.substr(file.find('\n', number)));
    EXPECT_EQ(Codes(), Vec{42});
}

TEST_F(Loader, AFileThatCannotBeOpenedRecordsNothing) {
    LoadPdfFile("/nonexistent/velmora/none.pdf");
    EXPECT_EQ(Codes(), Vec{});
    EXPECT_EQ(g_store.page_count, 0);
}

// Objects 4, 5, 6 form the first-page table at startxref; 0 to 3 the main table found through T.
std::string LinearizedFile(bool with_t) {
    std::string file;
    int first_xref = 0, main_entry = 0;
    std::map<int, int> offsets;
    for (int pass = 0; pass < 2; ++pass) {
        char number[16];
        std::snprintf(number, sizeof number, "%010d", main_entry);
        file = "%PDF-1.4\n";
        offsets[4] = static_cast<int>(file.size());
        file += std::string("4 0 obj\n<</Linearized 1/L 900/O 6/E 0/N 1") + (with_t ? "/T " : "/U ") + number +
                "/H [0 0]>>\nendobj\n";
        first_xref = static_cast<int>(file.size());
        PdfMaker lines;
        lines.offsets = offsets;
        file += "xref\n4 3\n" + lines.XrefLine(4) + lines.XrefLine(5) + lines.XrefLine(6);
        file += "trailer\n<</Size 7/Root 5 0 R/Info 1 0 R/Prev 9999>>\n";
        offsets[5] = static_cast<int>(file.size());
        file += "5 0 obj\n<</Type/Catalog/Pages 2 0 R>>\nendobj\n";
        offsets[6] = static_cast<int>(file.size());
        file += "6 0 obj\n<</Type/Page/MediaBox [0 0 200 100]/Resources <<>>/Contents 3 0 R>>\nendobj\n";
        offsets[1] = static_cast<int>(file.size());
        file += "1 0 obj\n<</Producer (linearized)>>\nendobj\n";
        offsets[2] = static_cast<int>(file.size());
        file += "2 0 obj\n<</Type/Pages/Kids [6 0 R]/Count 1>>\nendobj\n";
        offsets[3] = static_cast<int>(file.size());
        file += "3 0 obj\n" + test_support::StreamBody("", "0 0 m 1 1 l S") + "\nendobj\n";
        lines.offsets = offsets;
        file += "xref\n0 4";
        main_entry = static_cast<int>(file.size());
        file += "\n" + lines.XrefLine(0) + lines.XrefLine(1) + lines.XrefLine(2) + lines.XrefLine(3);
        file += "trailer\n<</Size 4>>\nstartxref\n" + std::to_string(first_xref) + "\n%%EOF\n";
    }
    return file;
}

TEST_F(Loader, LinearizedFileReadsTheFirstPageAndTheMainTable) {
    Load(LinearizedFile(true));
    EXPECT_EQ(Codes(), Vec{});
    EXPECT_EQ(g_store.object_count, 7);
    EXPECT_EQ(g_document.first_object_number, 0);
    EXPECT_EQ(g_document.root.number, 5);  // from the first-page trailer
    EXPECT_EQ(g_document.info.number, 1);
    EXPECT_EQ(g_document.trailer_size, 7);
    EXPECT_EQ(g_store.page_count, 1);
    EXPECT_EQ(g_store.pages[1].page_object, 6);
    EXPECT_GT(g_store.objects[3].offset, g_store.objects[6].offset);

    Load(LinearizedFile(false));
    EXPECT_EQ(Codes(), Vec{43});
}

TEST_F(Loader, ObjectsAreClassifiedByTypeCreatorFilterAndLeadingBytes) {
    PdfMaker pdf = OnePageDocument();
    pdf.Add(7, "<</Filter [/FlateDecode]/Length 0>>\nstream\n\nendstream");
    pdf.Add(8, "<</Length 3/Filter /FlateDecode /DL 3>>\nstream\nabc\nendstream");
    pdf.Add(9, "<</Producer (no type)>>");
    pdf.Add(10, "<</Creator (\\376\\377\\000A\\000B)>>");
    std::string file = pdf.bytes;
    // Bodies that an object stream would leave: "number offset" then the value.
    const int array_offset = static_cast<int>(file.size());
    file += "11 0 [1 2 3]\n";
    const int string_offset = static_cast<int>(file.size());
    file += "12 0 (text)\n";
    const int name_offset = static_cast<int>(file.size());
    file += "13 0 /Name\n";
    pdf.bytes = file;
    pdf.offsets[11] = array_offset;
    pdf.offsets[12] = string_offset;
    pdf.offsets[13] = name_offset;
    Load(pdf.Finish(pdf.ClassicXref("/Root 1 0 R")));
    EXPECT_EQ(Codes(), Vec{});

    EXPECT_EQ(g_store.objects[4].kind, kKindTypedDictionary);
    EXPECT_EQ(Label(4), "Page");
    EXPECT_EQ(g_store.objects[1].kind, kKindTypedDictionary);
    EXPECT_EQ(Label(1), "Catalog");
    EXPECT_EQ(g_store.objects[5].kind, kKindDataStream);
    EXPECT_EQ(Label(5), "FlateDecode");
    EXPECT_EQ(Label(7), "Filter [/FlateDecode]");
    EXPECT_EQ(Label(8), "FlateDecode ");
    EXPECT_EQ(g_store.objects[9].kind, kKindDictionary);
    EXPECT_EQ(g_store.objects[11].kind, kKindArray);
    EXPECT_EQ(g_store.objects[12].kind, kKindString);
    EXPECT_EQ(g_store.objects[13].kind, kKindName);

    EXPECT_EQ(g_store.objects[2].kind, kKindCreator);
    EXPECT_EQ(Label(2), "Creator (Test maker)");
    // The Creator read last wins; its octal UTF-16 escapes are dropped.
    EXPECT_EQ(g_store.objects[10].kind, kKindCreator);
    EXPECT_STREQ(g_document.creator_text, "Creator (AB)");
}

TEST_F(Loader, LongCreatorsAreCutAndLabelsStayWithinTheirField) {
    PdfMaker pdf = OnePageDocument();
    pdf.Add(2, "<</Creator (" + std::string(200, 'c') + ")>>");
    pdf.Add(7, "<</Type /" + std::string(100, 't') + ">>");
    Load(pdf.Finish(pdf.ClassicXref("/Root 1 0 R")));
    EXPECT_EQ(std::string(g_document.creator_text), "Creator (" + std::string(30, 'c'));
    EXPECT_EQ(Label(7), std::string(45, 't'));

    PdfMaker escaped = OnePageDocument();
    std::string utf16 = "\\376\\377";
    for (int i = 0; i < 150; ++i) utf16 += "\\000x";
    escaped.Add(2, "<</Creator (" + utf16 + ")>>");
    Load(escaped.Finish(escaped.ClassicXref("/Root 1 0 R")));
    EXPECT_EQ(std::string(g_document.creator_text), "Creator (" + std::string(90, 'x'));
}

}  // namespace
}  // namespace velmora
