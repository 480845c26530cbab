// FindKeyword, FindDictionary, FindArray, IsObjectHeader and the character classes.
#include <string>

#include <gtest/gtest.h>

#include "pdf/error_list.h"
#include "pdf/lexical.h"
#include "support/file_buffer_fixture.h"

namespace velmora {
namespace {

using LexicalScan = test_support::FileBufferTest;

TEST(LexicalClasses, ExactlyTheListedBytes) {
    int whitespace = 0;
    int number = 0;
    for (int c = 0; c < 256; ++c) {
        whitespace += IsPdfWhitespace(static_cast<uint8_t>(c)) ? 1 : 0;
        number += IsNumberCharacter(static_cast<uint8_t>(c)) ? 1 : 0;
    }
    EXPECT_EQ(whitespace, 5);
    EXPECT_EQ(number, 13);
    for (char c : std::string("\t\n\f\r ")) EXPECT_TRUE(IsPdfWhitespace(static_cast<uint8_t>(c)));
    for (char c : std::string("+-.0123456789")) EXPECT_TRUE(IsNumberCharacter(static_cast<uint8_t>(c)));
    EXPECT_FALSE(IsPdfWhitespace('\v'));
    EXPECT_FALSE(IsPdfWhitespace(0));
    EXPECT_FALSE(IsNumberCharacter(0));
    EXPECT_FALSE(IsNumberCharacter('e'));
}

TEST_F(LexicalScan, FindKeywordSearchesOneHundredOffsets) {
    Load(std::string(99, ' ') + "stream");
    EXPECT_EQ(FindKeyword(0, "stream"), 99);
    EXPECT_EQ(FindKeyword(95, "stream"), 4);
    EXPECT_EQ(FindKeyword(0, "endstream"), -1);
    ReleaseFileBuffer();

    Load(std::string(100, ' ') + "stream");
    EXPECT_EQ(FindKeyword(0, "stream"), -1);
    EXPECT_EQ(FindKeyword(1, "stream"), 99);
}

TEST_F(LexicalScan, FindKeywordStopsAtDataLength) {
    LoadWithTail("1 0 obj <<>> strea", "m");
    EXPECT_EQ(FindKeyword(0, "strea"), 13);
    EXPECT_EQ(FindKeyword(0, "stream"), -1);
    EXPECT_EQ(FindKeyword(g_file.data_length - 1, "a"), 0);
    EXPECT_EQ(FindKeyword(g_file.data_length, "m"), -1);
}

TEST_F(LexicalScan, FindDictionaryMatchesNestedPairs) {
    Load("<<>>");
    int32_t start = 0, end = 0;
    EXPECT_EQ(FindDictionary(start, end), 0);
    EXPECT_EQ(start, 2);
    EXPECT_EQ(end, 3);
    ReleaseFileBuffer();

    Load("<</A<</B 1>>>>");
    start = 0, end = 0;
    EXPECT_EQ(FindDictionary(start, end), 0);
    EXPECT_EQ(start, 2);
    EXPECT_EQ(end, 13);
    ReleaseFileBuffer();

    // Literal strings are not recognised: their pairs count.
    Load("1 0 obj <</T (a<<b)>> >>");
    start = 0, end = 0;
    EXPECT_EQ(FindDictionary(start, end), 0);
    EXPECT_EQ(start, 10);
    EXPECT_EQ(end, 23);
}

TEST_F(LexicalScan, FindDictionaryWindow) {
    Load(std::string(299, ' ') + "<<>>");
    int32_t start = 0, end = 0;
    EXPECT_EQ(FindDictionary(start, end), 0);
    EXPECT_EQ(start, 301);
    EXPECT_EQ(end, 302);
    ReleaseFileBuffer();

    Load(std::string(300, ' ') + "<<>>");
    start = 0, end = 0;
    EXPECT_EQ(FindDictionary(start, end), kErrorDictionaryNotFound);
    EXPECT_EQ(start, 0);  // no effect on failure
    EXPECT_EQ(end, 0);
    ReleaseFileBuffer();

    // A caller's end bounds where "<<" may begin, not where it closes.
    Load("ab<<>>");
    start = 0, end = 2;
    EXPECT_EQ(FindDictionary(start, end), kErrorDictionaryNotFound);
    start = 0, end = 3;
    EXPECT_EQ(FindDictionary(start, end), 0);
    EXPECT_EQ(end, 5);
}

TEST_F(LexicalScan, FindDictionaryFailsAtDataLength) {
    int32_t start = 0, end = 0;
    Load("");
    EXPECT_EQ(FindDictionary(start, end), kErrorDictionaryNotFound);
    ReleaseFileBuffer();

    LoadWithTail("<</A <</B 1>>", ">>");
    EXPECT_EQ(FindDictionary(start, end), kErrorDictionaryNotFound);
    ReleaseFileBuffer();

    LoadWithTail("x <", "<>>");
    EXPECT_EQ(FindDictionary(start, end), kErrorDictionaryNotFound);
    ReleaseFileBuffer();

    Load("<<");
    EXPECT_EQ(FindDictionary(start, end), kErrorDictionaryNotFound);
    EXPECT_EQ(start, 0);
}

TEST_F(LexicalScan, CloseSearchesShareABudgetPerFile) {
    // An unclosed dictionary makes each search run to the end of the file; repeated over many
    // objects that would be quadratic. Once the budget is spent, no dictionary is found.
    const std::string tail(100000, ' ');
    Load("<<>><<" + tail);
    ClearErrors();
    int32_t start = 0, end = 0;
    ASSERT_EQ(FindDictionary(start, end), 0);
    const int64_t budget = g_file.scan_budget;
    EXPECT_GE(budget, kScanFloor + kScanFactor * static_cast<int64_t>(tail.size()));
    int searches = 0;
    for (; g_file.scan_budget > 0 && searches < 10000; ++searches) {
        start = 4, end = 0;
        EXPECT_EQ(FindDictionary(start, end), kErrorDictionaryNotFound);
    }
    EXPECT_LE(searches, budget / static_cast<int64_t>(tail.size()) + 1);
    start = 0, end = 0;
    EXPECT_EQ(FindDictionary(start, end), kErrorDictionaryNotFound);
    EXPECT_EQ(start, 0);
    // The overrun is reported once, however many searches fail after it.
    ASSERT_EQ(g_errors.count, 1);
    EXPECT_EQ(g_errors.codes[0], kErrorDictionaryNotFound);
    ClearErrors();
    // A new file has a new budget.
    ReleaseFileBuffer();
    Load("<<>>");
    EXPECT_EQ(FindDictionary(start, end), 0);
}

TEST_F(LexicalScan, ArrayCloseSearchesShareTheBudget) {
    const std::string tail(100000, ' ');
    Load("[][" + tail);
    int32_t start = 0, end = 0;
    ASSERT_EQ(FindArray(start, end), 0);
    int searches = 0;
    for (; g_file.scan_budget > 0 && searches < 10000; ++searches) {
        start = 2, end = 0;
        EXPECT_EQ(FindArray(start, end), kErrorDictionaryNotFound);
    }
    EXPECT_LT(searches, 10000);
    start = 0, end = 0;
    EXPECT_EQ(FindArray(start, end), kErrorDictionaryNotFound);
}

TEST_F(LexicalScan, FindArrayEndsAtMatchingBracket) {
    Load("[[1] [2]]");
    int32_t start = 0, end = 0;
    EXPECT_EQ(FindArray(start, end), 0);
    EXPECT_EQ(start, 1);
    EXPECT_EQ(end, 8);
    ReleaseFileBuffer();

    Load("/Kids [[1]] x");
    start = 0, end = 0;
    EXPECT_EQ(FindArray(start, end), 0);
    EXPECT_EQ(start, 7);
    EXPECT_EQ(end, 10);
}

TEST_F(LexicalScan, FindArrayWindowAndBounds) {
    Load(std::string(300, ' ') + "[1]");
    int32_t start = 0, end = 0;
    EXPECT_EQ(FindArray(start, end), kErrorDictionaryNotFound);
    start = 1;
    EXPECT_EQ(FindArray(start, end), 0);
    EXPECT_EQ(start, 301);
    EXPECT_EQ(end, 302);
    ReleaseFileBuffer();

    LoadWithTail("[1 [2]", "]");
    start = 0, end = 0;
    EXPECT_EQ(FindArray(start, end), kErrorDictionaryNotFound);
    ReleaseFileBuffer();

    LoadWithTail("", "[]");
    EXPECT_EQ(FindArray(start, end), kErrorDictionaryNotFound);
}

TEST_F(LexicalScan, ObjectHeaderForms) {
    Load("12 0 obj");
    EXPECT_TRUE(IsObjectHeader(0, -1));
    EXPECT_TRUE(IsObjectHeader(0, 7));  // a different number still passes the form test
    ReleaseFileBuffer();

    Load("12 100 obj");
    EXPECT_TRUE(IsObjectHeader(0, -1));
    ReleaseFileBuffer();

    Load("\n5 0 obj");
    EXPECT_TRUE(IsObjectHeader(0, -1));
    ReleaseFileBuffer();

    // Appended objects carry "number offset".
    Load("12 345 ");
    EXPECT_TRUE(IsObjectHeader(0, 12));
    EXPECT_FALSE(IsObjectHeader(0, -1));
    EXPECT_FALSE(IsObjectHeader(0, 13));
}

TEST_F(LexicalScan, ObjectHeaderPartsAreSoughtWithinAWindow) {
    // Entries may point at long runs without a space or of white space; each header check looks
    // only a window ahead, so many such entries cannot make the load quadratic.
    Load(std::string(kOpenerWindow - 1, 'x') + " 0 obj");
    EXPECT_TRUE(IsObjectHeader(0, -1));
    ReleaseFileBuffer();
    Load(std::string(kOpenerWindow, 'x') + " 0 obj");
    EXPECT_FALSE(IsObjectHeader(0, -1));
    ReleaseFileBuffer();
    Load(std::string(kOpenerWindow - 1, '\n') + "12 0 obj");
    EXPECT_TRUE(IsObjectHeader(0, 12));
    ReleaseFileBuffer();
    Load(std::string(2 * kOpenerWindow, '\n') + "12 0 obj");
    EXPECT_FALSE(IsObjectHeader(0, 12));
}

TEST_F(LexicalScan, ObjectHeaderRejections) {
    for (const char* text : {"12 0\nobj", "12 101 obj", "12 -1 obj", "12 0 obi", "12  0 obj", "12 0"}) {
        Load(text);
        EXPECT_FALSE(IsObjectHeader(0, -1)) << text;
        ReleaseFileBuffer();
    }
}

TEST_F(LexicalScan, ObjectHeaderAtEndOfBuffer) {
    LoadWithTail("12 0 ob", "j");
    EXPECT_FALSE(IsObjectHeader(0, -1));
    ReleaseFileBuffer();

    // A number in the very last byte is read without the bytes behind it.
    LoadWithTail("1", "2 0 obj");
    EXPECT_TRUE(IsObjectHeader(0, 1));
    EXPECT_FALSE(IsObjectHeader(0, 12));
    EXPECT_FALSE(IsObjectHeader(0, -1));
    ReleaseFileBuffer();

    Load("");
    EXPECT_FALSE(IsObjectHeader(0, -1));
    EXPECT_FALSE(IsObjectHeader(0, 1));
}

}  // namespace
}  // namespace velmora
