// libFuzzer harness for the settings file's line rules: the input is the file's bytes. Whatever
// it holds, every setting stays within its range and every stored text within its slot.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "settings/settings_text.h"
#include "settings/settings.h"

namespace {

using namespace velmora;

void Require(bool condition) {
    if (!condition) std::abort();
}

bool TerminatedWithin(const char* slot) { return std::memchr(slot, '\0', kSettingTextBytes) != nullptr; }

void CheckSettings() {
    for (const Rgb& colour : g_settings.screen_colours) {
        for (int value : {colour.red, colour.green, colour.blue}) Require(value >= 0 && value <= 255);
    }
    bool placed[kPenCount + 1] = {};
    for (int i = 0; i < kPenCount; ++i) {
        Require(g_settings.pen_widths[i] >= 1 && g_settings.pen_widths[i] <= 255);
        const int pen = g_settings.pen_order[i];
        Require(pen >= 1 && pen <= kPenCount && !placed[pen]);
        placed[pen] = true;
        if (i > 0) Require(g_settings.pen_widths[g_settings.pen_order[i - 1] - 1] <= g_settings.pen_widths[pen - 1]);
    }
    Require(g_settings.font_change_count >= 0 && g_settings.font_change_count <= kFontChangeCapacity);
    for (int i = 0; i < g_settings.font_change_count; ++i) {
        Require(TerminatedWithin(g_settings.font_change_pdf[i]) && g_settings.font_change_pdf[i][0] != '\0');
        Require(TerminatedWithin(g_settings.font_change_jww[i]) && g_settings.font_change_jww[i][0] != '\0');
    }
    Require(TerminatedWithin(g_settings.font_default) && g_settings.font_default[0] != '\0');
    Require(g_settings.text_pen >= 1 && g_settings.text_pen <= kPenCount);
    Require(g_settings.wheel_direction == 1 || g_settings.wheel_direction == -1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SetDefaultSettings();
    ApplySettingsText(std::string_view(reinterpret_cast<const char*>(data), size));
    BuildPenOrder();
    CheckSettings();
    return 0;
}
