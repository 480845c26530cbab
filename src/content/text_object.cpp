#include "content/text_object.h"

#include <cmath>
#include <cstring>

#include "content/line_emitter.h"
#include "content/operator_reader.h"
#include "content/text_decoder.h"
#include "content/text_emitter.h"
#include "content/text_operator.h"
#include "fonts/font_resources.h"
#include "pdf/error_list.h"
#include "settings/settings.h"
#include "store/capacities.h"
#include "store/document_store.h"

namespace velmora {

TextState g_text;
TextStateUse g_text_state_use;

void ResetTextStateUse() { g_text_state_use = TextStateUse{}; }

namespace {

inline constexpr double kVerticalOriginHeight = 0.88;  // DW2's default 880 thousandths
inline constexpr double kUprightColumnTolerance = 0.5;  // degrees
inline constexpr int32_t kTextObjectEnded = 1;
inline constexpr int32_t kTextObjectOpen = 0;

enum TextStateCounter { kCountTs = 0, kCountTc = 1, kCountTw = 2, kCountTz = 3 };

Point Plus(Point a, Point b) { return Point{a.x + b.x, a.y + b.y}; }
Point Minus(Point a, Point b) { return Point{a.x - b.x, a.y - b.y}; }
double Magnitude(Point v) { return std::hypot(v.x, v.y); }

// L(v): the linear part of Tm, then that of the CTM the paths are drawn with.
Point TextLinear(Point v) { return ApplyLinear(CurrentCtm(), ApplyLinear(g_text.tm, v)); }

Point Direction() { return TextLinear(Point{kDirectionLength, 0.0}); }

void UpdateFontSize() { g_store.conversion.font_size = Magnitude(TextLinear(Point{g_text.tf_size, 0.0})); }

void SetTextMatrix(const Matrix& m) {
    g_text.tm = m;
    double* linear = g_store.conversion.text_matrix_linear;
    linear[0] = m.a;
    linear[1] = m.b;
    linear[2] = m.c;
    linear[3] = m.d;
}

void BeginTextObject() {
    SetTextMatrix(kIdentityMatrix);
    g_text.line_start = ApplyCtm(0.0, 0.0);
    g_text.leading = 0.0;
    g_text.chained = 0;
    // The size set before BT (or in an earlier object) is seen through this object's matrices.
    UpdateFontSize();
}

}  // namespace

namespace {
DictionarySpan g_form_fonts{0, 0};
}  // namespace

DictionarySpan SetFormFonts(DictionarySpan fonts) {
    const DictionarySpan previous = g_form_fonts;
    g_form_fonts = fonts;
    return previous;
}

// Every name in a text object picks the font, not only Tf's operand; an unknown name gives 1.
// A form's own fonts come first (registered on first use), then the page's slots.
void SelectFont(int page, const char* name) {
    if (page < 1 || page >= kPageTableSize) return;
    g_store.conversion.font_number = 1;
    if (g_form_fonts.end > 0 && name[0] != '\0') {
        const int32_t object = ReferenceValue(g_form_fonts, name);
        DictionarySpan direct{};
        const int number = object > 0                                      ? RegisterFont(page, object, name)
                           : DictionaryValue(g_form_fonts, name, &direct) ? RegisterDirectFont(page, direct, name)
                                                                           : 0;
        if (number > 0) {
            g_store.conversion.font_number = number;
            return;
        }
    }
    const PageRecord& record = g_store.pages[page];
    const int32_t slots = record.font_count < kFontSlotsPerPage - 1 ? record.font_count : kFontSlotsPerPage - 1;
    const size_t n = std::strlen(name);  // at most 99, so the slot's byte n is inside it
    for (int32_t slot = 1; slot <= slots; ++slot) {
        const char* resource = record.font_resource_names[slot];
        if (std::memcmp(resource, name, n) == 0 && resource[n] == '\0') {
            g_store.conversion.font_number = record.font_numbers[slot];
            return;
        }
    }
}

void SetFontSize(double size) {
    g_text.tf_size = size;
    UpdateFontSize();
}

namespace {

// A string of a font whose CMap writes vertically is, with TEXTVERTICAL on, a vertical text:
// its glyphs hang from their origins, each centred on the column, one below the other. Only a
// column that runs straight down the page is written as one; on a turned page such strings keep
// the angle of their base line.
bool WritesDown(int page) {
    const FontDef* font = CurrentFont();
    if (g_settings.text_vertical != 1 || font == nullptr || font->vertical != 1) return false;
    if (page < 1 || page >= kPageTableSize) return false;
    const PageRecord& record = g_store.pages[page];
    const Point origin = ToPageFrame(record, Point{0.0, 0.0});
    const Point down = ToPageFrame(record, TextLinear(Point{0.0, -1.0}));
    const double angle = std::atan2(down.y - origin.y, down.x - origin.x) * 180.0 / kTextAnglePi;
    return std::fabs(angle + 90.0) <= kUprightColumnTolerance;
}

// The width estimate: half the font size per byte of decoded text, along the base line (down
// the column for a vertical font).
Point AdvanceAlongBaseLine(Point start, int32_t bytes, bool down) {
    if (down) return Plus(start, TextLinear(Point{0.0, -0.5 * g_text.tf_size * bytes}));
    const Point d = Direction();
    const double length = Magnitude(d);
    if (!(length > 0.0) || !std::isfinite(length)) return start;
    const double w = g_store.conversion.font_size * 0.5 * bytes;
    return Point{start.x + w * d.x / length, start.y + w * d.y / length};
}

// A text none of whose codes decodes keeps its place as one mark per code, so it is seen and
// counted instead of written empty.
void MarkUndecoded(DecodedText& text) {
    constexpr int32_t mark_bytes = static_cast<int32_t>(sizeof kUndecodedMark) - 1;
    for (int32_t i = 0; i < text.undecoded && text.length + mark_bytes <= kDecodedTextCapacity; ++i) {
        std::memcpy(text.bytes + text.length, kUndecodedMark, mark_bytes);
        text.length += mark_bytes;
    }
    text.bytes[text.length] = '\0';
}

// `down`: WritesDown(page) for the current font, asked once by the operator.
void Show(Point start, DecodedText& text, int page, bool down) {
    const bool undecoded = text.length == 0 && text.undecoded > 0;
    if (undecoded) MarkUndecoded(text);
    // A vertical text runs from its top left corner down to the foot of its last glyph. Under the
    // default vertical metrics a glyph's origin is half a size right of its horizontal base line's
    // start and 0.88 of a size above it; its box, as a horizontal text's, stands one size above.
    const Point hang{-0.5 * g_text.tf_size, (1.0 - kVerticalOriginHeight) * g_text.tf_size};
    const Point from = down ? Plus(start, TextLinear(hang)) : start;
    const Point end = down ? AdvanceAlongBaseLine(from, text.length, true) : Plus(start, Direction());
    const bool stored = EmitText(from.x, from.y, end.x, end.y, page, text.bytes, text.length);
    if (stored && down) {
        TextRecord& record = g_store.texts[g_store.conversion.text_count - 1];
        record.flags = static_cast<int16_t>(record.flags | kTextFlagVertical);
    }
    if (!stored || !undecoded) return;
    PageRecord& record = g_store.pages[page];
    if (record.undecoded_text_count == 0) RecordError(kWarningUndecodedText);
    SaturatingIncrement(record.undecoded_text_count);
}

void ShowString(int page) {  // Tj
    DecodedText text{};
    DecodeText(0, g_text_operands.code_count, text);
    const Point start = g_text.chained ? g_text.cursor : g_text.line_start;
    const bool down = WritesDown(page);
    Show(start, text, page, down);
    g_text.cursor = AdvanceAlongBaseLine(start, text.length, down);
    g_text.chained = 1;
}

void ShowOnNextLine(int page) {  // '
    DecodedText text{};
    DecodeText(0, g_text_operands.code_count, text);
    g_text.line_start = Plus(g_text.line_start, TextLinear(Point{0.0, -g_text.leading}));
    g_text.chained = 0;
    Show(g_text.line_start, text, page, WritesDown(page));
}

// TJ: strings are joined into one text until a number of -500 or less, which ends the run and
// moves the next one by the estimate of its width and the gap.
void ShowArray(int page) {
    const TextOperands& t = g_text_operands;
    g_text.chained = 0;
    g_text.cursor = g_text.line_start;
    g_text.shift = Point{0.0, 0.0};
    const bool down = WritesDown(page);  // one font for the whole array
    DecodedText buffer{};
    int32_t done = 0;
    for (int32_t i = 0; i < t.segment_count; ++i) {
        DecodeText(done, t.segment_codes[i], buffer);
        done += t.segment_codes[i];
        const double n = t.segment_adjustments[i];
        // Down a column a positive number opens the gap.
        if ((down ? -n : n) > kTjSplitAdjustment && i != t.segment_count - 1) continue;

        g_text.cursor = Minus(g_text.cursor, g_text.shift);
        Show(g_text.cursor, buffer, page, down);
        if (done >= t.code_count) return;
        // The number moves the next run by thousandths of the size, in text space.
        const double gap = n / 1000.0 * g_text.tf_size;
        g_text.shift = down ? TextLinear(Point{0.0, gap}) : TextLinear(Point{gap, 0.0});
        g_text.cursor = AdvanceAlongBaseLine(g_text.cursor, buffer.length, down);
        buffer.length = 0;
        buffer.undecoded = 0;
        buffer.bytes[0] = '\0';
    }
}

void MoveLineStart(double tx, double ty) {
    g_text.chained = 0;
    g_text.line_start = Plus(g_text.line_start, TextLinear(Point{tx, ty}));
}

void RunTextOperator(int page) {
    const char* token = g_operands.token;
    const double* o = g_operands.values;
    int32_t* counters = g_text_state_use.counters;
    if (std::strcmp(token, "Tf") == 0) {
        SetFontSize(o[0]);
    } else if (std::strcmp(token, "Tm") == 0) {
        SetTextMatrix(Matrix{o[0], o[1], o[2], o[3], o[4], o[5]});
        g_text.chained = 0;
        g_text.line_start = ApplyCtm(o[4], o[5]);
        UpdateFontSize();
    } else if (std::strcmp(token, "Td") == 0) {
        MoveLineStart(o[0], o[1]);
    } else if (std::strcmp(token, "TD") == 0) {
        g_text.leading = -o[1];
        MoveLineStart(o[0], o[1]);
    } else if (std::strcmp(token, "TL") == 0) {
        g_text.leading = o[0];
    } else if (std::strcmp(token, "T*") == 0) {
        MoveLineStart(0.0, -g_text.leading);
    } else if (std::strcmp(token, "Tj") == 0) {
        ShowString(page);
    } else if (std::strcmp(token, "'") == 0) {
        ShowOnNextLine(page);
    } else if (std::strcmp(token, "TJ") == 0) {
        ShowArray(page);
    } else if (std::strcmp(token, "d") == 0) {
        g_store.conversion.pen_style = PenStyleForDash(g_operands.count);
    } else if (std::strcmp(token, "Ts") == 0) {
        SaturatingIncrement(counters[kCountTs]);
    } else if (std::strcmp(token, "Tc") == 0) {
        SaturatingIncrement(counters[kCountTc]);
    } else if (std::strcmp(token, "Tw") == 0) {
        SaturatingIncrement(counters[kCountTw]);
    } else if (std::strcmp(token, "Tz") == 0) {
        SaturatingIncrement(counters[kCountTz]);
    }
    // Every other token (cm, q, Q, paths, ") is passed over inside a text object.
}

}  // namespace

int ReadTextObject(const DecodedStream& stream, int page, int32_t& position) {
    BeginTextObject();
    const int32_t length = stream.length;
    if (stream.data == nullptr || length <= 0 || page < 1 || page >= kPageTableSize) {
        if (position < length) position = length;
        return kTextObjectOpen;
    }
    // The object ends at the ET token; strings are read whole, so an "ET" inside one such as
    // (SETUP) or (SHEET) is text, not the end.
    int32_t p = position < 0 ? 0 : position;
    while (p < length) {
        const int32_t before = p;
        const bool token = ReadTextOperator(stream, p);
        // Only Tf's name picks the font: a marked-content tag (/Span … BDC) or a graphics-state
        // name inside the object is no font.
        if (token && g_text_operands.has_name && std::strcmp(g_operands.token, "Tf") == 0) {
            SelectFont(page, g_text_operands.name);
        }
        if (token && std::strcmp(g_operands.token, "ET") == 0) {
            position = p;
            return kTextObjectEnded;
        }
        if (token) RunTextOperator(page);
        if (p <= before) break;  // the reader always moves on; this keeps the loop finite regardless
    }
    position = length;
    return kTextObjectOpen;
}

}  // namespace velmora
