#include "settings/settings.h"

#include <algorithm>
#include <cstring>

namespace velmora {

Settings g_settings;

namespace {
constexpr Rgb kDefaultScreenColours[kScreenColourCount] = {
    {158, 158, 158}, {255, 0, 0},     {0, 255, 0},     {0, 0, 255},     {255, 255, 0},
    {0, 255, 255},   {255, 0, 255},   {255, 255, 255}, {127, 127, 127}, {255, 0, 0},
};
constexpr int32_t kDefaultPenWidths[kPenCount] = {10, 15, 15, 20, 20, 25, 25, 30};
}  // namespace

void SetDefaultSettings() {
    std::copy(std::begin(kDefaultScreenColours), std::end(kDefaultScreenColours), g_settings.screen_colours);
    std::copy(std::begin(kDefaultPenWidths), std::end(kDefaultPenWidths), g_settings.pen_widths);
    std::memset(g_settings.font_change_pdf, 0, sizeof g_settings.font_change_pdf);
    std::memset(g_settings.font_change_jww, 0, sizeof g_settings.font_change_jww);
    g_settings.font_change_count = 0;
    std::strcpy(g_settings.font_default, "ＭＳ ゴシック");
    g_settings.text_pen = 1;
    g_settings.wheel_direction = -1;
    g_settings.pdf_layers = 0;
    g_settings.stated_scale = 0;
    g_settings.arcs = 0;
    g_settings.solid_fills = 0;
    g_settings.text_merge = 0;
    g_settings.text_vertical = 0;
    g_settings.sxf_length = -1;
    BuildPenOrder();
}

void BuildPenOrder() {
    int32_t pens[kPenCount];
    for (int i = 0; i < kPenCount; ++i) pens[i] = i + 1;
    std::stable_sort(pens, pens + kPenCount, [](int32_t a, int32_t b) {
        return g_settings.pen_widths[a - 1] < g_settings.pen_widths[b - 1];
    });
    std::copy(pens, pens + kPenCount, g_settings.pen_order);
}

}  // namespace velmora
