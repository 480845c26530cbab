// Catalog and page tree numbering, and the set-up of one page: MediaBox, rotation, resources,
// the three forms of Contents.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pdf/document_values.h"
#include "pdf/file_buffer.h"
#include "pdf/lexical.h"
#include "pdf/object_table.h"
#include "convert/page_setup.h"
#include "pdf/page_tree.h"
#include "reader_fixture.h"
#include "support/pdf_maker.h"

namespace velmora {
namespace {

using test_support::OnePageDocument;
using test_support::PdfMaker;
using test_support::StreamBody;
using Vec = std::vector<int>;

std::string Page(const std::string& extra = "") {
    return "<</Type/Page/MediaBox [0 0 595 842]/Resources <<>>/Contents 90 0 R" + extra + ">>";
}

class PageTree : public ReaderTest {
protected:
    // Catalog 1 -> Pages 2; `objects` fill the rest; content 90 is shared by all pages.
    void LoadTree(const std::vector<std::pair<int, std::string>>& objects) {
        PdfMaker pdf;
        pdf.Add(1, "<</Type/Catalog/Pages 2 0 R>>");
        for (const auto& [number, body] : objects) pdf.Add(number, body);
        pdf.Add(90, StreamBody("", "0 0 m 1 1 l S"));
        Load(pdf.Finish(pdf.ClassicXref("/Root 1 0 R")));
    }
    static std::vector<int> PageObjects() {
        std::vector<int> objects;
        for (int p = 1; p <= g_store.page_count; ++p) objects.push_back(g_store.pages[p].page_object);
        return objects;
    }
};

TEST_F(PageTree, PagesAreNumberedInTreeOrderThroughNestedNodes) {
    LoadTree({{2, "<</Type/Pages/Kids [4 0 R 5 0 R 6 0 R]/Count 3>>"}, {4, Page()}, {5, Page()}, {6, Page()}});
    EXPECT_EQ(Codes(), Vec{});
    EXPECT_EQ(PageObjects(), (Vec{4, 5, 6}));
    EXPECT_EQ(g_document.page_tree_root, 2);

    LoadTree({{2, "<</Type/Pages/Kids [10 0 R 20 0 R]/Count 3>>"},
              {10, "<</Type/Pages/Kids [11 0 R 12 0 R]/Count 2>>"},
              {11, Page()}, {12, Page()}, {20, Page()}});
    EXPECT_EQ(PageObjects(), (Vec{11, 12, 20}));

    LoadTree({{2, "<</Type/Pages/Kids [3 0 R 10 0 R 20 0 R]/Count 5>>"}, {3, Page()},
              {10, "<</Type/Pages/Kids [11 0 R 13 0 R]/Count 3>>"},
              {11, Page()}, {13, "<</Type/Pages/Kids [14 0 R]/Count 1>>"}, {14, Page()}, {20, Page()}});
    // Node 10 claims three pages but holds two: the Count decides, so page 4 stays empty.
    EXPECT_EQ(PageObjects(), (Vec{3, 11, 14, 0, 20}));
}

TEST_F(PageTree, AtMost1023PagesAreCounted) {
    std::string kids;
    std::vector<std::pair<int, std::string>> objects;
    for (int n = 3; n < 3 + 1030; ++n) {
        kids += std::to_string(n) + " 0 R ";
        objects.push_back({n, Page()});
    }
    objects.push_back({2, "<</Type/Pages/Count 2000/Kids [" + kids + "]>>"});
    LoadTree(objects);
    EXPECT_EQ(Codes(), Vec{130});
    EXPECT_EQ(g_store.page_count, 1023);
    // A Kids value longer than an entry's text is still read whole: every counted page has its object.
    EXPECT_EQ(g_store.pages[1].page_object, 3);
    EXPECT_EQ(g_store.pages[1023].page_object, 3 + 1022);
}

TEST_F(PageTree, KidsSpreadOverLongSpacingAreAllRead) {
    std::string kids;
    std::vector<std::pair<int, std::string>> objects;
    for (int n = 3; n < 3 + 300; ++n) {
        kids += std::to_string(n) + " 0 R" + std::string(20, ' ');
        objects.push_back({n, Page()});
    }
    objects.push_back({2, "<</Type/Pages/Count 300/Kids [" + kids + "]>>"});
    LoadTree(objects);
    EXPECT_EQ(Codes(), Vec{});
    Vec expected;
    for (int n = 3; n < 3 + 300; ++n) expected.push_back(n);
    EXPECT_EQ(PageObjects(), expected);
}

TEST_F(PageTree, BrokenTreesEndInCodesNotLoops) {
    LoadTree({{2, "<</Type/Pages/Count 1>>"}});
    EXPECT_EQ(Codes(), Vec{63});
    LoadTree({{2, "<</Type/Pages/Kids [2 0 R 3 0 R]/Count 2>>"}, {3, Page()}});
    EXPECT_EQ(Codes(), Vec{63});  // a node that is its own kid is read once
    EXPECT_EQ(PageObjects(), (Vec{2, 3}));
    LoadTree({{2, "<</Type/Pages/Kids [4 0 R]/Count -5>>"}, {4, Page()}});
    EXPECT_EQ(g_store.page_count, 0);

    PdfMaker pdf = OnePageDocument();
    pdf.Add(1, "<</Type/Outlines/Pages 3 0 R>>");
    Load(pdf.Finish(pdf.ClassicXref("/Root 1 0 R")));
    EXPECT_EQ(Codes(), Vec{62});
    PdfMaker far = OnePageDocument();
    far.Add(1, "<</Type/Catalog/Pages 100000 0 R>>");
    Load(far.Finish(far.ClassicXref("/Root 1 0 R")));
    EXPECT_EQ(Codes(), Vec{});
    EXPECT_EQ(g_store.page_count, 0);
}

class PageSetUp : public ReaderTest {
protected:
    bool SetUp1(const std::string& page_body, const std::vector<std::pair<int, std::string>>& extra = {}) {
        PdfMaker pdf = OnePageDocument();
        pdf.Add(4, page_body);
        for (const auto& [number, body] : extra) pdf.Add(number, body);
        Load(pdf.Finish(pdf.ClassicXref("/Root 1 0 R/Info 2 0 R")));
        EXPECT_EQ(Codes(), Vec{});
        FreePageStreams();
        ResetForPage(1);
        return SetUpPage(1);
    }
    static const PageRecord& P() { return g_store.pages[1]; }
};

TEST_F(PageSetUp, MediaBoxAndRotation) {
    const std::string rest = "/Resources <<>>/Contents 5 0 R";
    ASSERT_TRUE(SetUp1("<</Type/Page/MediaBox [0 0 595 842]/Rotate 90" + rest + ">>"));
    EXPECT_EQ(P().media_box[2], 842);
    EXPECT_EQ(P().media_box[3], 595);
    EXPECT_EQ(P().rotation, 90);
    // Three quarters turn the page as one quarter does; 180 keeps the box.
    for (const char* rotate : {"270", "-90"}) {
        ASSERT_TRUE(SetUp1(std::string("<</Type/Page/MediaBox [10 20 595.28 841.89]/Rotate ") + rotate + rest + ">>"));
        // The box is kept moved to 0 0; its lower-left corner becomes the page frame's origin.
        EXPECT_EQ(P().media_box[0], 0);
        EXPECT_EQ(P().media_box[1], 0);
        EXPECT_EQ(P().media_box[2], 841.89 - 20);
        EXPECT_EQ(P().media_box[3], 595.28 - 10);
        EXPECT_EQ(P().frame_origin[0], 10);
        EXPECT_EQ(P().frame_origin[1], 20);
    }
    EXPECT_EQ(P().rotation, -90);
    ASSERT_TRUE(SetUp1("<</Type/Page/MediaBox [0 0 595 842]/Rotate 180" + rest + ">>"));
    EXPECT_EQ(P().media_box[2], 595);
    ASSERT_TRUE(SetUp1("<</Type/Page/MediaBox [0 0 100 200]" + rest + ">>"));
    EXPECT_EQ(P().rotation, 0);
    EXPECT_EQ(P().media_box[3], 200);
}

TEST_F(PageSetUp, EverySetUpDrawsOnTheScanBudget) {
    // All pages may name one page object with a long extent; its searches are paid for each time.
    const std::string tail(100000, ' ');
    ASSERT_TRUE(SetUp1("<</Type/Page/MediaBox [0 0 1 1]/Resources <<>>/Contents 5 0 R>>" + tail));
    int setups = 1;
    while (SetUpPage(1) && setups < 10000) ++setups;
    EXPECT_GT(setups, 50);  // MediaBox, CropBox, Rotate and Resources are each searched for
    EXPECT_LT(setups, 10000);
    // The last set-up that ran found no content stream it could read.
    EXPECT_EQ(Codes(), (Vec{61, kWarningContentUnreadable}));
    EXPECT_LT(g_file.scan_budget, 0);
}

TEST_F(PageSetUp, MediaBoxResourcesAndRotateAreInheritedFromTheNearestNode) {
    PdfMaker pdf = OnePageDocument();
    pdf.Add(3, "<</Type/Pages/Kids [7 0 R]/Count 1/MediaBox [0 0 595 842]/Rotate 90/Resources 8 0 R>>");
    pdf.Add(7, "<</Type/Pages/Parent 3 0 R/Kids [4 0 R]/Count 1/MediaBox [0 0 300 400]>>");
    pdf.Add(4, "<</Type/Page/Parent 7 0 R/Contents 5 0 R>>");
    pdf.Add(8, "<</Font <</F1 6 0 R>>>>");
    Load(pdf.Finish(pdf.ClassicXref("/Root 1 0 R")));
    ASSERT_TRUE(SetUpPage(1));
    EXPECT_EQ(Codes(), Vec{});
    EXPECT_EQ(P().media_box[2], 400);  // the nearer node's box, turned
    EXPECT_EQ(P().media_box[3], 300);
    EXPECT_EQ(P().rotation, 90);
    EXPECT_EQ(P().font_count, 1);
    EXPECT_EQ(P().contents_count, 1);

    // The page's own entries win over the nodes'.
    pdf.Add(4, "<</Type/Page/Parent 7 0 R/MediaBox [0 0 10 20]/Rotate 0/Resources <<>>/Contents 5 0 R>>");
    Load(pdf.Finish(pdf.ClassicXref("/Root 1 0 R")));
    ASSERT_TRUE(SetUpPage(1));
    EXPECT_EQ(P().media_box[3], 20);
    EXPECT_EQ(P().rotation, 0);
    EXPECT_EQ(P().font_count, 0);

    // A page without Resources has no fonts, but its content is read.
    EXPECT_TRUE(SetUp1("<</Type/Page/MediaBox [0 0 1 1]/Contents 5 0 R>>"));
    EXPECT_EQ(Codes(), Vec{});
    EXPECT_EQ(P().font_count, 0);
    EXPECT_EQ(P().contents_count, 1);

    // A page without Type, and a page or tree without MediaBox or Contents, fail.
    for (const char* page : {"<</Type/Page/MediaBox [0 0 1 1]/Resources <<>>>>", "<</MediaBox [0 0 1 1]>>",
                             "<</Type/Page/Resources <<>>/Contents 5 0 R>>"}) {
        EXPECT_FALSE(SetUp1(page));
        EXPECT_EQ(Codes(), Vec{64}) << page;
    }
}

TEST_F(PageSetUp, AParentChainThatLoopsEnds) {
    PdfMaker pdf = OnePageDocument();
    pdf.Add(4, "<</Type/Page/Parent 7 0 R/Resources <<>>/Contents 5 0 R>>");
    pdf.Add(7, "<</Type/Pages/Parent 8 0 R>>");
    pdf.Add(8, "<</Type/Pages/Parent 7 0 R>>");
    Load(pdf.Finish(pdf.ClassicXref("/Root 1 0 R")));
    EXPECT_FALSE(SetUpPage(1));
    EXPECT_EQ(Codes(), Vec{64});
}

TEST_F(PageSetUp, ContentsAsReferenceDirectArrayOrReferencedArray) {
    const std::vector<std::pair<int, std::string>> streams = {{20, StreamBody("", "first")},
                                                              {21, StreamBody("", "second")},
                                                              {22, "[20 0 R\n21 0 R]"},
                                                              // ends 22's extent before the table
                                                              {23, "null"}};
    const std::string head = "<</Type/Page/MediaBox [0 0 1 1]/Resources <<>>/Contents ";
    for (const char* contents : {"[20 0 R 21 0 R]", "22 0 R"}) {
        ASSERT_TRUE(SetUp1(head + contents + ">>", streams)) << contents;
        EXPECT_EQ(P().contents_count, 2);
        EXPECT_EQ(P().contents_objects[0], 20);
        EXPECT_EQ(P().contents_objects[1], 21);
        EXPECT_EQ(EntryBytes(1), "first");
        EXPECT_EQ(EntryBytes(2), "second");
        EXPECT_EQ(g_store.streams[2].page_number, 1);
        EXPECT_EQ(g_store.stream_count, 2);
    }
    ASSERT_TRUE(SetUp1(head + "21 0 R>>", streams));
    EXPECT_EQ(P().contents_count, 1);
    EXPECT_EQ(EntryBytes(1), "second");
    // A reference to nothing leaves the page without content, not the reader without bounds.
    ASSERT_TRUE(SetUp1(head + "[77 0 R 99999 0 R 123456 0 R]>>", streams));
    EXPECT_EQ(g_store.stream_count, 0);
}

TEST_F(PageSetUp, LongContentsArraysAreReadWhole) {
    // 200 streams, more references than an entry's 1024 characters hold, given directly and
    // through an array object (whose text was once cut at 1023 characters as well).
    constexpr int kStreams = 200;
    std::vector<std::pair<int, std::string>> objects;
    std::string references;
    for (int i = 0; i < kStreams; ++i) {
        objects.push_back({1000 + i, StreamBody("", "s" + std::to_string(i))});
        references += std::to_string(1000 + i) + " 0 R ";
    }
    objects.push_back({30, "[" + references + "]"});
    objects.push_back({31, "null"});
    const std::string head = "<</Type/Page/MediaBox [0 0 1 1]/Resources <<>>/Contents ";
    for (const std::string& contents : {"[" + references + "]", std::string("30 0 R")}) {
        ASSERT_TRUE(SetUp1(head + contents + ">>", objects)) << contents.substr(0, 20);
        ASSERT_EQ(P().contents_count, kStreams);
        EXPECT_EQ(P().contents_objects[kStreams - 1], 1000 + kStreams - 1);
        EXPECT_EQ(EntryBytes(kStreams), "s" + std::to_string(kStreams - 1));
    }
}

TEST_F(PageSetUp, APageDecodesNoMoreThanFiftyTimesTheFile) {
    // One stream named 100 times: each copy alone is within the file, all of them together
    // would hold 100 copies.
    constexpr int kReferences = 100;
    const std::string content = "0 0 m 1 1 l S\n" + std::string(20000, ' ');
    std::string contents = "[";
    for (int i = 0; i < kReferences; ++i) contents += "20 0 R ";
    ASSERT_TRUE(SetUp1("<</Type/Page/MediaBox [0 0 1 1]/Resources <<>>/Contents " + contents + "]>>",
                       {{20, StreamBody("", content)}}));
    const int64_t bound = int64_t{50} * g_file.file_size;
    int64_t decoded = 0;
    for (int entry = 1; entry <= g_store.stream_count; ++entry) decoded += g_store.streams[entry].length;
    // Streams are decoded until the bound is passed, the one that passes it included.
    EXPECT_GT(P().contents_count, 0);
    EXPECT_LT(P().contents_count, kReferences);
    EXPECT_EQ(P().contents_count, g_store.stream_count);
    EXPECT_GE(decoded, bound);
    EXPECT_LT(decoded - static_cast<int64_t>(content.size()), bound);
    EXPECT_EQ(EntryBytes(1), content);
    EXPECT_EQ(Codes(), Vec(kReferences - P().contents_count, 90));
}

TEST(FontResources, DirectAndReferencedFontDictionaries) {
    std::string text = " <</Font <</F1 5 0 R>> /ProcSet [/PDF /Text]>";
    ASSERT_TRUE(ResolveFontResources(&text));
    EXPECT_EQ(text, "/F1 5 0 R");
}

class FontResourcesInFile : public ReaderTest {
protected:
    void LoadWith(const std::vector<std::pair<int, std::string>>& extra) {
        PdfMaker pdf = OnePageDocument();
        for (const auto& [number, body] : extra) pdf.Add(number, body);
        Load(pdf.Finish(pdf.ClassicXref("/Root 1 0 R")));
        ASSERT_EQ(Codes(), Vec{});
    }
    std::string Resolve(std::string text) { return ResolveFontResources(&text) ? text : "<failed>"; }
};

TEST_F(FontResourcesInFile, ReferencesAreFollowed) {
    LoadWith({{7, "<</F1 5 0 R/F2 6 0 R>>"},
              {8, "<</Font <</F3 6 0 R>>/ProcSet [/PDF]>>"},
              {9, "<</Font 7 0 R>>"},
              {10, "<</ProcSet [/PDF]>>"}});
    EXPECT_EQ(Resolve(" <</Font 7 0 R/ProcSet [/PDF]>"), "/F1 5 0 R/F2 6 0 R>>");
    EXPECT_EQ(g_store.objects[7].kind, kKindFontReference);
    // Resources as a reference: a direct Font entry as the lookup left it, without its slash;
    // a Font entry that is itself a reference is followed like a direct one.
    EXPECT_EQ(Resolve(" 8 0 R"), "Font <</F3 6 0 R>");
    EXPECT_EQ(Resolve(" 9 0 R"), "/F1 5 0 R/F2 6 0 R>>");
    // Resources without fonts, referenced or direct, name no fonts.
    EXPECT_EQ(Resolve(" 10 0 R"), "");
    EXPECT_EQ(Resolve(" <</ExtGState <</G1 3 0 R>>>"), "");
    EXPECT_EQ(Resolve(" 77 0 R"), "<failed>");
    EXPECT_EQ(Resolve(" <</Font 77 0 R>"), "<failed>");
}

TEST_F(FontResourcesInFile, FontDictionariesLongerThanAnEntryAreReadWhole) {
    // 150 fonts do not fit an entry's 1024 characters; every one of them still gets its slot,
    // whether the fonts are direct in the page, direct in referenced resources, or referenced.
    std::string fonts;
    for (int i = 1; i <= 150; ++i) fonts += "/F" + std::to_string(i) + " " + std::to_string(1000 + i) + " 0 R ";
    LoadWith({{7, "<<" + fonts + ">>"}, {8, "<</Font <<" + fonts + ">> /ProcSet [/PDF]>>"}, {9, "<</Font 7 0 R>>"}});
    const std::string last = "/F150 1150 0 R";
    for (const std::string& resources : {" <</Font <<" + fonts + ">>>>", std::string(" 8 0 R"), std::string(" <</Font 7 0 R>>")}) {
        const std::string text = Resolve(resources);
        EXPECT_NE(text.find(last), std::string::npos) << resources.substr(0, 20);
    }
    for (const std::string& resources : {"<</Font <<" + fonts + ">>>>", std::string("8 0 R")}) {
        PdfMaker pdf = OnePageDocument();
        pdf.Add(4, "<</Type/Page/MediaBox [0 0 1 1]/Resources " + resources + "/Contents 5 0 R>>");
        pdf.Add(8, "<</Font <<" + fonts + ">> /ProcSet [/PDF]>>");
        Load(pdf.Finish(pdf.ClassicXref("/Root 1 0 R")));
        FreePageStreams();
        ResetForPage(1);
        ASSERT_TRUE(SetUpPage(1)) << resources.substr(0, 20);
        EXPECT_EQ(g_store.pages[1].font_count, 150);
        EXPECT_STREQ(g_store.pages[1].font_resource_names[150], "F150");
        EXPECT_EQ(g_store.pages[1].font_objects[150], 1150);
    }
}

TEST_F(FontResourcesInFile, PagesWithoutFontsStillReadTheirContents) {
    // Referenced resources without fonts, resources that are not there, fonts that are not there.
    for (const char* resources : {"10 0 R", "77 0 R", "<</Font 77 0 R>>"}) {
        LoadWith({{4, std::string("<</Type/Page/MediaBox [0 0 1 1]/Resources ") + resources + "/Contents 5 0 R>>"},
                  {10, "<</ProcSet [/PDF]/XObject <</Fm1 11 0 R>>>>"}});
        FreePageStreams();
        ResetForPage(1);
        EXPECT_TRUE(SetUpPage(1)) << resources;
        EXPECT_EQ(Codes(), Vec{});
        EXPECT_EQ(g_store.pages[1].font_count, 0);
        EXPECT_EQ(g_store.stream_count, 1);
    }
}

}  // namespace
}  // namespace velmora
