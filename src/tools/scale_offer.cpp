#include "tools/scale_offer.h"

#include <cstdio>

#include "convert/stated_scale.h"
#include "settings/settings.h"
#include "store/document_store.h"
#include "tools/page_scale.h"
#include "tools/tool_state.h"

namespace velmora {

bool OfferStatedScale(WindowHandle window) {
    if (g_settings.stated_scale != 1 || g_tool_state.stated_scale_offer == StatedScaleOffer::kDeclined) return false;
    const int page = g_store.current_page;
    const StatedScale* stated = PageStatedScale(page);
    if (stated == nullptr || stated->denominator <= 1 || g_store.pages[page].scale_denominator != 1) return false;
    if (g_tool_state.stated_scale_offer == StatedScaleOffer::kNotAsked) {
        char question[128];
        std::snprintf(question, sizeof question, "図面に縮尺 1/%d の記載があります。この縮尺を使いますか？",
                      static_cast<int>(stated->denominator));
        const MessageAnswer answer = ShowMessage(window, question, "縮尺設定", MessageButtons::OkCancel);
        g_tool_state.stated_scale_offer =
            answer == MessageAnswer::Ok ? StatedScaleOffer::kAccepted : StatedScaleOffer::kDeclined;
        if (g_tool_state.stated_scale_offer == StatedScaleOffer::kDeclined) return false;
    }
    if (!ApplyStatedScale(page)) return false;
    RequestRepaint(window, true);
    return true;
}

}  // namespace velmora
