#include "fonts/sjis_fallback.h"

#include <cstring>
#include <string>

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
        const std::string converted = Utf16ToCodePage932(std::u16string(1, static_cast<char16_t>(u)));
        char text[3] = {};
        // Code page 932 gives one or two bytes; anything longer would not fit the tables.
        for (size_t k = 0; k < converted.size() && k < 2; ++k) text[k] = converted[k];
        if (text[0] == '?') SjisFallback(u, text);
        std::memcpy(g_cache.text[u], text, sizeof text);
        g_cache.known[u] = true;
    }
    std::memcpy(out, g_cache.text[u], 3);
    return static_cast<int>(std::strlen(out));
}

}  // namespace velmora
