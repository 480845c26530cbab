// Error boxes, page passes and paper sizes of the conversion driver.
#include <gtest/gtest.h>

#include <string>

#include "content/form_xobject.h"
#include "convert/driver.h"
#include "convert/fake_reader.h"
#include "pdf/error_codes.h"
#include "support/store_fixture.h"

namespace velmora {
namespace {

class ReportErrorsTest : public StoreTest {};

TEST_F(ReportErrorsTest, EmptyListShowsNothing) {
    ReportErrors(nullptr);
    EXPECT_TRUE(g_test_seam.messages.empty());
    EXPECT_TRUE(g_test_seam.progress.empty());
}

TEST_F(ReportErrorsTest, RepeatedCodeIsShownOnceAndUnknownCodeAsEmptyLine) {
    RecordError(90);
    RecordError(7);
    RecordError(90);
    RecordError(91);
    g_store.object_count = 12345;
    g_store.page_count = 3;
    ReportErrors(nullptr);
    ASSERT_EQ(g_test_seam.messages.size(), 2u);
    EXPECT_EQ(g_test_seam.messages[0].text, std::string(ErrorMessage(90)) + "\n\n" + ErrorMessage(91) + "\n");
    EXPECT_EQ(g_test_seam.messages[0].title, "エラー");
    EXPECT_EQ(g_test_seam.messages[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(g_test_seam.messages[1].text, "Obj総数    12345\n総ページ数     3\n");
}

TEST_F(ReportErrorsTest, InformationIsNoErrorAndEachCodeIsShownOnce) {
    RecordError(100);
    g_store.object_count = 7;
    g_store.page_count = 1;
    ReportErrors(nullptr);
    ASSERT_EQ(g_test_seam.messages.size(), 1u);
    EXPECT_EQ(g_test_seam.messages[0].title, "情報");
    EXPECT_EQ(g_test_seam.messages[0].text, std::string(ErrorMessage(100)) + "\n\nObj総数        7\n総ページ数     1\n");
    ReportErrors(nullptr);  // the result's report after the load's: nothing new, no box
    EXPECT_EQ(g_test_seam.messages.size(), 1u);

    RecordError(120);  // a later loss is still an error, and 100 is not repeated
    ReportErrors(nullptr);
    ASSERT_EQ(g_test_seam.messages.size(), 3u);
    EXPECT_EQ(g_test_seam.messages[1].title, "エラー");
    EXPECT_EQ(g_test_seam.messages[1].text, std::string(ErrorMessage(120)) + "\n");
    EXPECT_EQ(g_test_seam.messages[2].text, "Obj総数        7\n総ページ数     1\n");

    ReplaceErrors(110);  // a replaced list is a new list
    ReportErrors(nullptr);
    EXPECT_EQ(g_test_seam.messages.size(), 5u);
}

TEST_F(ReportErrorsTest, RasterImagesAreToldOncePerPageWithTheirCount) {
    ResetForOpen();
    g_store.page_count = 3;
    NoteRasterImage(2);
    NoteRasterImage(2);
    RecordError(kWarningRasterImages);
    ReportErrors(nullptr);
    ASSERT_EQ(g_test_seam.messages.size(), 2u);
    EXPECT_EQ(g_test_seam.messages[0].text, std::string(ErrorMessage(kWarningRasterImages)) + "（2頁 2個）\n");
    ReportErrors(nullptr);  // the same page again: nothing new
    EXPECT_EQ(g_test_seam.messages.size(), 2u);

    // Another page with images says so, though the code stands in the list once already.
    NoteRasterImage(3);
    RecordError(kWarningRasterImages);
    ReportErrors(nullptr);
    ASSERT_EQ(g_test_seam.messages.size(), 4u);
    EXPECT_EQ(g_test_seam.messages[2].text, std::string(ErrorMessage(kWarningRasterImages)) + "（3頁 1個）\n");

    ResetForOpen();  // a new file tells its pages afresh, and keeps no count of the last one's
    g_store.page_count = 3;
    NoteRasterImage(2);
    RecordError(kWarningRasterImages);
    ReportErrors(nullptr);
    ASSERT_EQ(g_test_seam.messages.size(), 6u);
    EXPECT_EQ(g_test_seam.messages[4].text, std::string(ErrorMessage(kWarningRasterImages)) + "（2頁 1個）\n");
}

TEST_F(ReportErrorsTest, ProgressLineIsErasedInTheBackgroundColour) {
    RecordError(100);
    ReportErrors(nullptr);
    ASSERT_EQ(g_test_seam.progress.size(), 1u);
    const RecordedProgress& erase = g_test_seam.progress[0];
    std::string spaces;
    for (int i = 0; i < 20; ++i) spaces += "　";
    EXPECT_EQ(erase.text, spaces);
    EXPECT_EQ(erase.colour.red, 158);
    EXPECT_EQ(erase.background.red, 158);
}

TEST_F(ReportErrorsTest, TextStaysWithin900BytesAndEndsOnAWholeMessage) {
    std::string all;
    for (const ErrorTableRow& row : ErrorTable) {
        RecordError(row.code);
        if (!IsInformationCode(row.code)) all += std::string(row.message) + "\n";
    }
    ASSERT_GT(all.size(), 900u) << "the table must overflow the box for this test to mean anything";
    ReportErrors(nullptr);
    const std::string& text = g_test_seam.messages.at(0).text;
    EXPECT_LT(text.size(), 900u);
    EXPECT_EQ(all.compare(0, text.size(), text), 0);  // a prefix of whole messages, in order
    EXPECT_EQ(text.back(), '\n');
    EXPECT_EQ(all[text.size() - 1], '\n');
}

TEST_F(ReportErrorsTest, ListKeepsAtMost100Codes) {
    for (int i = 0; i < 101; ++i) RecordError(i == 100 ? 11 : 90);
    EXPECT_EQ(g_errors.count, 100);
    EXPECT_FALSE(HasFatalError());  // the 101st code (fatal) was dropped
    RecordError(89);
    EXPECT_EQ(g_errors.count, 100);
}

class ConvertAllPagesTest : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        UseFakeReader();
        g_fake_reader.files["x.pdf"] = FakeFile{{}, 20, {FakePage{4, 0}, FakePage{}, FakePage{0, 2}}};
        g_driver_stages.load_pdf_file("x.pdf");
    }
    std::vector<std::string> ProgressTexts() {
        std::vector<std::string> texts;
        for (const RecordedProgress& p : g_test_seam.progress) texts.push_back(p.text);
        return texts;
    }
};

TEST_F(ConvertAllPagesTest, EmptyPageIsConvertedAgainOnEveryPass) {
    ConvertAllPages(nullptr);
    EXPECT_EQ(g_fake_reader.scanned_pages, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(ProgressTexts(), (std::vector<std::string>{"　1/3 頁 解析　", "　2/3 頁 解析　", "　3/3 頁 解析　"}));
    EXPECT_EQ(g_test_seam.progress[0].colour.red, 255);
    EXPECT_EQ(g_test_seam.progress[0].colour.blue, 255);

    g_fake_reader.scanned_pages.clear();
    g_test_seam.progress.clear();
    ConvertAllPages(nullptr);
    EXPECT_EQ(g_fake_reader.scanned_pages, std::vector<int>{2});
    EXPECT_EQ(ProgressTexts(), std::vector<std::string>{"　2/3 頁 解析　"});
    EXPECT_EQ(g_store.converted_flag, 1);
}

TEST_F(ConvertAllPagesTest, PassKeepsTheDashMergeFlagAndConvertPageClearsIt) {
    g_store.conversion.dash_merge_done = 1;
    ConvertAllPages(nullptr);
    EXPECT_EQ(g_store.conversion.dash_merge_done, 1);
    ConvertPage(1);
    EXPECT_EQ(g_store.conversion.dash_merge_done, 0);
    EXPECT_EQ(g_store.conversion.line_count, 4);  // the tables hold the page converted last
    EXPECT_EQ(g_store.pages[3].text_count, 2);    // other pages keep their figures
}

class PaperSizeTest : public StoreTest {
protected:
    int Detect(double width, double height) {
        PageRecord& page = g_store.pages[5];
        page.media_box[0] = 0;
        page.media_box[1] = 0;
        page.media_box[2] = width;
        page.media_box[3] = height;
        DetectPaperSize(5);
        return page.paper_size_index;
    }
};

TEST_F(PaperSizeTest, KnownSizesAndTheFallback) {
    EXPECT_STREQ(PaperNames[Detect(612, 792)], "A4");   // US Letter lies within 10 % of A4
    EXPECT_STREQ(PaperNames[Detect(842, 595)], "A4");
    EXPECT_STREQ(PaperNames[Detect(595, 842)], "A4");
    EXPECT_STREQ(PaperNames[Detect(1032, 729)], "A0");  // B4 matches nothing
    EXPECT_STREQ(PaperNames[Detect(1191, 842)], "A3");
    EXPECT_STREQ(PaperNames[Detect(3370, 2384)], "A0");
    EXPECT_STREQ(PaperNames[Detect(4768, 3368)], "2A");
    EXPECT_STREQ(PaperNames[Detect(11920, 8420)], "5A");
    EXPECT_EQ(Detect(0, 0), 0);
}

TEST_F(PaperSizeTest, BoundsAreStrict) {
    // A4's sum is 1442: 0.9 x 1442 = 1297.8 is outside, a hair above is inside.
    EXPECT_EQ(Detect(1297.8, 0), 0);
    EXPECT_EQ(Detect(1297.81, 0), 4);
}

}  // namespace
}  // namespace velmora
