#include "view/svg_surface.h"

#include <cstdio>
#include <string>

#include "platform/platform.h"

namespace velmora {

namespace {

// The preview's GDI pens: PS_DASH and PS_DASHDOT patterns, one pixel wide whatever the zoom.
constexpr char kDashPattern[] = "18 6";
constexpr char kDashDotPattern[] = "9 6 3 6";
constexpr size_t kFlushBytes = 1 << 16;
// XML readers cap the size of one attribute (libxml2 at 10 MB), so long runs are split.
constexpr int kSegmentsPerPath = 1000;

void Flush(SvgWriter* out) {
    if (!out->failed && !out->buffer.empty() &&
        std::fwrite(out->buffer.data(), 1, out->buffer.size(), out->file) != out->buffer.size()) {
        out->failed = true;
    }
    out->buffer.clear();
}

void Put(SvgWriter* out, const std::string& text) {
    out->buffer += text;
    if (out->buffer.size() >= kFlushBytes) Flush(out);
}

// Shortest fixed form to 1/1000: "12.5", "-3", "0".
void PutNumber(SvgWriter* out, double value) {
    char text[64];
    int length = std::snprintf(text, sizeof text, "%.3f", value);
    if (length <= 0 || length >= static_cast<int>(sizeof text)) {
        Put(out, "0");
        return;
    }
    while (length > 0 && text[length - 1] == '0') --length;
    if (length > 0 && text[length - 1] == '.') --length;
    if (length == 2 && text[0] == '-' && text[1] == '0') {
        Put(out, "0");
        return;
    }
    Put(out, std::string(text, static_cast<size_t>(length)));
}

std::string HexColour(const Rgb& colour) {
    auto clamp = [](int value) { return value < 0 ? 0 : (value > 255 ? 255 : value); };
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", clamp(colour.red), clamp(colour.green), clamp(colour.blue));
    return text;
}

bool SameColour(const Rgb& a, const Rgb& b) { return a.red == b.red && a.green == b.green && a.blue == b.blue; }

const char* DashArrayOf(LineStyle style) {
    if (style == LineStyle::Dash) return kDashPattern;
    if (style == LineStyle::DashDot) return kDashDotPattern;
    return nullptr;
}

// XML text: the five special characters as entities; control characters, which XML 1.0 does
// not allow, as "?".
std::string XmlEscaped(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            default:
                if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r') {
                    out += '?';
                } else {
                    out += c;
                }
        }
    }
    return out;
}

std::string Utf8Of(const char* bytes, size_t length) { return XmlEscaped(CodePage932ToUtf8(std::string(bytes, length))); }

void ClosePath(SvgWriter* out) {
    if (out->path_open) Put(out, "\"/>\n");
    out->path_open = false;
}

void CloseGroup(SvgWriter* out) {
    ClosePath(out);
    if (out->group != SvgGroup::None) Put(out, "</g>\n");
    out->group = SvgGroup::None;
}

void SvgFill(void* target, Rgb colour, double, double) {
    SvgWriter* out = static_cast<SvgWriter*>(target);
    CloseGroup(out);
    Put(out, "<rect x=\"0\" y=\"0\" width=\"100%\" height=\"100%\" fill=\"" + HexColour(colour) + "\"/>\n");
}

void SvgPolygon(void* target, Rgb colour, const double* xs, const double* ys, int count) {
    SvgWriter* out = static_cast<SvgWriter*>(target);
    CloseGroup(out);
    Put(out, "<polygon fill=\"" + HexColour(colour) + "\" points=\"");
    for (int i = 0; i < count; ++i) {
        if (i > 0) Put(out, " ");
        PutNumber(out, xs[i]);
        Put(out, ",");
        PutNumber(out, ys[i]);
    }
    Put(out, "\"/>\n");
}

void SvgLine(void* target, const DrawPen& pen, double x1, double y1, double x2, double y2) {
    SvgWriter* out = static_cast<SvgWriter*>(target);
    if (out->group != SvgGroup::Lines) {
        CloseGroup(out);
        // The preview's pens are one pixel wide at any zoom.
        Put(out, "<g fill=\"none\" stroke-width=\"1\">\n");
        out->group = SvgGroup::Lines;
    }
    if (!out->path_open || !SameColour(pen.colour, out->path_colour) || pen.style != out->path_style ||
        out->path_segments >= kSegmentsPerPath) {
        ClosePath(out);
        // vector-effect is not inherited, so each path carries it.
        Put(out, "<path vector-effect=\"non-scaling-stroke\" stroke=\"" + HexColour(pen.colour) + "\"");
        if (const char* dashes = DashArrayOf(pen.style)) Put(out, std::string(" stroke-dasharray=\"") + dashes + "\"");
        Put(out, " d=\"");
        out->path_open = true;
        out->path_colour = pen.colour;
        out->path_style = pen.style;
        out->path_segments = 0;
    }
    ++out->path_segments;
    Put(out, "M");
    PutNumber(out, x1);
    Put(out, " ");
    PutNumber(out, y1);
    Put(out, "L");
    PutNumber(out, x2);
    Put(out, " ");
    PutNumber(out, y2);
}

void OpenTextGroup(SvgWriter* out, const DrawFont& font) {
    if (out->group != SvgGroup::Texts || !SameColour(font.colour, out->text_colour)) {
        CloseGroup(out);
        // Texts stand on their bottom edge, as the preview's bottom alignment places them.
        Put(out, "<g fill=\"" + HexColour(font.colour) +
                     "\" dominant-baseline=\"text-after-edge\" xml:space=\"preserve\">\n");
        out->group = SvgGroup::Texts;
        out->text_colour = font.colour;
    }
}

void PutFont(SvgWriter* out, const DrawFont& font) {
    Put(out, " font-size=\"");
    PutNumber(out, font.height);
    const std::string face = font.face != nullptr ? std::string(font.face) : std::string();
    Put(out, "\" font-family=\"" + Utf8Of(face.data(), face.size()) + ", monospace\"");
}

void SvgText(void* target, const DrawFont& font, double x, double y, const char* bytes, int length) {
    SvgWriter* out = static_cast<SvgWriter*>(target);
    OpenTextGroup(out, font);
    Put(out, "<text x=\"");
    PutNumber(out, x);
    Put(out, "\" y=\"");
    PutNumber(out, y);
    Put(out, "\"");
    PutFont(out, font);
    if (font.escapement != 0) {
        // Escapement turns counter-clockwise; SVG's rotate turns clockwise in its downward y.
        Put(out, " transform=\"rotate(");
        PutNumber(out, -font.escapement / 10.0);
        Put(out, " ");
        PutNumber(out, x);
        Put(out, " ");
        PutNumber(out, y);
        Put(out, ")\"");
    }
    Put(out, ">" + Utf8Of(bytes, static_cast<size_t>(length)) + "</text>\n");
}

// One text element, as a Jw_cad vertical text is one text, its characters each placed by a
// tspan of its own.
void SvgColumn(void* target, const DrawFont& font, const double* xs, const double* ys, int count, const char* bytes,
               int length) {
    SvgWriter* out = static_cast<SvgWriter*>(target);
    OpenTextGroup(out, font);
    const std::string text = Utf8Of(bytes, static_cast<size_t>(length));
    Put(out, "<text");
    PutFont(out, font);
    Put(out, ">");
    int k = 0;
    for (size_t at = 0; at < text.size();) {
        size_t end = at + 1;
        while (end < text.size() && (static_cast<uint8_t>(text[end]) & 0xC0) == 0x80) ++end;
        // Characters beyond the positions (a byte that converts to two) join the last one.
        if (k < count) {
            Put(out, std::string(k > 0 ? "</tspan>" : "") + "<tspan x=\"");
            PutNumber(out, xs[k]);
            Put(out, "\" y=\"");
            PutNumber(out, ys[k]);
            Put(out, "\">");
            ++k;
        }
        Put(out, text.substr(at, end - at));
        at = end;
    }
    Put(out, std::string(k > 0 ? "</tspan>" : "") + "</text>\n");
}

}  // namespace

void BeginSvg(SvgWriter* out, std::FILE* file, double width, double height) {
    *out = SvgWriter{};
    out->file = file;
    Put(out, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    Put(out, "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"");
    PutNumber(out, width);
    Put(out, "pt\" height=\"");
    PutNumber(out, height);
    Put(out, "pt\" viewBox=\"0 0 ");
    PutNumber(out, width);
    Put(out, " ");
    PutNumber(out, height);
    Put(out, "\">\n");
}

DrawingSurface SvgSurface(SvgWriter* writer) { return DrawingSurface{writer, SvgFill, SvgLine, SvgText, SvgPolygon, SvgColumn}; }

bool EndSvg(SvgWriter* out) {
    CloseGroup(out);
    Put(out, "</svg>\n");
    Flush(out);
    return !out->failed;
}

}  // namespace velmora
