#include "app/layer_dialog_commands.h"

#include <cstdio>

#include "store/document_store.h"
#include "store/paper_sizes.h"
#include "tools/layer_tool.h"
#include "view/preview_state.h"

namespace velmora {

namespace {

constexpr char kCloseQuestion[] = "「レイヤ整理」コマンドを終了しますか？ \r\n現在選択中の指定線情報はクリアされます";
constexpr char kCautionTitle[] = "注意";

LayerDialogUpdate Highlights(bool overlay_only) {
    g_preview.overlay_only = overlay_only;
    LayerDialogUpdate update;
    update.clear_check_boxes = true;
    update.repaint = true;
    return update;
}

LayerDialogUpdate LengthBox(int control, const LayerDialogInput& input) {
    LayerDialogUpdate update;
    g_layer_selection.length = ReadLengthText(input.length_text, &update.rewrite_length);
    bool marked = false;
    if (control == kLayerConnectedBox) {
        marked = ApplyConnectionMarks(input.checked);
    } else {
        const LengthCriterion criterion = control == kLayerLongerBox  ? LengthCriterion::Longer
                                          : control == kLayerEqualBox ? LengthCriterion::Equal
                                                                      : LengthCriterion::Shorter;
        marked = ApplyLengthMarks(criterion, input.checked);
    }
    if (marked) {
        g_preview.overlay_only = true;
        update.repaint = true;
    }
    return update;
}

// The dialog as it starts on a layer: boxes clear, the list written with the shown row selected,
// the whole picture drawn again.
LayerDialogUpdate StartOfLayer() {
    LayerDialogUpdate update;
    update.clear_check_boxes = true;
    update.fill_list = true;
    update.select_shown_row = true;
    update.repaint = true;
    update.erase = true;
    return update;
}

LayerDialogUpdate Close(WindowHandle owner) {
    LayerDialogUpdate update;
    if (g_selection_history.position > 0 &&
        ShowMessage(owner, kCloseQuestion, kCautionTitle, MessageButtons::YesNo) != MessageAnswer::Yes) {
        return update;
    }
    CloseLayerTool();
    update.close = true;
    update.repaint = true;
    update.erase = true;
    return update;
}

}  // namespace

LayerDialogUpdate OpenLayerDialog(LayerDialogTexts* texts) {
    OpenLayerTool();
    g_preview.overlay_only = false;
    const int page = g_store.current_page;
    const bool known = page >= 1 && page < kPageTableSize;
    const PageRecord* record = known ? &g_store.pages[page] : nullptr;
    const int paper = record != nullptr ? record->paper_size_index : 0;
    std::snprintf(texts->page, sizeof texts->page, " %4d", page);
    std::snprintf(texts->scale, sizeof texts->scale, "  1/%d", record != nullptr ? record->scale_denominator : 1);
    std::snprintf(texts->paper, sizeof texts->paper, " %.*s/%3d°", kPaperNameBytes - 1,
                  paper >= 0 && paper < kPaperSizeCount ? PaperNames[paper] : "--",
                  record != nullptr ? static_cast<int>(record->rotation) : 0);
    return StartOfLayer();
}

LayerDialogUpdate LayerDialogCommand(WindowHandle owner, int control, const LayerDialogInput& input) {
    switch (control) {
        case kLayerLengthField:
            ClearMarks();
            return Highlights(true);
        case kLayerList: {
            LayerDialogUpdate update;
            if (!ChooseLayer(input.list_row)) return update;
            g_preview.overlay_only = false;
            update.repaint = true;
            update.erase = true;
            return update;
        }
        case kLayerLongerBox:
        case kLayerEqualBox:
        case kLayerShorterBox:
        case kLayerConnectedBox:
            return LengthBox(control, input);
        case kLayerUndoButton: {
            const bool overlay_only = Undo();
            return Highlights(overlay_only);
        }
        case kLayerRedoButton:
            Redo();
            return Highlights(true);
        case kLayerRedToGreenButton:
            SelectRedLines();
            return Highlights(true);
        case kLayerRedToWhiteButton:
            ReleaseRedLines();
            return Highlights(true);
        case kLayerMoveButton:
            MoveSelectionToShownLayer();
            return StartOfLayer();
        case kLayerClearAllButton:
            ShowLayerFresh();
            ResetSelectionHistory();
            return Highlights(false);
        case kLayerDialogOk:
        case kLayerDialogClose:
            return Close(owner);
        default:
            return LayerDialogUpdate{};
    }
}

}  // namespace velmora
