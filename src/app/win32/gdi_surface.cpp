#include "app/win32/gdi_surface.h"

#include <cstdio>
#include <cstring>

namespace velmora {

namespace {

COLORREF ColourOf(Rgb rgb) { return RGB(rgb.red, rgb.green, rgb.blue); }

int PenStyleOf(LineStyle style) {
    if (style == LineStyle::Dash) return PS_DASH;
    if (style == LineStyle::DashDot) return PS_DASHDOT;
    return PS_SOLID;
}

// PolyPolyline draws each two-point line exactly as MoveToEx and LineTo would; only solid pens
// are batched, so no dash pattern could run on from one segment into the next.
void FlushBatch(GdiSurface* s) {
    if (s->batch_segments == 0) return;
    PolyPolyline(s->dc, s->batch, s->batch_counts, static_cast<DWORD>(s->batch_segments));
    s->batch_segments = 0;
}

void ForgetPens(GdiSurface* s) {
    FlushBatch(s);
    SelectObject(s->dc, s->original_pen);
    s->selected_pen = nullptr;
    for (int i = 0; i < s->pen_count; ++i) DeleteObject(s->pens[i].pen);
    s->pen_count = 0;
}

// The pen of this colour and style, made once per paint: the same pixels as a pen per line.
HPEN PenFor(GdiSurface* s, const DrawPen& pen) {
    const COLORREF colour = ColourOf(pen.colour);
    const int style = PenStyleOf(pen.style);
    for (int i = 0; i < s->pen_count; ++i) {
        if (s->pens[i].colour == colour && s->pens[i].style == style) return s->pens[i].pen;
    }
    if (s->pen_count == kGdiPenCacheSize) ForgetPens(s);
    HPEN made = CreatePen(style, 1, colour);
    if (made == nullptr) return nullptr;
    s->pens[s->pen_count++] = GdiPen{colour, style, made};
    return made;
}

void GdiFill(void* target, Rgb colour, double width, double height) {
    GdiSurface* s = static_cast<GdiSurface*>(target);
    FlushBatch(s);
    HBRUSH brush = CreateSolidBrush(ColourOf(colour));
    if (brush != nullptr) {
        const RECT area = {0, 0, static_cast<LONG>(width), static_cast<LONG>(height)};
        FillRect(s->dc, &area, brush);
        DeleteObject(brush);
    }
    SetBkColor(s->dc, ColourOf(colour));
}

void GdiLine(void* target, const DrawPen& pen, double x1, double y1, double x2, double y2) {
    GdiSurface* s = static_cast<GdiSurface*>(target);
    HPEN wanted = PenFor(s, pen);
    if (wanted == nullptr) return;
    if (wanted != s->selected_pen) {
        FlushBatch(s);
        SelectObject(s->dc, wanted);
        s->selected_pen = wanted;
    }
    if (pen.style != LineStyle::Solid) {
        MoveToEx(s->dc, static_cast<int>(x1), static_cast<int>(y1), nullptr);
        LineTo(s->dc, static_cast<int>(x2), static_cast<int>(y2));
        return;
    }
    POINT* ends = s->batch + 2 * s->batch_segments;
    ends[0] = POINT{static_cast<LONG>(x1), static_cast<LONG>(y1)};
    ends[1] = POINT{static_cast<LONG>(x2), static_cast<LONG>(y2)};
    s->batch_counts[s->batch_segments++] = 2;
    if (s->batch_segments == kGdiBatchSegments) FlushBatch(s);
}

// A solid: its own brush, no outline (the pen is set aside for the call).
void GdiPolygon(void* target, Rgb colour, const double* xs, const double* ys, int count) {
    GdiSurface* s = static_cast<GdiSurface*>(target);
    if (count < 3 || count > 4) return;
    FlushBatch(s);
    POINT corners[4];
    for (int i = 0; i < count; ++i) corners[i] = POINT{static_cast<LONG>(xs[i]), static_cast<LONG>(ys[i])};
    HBRUSH brush = CreateSolidBrush(ColourOf(colour));
    if (brush == nullptr) return;
    HGDIOBJ old_brush = SelectObject(s->dc, brush);
    HGDIOBJ old_pen = SelectObject(s->dc, GetStockObject(NULL_PEN));
    Polygon(s->dc, corners, count);
    SelectObject(s->dc, old_pen);
    SelectObject(s->dc, old_brush);
    DeleteObject(brush);
}

bool FontMatches(const GdiSurface* s, const char* face, int height, int width, int escapement) {
    return s->font != nullptr && s->font_height == height && s->font_width == width &&
           s->font_escapement == escapement && std::strncmp(s->font_face, face, kGdiFaceBytes) == 0;
}

void GdiText(void* target, const DrawFont& font, double x, double y, const char* bytes, int length) {
    GdiSurface* s = static_cast<GdiSurface*>(target);
    FlushBatch(s);
    const char* face = font.face != nullptr ? font.face : "";
    const int height = static_cast<int>(font.height);
    const int width = static_cast<int>(font.width);
    if (!FontMatches(s, face, height, width, font.escapement)) {
        // Face names longer than the system's 31 characters are cut by CreateFontA itself.
        HFONT made = CreateFontA(height, width, font.escapement, font.escapement, FW_NORMAL, FALSE, FALSE, FALSE,
                                 SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY,
                                 FIXED_PITCH | FF_MODERN, face);
        if (made == nullptr) return;
        HGDIOBJ previous = SelectObject(s->dc, made);
        if (s->font != nullptr) {
            DeleteObject(s->font);
        } else {
            s->original_font = previous;
        }
        s->font = made;
        std::snprintf(s->font_face, sizeof s->font_face, "%s", face);
        s->font_height = height;
        s->font_width = width;
        s->font_escapement = font.escapement;
    }
    SetTextColor(s->dc, ColourOf(font.colour));
    SetBkMode(s->dc, font.transparent ? TRANSPARENT : OPAQUE);
    TextOutA(s->dc, static_cast<int>(x), static_cast<int>(y), bytes, length);
}

}  // namespace

void BeginGdiSurface(GdiSurface* s, HDC dc) {
    std::memset(s, 0, sizeof *s);
    s->dc = dc;
    s->original_pen = GetCurrentObject(dc, OBJ_PEN);
    SetTextAlign(dc, TA_LEFT | TA_BOTTOM);
}

DrawingSurface GdiDrawingSurface(GdiSurface* s) { return DrawingSurface{s, GdiFill, GdiLine, GdiText, GdiPolygon}; }

void EndGdiSurface(GdiSurface* s) {
    ForgetPens(s);
    if (s->font != nullptr) {
        SelectObject(s->dc, s->original_font);
        DeleteObject(s->font);
        s->font = nullptr;
    }
}

}  // namespace velmora
