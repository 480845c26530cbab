// The drawing surface of the tests: every fill, line and text is kept in order, so a drawing is
// checked by what it asked to draw.
#pragma once

#include <string>
#include <vector>

#include "view/drawing_surface.h"

namespace velmora::test_support {

struct DrawnShape {
    enum Kind { Fill, Line, Text } kind;
    Rgb colour;
    LineStyle style;
    double x1, y1, x2, y2;  // a fill's width and height in x2, y2; a text's point in x1, y1
    std::string text;
    std::string face;
    double height, width;
    int escapement;
    bool transparent = false;

    bool ColourIs(int red, int green, int blue) const {
        return colour.red == red && colour.green == green && colour.blue == blue;
    }
};

struct Recording {
    std::vector<DrawnShape> shapes;

    std::vector<DrawnShape> Of(DrawnShape::Kind kind) const {
        std::vector<DrawnShape> found;
        for (const DrawnShape& shape : shapes) {
            if (shape.kind == kind) found.push_back(shape);
        }
        return found;
    }
};

inline DrawingSurface RecordingSurface(Recording* recording) {
    DrawingSurface surface;
    surface.target = recording;
    surface.fill = [](void* target, Rgb colour, double width, double height) {
        static_cast<Recording*>(target)->shapes.push_back(
            DrawnShape{DrawnShape::Fill, colour, LineStyle::Solid, 0, 0, width, height, "", "", 0, 0, 0});
    };
    surface.line = [](void* target, const DrawPen& pen, double x1, double y1, double x2, double y2) {
        static_cast<Recording*>(target)->shapes.push_back(
            DrawnShape{DrawnShape::Line, pen.colour, pen.style, x1, y1, x2, y2, "", "", 0, 0, 0});
    };
    surface.text = [](void* target, const DrawFont& font, double x, double y, const char* bytes, int length) {
        static_cast<Recording*>(target)->shapes.push_back(
            DrawnShape{DrawnShape::Text, font.colour, LineStyle::Solid, x, y, 0, 0, std::string(bytes, length),
                       font.face != nullptr ? font.face : "", font.height, font.width, font.escapement, font.transparent});
    };
    return surface;
}

}  // namespace velmora::test_support
