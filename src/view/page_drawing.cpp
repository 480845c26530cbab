#include "view/page_drawing.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "convert/driver.h"
#include "jww/jww_writer.h"
#include "store/arc_records.h"
#include "store/document_store.h"
#include "store/file_names.h"
#include "store/shift_jis.h"
#include "store/solid_records.h"
#include "settings/settings.h"
#include "tools/layer_tool.h"
#include "tools/pen_change.h"
#include "view/preview_state.h"
#include "tools/tool_state.h"

namespace velmora {

namespace {

constexpr Rgb kBlack = {0, 0, 0};
constexpr Rgb kWhite = {255, 255, 255};
constexpr Rgb kSelectedGreen = {0, 255, 0};
constexpr Rgb kSelectedElsewhereGreen = {0, 155, 0};
constexpr Rgb kLengthMarkRed = {255, 0, 0};
constexpr Rgb kConnectionMarkOrange = {255, 130, 0};
constexpr uint8_t kSolidPenStyle = 1;
// The preview's escapement: radians to tenths of a degree, with the program's value of pi.
constexpr double kPi = 3.141592;
// Beyond this many pixels a segment is clipped before truncation; lines that far out are only
// ever partly visible, so their dash phase on screen does not matter.
constexpr double kFarPixels = 1 << 24;
constexpr double kClipMarginPixels = 1 << 20;
constexpr double kMaxFontPixels = 1 << 15;

Rgb Halved(Rgb colour) { return Rgb{colour.red / 2, colour.green / 2, colour.blue / 2}; }

Rgb Background() { return g_settings.screen_colours[kScreenColourBackground]; }

LineStyle StyleOf(uint8_t pen_style) {
    if (pen_style == 3) return LineStyle::Dash;
    if (pen_style == 5) return LineStyle::DashDot;
    return LineStyle::Solid;
}

int32_t TextCount() {
    if (g_store.texts == nullptr || g_store.text_pool == nullptr) return 0;
    const int32_t count = g_store.conversion.text_count;
    return count < 0 ? 0 : (count < kTextCapacity ? count : kTextCapacity);
}

// Liang-Barsky: keeps the part of the segment inside the rectangle; false when none is.
bool ClipToRectangle(double left, double top, double right, double bottom, double* x1, double* y1, double* x2,
                     double* y2) {
    const double dx = *x2 - *x1;
    const double dy = *y2 - *y1;
    double t0 = 0.0;
    double t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {*x1 - left, right - *x1, *y1 - top, bottom - *y1};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0) {
            if (t > t1) return false;
            if (t > t0) t0 = t;
        } else {
            if (t < t0) return false;
            if (t < t1) t1 = t;
        }
    }
    const double sx = *x1;
    const double sy = *y1;
    *x1 = sx + t0 * dx;
    *y1 = sy + t0 * dy;
    *x2 = sx + t1 * dx;
    *y2 = sy + t1 * dy;
    return true;
}

// The segment's end points on the surface; false when nothing of it can show.
bool MapSegment(const PageView& view, const LineRecord& line, double* x1, double* y1, double* x2, double* y2) {
    *x1 = ScreenX(view.transform, line.x1);
    *y1 = ScreenY(view.transform, line.y1);
    *x2 = ScreenX(view.transform, line.x2);
    *y2 = ScreenY(view.transform, line.y2);
    if (!std::isfinite(*x1) || !std::isfinite(*y1) || !std::isfinite(*x2) || !std::isfinite(*y2)) return false;
    if (!view.whole_pixels) return true;
    if (std::fabs(*x1) > kFarPixels || std::fabs(*y1) > kFarPixels || std::fabs(*x2) > kFarPixels ||
        std::fabs(*y2) > kFarPixels) {
        if (!ClipToRectangle(-kClipMarginPixels, -kClipMarginPixels, view.client.width + kClipMarginPixels,
                             view.client.height + kClipMarginPixels, x1, y1, x2, y2)) {
            return false;
        }
    }
    *x1 = WholePixel(*x1);
    *y1 = WholePixel(*y1);
    *x2 = WholePixel(*x2);
    *y2 = WholePixel(*y2);
    // Wholly left, right, above or below the client area: no pixel of it would show.
    if ((*x1 < 0 && *x2 < 0) || (*y1 < 0 && *y2 < 0)) return false;
    if ((*x1 > view.client.width && *x2 > view.client.width) || (*y1 > view.client.height && *y2 > view.client.height)) {
        return false;
    }
    return true;
}

void DrawLine(const DrawingSurface& surface, const PageView& view, const LineRecord& line, const DrawPen& pen) {
    double x1, y1, x2, y2;
    if (MapSegment(view, line, &x1, &y1, &x2, &y2)) surface.line(surface.target, pen, x1, y1, x2, y2);
}

bool Drawn(const LineRecord& line) { return line.page_number >= 0; }

// An arc as a polyline of short chords (tilted ellipses included), each clipped as a line is:
// 64 chords to the full turn keep a circle round at any zoom the preview offers.
void DrawArc(const DrawingSurface& surface, const PageView& view, const ArcRecord& arc, const DrawPen& pen) {
    constexpr int kChordsPerTurn = 64;
    constexpr int kFewestChords = 4;
    constexpr double kTurn = 6.283185307179586;
    if (!(arc.sweep > 0.0) || !(arc.sweep <= kTurn + 1e-9)) return;  // at most a whole turn
    int chords = static_cast<int>(std::ceil(arc.sweep / kTurn * kChordsPerTurn - 1e-9));
    if (chords < kFewestChords) chords = kFewestChords;
    LineRecord chord{};
    ArcPointAt(arc, arc.start_angle, &chord.x2, &chord.y2);
    for (int i = 1; i <= chords; ++i) {
        chord.x1 = chord.x2;
        chord.y1 = chord.y2;
        ArcPointAt(arc, arc.start_angle + arc.sweep * i / chords, &chord.x2, &chord.y2);
        DrawLine(surface, view, chord, pen);
    }
}

bool InLayer(const ArcRecord& arc, int group, int layer) { return arc.layer_group == group && arc.layer == layer; }

// Escapement in tenths of a degree from the direction of the mapped base line.
int EscapementOf(double x1, double y1, double x2, double y2) {
    const double a = std::atan2(y2 - y1, x2 - x1);
    return static_cast<int>(a * 180.0 / kPi * -10.0);
}

double FontPixels(const PageView& view, double points) {
    double size = points * view.transform.zoom;
    if (!(size >= 1.0)) size = 1.0;
    if (view.whole_pixels) size = size < kMaxFontPixels ? std::trunc(size) : kMaxFontPixels;
    return size;
}

// The text's bytes in the pool, or false when the record points outside what is in use.
bool TextBytes(const TextRecord& text, const char** bytes, int* length) {
    const int64_t used = g_store.conversion.pool_used < kTextPoolBytes ? g_store.conversion.pool_used : kTextPoolBytes;
    const int64_t offset = text.string_offset;
    const int64_t count = text.string_length;
    if (offset < 0 || count <= 0 || offset + count > used) return false;
    *bytes = g_store.text_pool + offset;
    *length = static_cast<int>(count);
    return true;
}

bool MapPoint(const PageView& view, double x, double y, double* sx, double* sy) {
    *sx = ScreenX(view.transform, x);
    *sy = ScreenY(view.transform, y);
    if (!std::isfinite(*sx) || !std::isfinite(*sy)) return false;
    if (view.whole_pixels) {
        if (std::fabs(*sx) > kFarPixels || std::fabs(*sy) > kFarPixels) return false;
        *sx = WholePixel(*sx);
        *sy = WholePixel(*sy);
    }
    return true;
}

// Normal texts keep the face's natural width; the tools' dimmed texts are half their size wide.
enum class TextWidth { Natural, HalfSize };

// A vertical text: each character upright, its box one size high, the spacing between boxes;
// a half-width character stands in the middle of the column.
void DrawColumn(const DrawingSurface& surface, const PageView& view, const TextRecord& text, DrawFont font,
                const char* bytes, int length) {
    font.escapement = 0;
    std::vector<double> xs, ys;
    std::vector<int> starts;
    double top = text.y1;
    for (int at = 0; at < length;) {
        const int n = ShiftJisCharacterBytes(bytes + at, length - at);
        double sx, sy;
        if (!MapPoint(view, text.x1 + (n == 1 ? text.size_x * 0.25 : 0.0), top - text.size_y, &sx, &sy)) return;
        xs.push_back(sx);
        ys.push_back(sy);
        starts.push_back(at);
        top -= text.size_y + text.spacing;
        at += n;
    }
    if (surface.column != nullptr) {
        surface.column(surface.target, font, xs.data(), ys.data(), static_cast<int>(xs.size()), bytes, length);
        return;
    }
    for (size_t k = 0; k < starts.size(); ++k) {
        const int end = k + 1 < starts.size() ? starts[k + 1] : length;
        surface.text(surface.target, font, xs[k], ys[k], bytes + starts[k], end - starts[k]);
    }
}

void DrawText(const DrawingSurface& surface, const PageView& view, const TextRecord& text, Rgb colour,
              TextWidth width) {
    const char* bytes = nullptr;
    int length = 0;
    if (!TextBytes(text, &bytes, &length)) return;
    double x1, y1, x2, y2;
    if (!MapPoint(view, text.x1, text.y1, &x1, &y1) || !MapPoint(view, text.x2, text.y2, &x2, &y2)) return;
    if (!std::isfinite(text.size_y) || !std::isfinite(text.size_x)) return;
    DrawFont font;
    font.face = JwwFontName(text.font_number);
    font.height = FontPixels(view, text.size_y);
    font.width = width == TextWidth::HalfSize ? FontPixels(view, text.size_x * 0.5) : 0.0;
    font.escapement = EscapementOf(x1, y1, x2, y2);
    font.colour = colour;
    font.transparent = false;
    if ((text.flags & kTextFlagVertical) != 0) {
        DrawColumn(surface, view, text, font, bytes, length);
        return;
    }
    surface.text(surface.target, font, x1, y1, bytes, length);
}

void FillBackground(const DrawingSurface& surface, const PageView& view) {
    surface.fill(surface.target, Background(), view.client.width, view.client.height);
}

void DrawScaleMarks(const DrawingSurface& surface, const PageView& view, int page) {
    if (page < 1 || page >= kPageTableSize) return;
    const PageRecord& record = g_store.pages[page];
    double s1x, s1y, s2x, s2y;
    if (!MapPoint(view, record.first_pick_x, record.first_pick_y, &s1x, &s1y) ||
        !MapPoint(view, record.second_pick_x, record.second_pick_y, &s2x, &s2y)) {
        return;
    }
    const Rgb colour = g_settings.screen_colours[kScreenColourScaleMarks];
    if (record.entered_distance > 0.0 && std::isfinite(record.entered_distance)) {
        char text[64];
        const int length = std::snprintf(text, sizeof text, "%5.2f", record.entered_distance);
        if (length > 0 && length < static_cast<int>(sizeof text)) {
            const DrawFont font{g_store.jww_font_names[1], kScaleMarkTextHeight, kScaleMarkTextWidth,
                                EscapementOf(s1x, s1y, s2x, s2y), colour, true};
            surface.text(surface.target, font, s1x, s1y, text, length);
        }
    }
    if (record.scale_denominator >= 2) {
        surface.line(surface.target, DrawPen{colour, LineStyle::Solid}, s1x, s1y, s2x, s2y);
    }
}

bool InLayer(const LineRecord& line, int group, int layer) { return line.layer_group == group && line.layer == layer; }

}  // namespace

Rgb ScreenColour(int entry) {
    if (entry < 0 || entry >= kScreenColourCount) return g_settings.screen_colours[1];
    return g_settings.screen_colours[entry];
}

// Solids in their colours, in the page's painting order: those painted before line `line_index`.
void DrawSolidsBefore(const DrawingSurface& surface, const PageView& view, int32_t line_index, int32_t* next) {
    const int32_t count = ReadableSolidCount();
    while (*next < count && g_solids.records[*next].paint_position <= line_index) {
        const SolidRecord& s = g_solids.records[(*next)++];
        if (surface.polygon == nullptr) continue;
        double xs[4], ys[4];
        bool finite = true;
        for (int k = 0; k < 4; ++k) {
            xs[k] = ScreenX(view.transform, s.x[k]);
            ys[k] = ScreenY(view.transform, s.y[k]);
            finite = finite && std::isfinite(xs[k]) && std::isfinite(ys[k]) && std::fabs(xs[k]) < kFarPixels &&
                     std::fabs(ys[k]) < kFarPixels;
        }
        const Rgb colour{static_cast<int>(s.colour & 0xFF), static_cast<int>((s.colour >> 8) & 0xFF),
                         static_cast<int>((s.colour >> 16) & 0xFF)};
        if (finite) surface.polygon(surface.target, colour, xs, ys, 4);
    }
}

void DrawNormalPicture(const DrawingSurface& surface, const PageView& view, int page, bool saved_texts_only) {
    FillBackground(surface, view);
    const int32_t lines = ReadableLineCount();
    int32_t next_solid = 0;
    for (int32_t i = 0; i < lines; ++i) {
        DrawSolidsBefore(surface, view, i, &next_solid);
        const LineRecord& line = g_store.lines[i];
        if (!Drawn(line)) continue;
        DrawLine(surface, view, line, DrawPen{ScreenColour(line.pen_colour), StyleOf(line.pen_style)});
    }
    DrawSolidsBefore(surface, view, kSolidCapacity + lines, &next_solid);
    for (int32_t i = 0; i < ReadableArcCount(); ++i) {
        const ArcRecord& arc = g_arcs.records[i];
        DrawArc(surface, view, arc, DrawPen{ScreenColour(arc.pen_colour), StyleOf(arc.pen_style)});
    }
    const Rgb text_colour = ScreenColour(g_settings.text_pen);
    const int32_t texts = TextCount();
    for (int32_t i = 0; i < texts; ++i) {
        const TextRecord& text = g_store.texts[i];
        if (saved_texts_only && text.duplicate_mark != 0) continue;
        DrawText(surface, view, text, text_colour, TextWidth::Natural);
    }
    DrawScaleMarks(surface, view, page);
}

// The arcs in the tool's colours, in the lines' order of white, green, then marks.
void DrawLayerToolArcs(const DrawingSurface& surface, const PageView& view) {
    const LayerSelection& tool = g_layer_selection;
    const int32_t arcs = ReadableArcCount();
    const auto solid = [](const ArcRecord& arc) { return arc.pen_style == kSolidPenStyle && arc.page_number >= 0; };
    for (int32_t a = 0; a < arcs; ++a) {
        const ArcRecord& arc = g_arcs.records[a];
        if (solid(arc) && InLayer(arc, tool.shown_group, tool.shown_layer) && tool.state[kArcItemBase + a] < 1) {
            DrawArc(surface, view, arc, DrawPen{kWhite, LineStyle::Solid});
        }
    }
    for (int32_t a = 0; a < arcs; ++a) {
        const ArcRecord& arc = g_arcs.records[a];
        if (!solid(arc) || tool.state[kArcItemBase + a] <= 0) continue;
        const Rgb green = InLayer(arc, tool.shown_group, tool.shown_layer) ? kSelectedGreen : kSelectedElsewhereGreen;
        DrawArc(surface, view, arc, DrawPen{green, LineStyle::Solid});
    }
    for (int32_t a = 0; a < arcs; ++a) {
        const ArcRecord& arc = g_arcs.records[a];
        const uint8_t mark = tool.mark[kArcItemBase + a];
        if (!solid(arc) || tool.state[kArcItemBase + a] < 0 || mark == 0) continue;
        DrawArc(surface, view, arc, DrawPen{mark == kMarkByLength ? kLengthMarkRed : kConnectionMarkOrange, LineStyle::Solid});
    }
}

void DrawLayerToolPicture(const DrawingSurface& surface, const PageView& view, bool overlay_only) {
    const int32_t lines = ReadableLineCount();
    if (!overlay_only) {
        const Rgb dim = Halved(Background());
        FillBackground(surface, view);
        // Solids are not the tool's: they stay as they are, beneath the lines it works on.
        int32_t next_solid = 0;
        DrawSolidsBefore(surface, view, kSolidCapacity + lines, &next_solid);
        for (int32_t i = 0; i < lines; ++i) {
            const LineRecord& line = g_store.lines[i];
            if (Drawn(line)) DrawLine(surface, view, line, DrawPen{dim, StyleOf(line.pen_style)});
        }
        for (int32_t i = 0; i < ReadableArcCount(); ++i) {
            DrawArc(surface, view, g_arcs.records[i], DrawPen{dim, StyleOf(g_arcs.records[i].pen_style)});
        }
        const int32_t texts = TextCount();
        for (int32_t i = 0; i < texts; ++i) {
            const TextRecord& text = g_store.texts[i];
            DrawText(surface, view, text, dim, TextWidth::HalfSize);
        }
    }
    const LayerSelection& tool = g_layer_selection;
    const auto solid = [](const LineRecord& line) { return line.pen_style == kSolidPenStyle && Drawn(line); };
    for (int32_t i = 0; i < lines; ++i) {
        const LineRecord& line = g_store.lines[i];
        if (solid(line) && InLayer(line, tool.shown_group, tool.shown_layer) && tool.state[i] < 1) {
            DrawLine(surface, view, line, DrawPen{kWhite, LineStyle::Solid});
        }
    }
    for (int32_t i = 0; i < lines; ++i) {
        const LineRecord& line = g_store.lines[i];
        if (!solid(line) || tool.state[i] <= 0) continue;
        const Rgb green =
            InLayer(line, tool.shown_group, tool.shown_layer) ? kSelectedGreen : kSelectedElsewhereGreen;
        DrawLine(surface, view, line, DrawPen{green, LineStyle::Solid});
    }
    for (int32_t i = 0; i < lines; ++i) {
        const LineRecord& line = g_store.lines[i];
        if (!solid(line) || tool.state[i] < 0 || tool.mark[i] == 0) continue;
        const Rgb colour = tool.mark[i] == kMarkByLength ? kLengthMarkRed : kConnectionMarkOrange;
        DrawLine(surface, view, line, DrawPen{colour, LineStyle::Solid});
    }
    DrawLayerToolArcs(surface, view);
}

void DrawPenDialogPicture(const DrawingSurface& surface, const PageView& view, bool overlay_only) {
    const int32_t lines = ReadableLineCount();
    if (!overlay_only) {
        FillBackground(surface, view);
        for (int32_t i = 0; i < lines; ++i) {
            const LineRecord& line = g_store.lines[i];
            if (!Drawn(line)) continue;
            DrawLine(surface, view, line, DrawPen{Halved(ScreenColour(line.pen_colour)), StyleOf(line.pen_style)});
        }
        for (int32_t i = 0; i < ReadableArcCount(); ++i) {
            const ArcRecord& arc = g_arcs.records[i];
            DrawArc(surface, view, arc, DrawPen{Halved(ScreenColour(arc.pen_colour)), StyleOf(arc.pen_style)});
        }
        const Rgb dim = Halved(Background());
        const int32_t texts = TextCount();
        for (int32_t i = 0; i < texts; ++i) {
            const TextRecord& text = g_store.texts[i];
            DrawText(surface, view, text, dim, TextWidth::HalfSize);
        }
    }
    for (int32_t i = 0; i < lines; ++i) {
        const LineRecord& line = g_store.lines[i];
        if (!Drawn(line) || !InLayer(line, g_pen_selection.group, g_pen_selection.layer)) continue;
        DrawLine(surface, view, line, DrawPen{ScreenColour(line.pen_colour), StyleOf(line.pen_style)});
    }
    for (int32_t i = 0; i < ReadableArcCount(); ++i) {
        const ArcRecord& arc = g_arcs.records[i];
        if (!InLayer(arc, g_pen_selection.group, g_pen_selection.layer)) continue;
        DrawArc(surface, view, arc, DrawPen{ScreenColour(arc.pen_colour), StyleOf(arc.pen_style)});
    }
}

void PaintPreview(WindowHandle window, const DrawingSurface& surface, ClientSize client) {
    const PageView whole{CurrentView(), true, client};
    if (g_store.conversion.line_count <= 0 && g_store.conversion.text_count <= 0 && ReadableArcCount() == 0 &&
        g_file_names.pdf_path[0] != '\0') {
        FillBackground(surface, whole);
        ShowProgress(window, kEmptyPageText, kBlack);
        return;
    }
    ApplyPendingGesture(client);
    const PageView view{CurrentView(), true, client};
    if (g_tool_state.pen_dialog_shown) DrawPenDialogPicture(surface, view, g_preview.overlay_only);
    if (LayerToolOpen()) DrawLayerToolPicture(surface, view, g_preview.overlay_only);
    if (!g_tool_state.pen_dialog_shown && !LayerToolOpen()) {
        DrawNormalPicture(surface, view, g_store.current_page, false);
    }
    g_preview.overlay_only = false;
    g_preview.gesture = kGestureNone;
    g_preview.band = kNoBand;
}

}  // namespace velmora
