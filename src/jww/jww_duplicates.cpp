#include <cmath>
#include <cstring>

#include "jww/jww_writer.h"
#include "store/document_store.h"

namespace velmora {

namespace {

// A PDF often paints the same text twice (fill and stroke, or a shadow a hair off); Jw_cad
// would show it bold and blurred.
bool RepeatsText(const TextRecord& earlier, const TextRecord& later) {
    if (later.string_length != earlier.string_length) return false;
    const int64_t used = g_store.conversion.pool_used;
    const int64_t length = later.string_length;
    if (length < 0 || earlier.string_offset < 0 || later.string_offset < 0 ||
        earlier.string_offset + length > used || later.string_offset + length > used) {
        return false;
    }
    if (std::memcmp(g_store.text_pool + earlier.string_offset, g_store.text_pool + later.string_offset,
                    static_cast<size_t>(length)) != 0) {
        return false;
    }
    // Extents compared truncated to 1/100 point; compared as doubles so a huge value cannot overflow.
    if (std::trunc((later.x2 - later.x1) * 100) != std::trunc((earlier.x2 - earlier.x1) * 100)) return false;
    if (std::trunc((later.y2 - later.y1) * 100) != std::trunc((earlier.y2 - earlier.y1) * 100)) return false;
    const double dx = earlier.x1 - later.x1;
    const double dy = earlier.y1 - later.y1;
    const double reach = 0.25 * earlier.size_y;
    return dx * dx <= reach && dy * dy <= reach;
}

}  // namespace

int MarkDuplicateTexts() {
    if (g_store.texts == nullptr) return 0;
    int32_t count = g_store.conversion.text_count;
    if (count < 0) count = 0;
    if (count > kTextCapacity) count = kTextCapacity;
    for (int32_t i = 0; i < count; ++i) g_store.texts[i].duplicate_mark = 0;
    int marked = 0;
    for (int32_t later = 1; later < count; ++later) {
        for (int32_t earlier = 0; earlier < later; ++earlier) {
            if (g_store.texts[earlier].duplicate_mark != 0) continue;
            if (RepeatsText(g_store.texts[earlier], g_store.texts[later])) {
                g_store.texts[later].duplicate_mark = 1;
                ++marked;
                break;
            }
        }
    }
    return marked;
}

}  // namespace velmora
