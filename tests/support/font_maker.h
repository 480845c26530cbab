// Minimal embedded font programs for tests: a TrueType table directory with maxp, cmap
// (formats 4 and 6) and post format 2, and a name-keyed CFF with a charset and an encoding. The
// glyphs have no outlines; the readers under test look at the character maps only.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace velmora::test_support {

inline void PutU8(std::string& s, uint32_t v) { s += static_cast<char>(v & 0xFF); }
inline void PutU16(std::string& s, uint32_t v) {
    PutU8(s, v >> 8);
    PutU8(s, v);
}
inline void PutU32(std::string& s, uint32_t v) {
    PutU16(s, v >> 16);
    PutU16(s, v);
}

// One cmap subtable: its platform, encoding and format-4 segments of single codes
// (code -> glyph), or format 6 when `trimmed`.
struct CmapSubtable {
    uint16_t platform;
    uint16_t encoding;
    std::map<uint32_t, uint16_t> glyph_by_code;
    bool trimmed = false;
};

inline std::string CmapFormat4(const std::map<uint32_t, uint16_t>& glyphs) {
    std::vector<std::pair<uint32_t, uint16_t>> segments(glyphs.begin(), glyphs.end());
    segments.emplace_back(0xFFFF, 0);  // the closing segment
    const auto count = static_cast<uint32_t>(segments.size());
    std::string s;
    PutU16(s, 4);
    PutU16(s, 16 + 8 * count);
    PutU16(s, 0);
    PutU16(s, 2 * count);
    PutU16(s, 0);
    PutU16(s, 0);
    PutU16(s, 0);
    for (const auto& [code, glyph] : segments) PutU16(s, code);
    PutU16(s, 0);
    for (const auto& [code, glyph] : segments) PutU16(s, code);
    for (const auto& [code, glyph] : segments) PutU16(s, (glyph - code) & 0xFFFF);
    for (size_t i = 0; i < segments.size(); ++i) PutU16(s, 0);
    if (segments.size() == 1) s.clear();
    return s;
}

inline std::string CmapFormat6(const std::map<uint32_t, uint16_t>& glyphs) {
    const uint32_t first = glyphs.empty() ? 0 : glyphs.begin()->first;
    const uint32_t last = glyphs.empty() ? 0 : glyphs.rbegin()->first;
    std::string s;
    PutU16(s, 6);
    PutU16(s, 10 + 2 * (last - first + 1));
    PutU16(s, 0);
    PutU16(s, first);
    PutU16(s, last - first + 1);
    for (uint32_t c = first; c <= last; ++c) PutU16(s, glyphs.count(c) ? glyphs.at(c) : 0);
    return s;
}

inline std::string CmapTable(const std::vector<CmapSubtable>& subtables) {
    std::string head, body;
    PutU16(head, 0);
    PutU16(head, static_cast<uint32_t>(subtables.size()));
    const auto base = static_cast<uint32_t>(4 + 8 * subtables.size());
    for (const CmapSubtable& t : subtables) {
        PutU16(head, t.platform);
        PutU16(head, t.encoding);
        PutU32(head, base + static_cast<uint32_t>(body.size()));
        body += t.trimmed ? CmapFormat6(t.glyph_by_code) : CmapFormat4(t.glyph_by_code);
    }
    return head + body;
}

// post format 2 naming glyph g names[g] ("" for .notdef): standard Macintosh names by index,
// others as the table's own strings.
inline std::string PostTable(const std::vector<std::string>& names, const std::map<std::string, int>& mac_index) {
    std::string s;
    PutU32(s, 0x00020000);
    s += std::string(28, '\0');
    PutU16(s, static_cast<uint32_t>(names.size()));
    std::string strings;
    int own = 0;
    for (const std::string& name : names) {
        const auto mac = mac_index.find(name);
        if (name.empty()) {
            PutU16(s, 0);
        } else if (mac != mac_index.end()) {
            PutU16(s, static_cast<uint32_t>(mac->second));
        } else {
            PutU16(s, 258 + static_cast<uint32_t>(own++));
            PutU8(strings, static_cast<uint32_t>(name.size()));
            strings += name;
        }
    }
    return s + strings;
}

inline std::string MaxpTable(uint32_t glyphs) {
    std::string s;
    PutU32(s, 0x00005000);
    PutU16(s, glyphs);
    return s;
}

// The table directory and the tables, by tag in the order given.
inline std::string TrueTypeFont(const std::vector<std::pair<std::string, std::string>>& tables) {
    std::string head, body;
    PutU32(head, 0x00010000);
    PutU16(head, static_cast<uint32_t>(tables.size()));
    PutU16(head, 0);
    PutU16(head, 0);
    PutU16(head, 0);
    const auto base = static_cast<uint32_t>(12 + 16 * tables.size());
    for (const auto& [tag, table] : tables) {
        head += tag;
        PutU32(head, 0);
        PutU32(head, base + static_cast<uint32_t>(body.size()));
        PutU32(head, static_cast<uint32_t>(table.size()));
        body += table;
        while (body.size() % 4 != 0) body += '\0';
    }
    return head + body;
}

// A CFF INDEX of the items (offsets of one byte when they fit, else two).
inline std::string CffIndex(const std::vector<std::string>& items) {
    std::string s;
    PutU16(s, static_cast<uint32_t>(items.size()));
    if (items.empty()) return s;
    size_t total = 1;
    for (const std::string& item : items) total += item.size();
    const uint32_t size = total < 256 ? 1 : 2;
    PutU8(s, size);
    uint32_t offset = 1;
    auto put = [&](uint32_t v) { size == 1 ? PutU8(s, v) : PutU16(s, v); };
    put(offset);
    for (const std::string& item : items) put(offset += static_cast<uint32_t>(item.size()));
    for (const std::string& item : items) s += item;
    return s;
}

// A DICT integer operand in its five-byte form, so the Top DICT's size does not depend on it.
inline std::string CffInteger(int32_t v) {
    std::string s;
    PutU8(s, 29);
    PutU32(s, static_cast<uint32_t>(v));
    return s;
}

// A name-keyed CFF whose glyphs 1.. are named `sids` (standard strings below 391, the String
// INDEX's `strings` from 391) and whose own encoding (format 0) gives glyph i + 1 code codes[i].
inline std::string NameKeyedCff(const std::vector<uint16_t>& sids, const std::vector<std::string>& strings,
                                const std::vector<uint8_t>& codes) {
    const std::string header("\x01\x00\x04\x01", 4);
    const std::string names = CffIndex({"Test"});
    const std::string string_index = CffIndex(strings);
    const std::string global_subrs = CffIndex({});
    std::vector<std::string> char_strings(sids.size() + 1, std::string("\x0e", 1));  // endchar
    const std::string char_string_index = CffIndex(char_strings);
    std::string charset;
    PutU8(charset, 0);
    for (uint16_t sid : sids) PutU16(charset, sid);
    std::string encoding;
    PutU8(encoding, 0);
    PutU8(encoding, static_cast<uint32_t>(codes.size()));
    for (uint8_t code : codes) PutU8(encoding, code);
    // Top DICT: charset (15), Encoding (16), CharStrings (17); its size is fixed by the operand form.
    const size_t top_size = 3 * 6;
    const size_t top_index = 2 + 1 + 2 + top_size;
    const size_t after_top = header.size() + names.size() + top_index + string_index.size() + global_subrs.size();
    const auto charset_at = static_cast<int32_t>(after_top);
    const auto encoding_at = static_cast<int32_t>(after_top + charset.size());
    const auto char_strings_at = static_cast<int32_t>(after_top + charset.size() + encoding.size());
    std::string top = CffInteger(charset_at) + "\x0f" + CffInteger(encoding_at) + "\x10" + CffInteger(char_strings_at) + "\x11";
    return header + names + CffIndex({top}) + string_index + global_subrs + charset + encoding + char_string_index;
}

}  // namespace velmora::test_support
