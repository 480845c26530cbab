// The two CString length forms and where a string too long for them is cut.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "jww/jww_bytes.h"
#include "jww/jww_fixture.h"

namespace velmora {
namespace {

// Runs `put` against a temporary stream and returns the bytes it wrote.
template <typename Put>
std::vector<uint8_t> Written(Put put) {
    const std::string path = (std::filesystem::temp_directory_path() / "velmora_jww_bytes.bin").string();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return {};
    static JwwOutput out;
    BeginJwwOutput(&out, file);
    put(&out);
    const bool ok = FinishJwwOutput(&out);
    std::fclose(file);
    std::vector<uint8_t> bytes = ok ? ReadBytes(path) : std::vector<uint8_t>{};
    std::remove(path.c_str());
    EXPECT_EQ(bytes.size(), out.written);
    return bytes;
}

TEST(JwwBytesTest, ShortAndSixteenBitStringForms) {
    const struct {
        size_t length;
        std::vector<uint8_t> prefix;
    } cases[] = {
        {0, {0}}, {3, {3}}, {254, {254}}, {255, {0xFF, 0xFF, 0x00}}, {300, {0xFF, 0x2C, 0x01}},
        {65533, {0xFF, 0xFD, 0xFF}},
    };
    for (const auto& c : cases) {
        const std::string text(c.length, 'a');
        const std::vector<uint8_t> bytes = Written([&](JwwOutput* out) { PutShortString(out, text.data(), text.size()); });
        ASSERT_EQ(bytes.size(), c.prefix.size() + c.length) << c.length;
        EXPECT_TRUE(std::equal(c.prefix.begin(), c.prefix.end(), bytes.begin())) << c.length;
    }
}

TEST(JwwBytesTest, TooLongStringsAreCutAtACharacterBoundary) {
    std::string text(65532, 'a');
    text += "図図";  // the first 図 would straddle the limit
    EXPECT_EQ(JwwStringLength(text.data(), text.size()), 65532u);
    const std::string plain(70000, 'b');
    EXPECT_EQ(JwwStringLength(plain.data(), plain.size()), 65533u);
    const std::vector<uint8_t> bytes = Written([&](JwwOutput* out) { PutShortString(out, plain.data(), plain.size()); });
    EXPECT_EQ(bytes.size(), 3u + 65533u);
    // A string that fits is written byte for byte, lead bytes of any code page included.
    const char winansi[] = "\x93quoted\x94";
    EXPECT_EQ(JwwStringLength(winansi, 8), 8u);
    EXPECT_EQ(JwwStringLength("ab\0cd", 5), 2u) << "never past a NUL";
}

}  // namespace
}  // namespace velmora
