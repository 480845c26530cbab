// libFuzzer harness for the content scanner: the input is page 1's only content stream. The scan
// must end, and every record it leaves must be a whole segment on page 1.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "content/content_scanner.h"
#include "content/text_merge.h"
#include "pdf/error_list.h"
#include "settings/settings.h"
#include "store/arc_records.h"
#include "store/solid_records.h"
#include "store/document_store.h"

namespace {

using namespace velmora;

constexpr size_t kMaxInput = 1 << 20;  // whole PDFs replayed are cut here
constexpr double kRotations[] = {0.0, 90.0, 180.0, 270.0};

void RequireRecordsAreWhole() {
    const ConversionState& c = g_store.conversion;
    if (c.line_count < 0 || c.line_count > kMaxLinesPerPage) std::abort();
    for (int32_t i = 0; i < c.line_count; ++i) {
        const LineRecord& line = g_store.lines[i];
        if (line.page_number != 1 || line.pen_colour != 2) std::abort();
        if (!std::isfinite(line.x1) || !std::isfinite(line.y1) || !std::isfinite(line.x2) || !std::isfinite(line.y2)) {
            std::abort();
        }
    }
    // Texts, joined or not, point at whole NUL-terminated strings inside the pool in use.
    if (c.text_count < 0 || c.text_count > kMaxTextsPerPage || c.pool_used < 0 || c.pool_used > kTextPoolBytes) std::abort();
    for (int32_t i = 0; i < c.text_count; ++i) {
        const TextRecord& t = g_store.texts[i];
        if (t.string_offset < 0 || t.string_length < 0 || t.string_offset + t.string_length >= c.pool_used) std::abort();
        if (g_store.text_pool[t.string_offset + t.string_length] != '\0') std::abort();
    }
    if (g_arcs.count < 0 || g_arcs.count > kArcCapacity) std::abort();
    for (int32_t i = 0; i < g_arcs.count; ++i) {
        const ArcRecord& arc = g_arcs.records[i];
        if (arc.page_number != 1 || !std::isfinite(arc.centre_x) || !std::isfinite(arc.centre_y)) std::abort();
        if (!(arc.radius > 0.0) || !(arc.sweep > 0.0 && arc.sweep <= 6.2832) || !(arc.flatness > 0.0)) std::abort();
    }
    if (g_solids.count < 0 || g_solids.count > kSolidCapacity) std::abort();
    for (int32_t i = 0; i < g_solids.count; ++i) {
        const SolidRecord& s = g_solids.records[i];
        if (s.page_number != 1 || s.paint_position < 0) std::abort();
        for (int k = 0; k < 4; ++k) {
            if (!std::isfinite(s.x[k]) || !std::isfinite(s.y[k])) std::abort();
        }
    }
    if (g_errors.count > 2) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool allocated = AllocateStoreTables();
    if (!allocated) return 0;
    size = std::min(size, kMaxInput);

    ClearErrors();
    ResetConversionCounters(true);
    ResetForPage(1);
    PageRecord& page = g_store.pages[1];
    page.rotation = kRotations[size > 0 ? data[0] % 4 : 0];
    // Every other input also keeps its curves as arcs, so recognition meets every content.
    g_settings.arcs = size > 0 && (data[0] & 4) != 0 ? 1 : 0;
    // Half the inputs turn their fills into solids: the decomposition sees every path shape.
    g_settings.solid_fills = size > 0 && (data[0] & 8) != 0 ? 1 : 0;
    // And half join their texts, so the merging pass compacts whatever the reader left.
    g_settings.text_merge = size > 0 && (data[0] & 16) != 0 ? 1 : 0;
    // Half of those also stack glyphs into columns, and some of them write with a vertical font.
    g_settings.text_vertical = size > 0 && (data[0] & 32) != 0 ? 1 : 0;
    g_store.fonts[1].vertical = size > 0 && (data[0] & 64) != 0 ? 1 : 0;
    page.media_box[2] = 595.0;
    page.media_box[3] = 842.0;

    if (size > 0) {
        auto* copy = static_cast<uint8_t*>(std::malloc(size));
        if (copy == nullptr) return 0;
        std::memcpy(copy, data, size);
        g_store.streams[1] = DecodedStream{1, copy, static_cast<int32_t>(size)};
        g_store.stream_count = 1;
    }
    ContentScanner(1);
    MergeTextRuns(1);
    RequireRecordsAreWhole();
    FreePageStreams();
    g_store.stream_count = 0;
    return 0;
}
