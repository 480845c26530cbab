#include "fonts/truetype_cmap.h"

#include <algorithm>

#include "fonts/font_program_bytes.h"
#include "fonts/truetype_post.h"

namespace velmora {

namespace {

constexpr uint32_t kTagCmap = 0x636D6170;  // 'cmap'
constexpr uint32_t kTagPost = 0x706F7374;  // 'post'
constexpr uint32_t kTagMaxp = 0x6D617870;  // 'maxp'
constexpr uint32_t kTagCollection = 0x74746366;  // 'ttcf'
constexpr uint64_t kDirectoryHeader = 12;
constexpr uint64_t kTableRecord = 16;
constexpr uint32_t kMostTables = 512;
// Mappings read from one subtable; a real font has at most a few hundred thousand.
constexpr int64_t kMappingBudget = int64_t{1} << 21;
constexpr uint32_t kLargestCode = 0x10FFFF;
constexpr uint32_t kSymbolBase = 0xF000;

struct Tables {
    ProgramBytes cmap{nullptr, 0};
    ProgramBytes post{nullptr, 0};
    ProgramBytes maxp{nullptr, 0};
};

bool ReadDirectory(const ProgramBytes& font, Tables* tables) {
    uint64_t base = 0;
    if (font.U32(0) == kTagCollection) base = font.U32(12);  // the collection's first font
    const uint32_t version = font.U32(base);
    if (version != 0x00010000 && version != 0x74727565 /* 'true' */ && version != 0x4F54544F /* 'OTTO' */) return false;
    const uint32_t stated = font.U16(base + 4);
    const uint64_t held = font.length > base + kDirectoryHeader ? (font.length - base - kDirectoryHeader) / kTableRecord : 0;
    const auto count = static_cast<uint32_t>(std::min<uint64_t>({stated, held, kMostTables}));
    for (uint32_t i = 0; i < count; ++i) {
        const uint64_t record = base + kDirectoryHeader + uint64_t{i} * kTableRecord;
        const uint32_t tag = font.U32(record);
        const ProgramBytes table = font.Part(font.U32(record + 8), font.U32(record + 12));
        if (tag == kTagCmap) tables->cmap = table;
        if (tag == kTagPost) tables->post = table;
        if (tag == kTagMaxp) tables->maxp = table;
    }
    return true;
}

// Calls `map(code, glyph)` for each code of the subtable at `offset` of the cmap table; the
// subtable is cut to the cmap table, whatever its own length says.
template <typename Map>
void ForEachMapping(const ProgramBytes& cmap, uint64_t offset, Map map) {
    const ProgramBytes s = cmap.Part(offset, cmap.length);
    int64_t budget = kMappingBudget;
    switch (s.U16(0)) {
        case 0:
            for (uint32_t c = 0; c < 256 && s.Holds(6 + c, 1); ++c) map(c, s.U8(6 + c));
            return;
        case 4: {
            const uint64_t segments = s.U16(6) / 2;
            const uint64_t ends = 14, starts = 16 + 2 * segments, deltas = starts + 2 * segments;
            const uint64_t range_offsets = deltas + 2 * segments;
            if (!s.Holds(range_offsets, 2 * segments)) return;
            for (uint64_t i = 0; i < segments; ++i) {
                const uint32_t end = s.U16(ends + 2 * i), start = s.U16(starts + 2 * i);
                const uint32_t delta = s.U16(deltas + 2 * i), range = s.U16(range_offsets + 2 * i);
                for (uint32_t c = start; c <= end && c < 0xFFFF && budget > 0; ++c, --budget) {
                    uint32_t glyph = 0;
                    if (range == 0) {
                        glyph = (c + delta) & 0xFFFF;
                    } else {
                        const uint64_t at = range_offsets + 2 * i + range + 2 * uint64_t{c - start};
                        if (!s.Holds(at, 2)) break;
                        glyph = s.U16(at);
                        if (glyph != 0) glyph = (glyph + delta) & 0xFFFF;
                    }
                    map(c, glyph);
                }
            }
            return;
        }
        case 6: {
            const uint32_t first = s.U16(6), count = s.U16(8);
            for (uint32_t i = 0; i < count && s.Holds(10 + 2 * uint64_t{i}, 2); ++i) map(first + i, s.U16(10 + 2 * uint64_t{i}));
            return;
        }
        case 12: {
            const uint64_t groups = std::min<uint64_t>(s.U32(12), s.length / 12);
            for (uint64_t i = 0; i < groups && s.Holds(16 + 12 * i, 12); ++i) {
                const uint32_t start = s.U32(16 + 12 * i);
                const uint32_t end = std::min(s.U32(20 + 12 * i), kLargestCode);
                const uint32_t glyph = s.U32(24 + 12 * i);
                for (uint32_t c = start; c <= end && budget > 0; ++c, --budget) map(c, glyph + (c - start));
            }
            return;
        }
        default:
            return;
    }
}

// Which subtable says Unicode best, which says bytes: the ranks of (platform, encoding).
int UnicodeRank(uint32_t platform, uint32_t encoding) {
    if (platform == 3 && encoding == 10) return 4;
    if (platform == 3 && encoding == 1) return 3;
    if (platform == 0) return 2;
    return 0;
}
int ByteRank(uint32_t platform, uint32_t encoding) {
    if (platform == 3 && encoding == 0) return 2;
    if (platform == 1 && encoding == 0) return 1;
    return 0;
}

void ReadCmap(const ProgramBytes& cmap, TrueTypeProgram* program) {
    const uint64_t count = std::min<uint64_t>(cmap.U16(2), cmap.length > 4 ? (cmap.length - 4) / 8 : 0);
    uint64_t unicode_offset = 0, byte_offset = 0;
    int unicode_rank = 0, byte_rank = 0;
    bool symbol = false;
    for (uint64_t i = 0; i < count; ++i) {
        const uint32_t platform = cmap.U16(4 + 8 * i), encoding = cmap.U16(6 + 8 * i);
        const uint32_t offset = cmap.U32(8 + 8 * i);
        if (UnicodeRank(platform, encoding) > unicode_rank) {
            unicode_rank = UnicodeRank(platform, encoding);
            unicode_offset = offset;
        }
        if (ByteRank(platform, encoding) > byte_rank) {
            byte_rank = ByteRank(platform, encoding);
            byte_offset = offset;
            symbol = platform == 3;
        }
    }
    std::vector<uint32_t>& unicode = program->unicode_by_glyph;
    if (unicode_rank > 0) {
        program->has_unicode_cmap = true;
        ForEachMapping(cmap, unicode_offset, [&](uint32_t code, uint32_t glyph) {
            // The lowest code of a glyph wins; a glyph shown for several characters is usually
            // the first one's.
            if (glyph == 0 || glyph >= unicode.size() || unicode[glyph] != 0 || IsPrivateOrControl(code)) return;
            unicode[glyph] = code;
        });
    }
    if (byte_rank > 0) {
        program->has_byte_cmap = true;
        int32_t low[256] = {};
        int32_t high[256] = {};
        ForEachMapping(cmap, byte_offset, [&](uint32_t code, uint32_t glyph) {
            if (glyph >= static_cast<uint32_t>(kProgramGlyphCap)) return;
            if (code < 256) low[code] = static_cast<int32_t>(glyph);
            if (symbol && code >= kSymbolBase && code < kSymbolBase + 256) high[code - kSymbolBase] = static_cast<int32_t>(glyph);
        });
        // A symbol font's codes lie at 0xF000 + byte; some put them at the byte itself.
        for (int b = 0; b < 256; ++b) program->glyph_by_byte[b] = high[b] != 0 ? high[b] : low[b];
    }
}

}  // namespace

bool ReadTrueTypeProgram(const uint8_t* data, size_t length, TrueTypeProgram* program) {
    *program = TrueTypeProgram{};
    if (data == nullptr) return false;
    const ProgramBytes font{data, length};
    Tables tables;
    if (!ReadDirectory(font, &tables)) return false;
    const uint32_t glyphs = tables.maxp.U16(4);
    program->glyph_count = glyphs > 0 ? static_cast<int32_t>(glyphs) : kProgramGlyphCap;
    program->unicode_by_glyph.assign(static_cast<size_t>(program->glyph_count), 0);
    ReadCmap(tables.cmap, program);
    program->has_glyph_names = ReadPostNames(tables.post, &program->unicode_by_glyph) > 0;
    return true;
}

}  // namespace velmora
