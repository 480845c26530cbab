#include "fonts/truetype_post.h"

#include <algorithm>
#include <cstring>

#include "fonts/simple_encoding.h"

namespace velmora {

const char* const MacGlyphNames[kMacGlyphNames] = {
    ".notdef", ".null", "nonmarkingreturn", "space", "exclam", "quotedbl", "numbersign", "dollar", "percent",
    "ampersand", "quotesingle", "parenleft", "parenright", "asterisk", "plus", "comma", "hyphen", "period", "slash",
    "zero", "one", "two", "three", "four", "five", "six", "seven", "eight", "nine", "colon", "semicolon", "less",
    "equal", "greater", "question", "at", "A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M", "N", "O",
    "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z", "bracketleft", "backslash", "bracketright", "asciicircum",
    "underscore", "grave", "a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l", "m", "n", "o", "p", "q", "r",
    "s", "t", "u", "v", "w", "x", "y", "z", "braceleft", "bar", "braceright", "asciitilde", "Adieresis", "Aring",
    "Ccedilla", "Eacute", "Ntilde", "Odieresis", "Udieresis", "aacute", "agrave", "acircumflex", "adieresis",
    "atilde", "aring", "ccedilla", "eacute", "egrave", "ecircumflex", "edieresis", "iacute", "igrave", "icircumflex",
    "idieresis", "ntilde", "oacute", "ograve", "ocircumflex", "odieresis", "otilde", "uacute", "ugrave",
    "ucircumflex", "udieresis", "dagger", "degree", "cent", "sterling", "section", "bullet", "paragraph",
    "germandbls", "registered", "copyright", "trademark", "acute", "dieresis", "notequal", "AE", "Oslash",
    "infinity", "plusminus", "lessequal", "greaterequal", "yen", "mu", "partialdiff", "summation", "product", "pi",
    "integral", "ordfeminine", "ordmasculine", "Omega", "ae", "oslash", "questiondown", "exclamdown", "logicalnot",
    "radical", "florin", "approxequal", "Delta", "guillemotleft", "guillemotright", "ellipsis", "nonbreakingspace",
    "Agrave", "Atilde", "Otilde", "OE", "oe", "endash", "emdash", "quotedblleft", "quotedblright", "quoteleft",
    "quoteright", "divide", "lozenge", "ydieresis", "Ydieresis", "fraction", "currency", "guilsinglleft",
    "guilsinglright", "fi", "fl", "daggerdbl", "periodcentered", "quotesinglbase", "quotedblbase", "perthousand",
    "Acircumflex", "Ecircumflex", "Aacute", "Edieresis", "Egrave", "Iacute", "Icircumflex", "Idieresis", "Igrave",
    "Oacute", "Ocircumflex", "apple", "Ograve", "Uacute", "Ucircumflex", "Ugrave", "dotlessi", "circumflex", "tilde",
    "macron", "breve", "dotaccent", "ring", "cedilla", "hungarumlaut", "ogonek", "caron", "Lslash", "lslash",
    "Scaron", "scaron", "Zcaron", "zcaron", "brokenbar", "Eth", "eth", "Yacute", "yacute", "Thorn", "thorn", "minus",
    "multiply", "onesuperior", "twosuperior", "threesuperior", "onehalf", "onequarter", "threequarters", "franc",
    "Gbreve", "gbreve", "Idotaccent", "Scedilla", "scedilla", "Cacute", "cacute", "Ccaron", "ccaron", "dcroat",
};

namespace {

constexpr uint32_t kPostFormat1 = 0x00010000;
constexpr uint32_t kPostFormat2 = 0x00020000;
constexpr uint64_t kPostHeaderBytes = 32;
constexpr size_t kNameBytes = 64;  // longer names are cut; no glyph list name comes near it

// The name's Unicode value, never a private-use or control character.
uint32_t NameUnicode(const char* name) {
    if (std::strcmp(name, ".notdef") == 0) return 0;
    const uint32_t u = GlyphNameUnicode(name);
    return IsPrivateOrControl(u) ? 0 : u;
}

}  // namespace

int32_t ReadPostNames(const ProgramBytes& post, std::vector<uint32_t>* unicode_by_glyph) {
    std::vector<uint32_t>& unicode = *unicode_by_glyph;
    const auto glyphs = static_cast<int32_t>(std::min<size_t>(unicode.size(), kProgramGlyphCap));
    const uint32_t format = post.U32(0);
    int32_t named = 0;
    if (format == kPostFormat1) {
        for (int32_t g = 0; g < std::min(glyphs, kMacGlyphNames); ++g) {
            if (unicode[g] != 0) continue;
            unicode[g] = NameUnicode(MacGlyphNames[g]);
            if (unicode[g] != 0) ++named;
        }
        return named;
    }
    if (format != kPostFormat2 || !post.Holds(kPostHeaderBytes, 2)) return 0;
    // The indices come first; a count the table cannot hold is cut to what it holds.
    const uint64_t index_start = kPostHeaderBytes + 2;
    const auto stated = static_cast<int32_t>(post.U16(kPostHeaderBytes));
    const auto held = static_cast<int32_t>((post.length - index_start) / 2);
    const int32_t count = std::min({stated, held, glyphs});
    // The Pascal strings after the indices, each one byte of length and its letters.
    std::vector<std::pair<uint64_t, uint32_t>> strings;
    for (uint64_t p = index_start + uint64_t{static_cast<uint32_t>(stated)} * 2; p < post.length;) {
        const uint32_t size = post.U8(p);
        if (!post.Holds(p + 1, size)) break;
        strings.emplace_back(p + 1, size);
        p += 1 + uint64_t{size};
    }
    char name[kNameBytes];
    for (int32_t g = 0; g < count; ++g) {
        if (unicode[g] != 0) continue;
        const uint32_t index = post.U16(index_start + uint64_t{static_cast<uint32_t>(g)} * 2);
        if (index < static_cast<uint32_t>(kMacGlyphNames)) {
            unicode[g] = NameUnicode(MacGlyphNames[index]);
        } else if (index - kMacGlyphNames < strings.size()) {
            const auto& [start, size] = strings[index - kMacGlyphNames];
            const size_t kept = std::min<size_t>(size, kNameBytes - 1);
            std::memcpy(name, post.data + start, kept);
            name[kept] = '\0';
            unicode[g] = NameUnicode(name);
        }
        if (unicode[g] != 0) ++named;
    }
    return named;
}

}  // namespace velmora
