#include "content/marked_content.h"

#include <cstring>

#include "pdf/optional_content.h"

namespace velmora {

MarkedContentStack g_marked_content;

void ResetMarkedContent() {
    g_marked_content.depth = 0;
    g_marked_content.floor = 0;
}

int32_t CurrentPdfLayer() {
    const int32_t depth = g_marked_content.depth < kMarkedContentDepth ? g_marked_content.depth : kMarkedContentDepth;
    return depth > 0 ? g_marked_content.groups[depth - 1] : 0;
}

void BeginGroupContent(int32_t group) {
    const int32_t layer = group > 0 ? group : CurrentPdfLayer();
    // Beyond the stack the depth is still counted, so every EMC finds its BDC.
    if (g_marked_content.depth < kMarkedContentDepth) g_marked_content.groups[g_marked_content.depth] = layer;
    if (g_marked_content.depth < INT32_MAX) ++g_marked_content.depth;
}

void BeginMarkedContent(const ResourceScope& scope, const char* tag, const char* properties) {
    int32_t group = 0;
    if (g_optional_content.count > 0 && std::strcmp(tag, "/OC") == 0 && properties[0] == '/' && scope.present) {
        DictionarySpan named{};
        if (DictionaryValue(scope.span, "Properties", &named)) {
            group = OptionalGroupOfProperties(ReferenceValue(named, properties + 1));
        }
    }
    BeginGroupContent(group);
}

void EndMarkedContent() {
    if (g_marked_content.depth > g_marked_content.floor) --g_marked_content.depth;
}

int32_t EnterFormMarkedContent() {
    const int32_t saved = g_marked_content.floor;
    g_marked_content.floor = g_marked_content.depth;
    return saved;
}

void LeaveFormMarkedContent(int32_t saved_floor, int32_t depth) {
    g_marked_content.depth = depth;
    g_marked_content.floor = saved_floor;
}

}  // namespace velmora
