#include "store/document_store.h"
#include "store/solid_records.h"

#include <cstdlib>
#include <cstring>

#include "store/arc_records.h"


namespace velmora {

DocumentStore g_store;

namespace {

// The object table until the first load takes a fresh one: zero pages nobody touches.
ObjectEntry g_start_objects[kObjectCapacity];
const bool g_objects_pointed = (g_store.objects = g_start_objects, true);

// The fields a file reset gives every page record.
void ResetPageRecord(PageRecord& page) {
    page.contents_count = 0;
    page.line_count = 0;
    page.text_count = 0;
    page.nonempty_text_count = 0;
    page.undecoded_text_count = 0;
    page.first_pick_x = page.first_pick_y = 0.0;
    page.second_pick_x = page.second_pick_y = 0.0;
    page.entered_distance = 0.0;
    page.scale_denominator = 1;
    page.scale_ratio = 1.0;
    page.frame_origin[0] = page.frame_origin[1] = 0.0;
    page.crop_hides = 0;
}

int ClampPage(int page) { return page < 0 ? 0 : page > kMaxPages ? kMaxPages : page; }

}  // namespace

void UsePageRecords(int last) {
    last = ClampPage(last);
    for (int page = g_store.page_records_ready + 1; page <= last; ++page) ResetPageRecord(g_store.pages[page]);
    if (last > g_store.page_records_ready) g_store.page_records_ready = last;
    if (last > g_store.page_records_dirty) g_store.page_records_dirty = last;
}

void SetPageObject(int page, int32_t object) {
    if (page < 1 || page > kMaxPages) return;
    g_store.pages[page].page_object = object;
    if (page > g_store.page_objects_dirty) g_store.page_objects_dirty = page;
}

void ClearPageObjects() {
    for (int page = 1; page <= ClampPage(g_store.page_objects_dirty); ++page) g_store.pages[page].page_object = 0;
    g_store.page_objects_dirty = 0;
}

void ClearObjectTable() {
    (void)g_objects_pointed;
    auto* fresh = static_cast<ObjectEntry*>(std::calloc(kObjectCapacity, sizeof(ObjectEntry)));
    if (fresh == nullptr) {
        std::memset(g_store.objects, 0, sizeof(ObjectEntry) * kObjectCapacity);
        return;
    }
    if (g_store.objects != g_start_objects) std::free(g_store.objects);
    g_store.objects = fresh;
}

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
    if (g_store.objects != g_start_objects) std::free(g_store.objects);
    g_store.objects = g_start_objects;
}

int32_t ReadableLineCount() {
    if (g_store.lines == nullptr) return 0;
    const int32_t count = g_store.conversion.line_count;
    return count < 0 ? 0 : (count < kLineCapacity ? count : kLineCapacity);
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
    ResetSolidsForFile();
    ResetArcsForFile();
    ConversionState& c = g_store.conversion;
    c.line_count = 0;
    c.text_count = 0;
    c.pool_used = 0;
    c.total_segments = 0;
    c.total_texts = 0;
    c.nonempty_texts = 0;
    c.figure_counter = 0;

    // Font slots and MediaBox stay: they are rewritten when the page is set up. Records beyond
    // the dirty ones still hold their start values (or were never used).
    for (int page = 1; page <= ClampPage(g_store.page_records_dirty); ++page) ResetPageRecord(g_store.pages[page]);
    g_store.page_records_dirty = 0;
    FreePageStreams();  // zeroing the lengths alone would leak the owned buffers
    for (DecodedStream& stream : g_store.streams) {
        stream.page_number = 0;
        stream.length = 0;
    }
    g_store.stream_count = 0;
    std::memset(g_store.text_size_histogram, 0, sizeof g_store.text_size_histogram);

    // Only registered fonts have tables; a font is cleared whole when it is registered.
    const int fonts_used = g_store.font_count < 0 ? 0 : g_store.font_count < kFontCapacity ? g_store.font_count : kFontCapacity - 1;
    for (int k = 0; k <= fonts_used; ++k) {
        std::memset(g_store.fonts[k].one_byte_codes, 0, sizeof g_store.fonts[k].one_byte_codes);
        g_store.fonts[k].one_byte_code_count = 0;
    }
    std::memset(g_store.cid_map, 0, sizeof g_store.cid_map);
    g_store.duplicate_count = 0;

    g_store.current_page = 1;
    g_store.page_count = 0;
}

void ResetForPage(int page) {
    ConversionState& c = g_store.conversion;
    c.line_count = 0;
    g_arcs.count = 0;
    c.text_count = 0;
    c.pool_used = 0;
    g_store.stream_count = 0;
    if (page >= 1 && page < kPageTableSize) {
        UsePageRecords(page);
        PageRecord& record = g_store.pages[page];
        record.contents_count = 0;
        record.line_count = 0;
        record.text_count = 0;
        record.nonempty_text_count = 0;
        std::memset(record.operator_counters, 0, sizeof record.operator_counters);
        record.undecoded_text_count = 0;
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
