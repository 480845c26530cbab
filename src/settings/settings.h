// Settings read once at start-up and used for the whole run.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace velmora {

inline constexpr int kPenCount = 8;
inline constexpr int kScreenColourCount = 10;      // B, pens 1..8, H
inline constexpr int kScreenColourBackground = 0;  // entry B
inline constexpr int kScreenColourScaleMarks = 9;  // entry H
inline constexpr int kFontChangeCapacity = 50;
inline constexpr int kSettingTextBytes = 256;
inline constexpr int kSxfDataCapacity = 11000;

struct Settings {
    Rgb screen_colours[kScreenColourCount];
    int32_t pen_widths[kPenCount];
    int32_t pen_order[kPenCount];
    char font_change_pdf[kFontChangeCapacity][kSettingTextBytes];
    char font_change_jww[kFontChangeCapacity][kSettingTextBytes];
    int32_t font_change_count;
    char font_default[kSettingTextBytes];
    int32_t text_pen;
    int32_t wheel_direction;
    int32_t pdf_layers;  // 1: each PDF layer its own Jw_cad layer; 0: layers by width alone
    int32_t arcs;        // 1: runs of curve pieces that trace a circle or ellipse are kept as arcs
    int32_t solid_fills;  // 1: filled areas become solids in their colours; 0: outlines as before
    int32_t stated_scale;  // 1: the scale the PDF states is offered by the window and listed by the report
    int32_t text_merge;   // 1: glyphs placed one by one on a base line are joined into strings
    int32_t text_vertical;  // 1: vertical fonts' strings, and (with text_merge) glyphs stacked in a
                            // column, become vertical texts
    uint8_t sxf_data[kSxfDataCapacity];
    int32_t sxf_length;  // -1 when JWsxf.dat was not found
};

extern Settings g_settings;

// Every default of the settings table; PenOrder built from the default widths.
void SetDefaultSettings();
// Pens 1..8 in ascending order of width, equal widths in ascending pen number.
void BuildPenOrder();

}  // namespace velmora
