#include "content/text_emitter.h"

#include <cmath>
#include <cstring>

#include "content/graphics_state.h"
#include "content/line_emitter.h"
#include "content/marked_content.h"
#include "pdf/error_list.h"
#include "store/capacities.h"
#include "store/document_store.h"
#include "settings/settings.h"

namespace velmora {

namespace {

bool RefuseFullTable() {
    if (g_errors.count == 0) RecordError(kWarningTextTableFull);
    return false;
}

}  // namespace

// A size that is not a number counts as 0.
int32_t TextSizeClass(double size) {
    const double scaled = size * 10.0;
    if (!(scaled >= 0.0)) return 0;
    if (scaled > kTextSizeClasses - 1) return kTextSizeClasses - 1;
    return static_cast<int32_t>(scaled);
}

bool EmitText(double x1, double y1, double x2, double y2, int page, const char* text, int32_t length) {
    ConversionState& c = g_store.conversion;
    if (c.text_count >= kMaxTextsPerPage || c.pool_used >= kTextPoolLimit) return RefuseFullTable();
    if (page < 1 || page >= kPageTableSize || c.text_count < 0 || c.pool_used < 0) return false;
    if (length < 0 || (length > 0 && text == nullptr)) return false;
    // The pool check alone leaves at least two bytes; a longer string must still fit whole.
    if (length >= kTextPoolBytes - c.pool_used) return RefuseFullTable();

    PageRecord& record = g_store.pages[page];
    const Point start = ToPageFrame(record, Point{x1, y1});
    const Point end = ToPageFrame(record, Point{x2, y2});
    // Matrices built from huge operands overflow; such a text has no place on the page.
    if (!std::isfinite(start.x) || !std::isfinite(start.y) || !std::isfinite(end.x) || !std::isfinite(end.y) ||
        !std::isfinite(c.font_size)) {
        return false;
    }
    SaturatingIncrement(record.text_count);

    TextRecord& t = g_store.texts[c.text_count];
    t.group_number = 0;
    t.pen_style = 1;
    t.pen_colour = static_cast<int16_t>(g_settings.text_pen);
    t.pen_width = 0;
    t.layer = 0;
    t.layer_group = kNewTextLayerGroup;
    t.flags = 0;
    t.x1 = start.x;
    t.y1 = start.y;
    t.x2 = end.x;
    t.y2 = end.y;
    t.text_kind = 1;
    t.size_x = c.font_size;
    t.size_y = c.font_size;
    t.spacing = 0.0;
    t.angle = std::atan2(end.y - start.y, end.x - start.x) * 180.0 / kTextAnglePi;
    t.font_number = c.font_number;
    t.string_offset = c.pool_used;
    t.string_length = length;
    t.page_number = page;
    t.duplicate_mark = 0;
    t.pdf_layer = CurrentPdfLayer();
    if (length > 0) std::memcpy(g_store.text_pool + c.pool_used, text, static_cast<size_t>(length));
    g_store.text_pool[c.pool_used + length] = '\0';
    c.pool_used += length + 1;

    ++c.text_count;
    SaturatingIncrement(c.total_texts);
    if (length > 0) {
        SaturatingIncrement(c.nonempty_texts);
        SaturatingIncrement(record.nonempty_text_count);
    }
    SaturatingIncrement(g_store.text_size_histogram[TextSizeClass(c.font_size)]);
    return true;
}

}  // namespace velmora
