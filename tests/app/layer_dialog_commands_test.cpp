// The layer tool's dialog as its procedure drives it: the texts and updates of opening, the
// length field and boxes, undo, the list, the move, and the closing question; then the main
// window's page switch asks before it throws the moves away.
#include <gtest/gtest.h>

#include <string>

#include "app/layer_dialog_commands.h"
#include "app/window_commands.h"
#include "support/layer_tool_fixture.h"
#include "tools/tool_state.h"

namespace velmora {
namespace {

class LayerDialogTest : public LayerToolTest {
protected:
    static LayerDialogUpdate Command(int control, bool checked = false, const char* length = "", int row = -1) {
        LayerDialogInput input;
        input.checked = checked;
        input.length_text = length;
        input.list_row = row;
        return LayerDialogCommand(nullptr, control, input);
    }
};

TEST_F(LayerDialogTest, OpeningFillsTheStaticsAndTheListAndRepaintsEverything) {
    g_store.current_page = 1;
    g_store.pages[1].scale_denominator = 100;
    g_store.pages[1].paper_size_index = 3;
    g_store.pages[1].rotation = 90.7;
    g_preview.overlay_only = true;
    LayerDialogTexts texts;
    const LayerDialogUpdate update = OpenLayerDialog(&texts);
    EXPECT_EQ(std::string(texts.page), "    1");
    EXPECT_EQ(std::string(texts.scale), "  1/100");
    EXPECT_EQ(std::string(texts.paper), " A3/ 90°");
    EXPECT_TRUE(update.fill_list && update.select_shown_row && update.clear_check_boxes);
    EXPECT_TRUE(update.repaint && update.erase);
    EXPECT_FALSE(g_preview.overlay_only);
    EXPECT_TRUE(LayerToolOpen());
}

TEST_F(LayerDialogTest, TheLengthFieldTheBoxesAndTheListChangeTheHighlights) {
    const int a = Line(0, -10, 100, -10);
    const int b = Line(0, -20, 100, -20, 0, 1);
    LayerDialogTexts texts;
    OpenLayerDialog(&texts);

    // -5 turns the field into 0.0 and marks nothing.
    LayerDialogUpdate update = Command(kLayerEqualBox, true, "-5");
    EXPECT_TRUE(update.rewrite_length);
    EXPECT_FALSE(update.repaint);
    EXPECT_TRUE(Marked().empty());
    EXPECT_EQ(g_layer_selection.length, 0.0);

    update = Command(kLayerEqualBox, true, "35.2777");
    EXPECT_FALSE(update.rewrite_length);
    EXPECT_TRUE(update.repaint && !update.erase && g_preview.overlay_only);
    EXPECT_EQ(Marked(), (std::vector<int>{a}));

    // Any notification of the length field: boxes cleared, marks cleared, highlights repainted.
    g_preview.overlay_only = false;
    update = Command(kLayerLengthField);
    EXPECT_TRUE(update.clear_check_boxes && update.repaint && !update.erase && g_preview.overlay_only);
    EXPECT_TRUE(Marked().empty());

    // A list row shows its layer; everything is drawn again.
    update = Command(kLayerList, false, "", 1);
    EXPECT_TRUE(update.repaint && update.erase);
    EXPECT_FALSE(g_preview.overlay_only);
    EXPECT_EQ(State(b), kLineWhite);
    EXPECT_EQ(State(a), kLineUnavailable);
    EXPECT_FALSE(Command(kLayerList, false, "", -1).repaint);  // no row selected
}

TEST_F(LayerDialogTest, UndoOfALineOfAnotherLayerRedrawsEverything) {
    Line(0, -10, 100, -10);
    LayerDialogTexts texts;
    OpenLayerDialog(&texts);
    PickLine(50, -10, 2);
    Command(kLayerList, false, "", 4);
    EXPECT_TRUE(Command(kLayerUndoButton).repaint);
    EXPECT_FALSE(g_preview.overlay_only);
    Command(kLayerRedoButton);
    EXPECT_TRUE(g_preview.overlay_only);
}

TEST_F(LayerDialogTest, ClosingAsksWhileThereIsSomethingToUndoAndAMovedPageAsksBeforeSwitching) {
    const int a = Line(0, -10, 100, -10);
    g_store.page_count = 2;
    g_store.current_page = 1;
    LayerDialogTexts texts;
    OpenLayerDialog(&texts);
    PickLine(50, -10, 2);
    g_test_seam.answers.push_back(MessageAnswer::No);
    EXPECT_FALSE(Command(kLayerDialogOk).close);
    ASSERT_EQ(g_test_seam.messages.size(), 1u);
    EXPECT_EQ(g_test_seam.messages[0].title, "注意");
    EXPECT_EQ(g_test_seam.messages[0].text,
              "「レイヤ整理」コマンドを終了しますか？ \r\n現在選択中の指定線情報はクリアされます");
    EXPECT_TRUE(LayerToolOpen());

    Command(kLayerList, false, "", 5);
    const LayerDialogUpdate moved = Command(kLayerMoveButton);
    EXPECT_TRUE(moved.fill_list && moved.select_shown_row && moved.repaint && moved.erase);
    EXPECT_EQ(g_store.lines[a].layer, 5);
    // Nothing to undo after a move: the dialog closes without asking.
    const LayerDialogUpdate closed = Command(kLayerDialogClose);
    EXPECT_TRUE(closed.close && closed.repaint && closed.erase);
    EXPECT_EQ(g_test_seam.messages.size(), 1u);
    EXPECT_FALSE(LayerToolOpen());

    g_test_seam.answers.push_back(MessageAnswer::No);
    SwitchPage(nullptr, kCommandNext);
    ASSERT_EQ(g_test_seam.messages.size(), 2u);
    EXPECT_EQ(g_test_seam.messages[1].text, "頁切り替えしますか？ \r\nこの頁でのレイヤ移動内容がリセットされます");
    EXPECT_EQ(g_store.current_page, 1);
    EXPECT_EQ(g_store.lines[a].layer, 5);
}

TEST_F(LayerDialogTest, ClearAllShowsTheLayerFreshWithNothingToUndo) {
    Line(0, -10, 100, -10);
    LayerDialogTexts texts;
    OpenLayerDialog(&texts);
    PickLine(50, -10, 2);
    const LayerDialogUpdate update = Command(kLayerClearAllButton);
    EXPECT_TRUE(update.clear_check_boxes && update.repaint && !update.erase);
    EXPECT_FALSE(g_preview.overlay_only);
    EXPECT_TRUE(LinesIn(kLineGreen).empty());
    EXPECT_FALSE(CurrentHistoryButtons().undo);
}

}  // namespace
}  // namespace velmora
