// What a new file and a new page reset in the document store.
#include <gtest/gtest.h>

#include <cstdlib>

#include "convert/document_reset.h"
#include "support/store_fixture.h"
#include "content/text_object.h"
#include "fonts/font_buffers.h"
#include "tools/tool_state.h"
#include "view/preview_state.h"

namespace velmora {
namespace {

class StoreResetTest : public StoreTest {
protected:
    // A page converted with a scale, histogram entries and a stream, as after real work: the
    // page tree has numbered two pages and one font is registered.
    void DirtyTheStore() {
        UsePageRecords(2);
        g_store.font_count = 1;
        g_store.conversion.line_count = 17;
        g_store.conversion.text_count = 4;
        g_store.conversion.pool_used = 90;
        g_store.conversion.figure_counter = 6;
        g_store.pages[2].line_count = 17;
        g_store.pages[2].scale_denominator = 100;
        g_store.pages[2].scale_ratio = 100.0;
        g_store.pages[2].media_box[2] = 842;
        g_store.pages[2].operator_counters[kOpre] = 3;
        g_store.text_size_histogram[35] = 2;
        g_store.fonts[1].one_byte_code_count = 5;
        g_store.fonts[1].one_byte_codes[65][0] = 'A';
        g_store.cid_map[0x1234].text[0] = 'x';
        g_store.duplicate_count = 3;
        g_store.current_page = 2;
        g_store.page_count = 2;
        g_current_view.zoom = 3.0;
        g_tool_state.layer_moved = true;
        g_text_state_use.counters[1] = 4;
        g_font_use.winansi_seen = true;
        g_preview.fit_pending = false;
        g_tool_state.last_entered_distance = 5.0;
        g_store.streams[1] = DecodedStream{2, static_cast<uint8_t*>(std::malloc(16)), 16};
        g_store.stream_count = 1;
        RecordError(90);
    }
};

TEST_F(StoreResetTest, NewFileClearsCountsScalesAndCharacterTables) {
    DirtyTheStore();
    ResetForFile();
    ResetViewAndToolsForFile();
    EXPECT_EQ(g_store.conversion.line_count, 0);
    EXPECT_EQ(g_store.conversion.text_count, 0);
    EXPECT_EQ(g_store.conversion.pool_used, 0);
    EXPECT_EQ(g_store.conversion.figure_counter, 0);
    EXPECT_EQ(g_store.pages[2].line_count, 0);
    EXPECT_EQ(g_store.pages[2].scale_denominator, 1);
    EXPECT_EQ(g_store.pages[2].scale_ratio, 1.0);
    EXPECT_EQ(g_store.pages[2].media_box[2], 842);  // rewritten when the page is set up
    EXPECT_EQ(g_store.text_size_histogram[35], 0);
    EXPECT_EQ(g_store.fonts[1].one_byte_code_count, 0);
    EXPECT_EQ(g_store.fonts[1].one_byte_codes[65][0], '\0');
    EXPECT_EQ(g_store.cid_map[0x1234].text[0], '\0');
    EXPECT_EQ(g_store.duplicate_count, 0);
    EXPECT_EQ(g_store.current_page, 1);
    EXPECT_EQ(g_store.page_count, 0);
    EXPECT_EQ(g_current_view.zoom, 1.0);
    EXPECT_FALSE(g_tool_state.layer_moved);
    EXPECT_EQ(g_text_state_use.counters[1], 0);
    EXPECT_FALSE(g_font_use.winansi_seen);
    EXPECT_TRUE(g_preview.fit_pending);
    EXPECT_EQ(g_tool_state.last_entered_distance, 1000.0);
    EXPECT_EQ(g_store.streams[1].length, 0);  // its buffer was freed, not leaked
    EXPECT_EQ(g_store.stream_count, 0);
    EXPECT_EQ(g_errors.count, 0);
}

TEST_F(StoreResetTest, NewPageKeepsOtherPagesAndTheHistogram) {
    DirtyTheStore();
    g_store.pages[1].line_count = 8;
    ResetForPage(2);
    EXPECT_EQ(g_store.conversion.line_count, 0);
    EXPECT_EQ(g_store.conversion.pool_used, 0);
    EXPECT_EQ(g_store.pages[2].line_count, 0);
    EXPECT_EQ(g_store.pages[2].operator_counters[kOpre], 0);
    EXPECT_EQ(g_store.pages[2].scale_denominator, 100);
    EXPECT_EQ(g_store.pages[1].line_count, 8);
    EXPECT_EQ(g_store.text_size_histogram[35], 2);
    EXPECT_EQ(g_store.stream_count, 0);
    EXPECT_EQ(g_store.conversion.text_matrix_linear[0], 1.0);
    EXPECT_EQ(g_store.conversion.text_matrix_linear[3], 1.0);
    EXPECT_EQ(g_errors.count, 1);
    FreePageStreams();
    EXPECT_EQ(g_store.streams[1].length, 0);
}

TEST_F(StoreResetTest, DriverResetLeavesFigureCounterAndSetsLineDefaults) {
    g_store.conversion.line_width = 3.5;
    g_store.conversion.pen_style = 3;
    g_store.conversion.total_segments = 40;
    g_store.conversion.dash_merge_done = 1;
    ResetConversionCounters(false);
    EXPECT_EQ(g_store.conversion.line_width, 1.0);
    EXPECT_EQ(g_store.conversion.pen_style, 1);
    EXPECT_EQ(g_store.conversion.total_segments, 0);
    EXPECT_EQ(g_store.conversion.dash_merge_done, 1);
    ResetConversionCounters(true);
    EXPECT_EQ(g_store.conversion.dash_merge_done, 0);
}

TEST(PenOrderTest, DefaultWidthsGiveAscendingPensAndTiesKeepPenOrder) {
    SetDefaultSettings();
    EXPECT_EQ(std::vector<int>(g_settings.pen_order, g_settings.pen_order + kPenCount),
              (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
    const int32_t widths[kPenCount] = {30, 10, 20, 10, 5, 20, 40, 5};
    std::copy(widths, widths + kPenCount, g_settings.pen_widths);
    BuildPenOrder();
    EXPECT_EQ(std::vector<int>(g_settings.pen_order, g_settings.pen_order + kPenCount),
              (std::vector<int>{5, 8, 2, 4, 3, 6, 1, 7}));
    SetDefaultSettings();
}

}  // namespace
}  // namespace velmora
