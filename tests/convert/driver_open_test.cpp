// The open command's flows: direct route, fallback prompt, Ghostscript route, result messages.
#include <gtest/gtest.h>

#include <string>

#include "convert/fake_reader.h"
#include "pdf/security_handler.h"
#include "support/store_fixture.h"

namespace velmora {
namespace {

constexpr char kDirectDone[] = "単独変換で 2 頁 読込・変換しました \r\n \r\n●右クリックで縮尺を指定できます●";
constexpr char kDirectEmpty[] =
    "単独変換で 1 頁 読み込みましたが \r\n変換できるデータが見つかりませんでした \r\nGS経由変換(メインメニュー)も試してみてください";
constexpr char kFallbackPrompt[] =
    "「単独変換」で変換できませんでした \r\n「GhostScript経由変換」を試してみますか？ \r\nファイルサイズが大きい場合時間がかかります";
constexpr char kGsDone[] = "GS経由変換で 2 頁 読込・変換しました \r\n \r\n●右クリックで縮尺を指定できます●";
constexpr char kGsEmpty[] = "GS経由変換で 1 頁 読み込みましたが \r\n変換できるデータが見つかりませんでした ";

std::string Lines(std::initializer_list<int> codes) {
    std::string text;
    for (int code : codes) text += std::string(ErrorMessage(code)) + "\n";
    return text;
}

class DriverOpenTest : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        UseFakeReader();
        ASSERT_TRUE(SetPdfPath("/drawings/plan a.pdf"));
        ASSERT_TRUE(SetIntermediateDirectory("/program/"));
    }
    const std::vector<RecordedMessage>& Messages() { return g_test_seam.messages; }
};

TEST_F(DriverOpenTest, DirectRouteWithDataShowsTheResultOnly) {
    g_fake_reader.files["/drawings/plan a.pdf"] = FakeFile{{}, 12, {FakePage{3, 1}, FakePage{}}};
    OpenPdf(nullptr);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].text, kDirectDone);
    EXPECT_EQ(Messages()[0].title, "変換終了");
    EXPECT_EQ(g_store.conversion_route, ConversionRoute::kDirect);
    EXPECT_EQ(g_store.converted_flag, 1);
    EXPECT_EQ(g_test_seam.erasing_repaints, 1);
    EXPECT_EQ(g_fake_reader.scanned_pages, std::vector<int>{1});
    EXPECT_TRUE(g_test_seam.started_commands.empty());
}

TEST_F(DriverOpenTest, LosslessFileWithAnEncodingNameShowsNoErrorBox) {
    g_fake_reader.files["/drawings/plan a.pdf"] = FakeFile{{100}, 12, {FakePage{3, 1}, FakePage{}}};
    OpenPdf(nullptr);
    ASSERT_EQ(Messages().size(), 2u);  // the load's information, once, then the result
    EXPECT_EQ(Messages()[0].title, "情報");
    EXPECT_NE(Messages()[0].text.find(ErrorMessage(100)), std::string::npos);
    EXPECT_EQ(Messages()[1].text, kDirectDone);
    for (const RecordedMessage& message : Messages()) EXPECT_NE(message.title, "エラー");
}

TEST_F(DriverOpenTest, PageWithoutVectorDataSuggestsTheGhostscriptRoute) {
    g_fake_reader.files["/drawings/plan a.pdf"] = FakeFile{{}, 5, {FakePage{}}};
    OpenPdf(nullptr);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].text, kDirectEmpty);
    EXPECT_EQ(g_store.conversion_route, ConversionRoute::kDirect);
}

TEST_F(DriverOpenTest, MissingHeaderAnsweredNoShowsTheErrorAndCounts) {
    g_fake_reader.files["/drawings/plan a.pdf"] = FakeFile{{10}, 0, {}};
    g_test_seam.answers = {MessageAnswer::No};
    OpenPdf(nullptr);
    ASSERT_EQ(Messages().size(), 3u);
    EXPECT_EQ(Messages()[0].text, kFallbackPrompt);
    EXPECT_EQ(Messages()[0].title, "変換確認");
    EXPECT_EQ(Messages()[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(Messages()[1].text, "ヘッダが見つかりません\n");
    EXPECT_EQ(Messages()[1].title, "エラー");
    EXPECT_EQ(Messages()[2].text, "Obj総数        0\n総ページ数     0\n");
    EXPECT_EQ(g_store.conversion_route, ConversionRoute::kNone);
    EXPECT_TRUE(g_test_seam.started_commands.empty());
    EXPECT_EQ(g_test_seam.unscripted_questions, 0);
}

// The password box is asked until a password opens the file, told when the last one was wrong;
// Cancel ends the open without a box; the console, which cannot ask, shows the error.
TEST_F(DriverOpenTest, ProtectedFileAsksForItsPasswordUntilOneOpensIt) {
    g_fake_reader.files["/drawings/plan a.pdf"] = FakeFile{{}, 5, {FakePage{3, 0}}, "secret"};
    g_test_seam.passwords = {"guess", "secret"};
    OpenPdf(nullptr);
    EXPECT_EQ(g_test_seam.password_asks, (std::vector<bool>{false, true}));
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].text, "単独変換で 1 頁 読込・変換しました \r\n \r\n●右クリックで縮尺を指定できます●");
    EXPECT_EQ(g_store.conversion_route, ConversionRoute::kDirect);

    ResetTestSeam();
    SetDocumentPassword("");
    g_test_seam.passwords = {"guess"};
    OpenPdf(nullptr);
    EXPECT_EQ(g_test_seam.password_asks, (std::vector<bool>{false, true}));
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(g_store.conversion_route, ConversionRoute::kNone);
    EXPECT_TRUE(g_test_seam.started_commands.empty());
    SetDocumentPassword("");
}

TEST_F(DriverOpenTest, DocumentWithoutPagesCountsAsFailed) {
    g_fake_reader.files["/drawings/plan a.pdf"] = FakeFile{{}, 7, {}};
    g_test_seam.answers = {MessageAnswer::No};
    OpenPdf(nullptr);
    ASSERT_EQ(Messages().size(), 1u);  // the prompt; an empty error list shows no box
    EXPECT_EQ(Messages()[0].text, kFallbackPrompt);
}

TEST_F(DriverOpenTest, YesWithoutGhostscriptShowsCodes89And110InOneBox) {
    g_fake_reader.files["/drawings/plan a.pdf"] = FakeFile{{10}, 0, {}};
    g_test_seam.answers = {MessageAnswer::Yes};
    OpenPdf(nullptr);
    ASSERT_EQ(Messages().size(), 3u);
    EXPECT_EQ(Messages()[1].text, Lines({89, 110}));
    EXPECT_EQ(Messages()[1].title, "エラー");
    EXPECT_EQ(g_store.ghostscript_marker, GhostscriptMarker::kNone);
    EXPECT_EQ(g_store.conversion_route, ConversionRoute::kNone);
    EXPECT_FALSE(g_test_seam.started_commands.empty());
    ASSERT_FALSE(g_test_seam.progress.empty());
    EXPECT_EQ(g_test_seam.progress[0].text, "GhostScript で変換中");
}

TEST_F(DriverOpenTest, YesRunsGhostscriptAndReadsTheIntermediateFile) {
    g_fake_reader.files["/drawings/plan a.pdf"] = FakeFile{{42}, 3, {}};
    g_fake_reader.files["/program/velmora_GS.pdf"] = FakeFile{{}, 30, {FakePage{0, 4}, FakePage{}}};
    g_test_seam.answers = {MessageAnswer::Yes};
    g_test_seam.process_outcomes = {{true, 0}};
    OpenPdf(nullptr);

    ASSERT_EQ(g_test_seam.started_commands.size(), 1u);
    const std::string& command = g_test_seam.started_commands[0];
    // The intermediate file keeps a classic table on every version of Ghostscript.
    EXPECT_NE(command.find("-dBATCH -dNOPAUSE -sDEVICE=pdfwrite -dWriteXRefStm=false -dWriteObjStms=false "
                           "-sOutputFile=\"/program/velmora_GS.pdf\" "
                           "\"/drawings/plan a.pdf\""),
              std::string::npos)
        << command;
    EXPECT_EQ(g_store.ghostscript_marker, GhostscriptMarker::k64Bit);
    EXPECT_EQ(g_store.conversion_route, ConversionRoute::kGhostscript);
    EXPECT_EQ(g_fake_reader.loaded_paths.back(), "/program/velmora_GS.pdf");
    ASSERT_EQ(Messages().size(), 2u);  // the failed direct load's errors were reset with the file
    EXPECT_EQ(Messages()[1].text, kGsDone);
    EXPECT_EQ(Messages()[1].title, "変換終了");
}

TEST_F(DriverOpenTest, GhostscriptFileWithoutDataSaysSo) {
    g_fake_reader.files["/program/velmora_GS.pdf"] = FakeFile{{}, 30, {FakePage{}}};
    g_test_seam.answers = {MessageAnswer::Yes};
    g_test_seam.process_outcomes = {{true, 1}};
    OpenPdf(nullptr);
    ASSERT_FALSE(Messages().empty());
    EXPECT_EQ(Messages().back().text, kGsEmpty);
    EXPECT_EQ(g_store.conversion_route, ConversionRoute::kGhostscript);
}

TEST_F(DriverOpenTest, UnreadableIntermediateFileReportsItsErrors) {
    g_test_seam.answers = {MessageAnswer::Yes};
    g_test_seam.process_outcomes = {{true, 1}};
    OpenPdf(nullptr);  // neither path is scripted: both loads record code 10
    ASSERT_EQ(Messages().size(), 3u);
    EXPECT_EQ(Messages()[1].text, Lines({10}));
    EXPECT_EQ(g_store.conversion_route, ConversionRoute::kNone);
}

TEST_F(DriverOpenTest, WarningIsShownAfterLoadingAndNotAgainBeforeTheResult) {
    g_fake_reader.files["/drawings/plan a.pdf"] = FakeFile{{101}, 9, {FakePage{2, 0}, FakePage{}}};
    OpenPdf(nullptr);
    ASSERT_EQ(Messages().size(), 3u);
    EXPECT_EQ(Messages()[0].text, Lines({101}));
    EXPECT_EQ(Messages()[0].title, "エラー");
    EXPECT_EQ(Messages()[1].text, "Obj総数        9\n総ページ数     2\n");
    EXPECT_EQ(Messages()[1].title, "情報");
    EXPECT_EQ(Messages()[2].text, kDirectDone);
    EXPECT_EQ(g_errors.count, 1);  // showing the list does not empty it
}

TEST_F(DriverOpenTest, ReopeningResetsTheGhostscriptMarker) {
    g_store.ghostscript_marker = GhostscriptMarker::k64Bit;
    g_fake_reader.files["/drawings/plan a.pdf"] = FakeFile{{}, 1, {FakePage{1, 0}}};
    OpenPdf(nullptr);
    EXPECT_EQ(g_store.ghostscript_marker, GhostscriptMarker::kNone);
}

class DriverCommandTest : public DriverOpenTest {};

TEST_F(DriverCommandTest, GhostscriptCommandRunsGhostscriptOncePerOpen) {
    g_fake_reader.files["/program/velmora_GS.pdf"] = FakeFile{{}, 30, {FakePage{5, 0}}};
    g_test_seam.process_outcomes = {{true, 0}, {true, 0}};
    ASSERT_TRUE(ConvertViaGhostscript(nullptr));
    ASSERT_TRUE(ConvertViaGhostscript(nullptr));
    EXPECT_EQ(g_test_seam.started_commands.size(), 1u);
    EXPECT_EQ(g_store.conversion_route, ConversionRoute::kGhostscript);
    ASSERT_FALSE(g_test_seam.progress.empty());
    EXPECT_EQ(g_test_seam.progress.back().text, "ＧＳ経由 解析中");
    EXPECT_EQ(g_test_seam.progress.back().colour.green, 255);
}

TEST_F(DriverCommandTest, GhostscriptCommandWithoutGhostscriptShowsCode110Alone) {
    EXPECT_FALSE(ConvertViaGhostscript(nullptr));
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_EQ(Messages()[0].text, Lines({110}));
}

TEST_F(DriverCommandTest, DirectCommandNeedsAnEarlierConversion) {
    EXPECT_FALSE(ConvertDirect(nullptr));
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_EQ(Messages()[0].text, Lines({89}));
    EXPECT_TRUE(g_fake_reader.loaded_paths.empty());
}

TEST_F(DriverCommandTest, DirectCommandReadsTheFileAgain) {
    g_fake_reader.files["/drawings/plan a.pdf"] = FakeFile{{}, 4, {FakePage{1, 1}}};
    OpenPdf(nullptr);
    ASSERT_TRUE(ConvertDirect(nullptr));
    EXPECT_EQ(g_fake_reader.loaded_paths.size(), 2u);
    EXPECT_EQ(g_store.conversion_route, ConversionRoute::kDirect);
    EXPECT_EQ(g_test_seam.progress.back().text, "単独変換 解析中");
}

}  // namespace
}  // namespace velmora
