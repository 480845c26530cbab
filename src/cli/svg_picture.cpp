#include "cli/svg_picture.h"
#include "jww/jww_writer.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/platform.h"
#include "store/capacities.h"
#include "store/document_store.h"
#include "store/settings.h"

namespace velmora {

namespace {

// The preview's GDI pens: PS_DASH and PS_DASHDOT patterns, one-pixel wide whatever the zoom.
constexpr char kDashPattern[] = "18 6";
constexpr char kDashDotPattern[] = "9 6 3 6";
// A page without a usable MediaBox is drawn on A4 portrait.
constexpr double kFallbackWidth = 595.0;
constexpr double kFallbackHeight = 842.0;
constexpr size_t kFlushBytes = 1 << 16;
// XML readers cap the size of one attribute (libxml2 at 10 MB), so long runs are split.
constexpr int kSegmentsPerPath = 1000;

// Collects the text and hands it to the stream in large pieces; remembers a failed write.
struct SvgOutput {
    std::FILE* file;
    std::string buffer;
    bool failed = false;

    void Flush() {
        if (!failed && !buffer.empty() && std::fwrite(buffer.data(), 1, buffer.size(), file) != buffer.size()) {
            failed = true;
        }
        buffer.clear();
    }
    void Put(const std::string& text) { Put(text.data(), text.size()); }
    void Put(const char* text) { Put(text, std::char_traits<char>::length(text)); }
    void Put(const char* text, size_t length) {
        buffer.append(text, length);
        if (buffer.size() >= kFlushBytes) Flush();
    }
    // Shortest fixed form to 1/1000 point: "12.5", "-3", "0".
    void PutNumber(double value) {
        char text[64];
        int length = std::snprintf(text, sizeof text, "%.3f", value);
        if (length <= 0 || length >= static_cast<int>(sizeof text)) {
            Put("0");
            return;
        }
        while (length > 0 && text[length - 1] == '0') --length;
        if (length > 0 && text[length - 1] == '.') --length;
        if (length == 2 && text[0] == '-' && text[1] == '0') {
            Put("0");
            return;
        }
        Put(text, static_cast<size_t>(length));
    }
};

std::string HexColour(const Rgb& colour) {
    auto clamp = [](int value) { return value < 0 ? 0 : (value > 255 ? 255 : value); };
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", clamp(colour.red), clamp(colour.green), clamp(colour.blue));
    return text;
}

// A line's colour is the table entry its pen colour names; a value outside the table (never made
// by the converter) takes pen 1's colour rather than reading past the table.
const Rgb& ScreenColour(int entry) {
    if (entry < 0 || entry >= kScreenColourCount) return g_settings.screen_colours[1];
    return g_settings.screen_colours[entry];
}

const char* DashArrayOf(int pen_style) {
    if (pen_style == 3) return kDashPattern;
    if (pen_style == 5) return kDashDotPattern;
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

int32_t BoundedCount(int32_t count, int32_t capacity) {
    if (count < 0) return 0;
    return count < capacity ? count : capacity;
}

bool Finite(double a, double b, double c, double d) {
    return std::isfinite(a) && std::isfinite(b) && std::isfinite(c) && std::isfinite(d);
}

void PutLines(SvgOutput* out) {
    const int32_t count = g_store.lines != nullptr ? BoundedCount(g_store.conversion.line_count, kLineCapacity) : 0;
    // Consecutive lines of one colour and style share a path, so the record order (which line
    // lies on top) is kept while the file stays small.
    bool open = false;
    int open_colour = 0;
    int open_style = 0;
    int open_segments = 0;
    for (int32_t i = 0; i < count; ++i) {
        const LineRecord& line = g_store.lines[i];
        if (line.page_number < 0) continue;  // absorbed by dash run merging, like the writer
        if (!Finite(line.x1, line.y1, line.x2, line.y2)) continue;
        const int style = DashArrayOf(line.pen_style) != nullptr ? line.pen_style : 1;
        if (!open || line.pen_colour != open_colour || style != open_style || open_segments >= kSegmentsPerPath) {
            if (open) out->Put("\"/>\n");
            // vector-effect is not inherited, so each path carries it.
            out->Put("<path vector-effect=\"non-scaling-stroke\" stroke=\"" + HexColour(ScreenColour(line.pen_colour)) +
                     "\"");
            if (const char* dashes = DashArrayOf(style)) out->Put(std::string(" stroke-dasharray=\"") + dashes + "\"");
            out->Put(" d=\"");
            open = true;
            open_colour = line.pen_colour;
            open_style = style;
            open_segments = 0;
        }
        ++open_segments;
        // The page frame has the drawing at y <= 0; SVG's y grows downwards.
        out->Put("M");
        out->PutNumber(line.x1);
        out->Put(" ");
        out->PutNumber(-line.y1);
        out->Put("L");
        out->PutNumber(line.x2);
        out->Put(" ");
        out->PutNumber(-line.y2);
    }
    if (open) out->Put("\"/>\n");
}

void PutTexts(SvgOutput* out) {
    const int32_t count = g_store.texts != nullptr ? BoundedCount(g_store.conversion.text_count, kTextCapacity) : 0;
    const int64_t used = g_store.conversion.pool_used < kTextPoolBytes ? g_store.conversion.pool_used : kTextPoolBytes;
    // Like the preview: every text in the colour of the text pen setting, not its own pen.
    out->Put("<g fill=\"" + HexColour(ScreenColour(g_settings.text_pen)) + "\" xml:space=\"preserve\">\n");
    for (int32_t i = 0; i < count; ++i) {
        const TextRecord& text = g_store.texts[i];
        if (text.duplicate_mark != 0) continue;  // the writer leaves repeated texts out
        const int64_t offset = text.string_offset;
        const int64_t length = text.string_length;
        if (offset < 0 || length <= 0 || offset + length > used) continue;
        if (!Finite(text.x1, text.y1, text.size_y, text.angle)) continue;
        // The preview's font is at least one pixel high.
        const double size = text.size_y > 0.0 ? text.size_y : 1.0;
        const char* font = JwwFontName(text.font_number);  // as the writer names it
        // The record's start lies on the PDF's base line, where SVG's default baseline puts it.
        out->Put("<text x=\"");
        out->PutNumber(text.x1);
        out->Put("\" y=\"");
        out->PutNumber(-text.y1);
        out->Put("\" font-size=\"");
        out->PutNumber(size);
        out->Put("\" font-family=\"" + Utf8Of(font, strnlen(font, kFontNameBytes)) + ", monospace\"");
        if (text.angle != 0.0) {
            // Counter-clockwise degrees on the page are clockwise-negative in SVG's downward y.
            out->Put(" transform=\"rotate(");
            out->PutNumber(-text.angle);
            out->Put(" ");
            out->PutNumber(text.x1);
            out->Put(" ");
            out->PutNumber(-text.y1);
            out->Put(")\"");
        }
        out->Put(">" + Utf8Of(g_store.text_pool + offset, static_cast<size_t>(length)) + "</text>\n");
    }
    out->Put("</g>\n");
}

}  // namespace

bool WriteSvgPicture(std::FILE* file, int page) {
    if (file == nullptr) return false;
    SvgOutput out{file, {}};
    double width = kFallbackWidth;
    double height = kFallbackHeight;
    if (page >= 1 && page < kPageTableSize) {
        // The JWW writer centres the paper on (width / 2, -height / 2) of the page frame, so the
        // saved paper is the rectangle from (0, 0) to (width, height) here.
        const double* box = g_store.pages[page].media_box;
        const double w = box[2] - box[0];
        const double h = box[3] - box[1];
        if (std::isfinite(w) && std::isfinite(h) && w > 0.0 && h > 0.0) {
            width = w;
            height = h;
        }
    }
    out.Put("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    out.Put("<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"");
    out.PutNumber(width);
    out.Put("pt\" height=\"");
    out.PutNumber(height);
    out.Put("pt\" viewBox=\"0 0 ");
    out.PutNumber(width);
    out.Put(" ");
    out.PutNumber(height);
    out.Put("\">\n");
    out.Put("<rect x=\"0\" y=\"0\" width=\"100%\" height=\"100%\" fill=\"" +
            HexColour(g_settings.screen_colours[kScreenColourBackground]) + "\"/>\n");
    // The preview's pens are one pixel wide at any zoom.
    out.Put("<g fill=\"none\" stroke-width=\"1\">\n");
    PutLines(&out);
    out.Put("</g>\n");
    PutTexts(&out);
    out.Put("</svg>\n");
    out.Flush();
    return !out.failed;
}

bool SaveSvgPicture(const char* path, int page) {
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return false;
    const bool written = WriteSvgPicture(file, page);
    const bool closed = std::fclose(file) == 0;
    if (written && closed) return true;
    std::remove(path);
    return false;
}

std::string SvgPathFor(const std::string& jww_path) {
    const size_t n = jww_path.size();
    if (n >= 4 && jww_path[n - 4] == '.') {
        const std::string extension = jww_path.substr(n - 3);
        bool is_jww = true;
        for (size_t i = 0; i < 3; ++i) {
            const char c = extension[i];
            if (c != "jww"[i] && c != "JWW"[i]) is_jww = false;
        }
        if (is_jww) return jww_path.substr(0, n - 4) + ".svg";
    }
    return jww_path + ".svg";
}

}  // namespace velmora
