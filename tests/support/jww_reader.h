// A strict reader of JWW files (data version 600) for the tests: every section is read in order
// at the offset the one before it ends, the SXF block must be exactly one block, the object
// list must be consumed to the last byte and the file must end with the empty block list.
// It reads what Jw_cad itself writes (lines, arcs, points, texts, solids) and rejects the rest.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace velmora::test_support {

struct JwwAttributes {
    uint32_t group_number;
    uint8_t pen_style;
    uint16_t pen_colour;
    uint16_t pen_width;
    uint16_t layer;
    uint16_t layer_group;
    uint16_t flags;
};

struct JwwLine {
    JwwAttributes attributes;
    double x1, y1, x2, y2;
};

struct JwwArc {
    JwwAttributes attributes;
    double centre_x, centre_y, radius, start_angle, sweep, tilt, flatness;
    uint32_t full_circle;
};

struct JwwText {
    JwwAttributes attributes;
    double x1, y1, x2, y2;
    uint32_t kind;
    double size_x, size_y, spacing, angle;
    std::string font;  // Shift-JIS, as stored
    std::string text;
};

struct JwwSolid {
    JwwAttributes attributes;
    double x[4], y[4];   // in file order
    uint32_t colour;     // 0x00BBGGRR when the pen colour is 10, else 0
    size_t lines_before; // CDataSen objects read before it: the painting order
};

// The tag in front of one object: 0xFFFF for a class declaration, 0x8000 | index for a known
// class, or 0x7FFF followed by `big_tag`.
struct JwwObjectTag {
    uint16_t tag;
    uint32_t big_tag;
    std::string class_name;
};

struct JwwLayerGroup {
    uint32_t state;
    uint32_t write_layer;
    double scale;
    uint32_t protection;
    uint32_t layer_state[16];
    uint32_t layer_protection[16];
};

struct JwwTextKind {
    double size_x, size_y, spacing;
    uint32_t colour;
};

struct JwwPen {
    uint32_t colour;
    uint32_t width;
};

struct JwwLineType {
    uint32_t pattern, dots_per_unit, pitch, print_pitch;
};

struct JwwFile {
    uint32_t version;
    std::string memo;
    uint32_t paper_size;
    uint32_t current_group;
    JwwLayerGroup groups[16];
    int32_t maximum_drawing_width;
    std::vector<std::string> layer_names;  // 256, groups 0..15 then layers 0..15
    std::vector<std::string> group_names;  // 16
    JwwPen screen_pens[10];
    JwwPen printer_pens[10];
    double printer_pen_radius[10];
    JwwLineType line_types[8];  // line types 2..9

    // Where each section started (bytes from the file's start).
    size_t layer_names_offset;
    size_t sxf_offset;
    size_t sxf_length;
    size_t text_kinds_offset;
    size_t object_list_offset;

    JwwTextKind text_kinds[10];
    double current_text_size[3];
    uint32_t current_text_colour;
    uint32_t current_text_kind;

    uint32_t object_count;
    bool count_is_32_bit;  // written as 0xFFFF + uint32
    std::vector<JwwObjectTag> tags;
    std::vector<JwwLine> lines;
    std::vector<JwwText> texts;
    size_t arcs, points, solids;
    std::vector<JwwArc> arc_list;  // every CDataEnko in file order
    std::vector<JwwSolid> solid_list;
};

// Reads a whole file. False with a reason naming the offset when anything is out of place.
bool ReadJww(const uint8_t* data, size_t size, JwwFile* file, std::string* error);
bool ReadJwwFile(const std::string& path, JwwFile* file, std::string* error);

// The fixed layout this program writes: memo "pdf", names "Ln"/"Gn", the SXF block at 4504, the
// object list right after the 380 bytes of text settings. PDF layer names in place of "Ln"/"Gn"
// move every later section by their extra bytes. Real Jw_cad files differ here.
bool CheckWriterLayout(const JwwFile& file, std::string* error);

}  // namespace velmora::test_support
