// The small drawing surface the page is drawn onto: a fill, lines with a pen, texts with a font.
// One page drawing serves every back-end: GDI for the window, SVG for velmora-convert --svg,
// and a recording one for the tests. A back-end is a target and three functions.
#pragma once

#include "platform/platform.h"

namespace velmora {

enum class LineStyle { Solid, Dash, DashDot };

struct DrawPen {
    Rgb colour;
    LineStyle style;  // every pen is one pixel wide
};

struct DrawFont {
    const char* face;  // the JWW font name, Shift-JIS
    double height;     // pixels (points for SVG)
    double width;      // 0: the face's natural width
    int escapement;    // tenths of a degree, counter-clockwise
    Rgb colour;
    // The tools' marks over the picture: the drawing beneath shows between the glyphs. Page
    // texts keep the background colour behind them.
    bool transparent;
};

struct DrawingSurface {
    void* target;
    // Fills the rectangle from (0, 0) to (width, height) and makes the colour the text background.
    void (*fill)(void* target, Rgb colour, double width, double height);
    void (*line)(void* target, const DrawPen& pen, double x1, double y1, double x2, double y2);
    // `length` bytes of Shift-JIS text, its bottom-left corner at (x, y).
    void (*text)(void* target, const DrawFont& font, double x, double y, const char* bytes, int length);
    // A filled quadrilateral (a solid) in its colour; a back-end without it leaves solids out.
    void (*polygon)(void* target, Rgb colour, const double* xs, const double* ys, int count) = nullptr;
    // A vertical text as one piece: its `count` Shift-JIS characters upright, character k with its
    // bottom-left corner at (xs[k], ys[k]). A back-end without it is given one text a character.
    void (*column)(void* target, const DrawFont& font, const double* xs, const double* ys, int count,
                   const char* bytes, int length) = nullptr;
};

}  // namespace velmora
