// The GDI back-end of the drawing surface: the page drawn into a device context with one pen
// per colour and style, reused, and one font kept while the texts ask for the same one.
#pragma once

#include <windows.h>

#include "view/drawing_surface.h"

namespace velmora {

inline constexpr int kGdiPenCacheSize = 64;
// Solid segments of one pen are handed to GDI in batches of this many.
inline constexpr int kGdiBatchSegments = 4096;
inline constexpr int kGdiFaceBytes = 256;

struct GdiPen {
    COLORREF colour;
    int style;
    HPEN pen;
};

struct GdiSurface {
    HDC dc;
    GdiPen pens[kGdiPenCacheSize];
    int pen_count;
    HPEN selected_pen;
    POINT batch[2 * kGdiBatchSegments];  // solid segments of the selected pen, not drawn yet
    DWORD batch_counts[kGdiBatchSegments];
    int batch_segments;
    HGDIOBJ original_pen;
    HFONT font;
    HGDIOBJ original_font;
    char font_face[kGdiFaceBytes];
    int font_height, font_width, font_escapement;
};

void BeginGdiSurface(GdiSurface* surface, HDC dc);
DrawingSurface GdiDrawingSurface(GdiSurface* surface);
// Puts the device context's own pen and font back and deletes what the drawing made.
void EndGdiSurface(GdiSurface* surface);

}  // namespace velmora
