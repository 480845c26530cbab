// The main window's command table, page switching, file drop and status texts, with the
// dialogs answered by the test and the driver reading scripted files.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/window_commands.h"
#include "app/window_texts.h"
#include "convert/fake_reader.h"
#include "jww/jww_fixture.h"
#include "tools/pen_change.h"
#include "tools/tool_state.h"

namespace velmora {
namespace {

// What the window's dialogs were asked and what they answer.
struct DialogScript {
    std::vector<std::string> asked;  // "pdf", "jww:<initial name>", "report:<initial name>", "close", ...
    std::string answer;              // the chosen name; empty = cancelled
};
DialogScript g_dialogs;

bool Choose(const char* kind, char* name, size_t size) {
    g_dialogs.asked.push_back(std::string(kind) + name);
    if (g_dialogs.answer.empty()) return false;
    std::snprintf(name, size, "%s", g_dialogs.answer.c_str());
    return true;
}

const WindowDialogs kDialogs = {
    [](WindowHandle, char* path, size_t size) { return Choose("pdf:", path, size); },
    [](WindowHandle, char* name, size_t size) { return Choose("jww:", name, size); },
    [](WindowHandle, char* name, size_t size) { return Choose("report:", name, size); },
    [](WindowHandle) { g_dialogs.asked.push_back("close"); },
    [](WindowHandle) { g_dialogs.asked.push_back("page list"); },
    [](WindowHandle) { g_dialogs.asked.push_back("layer tool"); },
    [](WindowHandle) { g_dialogs.asked.push_back("pen change"); },
};

class WindowCommandTest : public JwwTest {
protected:
    void SetUp() override {
        JwwTest::SetUp();
        g_dialogs = DialogScript{};
        UseFakeReader();
        g_file_names.pdf_path[0] = '\0';
        g_file_names.pdf_stem[0] = '\0';
    }
    // A scripted document of `pages` pages with one line each, opened by a drop.
    void OpenDocument(const std::string& path, int pages) {
        FakeFile file;
        for (int i = 0; i < pages; ++i) file.pages.push_back(FakePage{1, 0, {0, 0, 842, 595}});
        g_fake_reader.files[path] = file;
        DropFiles(nullptr, 1, path.c_str());
        ResetTestSeam();
        g_fake_reader.scanned_pages.clear();
    }
    static void Run(int id) { RunCommand(nullptr, id, kDialogs); }
    static std::string LastMessage() {
        return g_test_seam.messages.empty() ? "" : g_test_seam.messages.back().title + ": " + g_test_seam.messages.back().text;
    }
};

TEST_F(WindowCommandTest, DropOpensOnePdfOfAnyCaseAndRefusesEverythingElse) {
    OpenDocument("plan.pdf", 2);
    EXPECT_EQ(g_fake_reader.loaded_paths, std::vector<std::string>{"plan.pdf"});
    EXPECT_STREQ(g_file_names.pdf_stem, "plan");

    DropFiles(nullptr, 2, "other.pdf");
    EXPECT_EQ(LastMessage(), "エラー: 複数のファイルを同時には開けません");
    EXPECT_STREQ(g_file_names.pdf_path, "plan.pdf");  // the document stays as it was

    DropFiles(nullptr, 1, "PLAN.PDX");
    EXPECT_EQ(LastMessage(), "エラー: PDF ファイルではありません");
    EXPECT_STREQ(g_file_names.pdf_path, "PLAN.PDX");  // the refused name stays in the path
    EXPECT_STREQ(g_file_names.pdf_stem, "plan");
    EXPECT_EQ(g_fake_reader.loaded_paths.size(), 1u);

    OpenDocument("PLAN.PDF", 1);  // Windows names are case-blind
    OpenDocument("Detail.Pdf", 1);
    EXPECT_EQ(g_fake_reader.loaded_paths, (std::vector<std::string>{"plan.pdf", "PLAN.PDF", "Detail.Pdf"}));
    EXPECT_STREQ(g_file_names.pdf_stem, "Detail");

    g_tool_state.layer_mode = LayerToolMode::kOpen;
    DropFiles(nullptr, 1, "plan.pdf");
    EXPECT_EQ(g_fake_reader.loaded_paths.size(), 3u);
}

TEST_F(WindowCommandTest, PageSwitchesClampAndConvertAgainEvenWhenThePageStays) {
    OpenDocument("set.pdf", 12);
    const struct {
        int command;
        int from;
        int to;
    } cases[] = {{kCommandPrevious, 1, 1}, {kCommandNext, 1, 2}, {kCommandNext, 12, 12}, {kCommandBackTen, 5, 1},
                 {kCommandForwardTen, 5, 12}, {kCommandForwardTen, 2, 12}, {kCommandBackTen, 12, 2}};
    for (const auto& c : cases) {
        g_store.current_page = c.from;
        g_fake_reader.scanned_pages.clear();
        Run(c.command);
        EXPECT_EQ(g_store.current_page, c.to) << c.command << " from " << c.from;
        EXPECT_EQ(g_fake_reader.scanned_pages, std::vector<int>{c.to}) << c.command << " from " << c.from;
    }
    EXPECT_EQ(PageSwitchTarget(kCommandForwardTen, 995, 1000), 1000);
    EXPECT_EQ(PageStatusText(), " Page = 2 / 12      Paper = A4       Scale = 1 / 1");
}

TEST_F(WindowCommandTest, PageSwitchAsksAfterLayerMovesAndRefusesWhileAScalePointIsHeld) {
    OpenDocument("set.pdf", 3);
    g_tool_state.layer_moved = true;
    g_test_seam.answers.push_back(MessageAnswer::No);
    Run(kCommandNext);
    EXPECT_EQ(LastMessage(), "注意: 頁切り替えしますか？ \r\nこの頁でのレイヤ移動内容がリセットされます");
    EXPECT_EQ(g_store.current_page, 1);
    EXPECT_TRUE(g_tool_state.layer_moved);
    g_test_seam.answers.push_back(MessageAnswer::Yes);
    Run(kCommandNext);
    EXPECT_EQ(g_store.current_page, 2);
    EXPECT_FALSE(g_tool_state.layer_moved);

    // The pen dialog converts the page again: the moves are gone, so the next switch does not ask.
    g_tool_state.layer_moved = true;
    g_fake_reader.scanned_pages.clear();
    ConvertPageForPenDialog();
    EXPECT_EQ(g_fake_reader.scanned_pages, std::vector<int>{2});
    ResetTestSeam();
    Run(kCommandPrevious);
    EXPECT_EQ(g_store.current_page, 1);
    EXPECT_TRUE(g_test_seam.messages.empty()) << LastMessage();
    Run(kCommandNext);

    g_tool_state.scale_pick = ScalePickState::kFirstPointHeld;
    for (int command : {kCommandPrevious, kCommandNext, kCommandBackTen, kCommandForwardTen}) {
        ResetTestSeam();
        Run(command);
        EXPECT_EQ(LastMessage(), "注意: 縮尺設定中は頁切り替えできません");
        EXPECT_EQ(g_store.current_page, 2);
    }
}

TEST_F(WindowCommandTest, WithoutADocumentPagesGhostscriptAndSavingDoNothing) {
    g_store.page_count = 0;
    Run(kCommandNext);
    Run(kCommandGhostscript);
    Run(kCommandDirect);
    Run(kCommandSaveJww);
    EXPECT_TRUE(g_fake_reader.scanned_pages.empty());
    EXPECT_TRUE(g_test_seam.messages.empty());
    EXPECT_TRUE(g_test_seam.started_commands.empty());
    EXPECT_TRUE(g_dialogs.asked.empty());
}

TEST_F(WindowCommandTest, TheLayerToolLeavesOnlyReportExitVersionAndHelp) {
    OpenDocument("plan.pdf", 2);
    g_tool_state.layer_mode = LayerToolMode::kOpen;
    for (int id : {111, 112, 201, 202, 203, 204, 205, 206, 207, 208, 209, 210, 230}) Run(id);
    EXPECT_TRUE(g_dialogs.asked.empty());
    EXPECT_TRUE(g_test_seam.messages.empty());
    EXPECT_TRUE(g_fake_reader.scanned_pages.empty());
    Run(kCommandExit);
    Run(kCommandVersion);
    EXPECT_EQ(LastMessage(), "バージョン: Velmora ver " VELMORA_VERSION_TEXT);
    Run(153);
    EXPECT_EQ(g_test_seam.messages.back().title, "出力コマンド");
    EXPECT_EQ(g_dialogs.asked, std::vector<std::string>{"close"});
}

TEST_F(WindowCommandTest, EveryHelpItemHasItsTitle) {
    const std::vector<std::pair<int, std::string>> items = {
        {150, "変換コマンド"}, {155, "変換コマンド"}, {152, "出力コマンド"}, {154, "縮尺設定"},
        {156, "レイヤ整理"}, {157, "Pen番号(線色)変更"}, {153, "出力コマンド"}};
    for (const auto& [id, title] : items) {
        ResetTestSeam();
        Run(id);
        ASSERT_EQ(g_test_seam.messages.size(), 1u) << id;
        EXPECT_EQ(g_test_seam.messages[0].title, title);
        EXPECT_EQ(g_test_seam.messages[0].buttons, MessageButtons::Ok);
    }
    ResetTestSeam();
    for (int id : {110, 151, 158, 200, 231}) Run(id);  // not commands
    EXPECT_TRUE(g_test_seam.messages.empty());
    EXPECT_TRUE(g_dialogs.asked.empty());
}

TEST_F(WindowCommandTest, SaveOffersTheStemWithThePageAndWritesTheChosenFile) {
    OpenDocument("/plans/house.pdf", 4);
    Run(kCommandNext);
    Run(kCommandNext);
    Run(kCommandSaveButton);  // cancelled
    ASSERT_EQ(g_dialogs.asked, std::vector<std::string>{"jww:/plans/house-03"});
    const std::string path = PathOf("house-03.jww");
    g_dialogs.answer = path;
    Run(kCommandSaveJww);
    test_support::JwwFile file;
    std::string error;
    ASSERT_TRUE(test_support::ReadJwwFile(path, &file, &error)) << error;
    EXPECT_EQ(file.lines.size(), 1u);
    EXPECT_EQ(g_store.conversion.dash_merge_done, 1);  // the dash runs were merged first
}

TEST_F(WindowCommandTest, ReportOffersItsNameAndConvertsTheCurrentPageAgain) {
    OpenDocument("/plans/house.pdf", 3);
    g_store.current_page = 2;
    Run(kCommandReport);
    EXPECT_EQ(g_dialogs.asked, std::vector<std::string>{"report:/plans/house_PDFreport.txt"});
    EXPECT_EQ(g_fake_reader.scanned_pages, (std::vector<int>{2, 3, 2}));  // the pass, then page 2 again
    EXPECT_EQ(g_test_seam.erasing_repaints, 1);
}

TEST_F(WindowCommandTest, StatusBarTextsAndTooltips) {
    RouteLabel label{};
    EXPECT_FALSE(RouteStatus(ConversionRoute::kNone, &label));
    ASSERT_TRUE(RouteStatus(ConversionRoute::kDirect, &label));
    EXPECT_STREQ(label.text, "【単独変換】");
    EXPECT_EQ(label.colour.red, 150);
    ASSERT_TRUE(RouteStatus(ConversionRoute::kGhostscript, &label));
    EXPECT_STREQ(label.text, "【GS経由変換】");
    EXPECT_EQ(label.colour.green, 150);
    g_store.current_page = 1;
    g_store.page_count = 1;
    g_store.pages[1].paper_size_index = 9;
    g_store.pages[1].scale_denominator = 100;
    EXPECT_EQ(PageStatusText(), " Page = 1 / 1      Paper = 3A       Scale = 1 / 100");
    EXPECT_EQ(TooltipStringId(201), 211);
    EXPECT_EQ(TooltipStringId(230), 221);
    EXPECT_EQ(TooltipStringId(204), 0);
}

}  // namespace
}  // namespace velmora
