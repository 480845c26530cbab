// The strict reader against real Jw_cad files, and against damaged copies of them: a reader that
// passed everything would prove nothing about the files the writer makes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "jww/jww_fixture.h"
#include "jww/jww_writer.h"

namespace velmora {
namespace {

using test_support::JwwFile;
using test_support::ReadJww;

std::string SampleName(int n) {
    char name[32];
    std::snprintf(name, sizeof name, "mini_%02d.jww", n);
    return name;
}

TEST(JwwReaderTest, ReadsEveryRealJwCadFile) {
    VELMORA_SKIP_WITHOUT_REAL_WORLD_DATA();
    size_t lines = 0;
    size_t texts = 0;
    for (int n = 0; n < 15; ++n) {
        const std::vector<uint8_t> bytes = ReadBytes(SamplePath(SampleName(n)));
        ASSERT_FALSE(bytes.empty()) << SampleName(n);
        JwwFile file;
        std::string error;
        ASSERT_TRUE(ReadJww(bytes.data(), bytes.size(), &file, &error)) << SampleName(n) << ": " << error;
        EXPECT_EQ(file.object_count, file.tags.size()) << SampleName(n);
        EXPECT_EQ(file.object_count, file.lines.size() + file.texts.size() + file.arcs + file.points + file.solids);
        EXPECT_GT(file.lines.size(), 0u) << SampleName(n);
        EXPECT_TRUE(SxfBlockIsValid(bytes.data() + file.sxf_offset, static_cast<int32_t>(file.sxf_length)));
        EXPECT_FALSE(test_support::CheckWriterLayout(file, nullptr)) << "Jw_cad names its layers";
        lines += file.lines.size();
        texts += file.texts.size();
    }
    EXPECT_EQ(lines, 20556u);
    EXPECT_EQ(texts, 1313u);
}

TEST(JwwReaderTest, Mini13HoldsEveryKindOfObjectJwCadWrites) {
    VELMORA_SKIP_WITHOUT_REAL_WORLD_DATA();
    JwwFile file;
    std::string error;
    ASSERT_TRUE(test_support::ReadJwwFile(SamplePath("mini_13.jww"), &file, &error)) << error;
    EXPECT_EQ(file.sxf_offset, 4347u);
    EXPECT_EQ(file.sxf_length, 10133u);
    EXPECT_EQ(file.object_count, 1754u);
    EXPECT_EQ(file.lines.size(), 1394u);
    EXPECT_EQ(file.arcs, 215u);
    EXPECT_EQ(file.solids, 79u);
    EXPECT_EQ(file.texts.size(), 56u);
    EXPECT_EQ(file.points, 10u);
    EXPECT_EQ(file.groups[0].scale, 100.0);
    EXPECT_EQ(file.text_kinds[0].size_x, 2.0);
    EXPECT_EQ(file.text_kinds[9].size_x, 10.0);
}

struct Damage {
    const char* what;
    void (*apply)(std::vector<uint8_t>& bytes, const JwwFile& file);
};

TEST(JwwReaderTest, RejectsDamagedCopies) {
    VELMORA_SKIP_WITHOUT_REAL_WORLD_DATA();
    const std::vector<uint8_t> original = ReadBytes(SamplePath("mini_09.jww"));
    JwwFile parsed;
    std::string error;
    ASSERT_TRUE(ReadJww(original.data(), original.size(), &parsed, &error)) << error;

    const Damage damages[] = {
        {"a byte after the final word", [](std::vector<uint8_t>& b, const JwwFile&) { b.push_back(0); }},
        {"the final word missing", [](std::vector<uint8_t>& b, const JwwFile&) { b.resize(b.size() - 2); }},
        {"a block definition count", [](std::vector<uint8_t>& b, const JwwFile&) { b.back() = 1; }},
        {"the last object cut short", [](std::vector<uint8_t>& b, const JwwFile&) { b.erase(b.end() - 4, b.end() - 2); }},
        {"the SXF block one byte longer",
         [](std::vector<uint8_t>& b, const JwwFile& f) { b.insert(b.begin() + f.sxf_offset + 100, 0); }},
        {"the SXF block one byte shorter",
         [](std::vector<uint8_t>& b, const JwwFile& f) { b.erase(b.begin() + f.sxf_offset + 100); }},
        {"a second SXF block",
         [](std::vector<uint8_t>& b, const JwwFile& f) {
             std::vector<uint8_t> block(b.begin() + f.sxf_offset, b.begin() + f.sxf_offset + f.sxf_length);
             b.insert(b.begin() + f.sxf_offset, block.begin(), block.end());
         }},
        {"no SXF block",
         [](std::vector<uint8_t>& b, const JwwFile& f) {
             b.erase(b.begin() + f.sxf_offset, b.begin() + f.sxf_offset + f.sxf_length);
         }},
        {"an object count one too high",
         [](std::vector<uint8_t>& b, const JwwFile& f) { ++b[f.object_list_offset]; }},
        {"an object count one too low",
         [](std::vector<uint8_t>& b, const JwwFile& f) { --b[f.object_list_offset]; }},
        {"a class schema other than 600",
         [](std::vector<uint8_t>& b, const JwwFile& f) { b[f.object_list_offset + 4] = 0x57; }},
        {"a tag of an undeclared class",
         [](std::vector<uint8_t>& b, const JwwFile& f) {
             // the second object's tag: count, declaration (2+2+2+8), first line (15 + 32)
             b[f.object_list_offset + 2 + 14 + 47] = 0x05;
         }},
        {"the version", [](std::vector<uint8_t>& b, const JwwFile&) { b[8] = 0x59; }},
        {"the signature", [](std::vector<uint8_t>& b, const JwwFile&) { b[0] = 'j'; }},
        {"a Unicode memo",
         [](std::vector<uint8_t>& b, const JwwFile&) {
             const uint8_t unicode[] = {0xFF, 0xFE, 0xFF};
             b.insert(b.begin() + 12, unicode, unicode + 3);
         }},
        {"only the header", [](std::vector<uint8_t>& b, const JwwFile&) { b.resize(3000); }},
        {"nothing", [](std::vector<uint8_t>& b, const JwwFile&) { b.clear(); }},
    };
    for (const Damage& damage : damages) {
        std::vector<uint8_t> bytes = original;
        damage.apply(bytes, parsed);
        JwwFile file;
        EXPECT_FALSE(ReadJww(bytes.data(), bytes.size(), &file, &error)) << damage.what;
    }
}

// An absurd 32-bit object count must end in an error, not in a huge reservation.
TEST(JwwReaderTest, AHugeObjectCountIsAnErrorNotAnAllocation) {
    VELMORA_SKIP_WITHOUT_REAL_WORLD_DATA();
    std::vector<uint8_t> bytes = ReadBytes(SamplePath("mini_09.jww"));
    JwwFile parsed;
    std::string error;
    ASSERT_TRUE(ReadJww(bytes.data(), bytes.size(), &parsed, &error)) << error;
    std::vector<uint8_t> huge(bytes.begin(), bytes.begin() + parsed.object_list_offset);
    const uint8_t count[] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0, 0};
    huge.insert(huge.end(), count, count + sizeof count);
    JwwFile file;
    EXPECT_FALSE(ReadJww(huge.data(), huge.size(), &file, &error));
    EXPECT_NE(error.find("larger than the file"), std::string::npos) << error;
}

}  // namespace
}  // namespace velmora
