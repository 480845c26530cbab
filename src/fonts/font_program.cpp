#include "fonts/font_program.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "fonts/cff_charset.h"
#include "fonts/font_dictionary.h"
#include "fonts/font_program_bytes.h"
#include "fonts/font_tables.h"
#include "fonts/simple_encoding.h"
#include "fonts/sjis_fallback.h"
#include "fonts/tounicode.h"
#include "fonts/truetype_cmap.h"
#include "pdf/lexical.h"
#include "pdf/page_tree.h"
#include "pdf/reader_bytes.h"
#include "pdf/stream_decoding.h"
#include "store/document_store.h"

namespace velmora {

uint8_t g_font_program_kind[kFontCapacity];
int32_t g_program_decoded_fonts;

void ResetFontPrograms() {
    std::memset(g_font_program_kind, 0, sizeof g_font_program_kind);
    g_program_decoded_fonts = 0;
}

void ClearFontProgram(int k) {
    if (k >= 0 && k < kFontCapacity) g_font_program_kind[k] = kFontProgramNone;
}

namespace {

constexpr int32_t kSymbolicFlag = 4;  // FontDescriptor /Flags bit 3

// A font program's decoded bytes, freed with it.
struct ProgramStream {
    DecodedStream stream{0, nullptr, 0};
    FontProgramKind kind = kFontProgramNone;
    ProgramStream() = default;
    ProgramStream(const ProgramStream&) = delete;
    ProgramStream& operator=(const ProgramStream&) = delete;
    ~ProgramStream() { std::free(stream.data); }
};

// The object a reference entry of the dictionary [start, end] names, or 0.
int32_t ReferencedObject(int32_t start, int32_t end, const char* key) {
    char value[kEntryTextCapacity + 1];
    if (!GetKeyValue(start, end, key, value)) return 0;
    int32_t number = 0, generation = 0;
    char letter = 0;
    if (ReadReference(0, value, &number, &generation, &letter) == -1 || letter != 'R' || !IsObjectNumber(number)) return 0;
    return number;
}

bool NameEquals(const FontValue& value, const char* name) {
    return value.kind == kFontValueName && std::strcmp(value.name, name) == 0;
}

// The descriptor's flags, 0 without them.
int32_t DescriptorFlags(const FontValue& descriptor) {
    FontValue flags;
    if (!FindFontValue(descriptor.start, descriptor.end, "Flags", &flags) || flags.kind != kFontValueOther) return 0;
    return IntegerAt(flags.start);
}

// Decodes the program the descriptor of the font dictionary [start, end] embeds.
bool LoadProgram(int32_t start, int32_t end, int page, FontValue* descriptor, ProgramStream* program) {
    if (!FindFontValue(start, end, "FontDescriptor", descriptor) || descriptor->kind != kFontValueDictionary) return false;
    int32_t object = ReferencedObject(descriptor->start, descriptor->end, "FontFile2");
    FontProgramKind kind = kFontProgramTrueType;
    if (object == 0) {
        object = ReferencedObject(descriptor->start, descriptor->end, "FontFile3");
        int32_t stream_start = 0, stream_end = 0;
        FontValue subtype;
        if (object == 0 || !DictionaryBounds(object, &stream_start, &stream_end) ||
            !FindFontValue(stream_start, stream_end, "Subtype", &subtype)) {
            return false;
        }
        if (NameEquals(subtype, "OpenType")) {
            kind = kFontProgramTrueType;
        } else if (NameEquals(subtype, "Type1C") || NameEquals(subtype, "CIDFontType0C")) {
            kind = kFontProgramCff;
        } else {
            return false;
        }
    }
    if (!DecodeStreamObject(object, page, &program->stream)) return false;
    program->kind = kind;
    return true;
}

uint32_t At(const std::vector<uint32_t>& values, int64_t i) {
    return i >= 0 && i < static_cast<int64_t>(values.size()) ? values[static_cast<size_t>(i)] : 0;
}

// One code of font k as the character u; false when u is none or the code page has no text.
bool RegisterCharacter(int k, int width, int32_t code, uint32_t u) {
    if (u == 0 || IsPrivateOrControl(u)) return false;
    char text[3] = {};
    const int length = width == 1 && u <= 0xFFFF ? OneByteSlotText(static_cast<uint16_t>(u), text) : CodePointToSjis(u, text);
    if (length == 0) return false;
    const auto first_unit = static_cast<uint16_t>(u <= 0xFFFF ? u : 0xD800 + ((u - 0x10000) >> 10));
    RegisterCodeText(k, width, code, text, length, first_unit);
    return true;
}

void NoteDecoded(int k, FontProgramKind kind) {
    g_font_program_kind[k] = kind;
    ++g_program_decoded_fonts;
}

// The glyph of each CID through /CIDToGIDMap: /Identity (and no map) gives the CID itself, a
// stream two bytes a CID; -1 when the map is neither.
struct CidToGlyph {
    bool identity = true;
    DecodedStream stream{0, nullptr, 0};
    CidToGlyph() = default;
    CidToGlyph(const CidToGlyph&) = delete;
    CidToGlyph& operator=(const CidToGlyph&) = delete;
    ~CidToGlyph() { std::free(stream.data); }
    int64_t Cids(int64_t glyphs) const { return identity ? glyphs : stream.length / 2; }
    int64_t Glyph(int64_t cid) const {
        if (identity) return cid;
        return (int64_t{stream.data[2 * cid]} << 8) | stream.data[2 * cid + 1];
    }
};

bool ReadCidToGlyph(int32_t start, int32_t end, int page, CidToGlyph* map) {
    FontValue value;
    if (!FindFontValue(start, end, "CIDToGIDMap", &value) || NameEquals(value, "Identity")) return true;
    map->identity = false;
    const int32_t object = ReferencedObject(start, end, "CIDToGIDMap");
    return object != 0 && DecodeStreamObject(object, page, &map->stream);
}

int32_t RegisterTrueTypeCids(int k, const TrueTypeProgram& font, const CidToGlyph& map) {
    int32_t registered = 0;
    const int64_t cids = std::min<int64_t>(map.Cids(font.glyph_count), kCidMapEntries);
    for (int64_t cid = 1; cid < cids; ++cid) {
        if (RegisterCharacter(k, 2, static_cast<int32_t>(cid), At(font.unicode_by_glyph, map.Glyph(cid)))) ++registered;
    }
    return registered;
}

int32_t RegisterCffCids(int k, const CffProgram& font) {
    int32_t registered = 0;
    for (int32_t g = 1; g < font.glyph_count; ++g) {
        // A CID-keyed program's charset gives each glyph's CID; in a name-keyed one the CID is
        // the glyph id.
        const uint32_t cid = font.cid_keyed ? font.sid_by_glyph[static_cast<size_t>(g)] : static_cast<uint32_t>(g);
        if (cid == 0 || cid >= static_cast<uint32_t>(kCidMapEntries)) continue;
        uint32_t u = 0;
        if (!font.cid_keyed) {
            u = font.unicode_by_glyph[static_cast<size_t>(g)];
        } else if (font.japan1 && cid < static_cast<uint32_t>(AdobeJapan1Cids)) {
            u = AdobeJapan1Unicode[cid];
        }
        if (RegisterCharacter(k, 2, static_cast<int32_t>(cid), u)) ++registered;
    }
    return registered;
}

}  // namespace

bool DecodeCompositeThroughProgram(int k, int32_t start, int32_t end, bool replace) {
    if (k < 0 || k >= kFontCapacity) return false;
    FontValue encoding;
    if (!FindFontValue(start, end, "Encoding", &encoding) ||
        !(NameEquals(encoding, "Identity-H") || NameEquals(encoding, "Identity-V"))) {
        return false;  // only Identity codes are CIDs without a CMap of their own
    }
    FontValue descendants;
    if (!FindFontValue(start, end, "DescendantFonts", &descendants) || descendants.kind != kFontValueArray) return false;
    const int64_t digit = SkipToDigit(descendants.start);
    int32_t font_start = 0, font_end = 0;
    if (digit >= descendants.end || !DictionaryBounds(IntegerAt(digit), &font_start, &font_end)) return false;
    const int page = g_store.fonts[k].page;
    FontValue descriptor;
    ProgramStream program;
    if (!LoadProgram(font_start, font_end, page, &descriptor, &program)) return false;
    if (!replace) StartFontRegistrations();
    int32_t registered = 0;
    if (program.kind == kFontProgramTrueType) {
        TrueTypeProgram font;
        CidToGlyph map;
        if (!ReadTrueTypeProgram(program.stream.data, static_cast<size_t>(program.stream.length), &font) ||
            !ReadCidToGlyph(font_start, font_end, page, &map)) {
            return false;
        }
        registered = RegisterTrueTypeCids(k, font, map);
    } else {
        CffProgram font;
        if (!ReadCffProgram(program.stream.data, static_cast<size_t>(program.stream.length), &font)) return false;
        registered = RegisterCffCids(k, font);
    }
    if (registered == 0) return false;
    g_store.fonts[k].code_length = 2;
    NoteDecoded(k, program.kind);
    return true;
}

bool DecodeSimpleThroughProgram(int k, int32_t start, int32_t end, bool cmap_failed) {
    if (k < 0 || k >= kFontCapacity) return false;
    FontValue encoding;
    if (!cmap_failed && FindFontValue(start, end, "Encoding", &encoding)) return false;
    FontValue descriptor;
    ProgramStream program;
    if (!LoadProgram(start, end, g_store.fonts[k].page, &descriptor, &program)) return false;
    uint32_t unicode[kOneByteCodes] = {};
    if (program.kind == kFontProgramTrueType) {
        // A nonsymbolic font without an encoding reads as StandardEncoding; only a symbolic one
        // takes its codes from its own byte cmap.
        if (!cmap_failed && (DescriptorFlags(descriptor) & kSymbolicFlag) == 0) return false;
        TrueTypeProgram font;
        if (!ReadTrueTypeProgram(program.stream.data, static_cast<size_t>(program.stream.length), &font) ||
            !font.has_byte_cmap) {
            return false;
        }
        for (int c = 0; c < kOneByteCodes; ++c) unicode[c] = At(font.unicode_by_glyph, font.glyph_by_byte[c]);
    } else {
        // The standard encoding would read the codes as the dictionary already does.
        CffProgram font;
        if (!ReadCffProgram(program.stream.data, static_cast<size_t>(program.stream.length), &font) ||
            font.cid_keyed || !font.own_encoding) {
            return false;
        }
        for (int c = 0; c < kOneByteCodes; ++c) {
            if (font.glyph_by_code[c] > 0) unicode[c] = At(font.unicode_by_glyph, font.glyph_by_code[c]);
        }
    }
    int32_t registered = 0;
    for (int c = 0; c < kOneByteCodes; ++c) {
        if (RegisterCharacter(k, 1, c, unicode[c])) ++registered;
    }
    if (registered == 0) return false;
    g_store.fonts[k].code_length = 1;
    NoteDecoded(k, program.kind);
    return true;
}

int32_t ProgramCharacterCount(const uint8_t* data, size_t length) {
    int32_t characters = 0;
    TrueTypeProgram true_type;
    if (ReadTrueTypeProgram(data, length, &true_type)) {
        for (uint32_t u : true_type.unicode_by_glyph) characters += u != 0 ? 1 : 0;
        for (int32_t glyph : true_type.glyph_by_byte) characters += At(true_type.unicode_by_glyph, glyph) != 0 ? 1 : 0;
    }
    CffProgram cff;
    if (ReadCffProgram(data, length, &cff)) {
        for (uint32_t u : cff.unicode_by_glyph) characters += u != 0 ? 1 : 0;
        for (int32_t glyph : cff.glyph_by_code) characters += At(cff.unicode_by_glyph, glyph) != 0 ? 1 : 0;
    }
    return characters;
}

}  // namespace velmora
