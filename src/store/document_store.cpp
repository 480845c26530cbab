#include "store/document_store.h"

#include <cstdlib>
#include <cstring>


namespace velmora {

DocumentStore g_store;

bool AllocateStoreTables() {
    // Each later block is attempted only when the one before it succeeded.
    g_store.lines = static_cast<LineRecord*>(std::calloc(kLineCapacity, sizeof(LineRecord)));
    if (g_store.lines != nullptr) {
        g_store.texts = static_cast<TextRecord*>(std::calloc(kTextCapacity, sizeof(TextRecord)));
    }
    if (g_store.texts != nullptr) {
        g_store.text_pool = static_cast<char*>(std::calloc(kTextPoolBytes, 1));
    }
    return g_store.lines != nullptr && g_store.texts != nullptr && g_store.text_pool != nullptr;
}

void ReleaseStoreTables() {
    std::free(g_store.lines);
    std::free(g_store.texts);
    std::free(g_store.text_pool);
    g_store.lines = nullptr;
    g_store.texts = nullptr;
    g_store.text_pool = nullptr;
}

void ResetConversionCounters(bool reset_dash_merge_flag) {
    ConversionState& c = g_store.conversion;
    c.total_segments = 0;
    c.total_texts = 0;
    c.nonempty_texts = 0;
    c.line_width = 1.0;
    c.pen_style = 1;
    if (reset_dash_merge_flag) c.dash_merge_done = 0;
}

void ResetStoreForFile() {
    ConversionState& c = g_store.conversion;
    c.line_count = 0;
    c.text_count = 0;
    c.pool_used = 0;
    c.total_segments = 0;
    c.total_texts = 0;
    c.nonempty_texts = 0;
    c.figure_counter = 0;

    // Font slots and MediaBox stay: they are rewritten when the page is set up.
    for (PageRecord& page : g_store.pages) {
        page.contents_count = 0;
        page.line_count = 0;
        page.text_count = 0;
        page.nonempty_text_count = 0;
        page.first_pick_x = page.first_pick_y = 0.0;
        page.second_pick_x = page.second_pick_y = 0.0;
        page.entered_distance = 0.0;
        page.scale_denominator = 1;
        page.scale_ratio = 1.0;
    }
    FreePageStreams();  // zeroing the lengths alone would leak the owned buffers
    for (DecodedStream& stream : g_store.streams) {
        stream.page_number = 0;
        stream.length = 0;
    }
    g_store.stream_count = 0;
    std::memset(g_store.text_size_histogram, 0, sizeof g_store.text_size_histogram);

    for (FontDef& font : g_store.fonts) {
        std::memset(font.one_byte_codes, 0, sizeof font.one_byte_codes);
        font.one_byte_code_count = 0;
    }
    std::memset(g_store.cid_map, 0, sizeof g_store.cid_map);
    g_store.duplicate_count = 0;

    g_store.current_page = 1;
    g_store.page_count = 0;

    SessionState& s = g_store.session;
    s.scale_pick_state = 0;
    s.last_entered_distance = 1000.0;
    s.zoom = 1.0;
    s.origin_x = s.origin_y = 0.0;
    s.fit_pending = 1;
    s.layer_mode = 0;
    s.layer_moved = 0;
    s.pen_dialog_shown = 0;
    s.winansi_seen = 0;
    std::memset(s.text_state_counters, 0, sizeof s.text_state_counters);
}

void ResetForPage(int page) {
    ConversionState& c = g_store.conversion;
    c.line_count = 0;
    c.text_count = 0;
    c.pool_used = 0;
    g_store.stream_count = 0;
    if (page >= 1 && page < kPageTableSize) {
        PageRecord& record = g_store.pages[page];
        record.contents_count = 0;
        record.line_count = 0;
        record.text_count = 0;
        record.nonempty_text_count = 0;
        std::memset(record.operator_counters, 0, sizeof record.operator_counters);
    }
    c.text_matrix_linear[0] = 1.0;
    c.text_matrix_linear[1] = 0.0;
    c.text_matrix_linear[2] = 0.0;
    c.text_matrix_linear[3] = 1.0;
}

void FreePageStreams() {
    // A length above 0 means the entry owns its buffer, whatever the count says; walking the
    // whole table also frees entry 0 (the xref stream of the load).
    for (DecodedStream& stream : g_store.streams) {
        if (stream.length > 0) {
            std::free(stream.data);
            stream.data = nullptr;
            stream.length = 0;
        }
    }
}

}  // namespace velmora
