// libFuzzer harness for the scale's distance field: the first eight bytes are the picked points'
// distance on paper (a double as it lies in memory), the rest is the text typed into the field.
// Whatever it holds, the page gets a scale of at least 1/1 with a finite positive ratio, and the
// field's next text is the "%5.2f" of a finite number.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "store/document_store.h"
#include "tools/page_scale.h"
#include "tools/scale_pick.h"
#include "tools/scale_setting.h"
#include "tools/tool_state.h"

namespace {

using namespace velmora;

void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    double paper = 100.0;
    if (size >= sizeof paper) {
        std::memcpy(&paper, data, sizeof paper);
        data += sizeof paper;
        size -= sizeof paper;
    }
    const std::string text(reinterpret_cast<const char*>(data), size);
    g_store.page_count = 2;
    g_store.current_page = 1;
    ClearPageScale(1);
    ClearPageScale(2);
    g_scale_pick.paper_distance = paper;
    const bool all_pages = size > 0 && (data[0] & 1) != 0;
    AcceptScaleDistance(nullptr, text.c_str(), !all_pages, all_pages);
    for (int page = 1; page <= 2; ++page) {
        const PageRecord& record = g_store.pages[page];
        Require(record.scale_denominator >= 1);
        Require(std::isfinite(record.scale_ratio) && record.scale_ratio > 0.0);
    }
    Require(std::isfinite(g_tool_state.last_entered_distance));
    Require(!LastDistanceText().empty());
    return 0;
}
