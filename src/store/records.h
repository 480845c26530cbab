// The record kinds every subsystem shares. Field order is part of the contract: the JWW writer,
// the report and the tools read these fields in this order.
#pragma once

#include <cstdint>

#include "store/capacities.h"

namespace velmora {

// Points to millimetres for every record coordinate written or measured (the JWW writer, scale,
// layer and dash tools). Jw_cad users expect this exact value, not 25.4 / 72.
inline constexpr double kMmPerPoint = 0.352777;

// One straight segment of the drawing; the first seven fields are the JWW attribute header.
struct LineRecord {
    int32_t group_number;   // 0 for plain segments, the figure number for curve pieces / rect sides
    uint8_t pen_style;      // 1 solid, 3 dashed, 5 dash-dot
    int16_t pen_colour;     // pen number
    int16_t pen_width;      // always 0
    int16_t layer;          // 0..15
    int16_t layer_group;    // 0..15
    int16_t flags;          // always 0
    double x1, y1;          // start, page frame, points
    double x2, y2;          // end
    double length;          // millimetres at the page's scale, kept by the tools
    int32_t width_class;    // line width x 10, truncated toward zero
    int32_t reserved;       // always 0
    int32_t page_number;    // 1-based; negative once absorbed by dash run merging
    int32_t pdf_layer;      // optional content group drawn in; 0: drawn outside every PDF layer
};

// One shown string; same seven-field header as LineRecord.
// Jw_cad's vertical text (縦字): the glyphs stand upright, one under another, from the start
// down to the end; such a text is written at -90 degrees.
inline constexpr int16_t kTextFlagVertical = 0x0020;

struct TextRecord {
    int32_t group_number;   // always 0
    uint8_t pen_style;      // always 1
    int16_t pen_colour;     // the FontColor setting at creation
    int16_t pen_width;      // always 0
    int16_t layer;          // 0 at creation
    int16_t layer_group;    // 8 at creation
    int16_t flags;          // 0, or kTextFlagVertical
    double x1, y1;          // base line start, page frame (a vertical text: its top left corner)
    double x2, y2;          // base line end (a vertical text: its foot)
    int32_t text_kind;      // always 1
    double size_x;          // points
    double size_y;          // points
    double spacing;         // 0.0
    double angle;           // degrees
    int32_t font_number;    // FontDef index
    int32_t string_offset;  // into the TextPool
    int32_t string_length;  // bytes, without the NUL
    int32_t page_number;    // 1-based
    uint8_t duplicate_mark; // 1 = repeats an earlier text, not written
    int32_t pdf_layer;      // optional content group drawn in; 0: drawn outside every PDF layer
};

// Per-page facts; index = page number (1..1023).
struct PageRecord {
    int32_t page_object;
    int32_t contents_count;
    int32_t contents_objects[kContentsPerPage];
    double media_box[4];                 // visible box moved to 0 0: x0, y0, x1, y1 (x1/y1 swapped for /Rotate 90)
    double frame_origin[2];              // user-space lower-left corner of the visible box
    int32_t crop_hides;                  // 1: a CropBox hides part of the MediaBox
    double rotation;                     // degrees
    char font_resource_names[kFontSlotsPerPage][kFontResourceNameBytes];
    int32_t font_numbers[kFontSlotsPerPage];
    int32_t font_objects[kFontSlotsPerPage];
    int32_t font_count;
    int32_t line_count;
    int32_t text_count;
    int32_t nonempty_text_count;
    int32_t paper_size_index;            // 0..11
    double first_pick_x, first_pick_y;
    double second_pick_x, second_pick_y;
    double entered_distance;             // millimetres
    int32_t scale_denominator;           // 1 = no scale set
    double scale_ratio;
    int32_t operator_counters[kOperatorCounterCount];
    int32_t undecoded_text_count;        // texts written as placeholders: no code decoded
};

// Order of the per-page operator counters.
enum OperatorCounter {
    kOpq, kOpQ, kOpcm, kOpm, kOpl, kOpd, kOpc, kOpv, kOpS, kOpn, kOpW, kOpw, kOprg, kOpre,
    kOpBT, kOpf, kOpF, kOpfStar, kOph, kOpg, kOpgs, kOpi, kOpDo, kOpG, kOpj, kOpJ, kOpOther
};
static_assert(kOpOther + 1 == kOperatorCounterCount, "27 operator counters");

// Decoded stream data owned by the entry while length > 0.
struct DecodedStream {
    int32_t page_number;
    uint8_t* data;
    int32_t length;
};

// One object number's place in the FileBuffer.
struct ObjectEntry {
    int32_t stream_object;  // containing object stream (type 2), -1 other xref-stream entries, 0 classic
    int32_t offset;         // position in FileBuffer
    int32_t generation;     // generation, or index within the object stream
    int32_t extent;         // bytes to the next higher offset of the section
    char type;              // 'n' in use, 'f' free
    int32_t kind;           // category code
    char label[kObjectLabelBytes];
};

// How the text showing turns a font's codes into text (FontDef::conversion_type).
enum ConversionType : uint8_t {
    kConversionNone = 0,
    kConversionToUnicode = 1,
    kConversionDifferences = 2,   // the font's one-byte table, built from its encoding and Differences
    kConversionCidFontType2 = 3,
    kConversionWinAnsi = 4,
    kConversionUnicodeCMap = 5,   // Type0 with a predefined UCS-2 / UTF-16 CMap: the code is Unicode
    kConversionAdobeJapan1 = 6,   // Type0 Identity-H/V over Adobe-Japan1: the code is the CID
    kConversionJapan1CMap = 7,    // Type0 with a predefined JIS, EUC or Shift-JIS CMap of Adobe-Japan1
};

// One font dictionary of the document.
struct FontDef {
    int32_t font_object;                     // 0 for a dictionary written in place
    int32_t direct_start;                    // that dictionary's position in FileBuffer
    int32_t tounicode_object;
    char resource_name[kFontFieldBytes];
    char subtype[kFontFieldBytes];
    int32_t code_length;                     // 1 or 2; 0 without a CMap
    uint8_t conversion_type;                 // ConversionType
    uint8_t japan1_cmap;                     // kConversionJapan1CMap: 1 + its row of Japan1CMaps
    uint8_t vertical;                        // 1: a Type0 font whose CMap writes vertically
    char one_byte_codes[kOneByteCodes][3];   // Shift-JIS text per one-byte code
    int32_t page;
    int32_t one_byte_code_count;
};

// Document-wide two-byte code map entry.
struct CidMapEntry {
    char text[3];          // up to 2 Shift-JIS bytes and a terminator
    uint8_t owner_font;    // low 8 bits of the registering FontDef number
    uint8_t duplicate;     // 1 when another font maps the code to a different text
};

struct DuplicateEntry {
    char text[4];
    int32_t code;
    int32_t font_number;
};

}  // namespace velmora
