// The shipped JWsxf.dat is copied into every file: it must be Jw_cad's own block, byte for byte,
// and the writer must refuse anything that is not exactly one block.
#include <gtest/gtest.h>

#include <vector>

#include "jww/jww_fixture.h"
#include "jww/jww_writer.h"

namespace velmora {
namespace {

TEST(SxfDataTest, ShippedFileIsTheBlockOfARealFile) {
    VELMORA_SKIP_WITHOUT_REAL_WORLD_DATA();
    const std::vector<uint8_t> shipped = ReadBytes(ShippedSxfPath());
    const std::vector<uint8_t> real = ReadBytes(SamplePath("mini_13.jww"));
    test_support::JwwFile file;
    std::string error;
    ASSERT_TRUE(test_support::ReadJww(real.data(), real.size(), &file, &error)) << error;
    ASSERT_EQ(file.sxf_length, 10133u);
    ASSERT_EQ(shipped.size(), file.sxf_length);
    EXPECT_TRUE(std::equal(shipped.begin(), shipped.end(), real.begin() + file.sxf_offset));
}

TEST(SxfDataTest, OnlyExactlyOneBlockIsValid) {
    std::vector<uint8_t> block = ReadBytes(ShippedSxfPath());
    ASSERT_EQ(block.size(), 10133u);
    const int32_t size = static_cast<int32_t>(block.size());
    EXPECT_TRUE(SxfBlockIsValid(block.data(), size));
    block.push_back(0);
    EXPECT_FALSE(SxfBlockIsValid(block.data(), size + 1)) << "one byte behind the block";
    EXPECT_FALSE(SxfBlockIsValid(block.data(), size - 1)) << "the last byte missing";
    EXPECT_FALSE(SxfBlockIsValid(block.data(), 0));
    EXPECT_FALSE(SxfBlockIsValid(nullptr, size));

    // Printer colour 1's name "black" lengthened by one: every later field moves by a byte.
    std::vector<uint8_t> longer(block.begin(), block.end() - 1);
    const size_t name = 257 * 8 + 17;  // after part A and printer colour 0 (empty name)
    ASSERT_EQ(longer[name], 5);
    longer[name] = 6;
    EXPECT_FALSE(SxfBlockIsValid(longer.data(), size));
    longer.insert(longer.begin() + name + 1, 'X');
    EXPECT_TRUE(SxfBlockIsValid(longer.data(), size + 1)) << "a longer name in a whole block is fine";

    // The Unicode string form is what readers reject.
    std::vector<uint8_t> unicode(block.begin(), block.end() - 1);
    const uint8_t form[] = {0xFF, 0xFE, 0xFF};
    unicode[name] = 0;
    unicode.insert(unicode.begin() + name, form, form + 3);
    EXPECT_FALSE(SxfBlockIsValid(unicode.data(), static_cast<int32_t>(unicode.size())));
}

}  // namespace
}  // namespace velmora
