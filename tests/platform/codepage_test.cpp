// The operating-system half of the seam, on whichever system the tests run (Linux or Wine).
#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"

namespace velmora {
namespace {

TEST(CodePageTest, JapaneseAndAsciiBecomeShiftJis) {
    // Narrow literals are compiled to code page 932, so they are the expected bytes.
    EXPECT_EQ(Utf16ToCodePage932(u"平面図 A-1"), "平面図 A-1");
    EXPECT_EQ(Utf16ToCodePage932(u"ソ表"), "\x83\x5c\x95\x5c");  // trail bytes 0x5C survive
    EXPECT_EQ(Utf16ToCodePage932(u""), "");
}

TEST(CodePageTest, CharacterOutsideTheCodePageBecomesQuestionMark) {
    EXPECT_EQ(Utf16ToCodePage932(u"a\u0E01b"), "a?b");  // a Thai letter has no code page 932 code
}

TEST(CodePageTest, ShiftJisToUtf8) {
    EXPECT_EQ(CodePage932ToUtf8("図面 OK"), "\xE5\x9B\xB3\xE9\x9D\xA2 OK");
    EXPECT_EQ(CodePage932ToUtf8(""), "");
}

TEST(ProgramDirectoryTest, EndsWithASeparator) {
    const std::string directory = ProgramDirectory();
    ASSERT_FALSE(directory.empty());
    EXPECT_TRUE(directory.back() == '/' || directory.back() == '\\') << directory;
}

}  // namespace
}  // namespace velmora
