#include "fonts/cff_charset.h"

#include <algorithm>
#include <cstring>

#include "fonts/font_program_bytes.h"
#include "fonts/simple_encoding.h"

namespace velmora {

namespace {

constexpr int kOperandCapacity = 48;
constexpr int kOperatorCharset = 15;
constexpr int kOperatorEncoding = 16;
constexpr int kOperatorCharStrings = 17;
constexpr int kOperatorRos = 1230;  // 12 30
constexpr uint32_t kIsoAdobeCharset = 0;
constexpr uint32_t kLastIsoAdobeSid = 228;
constexpr uint32_t kStandardEncoding = 0;
constexpr uint32_t kExpertEncoding = 1;
constexpr size_t kNameBytes = 64;

// An INDEX: `count` items whose offsets (of `offset_size` bytes) follow the header; item data
// is counted from `data_base` + 1. `end` is the first byte after it.
struct Index {
    uint32_t count = 0;
    uint32_t offset_size = 0;
    uint64_t offsets = 0;
    uint64_t data_base = 0;
    uint64_t end = 0;
    bool valid = false;
};

uint32_t Offset(const ProgramBytes& cff, uint64_t at, uint32_t size) {
    uint32_t value = 0;
    for (uint32_t b = 0; b < size; ++b) value = (value << 8) | cff.U8(at + b);
    return value;
}

Index ReadIndex(const ProgramBytes& cff, uint64_t at) {
    Index index;
    if (!cff.Holds(at, 2)) return index;
    index.count = cff.U16(at);
    if (index.count == 0) {
        index.end = at + 2;
        index.valid = true;
        return index;
    }
    index.offset_size = cff.U8(at + 2);
    if (index.offset_size < 1 || index.offset_size > 4) return index;
    index.offsets = at + 3;
    const uint64_t table = (uint64_t{index.count} + 1) * index.offset_size;
    if (!cff.Holds(index.offsets, table)) return index;  // a count the data cannot hold
    index.data_base = index.offsets + table - 1;
    index.end = index.data_base + Offset(cff, index.offsets + uint64_t{index.count} * index.offset_size, index.offset_size);
    index.valid = index.end <= cff.length;
    return index;
}

// Item i's bytes, cut to the data; empty when its offsets are out of order.
ProgramBytes Item(const ProgramBytes& cff, const Index& index, uint32_t i) {
    if (!index.valid || i >= index.count) return ProgramBytes{cff.data, 0};
    const uint64_t start = index.data_base + Offset(cff, index.offsets + uint64_t{i} * index.offset_size, index.offset_size);
    const uint64_t end = index.data_base + Offset(cff, index.offsets + uint64_t{i + 1} * index.offset_size, index.offset_size);
    if (end < start) return ProgramBytes{cff.data, 0};
    return cff.Part(start, end - start);
}

// The Top DICT values the charset needs.
struct TopDict {
    uint32_t charset = kIsoAdobeCharset;
    uint32_t encoding = kStandardEncoding;
    uint32_t char_strings = 0;
    bool ros = false;
    uint32_t ordering_sid = 0;
};

void ReadTopDict(const ProgramBytes& dict, TopDict* top) {
    double operands[kOperandCapacity];
    int count = 0;
    for (uint64_t p = 0; p < dict.length;) {
        const uint32_t b0 = dict.U8(p);
        double value = 0;
        if (b0 <= 21) {
            int op = static_cast<int>(b0);
            ++p;
            if (b0 == 12) op = 1200 + static_cast<int>(dict.U8(p++));
            const auto first = static_cast<uint32_t>(count > 0 && operands[0] >= 0 && operands[0] < 4294967295.0 ? operands[0] : 0);
            if (op == kOperatorCharset && count > 0) top->charset = first;
            if (op == kOperatorEncoding && count > 0) top->encoding = first;
            if (op == kOperatorCharStrings && count > 0) top->char_strings = first;
            if (op == kOperatorRos && count >= 2) {
                top->ros = true;
                top->ordering_sid = static_cast<uint32_t>(std::max(operands[1], 0.0));
            }
            count = 0;
            continue;
        }
        if (b0 == 28) {
            value = static_cast<int16_t>(dict.U16(p + 1));
            p += 3;
        } else if (b0 == 29) {
            value = static_cast<int32_t>(dict.U32(p + 1));
            p += 5;
        } else if (b0 == 30) {
            // A real number's nibbles up to the end nibble; its value matters to no key read here.
            ++p;
            while (p < dict.length && (dict.U8(p) & 0x0F) != 0x0F && (dict.U8(p) & 0xF0) != 0xF0) ++p;
            ++p;
        } else if (b0 >= 32 && b0 <= 246) {
            value = static_cast<double>(b0) - 139;
            ++p;
        } else if (b0 >= 247 && b0 <= 250) {
            value = (static_cast<double>(b0) - 247) * 256 + dict.U8(p + 1) + 108;
            p += 2;
        } else if (b0 >= 251 && b0 <= 254) {
            value = -(static_cast<double>(b0) - 251) * 256 - dict.U8(p + 1) - 108;
            p += 2;
        } else {
            ++p;  // reserved
            continue;
        }
        if (count < kOperandCapacity) operands[count++] = value;
    }
}

// The name of a SID: a standard string, else an item of the String INDEX.
void SidName(const ProgramBytes& cff, const Index& strings, uint32_t sid, char* name) {
    name[0] = '\0';
    if (sid < static_cast<uint32_t>(kCffStandardStrings)) {
        std::strncpy(name, CffStandardStrings[sid], kNameBytes - 1);
        name[kNameBytes - 1] = '\0';
        return;
    }
    const ProgramBytes item = Item(cff, strings, sid - kCffStandardStrings);
    const size_t kept = std::min<size_t>(item.length, kNameBytes - 1);
    if (kept > 0) std::memcpy(name, item.data, kept);
    name[kept] = '\0';
}

// Glyph 0 is .notdef; the charset names glyphs 1 onwards.
void ReadCharset(const ProgramBytes& cff, uint32_t offset, CffProgram* program) {
    std::vector<uint32_t>& sids = program->sid_by_glyph;
    const auto glyphs = static_cast<uint32_t>(program->glyph_count);
    if (offset == kIsoAdobeCharset) {
        for (uint32_t g = 1; g < glyphs && g <= kLastIsoAdobeSid; ++g) sids[g] = g;
        return;
    }
    if (offset < 3) return;  // the expert charsets name no glyph the glyph list knows
    const uint32_t format = cff.U8(offset);
    uint64_t p = uint64_t{offset} + 1;
    uint32_t g = 1;
    if (format == 0) {
        for (; g < glyphs && cff.Holds(p, 2); ++g, p += 2) sids[g] = cff.U16(p);
        return;
    }
    if (format != 1 && format != 2) return;
    const uint64_t record = format == 1 ? 3 : 4;
    // Each range names at least one glyph, so the loop ends within the glyph count.
    while (g < glyphs && cff.Holds(p, record)) {
        const uint32_t first = cff.U16(p);
        const uint32_t left = format == 1 ? cff.U8(p + 2) : cff.U16(p + 2);
        for (uint32_t i = 0; i <= left && g < glyphs; ++i, ++g) sids[g] = first + i;
        p += record;
    }
}

void ReadEncoding(const ProgramBytes& cff, uint32_t offset, CffProgram* program) {
    if (offset == kStandardEncoding || offset == kExpertEncoding) return;
    const uint32_t format = cff.U8(offset);
    uint64_t p = uint64_t{offset} + 1;
    const auto glyphs = static_cast<uint32_t>(program->glyph_count);
    if ((format & 0x7F) == 0) {
        const uint32_t codes = cff.U8(p++);
        for (uint32_t i = 0; i < codes && i + 1 < glyphs && cff.Holds(p, 1); ++i, ++p) {
            program->glyph_by_code[cff.U8(p)] = static_cast<int32_t>(i + 1);
        }
    } else if ((format & 0x7F) == 1) {
        const uint32_t ranges = cff.U8(p++);
        uint32_t g = 1;
        for (uint32_t r = 0; r < ranges && cff.Holds(p, 2); ++r, p += 2) {
            const uint32_t first = cff.U8(p), left = cff.U8(p + 1);
            for (uint32_t i = 0; i <= left && first + i < 256 && g < glyphs; ++i, ++g) {
                program->glyph_by_code[first + i] = static_cast<int32_t>(g);
            }
        }
    } else {
        return;
    }
    program->own_encoding = true;
    if ((format & 0x80) == 0) return;
    // Supplements: further codes for glyphs given by SID.
    const uint32_t supplements = cff.U8(p++);
    for (uint32_t s = 0; s < supplements && cff.Holds(p, 3); ++s, p += 3) {
        const uint32_t code = cff.U8(p), sid = cff.U16(p + 1);
        const auto found = std::find(program->sid_by_glyph.begin() + 1, program->sid_by_glyph.end(), sid);
        if (found != program->sid_by_glyph.end()) {
            program->glyph_by_code[code] = static_cast<int32_t>(found - program->sid_by_glyph.begin());
        }
    }
}

}  // namespace

bool ReadCffProgram(const uint8_t* data, size_t length, CffProgram* program) {
    *program = CffProgram{};
    if (data == nullptr) return false;
    const ProgramBytes cff{data, length};
    if (cff.U8(0) != 1 || cff.U8(2) < 4) return false;  // major version 1, header of 4 bytes at least
    const Index names = ReadIndex(cff, cff.U8(2));
    if (!names.valid || names.count == 0) return false;
    const Index top_dicts = ReadIndex(cff, names.end);
    if (!top_dicts.valid || top_dicts.count == 0) return false;
    const Index strings = ReadIndex(cff, top_dicts.end);
    TopDict top;
    ReadTopDict(Item(cff, top_dicts, 0), &top);
    if (top.char_strings == 0) return false;
    const Index char_strings = ReadIndex(cff, top.char_strings);
    if (!char_strings.valid || char_strings.count == 0) return false;
    program->glyph_count = static_cast<int32_t>(std::min<uint32_t>(char_strings.count, kProgramGlyphCap));
    program->sid_by_glyph.assign(static_cast<size_t>(program->glyph_count), 0);
    program->unicode_by_glyph.assign(static_cast<size_t>(program->glyph_count), 0);
    program->cid_keyed = top.ros;
    char name[kNameBytes];
    if (top.ros) {
        SidName(cff, strings, top.ordering_sid, name);
        program->japan1 = std::strcmp(name, "Japan1") == 0;
        // A CID-keyed font's charset gives CIDs and has no predefined form.
        if (top.charset != kIsoAdobeCharset) ReadCharset(cff, top.charset, program);
        return true;
    }
    ReadCharset(cff, top.charset, program);
    ReadEncoding(cff, top.encoding, program);
    for (int32_t g = 1; g < program->glyph_count; ++g) {
        SidName(cff, strings, program->sid_by_glyph[static_cast<size_t>(g)], name);
        const uint32_t u = name[0] != '\0' && std::strcmp(name, ".notdef") != 0 ? GlyphNameUnicode(name) : 0;
        program->unicode_by_glyph[static_cast<size_t>(g)] = IsPrivateOrControl(u) ? 0 : u;
    }
    return true;
}

}  // namespace velmora
