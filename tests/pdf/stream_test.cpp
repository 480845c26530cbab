// Stream decoding: where data begins, indirect lengths, filters, the 50-fold bound, statistics,
// the Up predictor, cross-reference streams and objects copied out of object streams.
#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "convert/document_reset.h"
#include "pdf/document_values.h"
#include "pdf/expansion_statistics.h"
#include "pdf/file_buffer.h"
#include "pdf/object_table.h"
#include "pdf/stream_decoding.h"
#include "reader_fixture.h"
#include "support/pdf_maker.h"

namespace velmora {
namespace {

using test_support::Deflate;
using test_support::FlateStreamBody;
using test_support::ObjectStreamBody;
using test_support::OnePageDocument;
using test_support::PdfMaker;
using test_support::StreamBody;
using test_support::XrefStreamOptions;
using Vec = std::vector<int>;

// Bytes that deflate hardly shrinks, then zeros: the mix sets the expansion ratio.
std::string Mixed(int random_bytes, int zero_bytes) {
    std::string data;
    uint32_t state = 12345;
    for (int i = 0; i < random_bytes; ++i) {
        state = state * 1103515245u + 12345u;
        data += static_cast<char>(state >> 24);
    }
    return data + std::string(zero_bytes, '\0');
}

class Streams : public ReaderTest {
protected:
    // A one-page document with extra objects 7 and up, loaded.
    void LoadWith(const std::map<int, std::string>& extra) {
        PdfMaker pdf = OnePageDocument();
        for (const auto& [number, body] : extra) pdf.Add(number, body);
        Load(pdf.Finish(pdf.ClassicXref("/Root 1 0 R/Info 2 0 R")));
        ASSERT_EQ(Codes(), Vec{});
        ResetForPage(1);
    }
    std::string Decode(int n) {
        const int entry = LoadStreamObject(n, 1);
        return entry < 0 ? "<none>" : EntryBytes(entry);
    }
};

TEST_F(Streams, DataBeginsAfterTheEndOfLineBehindTheKeyword) {
    LoadWith({{7, StreamBody("", "crlf data", "\r\n")},
              {8, StreamBody("", "lf data", "\n")},
              {9, StreamBody("", "cr data", "\r")},
              {10, StreamBody("", "space data", " ")},
              {11, "<</Length 9 0 R>>\nstream\nhello world\nendstream"},
              {12, "<</Length 12 0 R>>\nstream\n12345\nendstream"}});
    EXPECT_EQ(Decode(7), "crlf data");
    EXPECT_EQ(Decode(8), "lf data");
    EXPECT_EQ(Codes(), Vec{});
    EXPECT_EQ(Decode(9), "<none>");
    EXPECT_EQ(Decode(10), "<none>");
    EXPECT_EQ(Codes(), (Vec{81, 81}));
    ClearErrors();
    // Object 9's body holds no integer after "obj": the referenced length cannot be resolved.
    EXPECT_EQ(Decode(11), "<none>");

    // A length found through a reference: object 13 is "13 0 obj 5 endobj".
    PdfMaker pdf = OnePageDocument();
    pdf.Add(7, "<</Length 13 0 R>>\nstream\n12345678\nendstream");
    pdf.Add(13, "5");
    Load(pdf.Finish(pdf.ClassicXref("/Root 1 0 R/Info 2 0 R")));
    ResetForPage(1);
    EXPECT_EQ(Decode(7), "12345");
}

TEST_F(Streams, FlateIsInflatedOtherFiltersAreCopiedAndLengthsAreClamped) {
    const std::string text = "100 200 m 300 400 l S\n";
    LoadWith({{7, FlateStreamBody("", text)},
              {8, StreamBody("/Filter/ASCIIHexDecode", "3130 30")},
              {9, StreamBody("/Filter [/FlateDecode]", Deflate(text))},
              {10, StreamBody("", "raw")},
              {11, "<</Length 1000000>>\nstream\nshort\nendstream"}});
    EXPECT_EQ(Decode(7), text);
    EXPECT_EQ(Decode(8), "3130 30");
    EXPECT_EQ(Decode(9), text);  // the label names FlateDecode
    EXPECT_EQ(Decode(10), "raw");
    // A length that does not end at "endstream" gives way to the data up to it.
    const int entry = LoadStreamObject(11, 1);
    ASSERT_GT(entry, 0);
    EXPECT_EQ(EntryBytes(entry), "short");
    EXPECT_EQ(g_store.stream_count, entry);
    EXPECT_EQ(g_store.streams[entry].page_number, 1);
    EXPECT_EQ(Codes(), Vec{});
}

TEST_F(Streams, FiftyFoldIsTheBoundOfOneInflate) {
    const std::string forty = Mixed(1000, 39000);
    const std::string sixty = Mixed(1000, 79000);
    const std::string forty_packed = Deflate(forty), sixty_packed = Deflate(sixty);
    ASSERT_LT(forty.size(), 50 * forty_packed.size());
    ASSERT_GT(sixty.size(), 50 * sixty_packed.size());
    LoadWith({{7, StreamBody("/Filter/FlateDecode", forty_packed)},
              {8, StreamBody("/Filter/FlateDecode", sixty_packed)},
              {9, StreamBody("/Filter/FlateDecode", "not zlib data")},
              {10, StreamBody("/Filter/FlateDecode", forty_packed.substr(0, forty_packed.size() / 2))}});
    EXPECT_EQ(Decode(7), forty);
    EXPECT_EQ(Codes(), Vec{});
    const std::string cut = Decode(8);
    EXPECT_EQ(cut.size(), 50 * sixty_packed.size());
    EXPECT_EQ(cut, sixty.substr(0, cut.size()));
    EXPECT_EQ(Codes(), Vec{90});
    EXPECT_EQ(Decode(9), "");
    const std::string half = Decode(10);  // a cut stream keeps what was produced
    EXPECT_EQ(half, forty.substr(0, half.size()));
    EXPECT_EQ(Codes(), (Vec{90, 90, 90}));
}

TEST_F(Streams, OnlyARatioAboveTheMaximumIsRecorded) {
    const std::string three = Deflate(Mixed(1000, 2000)), two = Deflate(Mixed(1000, 1000)),
                      five = Deflate(Mixed(1000, 4000));
    LoadWith({{7, StreamBody("/Filter/FlateDecode", three)},
              {8, StreamBody("/Filter/FlateDecode", two)},
              {9, StreamBody("/Filter/FlateDecode", five)}});
    EXPECT_EQ(g_expansion.record_count, 0);  // a classic table inflates nothing while loading
    for (int n : {7, 8, 9}) Decode(n);
    ASSERT_EQ(g_expansion.record_count, 2);
    EXPECT_EQ(g_expansion.records[0].input_size, static_cast<float>(three.size()));
    EXPECT_EQ(g_expansion.records[0].output_size, 3000.0f);
    EXPECT_NEAR(g_expansion.records[0].ratio, 3000.0f / three.size(), 1e-4);
    EXPECT_EQ(g_expansion.records[1].output_size, 5000.0f);
    EXPECT_EQ(g_expansion.records[1].page, 1);
    EXPECT_EQ(g_expansion.maximum_ratio, g_expansion.records[1].ratio);

    // The driver empties the list per page; the maximum stays until the next file.
    ClearExpansionRecords();
    Decode(7);
    EXPECT_EQ(g_expansion.record_count, 0);
    ResetForFile();
    EXPECT_EQ(g_expansion.maximum_ratio, 0.0f);
}

TEST(UpPredictor, RowsAddTheRowAboveAndLoseTheirFilterByte) {
    uint8_t data[] = {2, 1, 2, 3, 2, 1, 1, 1, 0, 5, 5, 5, 9};
    EXPECT_EQ(UndoUpPredictor(data, sizeof data, 3), 9);
    const uint8_t expected[] = {1, 2, 3, 2, 3, 4, 7, 8, 9};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(data[i], expected[i]) << i;
    uint8_t wrap[] = {2, 200, 2, 100};
    EXPECT_EQ(UndoUpPredictor(wrap, sizeof wrap, 1), 2);
    EXPECT_EQ(wrap[1], 44);  // (100 + 200) mod 256
    EXPECT_EQ(UndoUpPredictor(wrap, sizeof wrap, 0), 0);
    EXPECT_EQ(UndoUpPredictor(wrap, sizeof wrap, -1), 0);
    EXPECT_EQ(UndoUpPredictor(wrap, sizeof wrap, 8), 0);
}

// A document whose objects 1 to 6 stand in the file, read through a cross-reference stream.
std::string XrefStreamFile(const XrefStreamOptions& options, int size = 8) {
    PdfMaker pdf = OnePageDocument();
    return pdf.Finish(pdf.XrefStream(7, size, {}, options));
}

// The stream sections' own codes; the rebuild behind them has its own tests.
class XrefStreams : public Streams {
protected:
    void SetUp() override {
        Streams::SetUp();
        ReadTablesOnly();
    }
};

TEST_F(XrefStreams, RowsOfEveryWidthFillTheTable) {
    for (const auto& widths : {std::vector<int>{1, 2, 1}, std::vector<int>{1, 3, 1}, std::vector<int>{1, 4, 2}}) {
        XrefStreamOptions options;
        for (int k = 0; k < 3; ++k) options.widths[k] = widths[k];
        options.index = true;
        options.first = 0;
        options.count = 10;
        PdfMaker pdf = OnePageDocument();
        Load(pdf.Finish(pdf.XrefStream(7, 10, {}, options)));
        EXPECT_EQ(Codes(), Vec{}) << widths[1];
        EXPECT_EQ(g_document.xref_stream_flag, 1);
        EXPECT_EQ(g_store.object_count, 10);
        EXPECT_EQ(g_document.trailer_size, 10);
        EXPECT_EQ(g_document.root.number, 1);
        EXPECT_EQ(g_document.info.number, 2);
        for (int n = 1; n <= 7; ++n) {
            EXPECT_EQ(g_store.objects[n].offset, pdf.offsets[n]) << n;
            EXPECT_EQ(g_store.objects[n].stream_object, -1);
            EXPECT_EQ(g_store.objects[n].type, 'n');
        }
        EXPECT_EQ(g_store.objects[9].offset, 0);
        EXPECT_EQ(g_store.objects[4].kind, kKindTypedDictionary);
        EXPECT_EQ(g_store.page_count, 1);
    }
}

TEST_F(XrefStreams, IndexStartsTheRowsAtItsFirstNumber) {
    XrefStreamOptions options;
    options.index = true;
    options.first = 3;
    options.count = 5;
    PdfMaker pdf = OnePageDocument();
    pdf.offsets.erase(1);  // rows for 3..7 only
    const std::string file = pdf.Finish(pdf.XrefStream(7, 8, {}, options));
    Load(file);
    EXPECT_EQ(g_store.objects[3].offset, pdf.offsets[3]);
    EXPECT_EQ(g_store.objects[1].offset, 0);
    EXPECT_EQ(Codes(), Vec{62});  // the catalog, object 1, was not in the section
}

TEST_F(XrefStreams, EverySubsectionOfIndexTakesItsRowsInTurn) {
    XrefStreamOptions options;
    options.subsections = {{0, 1}, {1, 4}, {7, 2}};  // no rows for 5 and 6
    options.widths[1] = 8;
    PdfMaker pdf = OnePageDocument();
    const std::string file = pdf.Finish(pdf.XrefStream(8, 9, {}, options));
    Load(file);
    for (int n : {1, 3, 4, 8}) EXPECT_EQ(g_store.objects[n].offset, pdf.offsets[n]) << n;
    EXPECT_EQ(g_store.objects[5].offset, 0);
    EXPECT_EQ(g_store.page_count, 1);
    EXPECT_TRUE(Codes().empty());  // read as written: no rebuild
}

TEST_F(XrefStreams, SectionsWithoutInfoDecodeParmsOrFilterAndWithWidthsUpToEightAreRead) {
    XrefStreamOptions no_info;
    no_info.info = false;
    XrefStreamOptions no_parms;
    no_parms.decode_parms = false;
    XrefStreamOptions raw;  // neither a filter nor a predictor
    raw.filter = "";
    raw.decode_parms = false;
    XrefStreamOptions wide;
    wide.widths[1] = 8;
    wide.widths[2] = 8;
    XrefStreamOptions no_type;  // a type field of width 0: every row is of type 1
    no_type.widths[0] = 0;
    no_type.widths[1] = 4;
    no_type.widths[2] = 0;
    for (const XrefStreamOptions* options : {&no_info, &no_parms, &raw, &wide, &no_type}) {
        PdfMaker pdf = OnePageDocument();
        Load(pdf.Finish(pdf.XrefStream(7, 8, {}, *options)));
        EXPECT_EQ(Codes(), Vec{}) << options->widths[1];
        EXPECT_EQ(g_store.objects[4].offset, pdf.offsets[4]);
        EXPECT_EQ(g_store.page_count, 1);
    }
    EXPECT_EQ(g_document.info.number, 2);
}

TEST_F(XrefStreams, MissingPiecesOfTheDictionaryEndInCode41) {
    XrefStreamOptions filter_array;
    filter_array.filter = "/Filter [/FlateDecode]";
    XrefStreamOptions too_wide;
    too_wide.widths[1] = 9;
    XrefStreamOptions no_rows;
    no_rows.widths[0] = no_rows.widths[1] = no_rows.widths[2] = 0;
    for (const XrefStreamOptions* options : {&filter_array, &too_wide, &no_rows}) {
        Load(XrefStreamFile(*options));
        EXPECT_EQ(Codes(), Vec{41});
        EXPECT_EQ(g_store.page_count, 0);
    }
    for (const char* cut : {"/W [", "/Size"}) {
        std::string file = XrefStreamFile(XrefStreamOptions{});
        file.replace(file.find(cut), 2, "/X");
        Load(file);
        EXPECT_EQ(Codes(), Vec{41}) << cut;
    }
    // An object header at startxref with no dictionary near it.
    PdfMaker pdf;
    pdf.Add(1, std::string(400, ' ') + "1");
    Load(pdf.Finish(pdf.offsets[1]));
    EXPECT_EQ(Codes(), Vec{42});
}

TEST_F(XrefStreams, PrevSectionsAreReadFirstAndANewerSectionWins) {
    PdfMaker pdf = OnePageDocument();
    pdf.Add(8, "<</Type/Old>>");
    const int old_xref = pdf.XrefStream(7, 9, {});
    pdf.Add(8, "<</Type/New>>");
    XrefStreamOptions update;
    update.index = true;
    update.first = 8;
    update.count = 2;
    update.extra = "/Prev " + std::to_string(old_xref);
    Load(pdf.Finish(pdf.XrefStream(9, 10, {}, update)));
    EXPECT_EQ(Codes(), Vec{});
    EXPECT_EQ(g_store.object_count, 10);  // the newest section's Size
    EXPECT_EQ(Label(8), "New");
    EXPECT_EQ(g_store.objects[4].offset, pdf.offsets[4]);
    EXPECT_EQ(g_store.page_count, 1);

    // Sections naming each other are each read once.
    PdfMaker loop = OnePageDocument();
    const int first = static_cast<int>(loop.bytes.size());
    XrefStreamOptions back;
    back.extra = "/Prev " + std::to_string(first + 1000000);
    const std::string once = loop.bytes;
    const int written = loop.XrefStream(7, 8, {}, back);
    ASSERT_EQ(written, first);
    std::string file = loop.Finish(written);
    file.replace(file.find("/Prev " + std::to_string(first + 1000000)), 6 + std::to_string(first + 1000000).size(),
                 "/Prev " + std::to_string(first) + std::string(std::to_string(first + 1000000).size() - std::to_string(first).size(), ' '));
    Load(file);
    EXPECT_EQ(Codes(), Vec{});
    EXPECT_EQ(g_store.page_count, 1);
}

TEST_F(XrefStreams, APrevChainDecodesNoMoreRowsThanFiftyTimesTheFile) {
    // Forty sections whose Length reaches past the file: each small stream inflates to 20,000
    // rows, so the chain alone would decode far more than the file justifies.
    PdfMaker pdf = OnePageDocument();
    constexpr int kRows = 20000;
    std::string rows, previous(4, '\0');
    for (int e = 0; e < kRows; ++e) {
        const int offset = pdf.offsets.count(e) ? pdf.offsets.at(e) : 0;
        const std::string row = {static_cast<char>(offset != 0 ? 1 : 0), static_cast<char>(offset >> 8),
                                 static_cast<char>(offset & 0xFF), '\0'};
        rows += '\x02';
        for (int c = 0; c < 4; ++c) rows += static_cast<char>(row[c] - previous[c]);
        previous = row;
    }
    const std::string data = Deflate(rows);
    constexpr int kSections = 40;
    int previous_section = -1;
    for (int i = 0; i < kSections; ++i) {
        const int position = static_cast<int>(pdf.bytes.size());
        const std::string prev = previous_section < 0 ? "" : "/Prev " + std::to_string(previous_section);
        pdf.bytes += "7 0 obj\n<</Type/XRef/Size 20000/W [1 2 1]/Root 1 0 R/Info 2 0 R" + prev +
                     "/DecodeParms<</Columns 4/Predictor 12>>/Filter/FlateDecode/Length 99999999>>\nstream\n" + data +
                     "\nendstream\nendobj\n";
        previous_section = position;
    }
    const std::string file = pdf.Finish(previous_section);
    Load(file);
    const Vec codes = Codes();
    const int64_t skipped = std::count(codes.begin(), codes.end(), 90);
    EXPECT_EQ(static_cast<int64_t>(codes.size()), skipped);
    EXPECT_GT(skipped, 0);
    // Sections are read newest first until the rows decoded pass the bound.
    const int64_t read = kSections - skipped;
    EXPECT_GT(read, 0);
    EXPECT_LT((read - 1) * static_cast<int64_t>(rows.size()), int64_t{50} * static_cast<int64_t>(file.size()));
    EXPECT_EQ(g_store.objects[4].offset, pdf.offsets[4]);
    EXPECT_EQ(g_store.page_count, 1);
}

TEST_F(XrefStreams, ObjectStreamsAreAppendedBehindTheFile) {
    PdfMaker pdf;
    pdf.Add(1, "<</Type/Catalog/Pages 3 0 R>>");
    pdf.Add(2, "<</Producer (objstm)>>");
    pdf.Add(4, "<</Type/Page/MediaBox [0 0 10 20]/Resources <<>>/Contents 5 0 R>>");
    pdf.Add(5, StreamBody("", "0 0 m 1 1 l S"));
    const std::string pages = "<</Type/Pages/Kids [4 0 R]/Count 1>>";
    const std::string font = "<</Type/Font/Subtype/Type1>>";
    pdf.Add(6, ObjectStreamBody({{3, pages}, {10, font}}));
    const int file_size = static_cast<int>(pdf.bytes.size()) + 1000;  // behind every byte written below
    const std::string file = pdf.Finish(pdf.XrefStream(7, 12, {{3, {6, 0}}, {10, {6, 1}}, {11, {6, 5}}}));
    ASSERT_LT(static_cast<int>(file.size()), file_size);
    Load(file);
    EXPECT_EQ(Codes(), Vec{});
    EXPECT_EQ(g_store.page_count, 1);
    EXPECT_EQ(g_store.pages[1].page_object, 4);

    const ObjectEntry& three = g_store.objects[3];
    EXPECT_EQ(three.stream_object, 6);
    EXPECT_EQ(three.generation, 0);
    EXPECT_EQ(three.offset, g_file.file_size);
    const std::string header = "3 0 ";
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(g_file.data) + three.offset, three.extent), header + pages);
    const ObjectEntry& ten = g_store.objects[10];
    EXPECT_EQ(ten.generation, 1);
    EXPECT_EQ(ten.offset, three.offset + three.extent);
    const std::string second = "10 " + std::to_string(pages.size()) + " ";
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(g_file.data) + ten.offset, ten.extent), second + font);
    EXPECT_EQ(g_file.data_length, ten.offset + ten.extent);
    EXPECT_EQ(ten.kind, kKindTypedDictionary);
    EXPECT_EQ(Label(10), "Font");
    // Index 5 has no pair: the entry stays unfilled.
    EXPECT_EQ(g_store.objects[11].stream_object, 6);
    EXPECT_EQ(g_store.objects[11].offset, 0);
    // The object stream was decoded once for both objects.
    EXPECT_EQ(g_store.stream_count, 1);
}

TEST_F(XrefStreams, ObjectStreamHeadersAreReadByTheirNAndFirstWithAnyWhiteSpace) {
    // 120 objects, pairs separated and ended by line feeds, as qpdf writes them.
    PdfMaker pdf;
    pdf.Add(2, "<</Producer (objstm)>>");
    pdf.Add(5, StreamBody("", "0 0 m 1 1 l S"));
    std::vector<std::pair<int, std::string>> objects = {{1, "<</Type/Catalog/Pages 3 0 R>>"},
                                                        {3, "<</Type/Pages/Kids [4 0 R]/Count 1>>"}};
    for (int n = 10; n < 127; ++n) objects.push_back({n, "<</Type/Filler/Number " + std::to_string(n) + ">>"});
    objects.push_back({4, "<</Type/Page/MediaBox [0 0 10 20]/Resources <<>>/Contents 5 0 R>>"});
    ASSERT_EQ(objects.size(), 120u);
    pdf.Add(6, ObjectStreamBody(objects, "\n", "\n"));
    std::map<int, std::pair<int, int>> compressed;
    for (size_t i = 0; i < objects.size(); ++i) compressed[objects[i].first] = {6, static_cast<int>(i)};
    Load(pdf.Finish(pdf.XrefStream(7, 127, compressed)));
    EXPECT_EQ(Codes(), Vec{});
    EXPECT_EQ(g_store.page_count, 1);
    EXPECT_EQ(g_store.pages[1].page_object, 4);
    EXPECT_EQ(Label(126), "Filler");
    size_t before = 0;
    for (size_t i = 0; i + 1 < objects.size(); ++i) before += objects[i].second.size();
    const ObjectEntry& last = g_store.objects[4];
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(g_file.data) + last.offset, last.extent),
              "4 " + std::to_string(before) + " " + objects.back().second);
}

TEST_F(XrefStreams, ObjectStreamsDecodeNoMoreThanFiftyTimesTheFile) {
    // Each stream's Length reaches past the file (and no "endstream" tells where its data ends),
    // so each may inflate to 50 times the rest of it:
    // forty such streams would hold far more than the file justifies.
    PdfMaker pdf = OnePageDocument();
    pdf.offsets.erase(6);
    std::map<int, std::pair<int, int>> compressed;
    constexpr int kStreams = 40;
    for (int i = 0; i < kStreams; ++i) {
        const int s = 10 + i;
        // Object 6 is small; object 7 behind it is the bulk.
        const std::string data = "6 0 7 40 <</Type/Font/Subtype/Type1>>" + std::string(200000 + 8, ' ');
        pdf.Add(s, "<</Type/ObjStm/N 2/First 9/Filter/FlateDecode/Length 99999999>>\nstream\n" + Deflate(data));
        compressed[100 + i] = {s, 0};
    }
    compressed[6] = {10, 0};
    const std::string file = pdf.Finish(pdf.XrefStream(7, 100 + kStreams, compressed));
    Load(file);
    const Vec codes = Codes();
    const auto refused = std::count(codes.begin(), codes.end(), 90);
    // The first streams are read; once 50 times the file is decoded, the rest are not.
    EXPECT_EQ(g_store.page_count, 1);
    EXPECT_EQ(g_store.objects[6].stream_object, 10);
    EXPECT_GT(g_store.objects[6].offset, 0);
    EXPECT_GT(g_store.objects[100].offset, 0);
    EXPECT_EQ(g_store.objects[100 + kStreams - 1].offset, 0);
    const int64_t decoded_streams = kStreams - refused;
    EXPECT_GT(refused, 0);
    EXPECT_LE((decoded_streams - 1) * 200000, int64_t{50} * static_cast<int64_t>(file.size()));
}

TEST_F(XrefStreams, AnObjectStreamThatCannotBeReadRecordsItsCodeForEveryObject) {
    PdfMaker pdf = OnePageDocument();
    pdf.offsets.erase(3);
    pdf.bytes += "8 0 obj\n<</Type/ObjStm/N 1/First 4/Length 40>>\nstream\rdata\nendstream\nendobj\n";
    pdf.offsets[8] = static_cast<int>(pdf.bytes.rfind("8 0 obj"));
    Load(pdf.Finish(pdf.XrefStream(7, 10, {{3, {8, 0}}, {9, {8, 1}}})));
    EXPECT_EQ(Codes(), (Vec{81, 81}));  // 81 is fatal: the load stops before the page tree
    EXPECT_EQ(g_store.objects[3].offset, 0);
}

}  // namespace
}  // namespace velmora
