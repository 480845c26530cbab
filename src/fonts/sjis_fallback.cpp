#include "fonts/sjis_fallback.h"

#include <cstring>
#include <string>

#include "fonts/draughtsman_characters.h"
#include "platform/platform.h"

namespace velmora {

namespace {

// A CMap registers up to 65,536 codes per font; each unit is converted by the platform once per
// run, since the code page does not change while the program runs.
struct ConversionCache {
    bool known[65536];
    char text[65536][3];
};
ConversionCache g_cache;

}  // namespace

int32_t g_unmapped_characters;

uint16_t TypedCharacter(uint32_t cp) {
    // Mathematical alphanumeric symbols: thirteen alphabets of 52 letters, then five of ten digits.
    if (cp >= 0x1D400 && cp < 0x1D6A4) {
        const uint32_t i = (cp - 0x1D400) % 52;
        return static_cast<uint16_t>(i < 26 ? 'A' + i : 'a' + (i - 26));
    }
    if (cp >= 0x1D7CE && cp < 0x1D800) return static_cast<uint16_t>('0' + (cp - 0x1D7CE) % 10);
    if (cp > 0xFFFF) return 0;
    int lo = 0, hi = kDraughtsmanCharacterCount - 1;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        const uint16_t u = kDraughtsmanCharacters[mid].unicode;
        if (u == cp) return kDraughtsmanCharacters[mid].typed;
        if (u < cp) lo = mid + 1; else hi = mid - 1;
    }
    return 0;
}

int SjisFallback(uint16_t u, char* out) {
    int index = 0;
    for (const SjisFallbackRange& range : kSjisFallbackRanges) {
        if (u >= range.first && u < range.first + range.count) {
            const char* entry = SjisFallbackTable[index + (u - range.first)];
            out[0] = entry[0];
            out[1] = entry[0] != '\0' ? entry[1] : '\0';
            return 2;
        }
        index += range.count;
    }
    return 1;
}

int UnicodeToSjis(uint16_t u, char out[3]) {
    if (!g_cache.known[u]) {
        // The draughtsman's table comes first, so both code page conversions (glibc's, and
        // Windows' with its own best fit) give the same stand-in.
        const uint16_t typed = TypedCharacter(u);
        const char16_t unit = static_cast<char16_t>(typed != 0 ? typed : u);
        const std::string converted = Utf16ToCodePage932(std::u16string(1, unit));
        char text[3] = {};
        // Code page 932 gives one or two bytes; anything longer would not fit the tables.
        for (size_t k = 0; k < converted.size() && k < 2; ++k) text[k] = converted[k];
        if (text[0] == '?' && u != '?') SjisFallback(u, text);
        std::memcpy(g_cache.text[u], text, sizeof text);
        g_cache.known[u] = true;
    }
    std::memcpy(out, g_cache.text[u], 3);
    if (out[0] == '?' && u != '?') ++g_unmapped_characters;
    return static_cast<int>(std::strlen(out));
}

int CodePointToSjis(uint32_t cp, char out[3]) {
    if (cp <= 0xFFFF) return UnicodeToSjis(static_cast<uint16_t>(cp), out);
    const uint16_t typed = TypedCharacter(cp);
    if (typed != 0) return UnicodeToSjis(typed, out);
    out[0] = '?';
    out[1] = out[2] = '\0';
    ++g_unmapped_characters;
    return 1;
}

}  // namespace velmora
