#include "jww/jww_writer.h"

#include <cmath>
#include <cstring>

#include "convert/pdf_layer_assignment.h"
#include "jww/jww_bytes.h"
#include "store/arc_records.h"
#include "store/document_store.h"
#include "store/solid_records.h"
#include "store/paper_sizes.h"
#include "settings/settings.h"

namespace velmora {

namespace {

constexpr char kSignature[8] = {'J', 'w', 'w', 'D', 'a', 't', 'a', '.'};
constexpr char kMemo[] = "pdf";
constexpr char kLayerName[] = "Ln";
constexpr char kGroupName[] = "Gn";
constexpr char kLineClass[] = "CDataSen";
constexpr char kSolidClass[] = "CDataSolid";
constexpr char kTextClass[] = "CDataMoji";
constexpr char kArcClass[] = "CDataEnko";

constexpr uint16_t kNewClassTag = 0xFFFF;
constexpr uint16_t kClassTagBit = 0x8000;
constexpr uint16_t kBigTag = 0x7FFF;          // a class index of 0x7FFF or more follows as uint32
constexpr uint32_t kBigClassTagBit = 0x80000000u;
constexpr uint32_t kBigCount = 0xFFFF;       // a count of 0xFFFF or more follows as uint32

struct PenPair {
    int32_t colour;
    int32_t width;
};
constexpr PenPair kPens[10] = {{1, 1}, {2, 1}, {3, 2}, {4, 2}, {5, 3}, {1, 3}, {2, 4}, {3, 4}, {4, 5}, {5, 5}};

struct LineType {
    uint32_t pattern;
    int32_t dots_per_unit;
    int32_t pitch;
    int32_t print_pitch;
};
constexpr LineType kLineTypes[8] = {
    {0x99999999u, 4, 1, 10}, {0xC3C3C3C3u, 8, 1, 10},  {0xE7E7E7E7u, 8, 1, 10},  {0xF99FF99Fu, 16, 1, 10},
    {0xFFF99FFFu, 32, 1, 10}, {0xF24FF24Fu, 16, 1, 10}, {0xFFF24FFFu, 32, 1, 10}, {0x22222222u, 4, 1, 10},
};
constexpr LineType kDoubleLengthLineTypes[4] = {
    {0xFFF99FFFu, 32, 2, 20}, {0xFFF24FFFu, 32, 2, 20}, {0xFFFE7FFFu, 32, 2, 20}, {0xFFFE7FFFu, 32, 4, 40}};

struct RandomLine {
    uint32_t pattern;
    int32_t values[4];
};
constexpr RandomLine kRandomLines[5] = {{0xCCB2B32Au, {1, 3, 1, 5}},
                                        {0xCCB2B32Au, {1, 4, 1, 10}},
                                        {0xCCB2B32Au, {2, 5, 2, 15}},
                                        {0xCCB2B32Au, {2, 6, 2, 20}},
                                        {0xCCB2B32Au, {2, 7, 2, 25}}};

void PutDoubles(JwwOutput* out, double value, int count) {
    for (int i = 0; i < count; ++i) PutDouble(out, value);
}

void PutInts(JwwOutput* out, int32_t value, int count) {
    for (int i = 0; i < count; ++i) PutI32(out, value);
}

void PutString(JwwOutput* out, const char* text) { PutShortString(out, text, std::strlen(text)); }

void PutLayerGroups(JwwOutput* out, double scale, bool named) {
    for (int group = 0; group < kJwwLayerGroups; ++group) {
        // With PDF layers a hidden slot gets state 0; the write layer is the group's first shown one.
        int write_layer = 0;
        while (named && write_layer < kJwwLayersPerGroup - 1 && PdfLayerSlotHidden(group, write_layer)) ++write_layer;
        PutI32(out, group == 0 ? 3 : 2);  // group state: 0 is the one being written
        PutI32(out, write_layer);         // write layer
        PutDouble(out, scale);
        PutI32(out, 0);                   // protection
        for (int layer = 0; layer < kJwwLayersPerGroup; ++layer) {
            const bool hidden = named && layer != write_layer && PdfLayerSlotHidden(group, layer);
            PutI32(out, hidden ? 0 : (layer == write_layer ? 3 : 2));
            PutI32(out, 0);
        }
    }
}

// The layer names, then the group names: "Ln" / "Gn" where no PDF layer gives one.
void PutLayerNames(JwwOutput* out, bool named) {
    for (int group = 0; group < kJwwLayerGroups; ++group) {
        for (int layer = 0; layer < kJwwLayersPerGroup; ++layer) {
            const char* name = named ? PdfLayerSlotName(group, layer) : nullptr;
            PutString(out, name != nullptr && name[0] != '\0' ? name : kLayerName);
        }
    }
    for (int group = 0; group < kJwwLayerGroups; ++group) {
        char name[kOptionalGroupNameBytes];
        PutString(out, named && PdfLayerGroupName(group, name, sizeof name) ? name : kGroupName);
    }
}

// Everything from the signature to the SXF block (4504 bytes).
void PutHeader(JwwOutput* out, int page) {
    const PageRecord& record = g_store.pages[page];
    PutBytes(out, kSignature, sizeof kSignature);
    PutI32(out, kJwwVersion);
    PutString(out, kMemo);
    PutI32(out, MatchPaperSize(record.media_box));
    PutI32(out, 0);  // current layer group
    const bool named = PageUsesPdfLayers(page);
    PutLayerGroups(out, static_cast<double>(JwwScaleDenominator(page)), named);
    PutInts(out, 0, 20);
    PutI32(out, -101);       // maximum drawing width
    PutDoubles(out, 0.0, 2); // print origin
    PutDouble(out, 1.0);     // print magnification
    PutInts(out, 0, 2);      // print settings, grid mode
    PutDoubles(out, 10.0, 3);
    PutDoubles(out, 0.0, 2);
    PutLayerNames(out, named);
    PutDoubles(out, 0.0, 2);
    PutI32(out, 0);
    PutDoubles(out, 0.0, 3);
    PutI32(out, 0);
    for (int view = 0; view < 2; ++view) {  // saved view, remembered range
        PutDouble(out, 1.0);
        PutDoubles(out, 0.0, 2);
    }
    for (int jump = 0; jump < 8; ++jump) {
        PutDouble(out, 1.0);
        PutDoubles(out, 0.0, 2);
        PutI32(out, 0);
    }
    for (int i = 0; i < 2; ++i) {
        PutDoubles(out, 0.0, 3);
        PutI32(out, 0);
    }
    PutDoubles(out, 0.0, 11);  // parallel line spacings
    for (const PenPair& pen : kPens) {
        PutI32(out, pen.colour);
        PutI32(out, pen.width);
    }
    for (const PenPair& pen : kPens) {
        PutI32(out, pen.colour);
        PutI32(out, pen.width);
        PutDouble(out, 1.0);
    }
    for (const LineType& type : kLineTypes) {
        PutU32(out, type.pattern);
        PutI32(out, type.dots_per_unit);
        PutI32(out, type.pitch);
        PutI32(out, type.print_pitch);
    }
    for (const RandomLine& line : kRandomLines) {
        PutU32(out, line.pattern);
        for (int32_t value : line.values) PutI32(out, value);
    }
    for (const LineType& type : kDoubleLengthLineTypes) {
        PutU32(out, type.pattern);
        PutI32(out, type.dots_per_unit);
        PutI32(out, type.pitch);
        PutI32(out, type.print_pitch);
    }
    PutInts(out, 0, 16);
    PutDoubles(out, 0.0, 5);
    PutDouble(out, 1.0);
    PutDoubles(out, 0.0, 2);
    PutDouble(out, 1.0);
    PutInts(out, 0, 2);
}

// Kind k takes the k-th non-empty text size class of the histogram: class c holds sizes
// c/10 .. (c+1)/10 points, so the kind is the class's upper bound.
void PutTextKindsAndSettings(JwwOutput* out, double k) {
    int kind = 0;
    for (int size_class = 0; size_class < kTextSizeClasses && kind < kJwwTextKinds; ++size_class) {
        if (g_store.text_size_histogram[size_class] <= 0) continue;
        const double size = (size_class + 1) / 10.0 * k;
        PutDouble(out, size);
        PutDouble(out, size);
        PutDouble(out, 0.0);
        PutI32(out, 1);
        ++kind;
    }
    for (; kind < kJwwTextKinds; ++kind) {
        PutDouble(out, 1.0);
        PutDouble(out, 1.0);
        PutDouble(out, 0.0);
        PutI32(out, 1);
    }
    PutDoubles(out, 10.0, 3);  // current text size x, y, spacing
    PutI32(out, 1);            // current text colour
    PutI32(out, 1);            // current text kind
    PutDoubles(out, 10.0, 2);  // text arrangement line spacing, count
    PutI32(out, 0);            // base point shift in use
    PutDoubles(out, 0.0, 6);
}

void PutCount(JwwOutput* out, uint32_t count) {
    if (count < kBigCount) {
        PutU16(out, static_cast<uint16_t>(count));
    } else {
        PutU16(out, static_cast<uint16_t>(kBigCount));
        PutU32(out, count);
    }
}

// MFC's archive map: index 0 is the null object, then every class and every object in the
// order they are stored. A class's first object declares it; later ones refer to its index.
struct ClassTagger {
    uint32_t next_index = 1;
    uint32_t line_class = 0;
    uint32_t text_class = 0;
    uint32_t arc_class = 0;
    uint32_t solid_class = 0;
};

void PutClassTag(JwwOutput* out, ClassTagger* tagger, uint32_t* class_index, const char* name) {
    if (*class_index == 0) {
        const size_t length = std::strlen(name);
        PutU16(out, kNewClassTag);
        PutU16(out, kJwwClassSchema);
        PutU16(out, static_cast<uint16_t>(length));
        PutBytes(out, name, length);
        *class_index = tagger->next_index++;
    } else if (*class_index < kBigTag) {
        PutU16(out, static_cast<uint16_t>(kClassTagBit | *class_index));
    } else {
        PutU16(out, kBigTag);
        PutU32(out, kBigClassTagBit | *class_index);
    }
    ++tagger->next_index;  // the object itself
}

template <typename Record>
void PutAttributes(JwwOutput* out, const Record& record) {
    PutI32(out, record.group_number);
    PutU8(out, record.pen_style);
    PutI16(out, record.pen_colour);
    PutI16(out, record.pen_width);
    PutI16(out, record.layer);
    PutI16(out, record.layer_group);
    PutI16(out, record.flags);
}

void PutPoint(JwwOutput* out, const JwwTransform& t, double x, double y) {
    PutDouble(out, (x - t.origin_x) * t.k);
    PutDouble(out, (y + t.origin_y) * t.k);
}


void PutTextString(JwwOutput* out, const TextRecord& text) {
    const int64_t used = g_store.conversion.pool_used < kTextPoolBytes ? g_store.conversion.pool_used : kTextPoolBytes;
    const int64_t offset = text.string_offset;
    const int64_t length = text.string_length;
    if (offset < 0 || length < 0 || offset + length > used) {
        PutShortString(out, "", 0);  // a record that points outside the pool has no readable text
        return;
    }
    PutShortString(out, g_store.text_pool + offset, static_cast<size_t>(length));
}

// Centre and radius in the writer's millimetres; the frame is not mirrored, so the angles stay.
void PutArc(JwwOutput* out, ClassTagger* tagger, const JwwTransform& t, const ArcRecord& arc) {
    PutClassTag(out, tagger, &tagger->arc_class, kArcClass);
    PutAttributes(out, arc);
    PutPoint(out, t, arc.centre_x, arc.centre_y);
    PutDouble(out, arc.radius * t.k);
    PutDouble(out, arc.start_angle);
    PutDouble(out, arc.sweep);
    PutDouble(out, arc.tilt);
    PutDouble(out, arc.flatness);
    PutU32(out, arc.full_circle != 0 ? 1u : 0u);
}

// CDataSolid: the four corners as the ring they were cut as (Jw_cad's own order), then the
// colour word that pen colour 10 calls for.
void PutSolid(JwwOutput* out, ClassTagger* tagger, const JwwTransform& t, const SolidRecord& solid) {
    PutClassTag(out, tagger, &tagger->solid_class, kSolidClass);
    PutAttributes(out, solid);
    for (int i = 0; i < 4; ++i) PutPoint(out, t, solid.x[i], solid.y[i]);
    if (solid.pen_colour == kSolidPenColour) PutU32(out, solid.colour);
}

// Solids painted before line record `line_index` (all that remain when it is the end).
void PutSolidsBefore(JwwOutput* out, ClassTagger* tagger, const JwwTransform& t, int32_t line_index, int32_t* next,
                     int32_t solid_count, bool to_end) {
    while (*next < solid_count && (to_end || g_solids.records[*next].paint_position <= line_index)) {
        PutSolid(out, tagger, t, g_solids.records[(*next)++]);
    }
}

int32_t BoundedCount(int32_t count, int32_t capacity) {
    if (count < 0) return 0;
    return count < capacity ? count : capacity;
}

}  // namespace

int32_t JwwScaleDenominator(int page) {
    if (page < 1 || page >= kPageTableSize) return 1;
    const int32_t denominator = g_store.pages[page].scale_denominator;
    return denominator < 1 ? 1 : denominator;
}

JwwTransform JwwPageTransform(int page) {
    if (page < 1 || page >= kPageTableSize) return JwwTransform{0.0, 0.0, kMmPerPoint};
    const PageRecord& record = g_store.pages[page];
    const double denominator = JwwScaleDenominator(page);
    double ratio = record.scale_ratio;
    if (!(std::isfinite(ratio) && ratio > 0.0)) ratio = denominator;  // no usable ratio: the scale alone
    JwwTransform t;
    t.origin_x = (record.media_box[2] - record.media_box[0]) * 0.5;
    t.origin_y = (record.media_box[3] - record.media_box[1]) * 0.5;
    t.k = kMmPerPoint * (ratio / denominator);
    return t;
}

bool SxfBlockIsValid(const uint8_t* data, int32_t length) {
    if (data == nullptr || length <= 0) return false;
    const int64_t end = length;
    int64_t at = 0;
    auto skip = [&](int64_t count) {
        if (at < 0 || count > end - at) {
            at = -1;
            return;
        }
        at += count;
    };
    auto skip_string = [&]() {
        if (at < 0 || at >= end) {
            at = -1;
            return;
        }
        int64_t count = data[at++];
        if (count == 0xFF) {
            if (end - at < 2) {
                at = -1;
                return;
            }
            count = data[at] | (data[at + 1] << 8);
            at += 2;
            if (count >= 0xFFFE) {  // the Unicode and 32-bit forms: readers reject them
                at = -1;
                return;
            }
        }
        skip(count);
    };
    skip(257 * 8);                 // screen colours
    for (int n = 0; n < 257; ++n) {  // printer colours
        skip_string();
        skip(16);
    }
    skip(33 * 16);                 // line type patterns
    for (int n = 0; n < 33; ++n) {   // line type parameters
        skip_string();
        skip(4 + 10 * 8);
    }
    return at == end;
}

namespace {

int32_t StoredLineCount() {
    return g_store.lines != nullptr ? BoundedCount(g_store.conversion.line_count, kLineCapacity) : 0;
}

int32_t StoredTextCount() {
    return g_store.texts != nullptr ? BoundedCount(g_store.conversion.text_count, kTextCapacity) : 0;
}

}  // namespace

int32_t JwwWrittenLineCount() {
    int32_t count = 0;
    for (int32_t i = 0, n = StoredLineCount(); i < n; ++i) count += g_store.lines[i].page_number >= 0 ? 1 : 0;
    return count;
}

int32_t JwwWrittenTextCount() {
    int32_t count = 0;
    for (int32_t i = 0, n = StoredTextCount(); i < n; ++i) count += g_store.texts[i].duplicate_mark == 0 ? 1 : 0;
    return count;
}

bool WriteJww(std::FILE* file, int page) {
    if (file == nullptr || page < 1 || page >= kPageTableSize) return false;
    if (g_settings.sxf_length < 0 || g_settings.sxf_length > kSxfDataCapacity ||
        !SxfBlockIsValid(g_settings.sxf_data, g_settings.sxf_length)) {
        return false;
    }
    const int32_t line_count = StoredLineCount();
    const int32_t text_count = StoredTextCount();

    // The count must equal the objects that follow, so it is taken from the records themselves.
    uint32_t object_count = static_cast<uint32_t>(JwwWrittenLineCount()) + static_cast<uint32_t>(JwwWrittenTextCount());
    const int32_t arc_count = ReadableArcCount();
    object_count += static_cast<uint32_t>(arc_count);
    const int32_t solid_count = ReadableSolidCount();
    object_count += static_cast<uint32_t>(solid_count);
    int32_t next_solid = 0;

    static JwwOutput out;  // 16 KB: kept off the stack
    BeginJwwOutput(&out, file);
    const JwwTransform t = JwwPageTransform(page);
    PutHeader(&out, page);
    PutBytes(&out, g_settings.sxf_data, static_cast<size_t>(g_settings.sxf_length));
    PutTextKindsAndSettings(&out, t.k);

    PutCount(&out, object_count);
    ClassTagger tagger;
    for (int32_t i = 0; i < line_count; ++i) {
        const LineRecord& line = g_store.lines[i];
        if (solid_count > 0) PutSolidsBefore(&out, &tagger, t, i, &next_solid, solid_count, false);
        if (line.page_number < 0) continue;  // absorbed by dash run merging
        PutClassTag(&out, &tagger, &tagger.line_class, kLineClass);
        PutAttributes(&out, line);
        PutPoint(&out, t, line.x1, line.y1);
        PutPoint(&out, t, line.x2, line.y2);
    }
    for (int32_t i = 0; i < arc_count; ++i) PutArc(&out, &tagger, t, g_arcs.records[i]);
    if (solid_count > 0) PutSolidsBefore(&out, &tagger, t, line_count, &next_solid, solid_count, true);
    for (int32_t i = 0; i < text_count; ++i) {
        const TextRecord& text = g_store.texts[i];
        if (text.duplicate_mark != 0) continue;
        PutClassTag(&out, &tagger, &tagger.text_class, kTextClass);
        PutAttributes(&out, text);
        PutPoint(&out, t, text.x1, text.y1);
        PutPoint(&out, t, text.x2, text.y2);
        PutI32(&out, text.text_kind);
        PutDouble(&out, text.size_x * t.k);
        PutDouble(&out, text.size_y * t.k);
        PutDouble(&out, text.spacing * t.k);
        PutDouble(&out, text.angle);
        const char* font = JwwFontName(text.font_number);
        PutShortString(&out, font, strnlen(font, kFontNameBytes));
        PutTextString(&out, text);
    }
    PutU16(&out, 0);  // the block definition list: empty
    return FinishJwwOutput(&out);
}

// Names are looked up by the whole font number: its low byte would turn 128 and above negative.
const char* JwwFontName(int32_t font_number) {
    if (font_number >= 0 && font_number < kFontCapacity) {
        const char* name = g_store.jww_font_names[font_number];
        if (name[0] != '\0') return name;
    }
    return g_settings.font_default;
}

}  // namespace velmora
