// The generated fallback table and the conversion of single UTF-16 units to Shift-JIS.
#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "fonts/sjis_fallback.h"
#include "platform/platform.h"

namespace velmora {
namespace {

std::string Fallback(uint16_t u) {
    char out[3] = {'?', '\0', '\0'};
    return SjisFallback(u, out) == 2 ? std::string(out, 2) : std::string();
}

TEST(SjisFallbackTable, HoldsTheChosenLookAlikes) {
    const std::pair<uint16_t, const char*> examples[] = {
        {0x2F00, "一"}, {0x2F08, "人"}, {0x2E82, "つ"}, {0x2F01, "｜"}, {0xF901, "更"}, {0xF902, "車"},
        {0xF900, "豆"}, {0xF907, "亀"}, {0xFE13, "："}, {0xFE14, "；"}, {0xFE15, "！"}, {0xFE16, "？"},
    };
    for (const auto& [u, text] : examples) EXPECT_EQ(Fallback(u), text) << std::hex << u;
    for (uint16_t u = 0x2000; u <= 0x200F; ++u) EXPECT_EQ(Fallback(u), "　") << std::hex << u;
}

TEST(SjisFallbackTable, CoversExactlyItsFourRanges) {
    for (uint16_t u : {0x1FFF, 0x2010, 0x2E7F, 0x2FE0, 0x0E01, 0xF8FF, 0xFA70, 0xFE12, 0xFE17}) {
        char out[3] = {'?', '\0', '\0'};
        EXPECT_EQ(SjisFallback(u, out), 1) << std::hex << u;
        EXPECT_EQ(out[0], '?');
    }
    int total = 0;
    for (const SjisFallbackRange& range : kSjisFallbackRanges) total += range.count;
    EXPECT_EQ(total, kSjisFallbackEntries);
}

TEST(SjisFallbackTable, EveryEntryIsOneDoubleByteCharacterOfTheCodePage) {
    for (int i = 0; i < kSjisFallbackEntries; ++i) {
        const std::string entry = SjisFallbackTable[i];
        ASSERT_EQ(entry.size(), 2u) << i;
        const auto lead = static_cast<uint8_t>(entry[0]);
        const auto trail = static_cast<uint8_t>(entry[1]);
        EXPECT_TRUE((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC)) << i;
        EXPECT_TRUE(trail >= 0x40 && trail <= 0xFC && trail != 0x7F) << i;
        // Decodes to one character the code page knows (three UTF-8 bytes, no "?").
        const std::string utf8 = CodePage932ToUtf8(entry);
        EXPECT_EQ(utf8.size(), 3u) << i;
        EXPECT_EQ(utf8.find('?'), std::string::npos) << i;
    }
}

TEST(UnicodeToSjis, UsesTheCodePageThenTheTable) {
    char out[3];
    EXPECT_EQ(UnicodeToSjis(0x0041, out), 1);
    EXPECT_STREQ(out, "A");
    EXPECT_EQ(UnicodeToSjis(0x4E9C, out), 2);
    EXPECT_STREQ(out, "亜");
    EXPECT_EQ(UnicodeToSjis(0x3042, out), 2);
    EXPECT_STREQ(out, "あ");
    EXPECT_EQ(UnicodeToSjis(0x0E01, out), 1);  // Thai: neither the code page nor the table
    EXPECT_STREQ(out, "?");
    EXPECT_EQ(UnicodeToSjis(0x2F08, out), 2);
    EXPECT_STREQ(out, "人");
    EXPECT_EQ(UnicodeToSjis(0xD800, out), 1);  // a lone surrogate
    EXPECT_STREQ(out, "?");
}

}  // namespace
}  // namespace velmora
