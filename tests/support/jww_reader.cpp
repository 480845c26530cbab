#include "support/jww_reader.h"

#include <cstdio>
#include <cstring>
#include <map>

namespace velmora::test_support {

namespace {

struct Cursor {
    const uint8_t* data;
    size_t size;
    size_t at;
    bool ok;
    std::string error;

    bool Fail(const std::string& reason) {
        if (ok) {
            ok = false;
            error = reason + " at byte " + std::to_string(at);
        }
        return false;
    }
    bool Need(size_t count) {
        if (!ok) return false;
        if (count > size - at) return Fail("file ends inside a field of " + std::to_string(count) + " bytes");
        return true;
    }
    uint64_t Little(size_t count) {
        if (!Need(count)) return 0;
        uint64_t value = 0;
        for (size_t i = 0; i < count; ++i) value |= static_cast<uint64_t>(data[at + i]) << (8 * i);
        at += count;
        return value;
    }
    uint8_t U8() { return static_cast<uint8_t>(Little(1)); }
    uint16_t U16() { return static_cast<uint16_t>(Little(2)); }
    uint32_t U32() { return static_cast<uint32_t>(Little(4)); }
    int32_t I32() { return static_cast<int32_t>(U32()); }
    double Double() {
        const uint64_t bits = Little(8);
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    void Skip(size_t count) {
        if (Need(count)) at += count;
    }
    // MFC's ANSI CString: the length byte, or 0xFF and a uint16; the Unicode form (0xFF 0xFE 0xFF)
    // and the 32-bit form (0xFF 0xFF 0xFF) are what readers reject, so they are errors here.
    std::string String() {
        size_t length = U8();
        if (length == 0xFF) {
            length = U16();
            if (length == 0xFFFE) {
                Fail("Unicode string form");
                return {};
            }
            if (length == 0xFFFF) {
                Fail("32-bit string length");
                return {};
            }
        }
        if (!Need(length)) return {};
        std::string text(reinterpret_cast<const char*>(data + at), length);
        at += length;
        return text;
    }
};

void ReadLayerGroups(Cursor* in, JwwFile* file) {
    for (JwwLayerGroup& group : file->groups) {
        group.state = in->U32();
        group.write_layer = in->U32();
        group.scale = in->Double();
        group.protection = in->U32();
        for (int layer = 0; layer < 16; ++layer) {
            group.layer_state[layer] = in->U32();
            group.layer_protection[layer] = in->U32();
        }
        if (group.state > 3 || group.write_layer > 15) in->Fail("layer group block out of range");
        for (uint32_t state : group.layer_state) {
            if (state > 3) in->Fail("layer state out of range");
        }
        if (!(group.scale > 0)) in->Fail("layer group scale not positive");
    }
}

void ReadHeader(Cursor* in, JwwFile* file) {
    if (!in->Need(8) || std::memcmp(in->data, "JwwData.", 8) != 0) {
        in->Fail("no JwwData. signature");
        return;
    }
    in->at = 8;
    file->version = in->U32();
    if (in->ok && file->version != 600) in->Fail("version " + std::to_string(file->version));
    file->memo = in->String();
    file->paper_size = in->U32();
    file->current_group = in->U32();
    if (in->ok && (file->paper_size > 14 || file->current_group > 15)) in->Fail("paper or current group out of range");
    ReadLayerGroups(in, file);
    in->Skip(20 * 4);
    file->maximum_drawing_width = in->I32();
    in->Skip(2 * 8 + 8 + 2 * 4 + 3 * 8 + 2 * 8);  // print origin and scale, print and grid settings
    file->layer_names_offset = in->at;
    file->layer_names.clear();
    file->group_names.clear();
    for (int i = 0; i < 256 && in->ok; ++i) file->layer_names.push_back(in->String());
    for (int i = 0; i < 16 && in->ok; ++i) file->group_names.push_back(in->String());
    in->Skip(2 * 8 + 4 + 3 * 8 + 4);  // dimension settings
    in->Skip(2 * 24 + 8 * 28 + 2 * 28 + 11 * 8);  // saved views, mark jumps, parallel spacings
    for (JwwPen& pen : file->screen_pens) {
        pen.colour = in->U32();
        pen.width = in->U32();
    }
    for (int i = 0; i < 10; ++i) {
        file->printer_pens[i].colour = in->U32();
        file->printer_pens[i].width = in->U32();
        file->printer_pen_radius[i] = in->Double();
    }
    for (JwwLineType& type : file->line_types) {
        type.pattern = in->U32();
        type.dots_per_unit = in->U32();
        type.pitch = in->U32();
        type.print_pitch = in->U32();
    }
    in->Skip(5 * 20 + 4 * 16);  // random lines, double-length line types
    in->Skip(16 * 4 + 5 * 8 + 4 * 8 + 2 * 4);
}

// The SXF block: screen colours, printer colours, line type patterns, line type parameters.
void ReadSxfBlock(Cursor* in, JwwFile* file) {
    file->sxf_offset = in->at;
    in->Skip(257 * 8);
    for (int n = 0; n < 257 && in->ok; ++n) {
        in->String();
        in->Skip(4 + 4);
        const double radius = in->Double();
        if (in->ok && !(radius >= 0 && radius < 100)) in->Fail("SXF printer colour radius out of range");
    }
    for (int n = 0; n < 33 && in->ok; ++n) {
        in->Skip(4);
        const uint32_t dots = in->U32();
        if (in->ok && dots > 32) in->Fail("SXF line type dots per unit out of range");
        in->Skip(8);
    }
    for (int n = 0; n < 33 && in->ok; ++n) {
        in->String();
        const uint32_t segments = in->U32();
        if (in->ok && segments > 10) in->Fail("SXF line type segment count out of range");
        in->Skip(10 * 8);
    }
    file->sxf_length = in->at - file->sxf_offset;
}

void ReadTextSettings(Cursor* in, JwwFile* file) {
    file->text_kinds_offset = in->at;
    for (JwwTextKind& kind : file->text_kinds) {
        kind.size_x = in->Double();
        kind.size_y = in->Double();
        kind.spacing = in->Double();
        kind.colour = in->U32();
        if (in->ok && (!(kind.size_x > 0 && kind.size_x < 1e6) || kind.colour > 256)) {
            in->Fail("text kind out of range (is the SXF block one block?)");
        }
    }
    for (double& value : file->current_text_size) value = in->Double();
    file->current_text_colour = in->U32();
    file->current_text_kind = in->U32();
    in->Skip(2 * 8 + 4 + 6 * 8);
    if (in->ok && file->current_text_kind > 10) in->Fail("current text kind out of range");
}

JwwAttributes ReadAttributes(Cursor* in) {
    JwwAttributes a;
    a.group_number = in->U32();
    a.pen_style = in->U8();
    a.pen_colour = in->U16();
    a.pen_width = in->U16();
    a.layer = in->U16();
    a.layer_group = in->U16();
    a.flags = in->U16();
    if (in->ok && (a.layer > 15 || a.layer_group > 15)) in->Fail("layer or layer group out of range");
    return a;
}

bool ReadObjectBody(Cursor* in, const std::string& name, JwwFile* file) {
    const JwwAttributes a = ReadAttributes(in);
    if (name == "CDataSen") {
        JwwLine line{a, in->Double(), in->Double(), in->Double(), in->Double()};
        file->lines.push_back(line);
    } else if (name == "CDataMoji") {
        JwwText text;
        text.attributes = a;
        text.x1 = in->Double();
        text.y1 = in->Double();
        text.x2 = in->Double();
        text.y2 = in->Double();
        text.kind = in->U32();
        text.size_x = in->Double();
        text.size_y = in->Double();
        text.spacing = in->Double();
        text.angle = in->Double();
        text.font = in->String();
        text.text = in->String();
        file->texts.push_back(std::move(text));
    } else if (name == "CDataEnko") {
        JwwArc arc;
        arc.attributes = a;
        arc.centre_x = in->Double();
        arc.centre_y = in->Double();
        arc.radius = in->Double();
        arc.start_angle = in->Double();
        arc.sweep = in->Double();
        arc.tilt = in->Double();
        arc.flatness = in->Double();
        arc.full_circle = in->U32();
        if (in->ok && arc.full_circle > 1) in->Fail("full-circle flag out of range");
        file->arc_list.push_back(arc);
        ++file->arcs;
    } else if (name == "CDataTen") {
        in->Skip(2 * 8 + 4);
        if (a.pen_style == 100) in->Skip(4 + 2 * 8);  // a point marker: code, angle, magnification
        ++file->points;
    } else if (name == "CDataSolid") {
        JwwSolid solid{a, {}, {}, 0, file->lines.size()};
        for (int i = 0; i < 4; ++i) {
            solid.x[i] = in->Double();
            solid.y[i] = in->Double();
        }
        if (a.pen_colour == 10) solid.colour = in->U32();  // a solid with its own colour
        file->solid_list.push_back(solid);
        ++file->solids;
    } else {
        return in->Fail("unsupported class " + name);
    }
    return in->ok;
}

// MFC's object list: a count, then per object a class tag and the body. The archive map gives
// index 1 to the first class declared and one index to every class and object after it.
void ReadObjectList(Cursor* in, JwwFile* file) {
    file->object_list_offset = in->at;
    uint32_t count = in->U16();
    file->count_is_32_bit = count == 0xFFFF;
    if (file->count_is_32_bit) {
        count = in->U32();
        if (in->ok && count < 0xFFFF) in->Fail("32-bit object count below 0xFFFF");
    }
    file->object_count = count;
    if (!in->ok) return;
    // Every object takes at least 17 bytes, which bounds what a broken count can reserve.
    const size_t most = (in->size - in->at) / 17;
    if (count > most) {
        in->Fail("object count " + std::to_string(count) + " larger than the file can hold");
        return;
    }
    file->tags.reserve(count);
    std::map<uint32_t, std::string> classes;
    uint32_t next_index = 1;
    for (uint32_t i = 0; i < count && in->ok; ++i) {
        JwwObjectTag tag{in->U16(), 0, {}};
        uint32_t class_index = 0;
        if (tag.tag == 0xFFFF) {
            const uint16_t schema = in->U16();
            const uint16_t length = in->U16();
            if (in->ok && schema != 600) in->Fail("class schema " + std::to_string(schema));
            if (in->ok && (length == 0 || length > 64)) in->Fail("class name length " + std::to_string(length));
            if (!in->Need(length)) break;
            tag.class_name.assign(reinterpret_cast<const char*>(in->data + in->at), length);
            in->at += length;
            for (const auto& [index, name] : classes) {
                if (name == tag.class_name) in->Fail("class " + name + " declared twice");
            }
            class_index = next_index++;
            classes[class_index] = tag.class_name;
        } else {
            if (tag.tag == 0x7FFF) {
                tag.big_tag = in->U32();
                if (in->ok && (tag.big_tag & 0x80000000u) == 0) in->Fail("object reference instead of a class tag");
                class_index = tag.big_tag & 0x7FFFFFFFu;
                if (in->ok && class_index < 0x7FFF) in->Fail("32-bit class tag for a small index");
            } else if ((tag.tag & 0x8000) != 0) {
                class_index = tag.tag & 0x7FFF;
            } else {
                in->Fail("object reference or null tag " + std::to_string(tag.tag));
                break;
            }
            const auto known = classes.find(class_index);
            if (known == classes.end()) {
                in->Fail("tag of an undeclared class index " + std::to_string(class_index));
                break;
            }
            tag.class_name = known->second;
        }
        ++next_index;  // the object
        if (!in->ok) break;
        ReadObjectBody(in, tag.class_name, file);
        file->tags.push_back(std::move(tag));
    }
}

}  // namespace

bool ReadJww(const uint8_t* data, size_t size, JwwFile* file, std::string* error) {
    *file = JwwFile{};
    Cursor in{data, size, 0, true, {}};
    ReadHeader(&in, file);
    ReadSxfBlock(&in, file);
    ReadTextSettings(&in, file);
    ReadObjectList(&in, file);
    const uint16_t blocks = in.U16();
    if (in.ok && blocks != 0) in.Fail("block definitions (" + std::to_string(blocks) + ") are not read");
    if (in.ok && in.at != size) in.Fail(std::to_string(size - in.at) + " bytes after the final word");
    if (!in.ok && error != nullptr) *error = in.error;
    return in.ok;
}

bool ReadJwwFile(const std::string& path, JwwFile* file, std::string* error) {
    std::FILE* stream = std::fopen(path.c_str(), "rb");
    if (stream == nullptr) {
        if (error != nullptr) *error = "cannot open " + path;
        return false;
    }
    std::vector<uint8_t> bytes;
    uint8_t chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, stream)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
    std::fclose(stream);
    return ReadJww(bytes.data(), bytes.size(), file, error);
}

bool CheckWriterLayout(const JwwFile& file, std::string* error) {
    std::string problem;
    if (file.memo != "pdf") problem = "memo is not \"pdf\"";
    // "Ln" / "Gn", or the PDF's layer names: every later section moves by the names' extra bytes.
    long extra = 0;
    for (const std::string& name : file.layer_names) {
        if (name.empty() || name.size() >= 64) problem = "a layer name is empty or too long";
        extra += static_cast<long>(name.size()) - 2;
    }
    for (const std::string& name : file.group_names) {
        if (name.empty() || name.size() >= 64) problem = "a group name is empty or too long";
        extra += static_cast<long>(name.size()) - 2;
    }
    if (file.layer_names_offset != 2548) problem = "layer names at " + std::to_string(file.layer_names_offset);
    if (static_cast<long>(file.sxf_offset) != 4504 + extra) problem = "SXF block at " + std::to_string(file.sxf_offset);
    if (static_cast<long>(file.text_kinds_offset) != 4504 + extra + static_cast<long>(file.sxf_length)) {
        problem = "text kinds not right after the SXF block";
    }
    if (static_cast<long>(file.object_list_offset) != 4884 + extra + static_cast<long>(file.sxf_length)) {
        problem = "object list at " + std::to_string(file.object_list_offset);
    }
    if (problem.empty()) return true;
    if (error != nullptr) *error = problem;
    return false;
}

}  // namespace velmora::test_support
