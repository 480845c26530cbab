// The SVG back-end of the drawing surface: consecutive lines of one colour and style share a
// path, texts are UTF-8 with their size and escapement, and the text goes to the stream in
// large pieces.
#pragma once

#include <cstdio>
#include <string>

#include "view/drawing_surface.h"

namespace velmora {

enum class SvgGroup { None, Lines, Texts };

struct SvgWriter {
    std::FILE* file = nullptr;
    std::string buffer;
    bool failed = false;  // a write to the stream failed
    SvgGroup group = SvgGroup::None;
    bool path_open = false;
    Rgb path_colour = {0, 0, 0};
    LineStyle path_style = LineStyle::Solid;
    int path_segments = 0;
    Rgb text_colour = {0, 0, 0};
};

// The document's head: `width` by `height` points with the same viewBox.
void BeginSvg(SvgWriter* writer, std::FILE* file, double width, double height);
DrawingSurface SvgSurface(SvgWriter* writer);
// Closes what is open and writes the rest. False when any write failed.
bool EndSvg(SvgWriter* writer);

}  // namespace velmora
