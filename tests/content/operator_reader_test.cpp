// The tokeniser: operands, arrays, tokens that end only at white space, and its bounds.
#include <gtest/gtest.h>

#include <string>

#include "content/operator_reader.h"
#include "store/records.h"

namespace velmora {
namespace {

struct Reader {
    std::string bytes;
    int32_t position = 0;
    bool Next() {
        DecodedStream stream{1, reinterpret_cast<uint8_t*>(bytes.data()), static_cast<int32_t>(bytes.size())};
        return ReadOperator(stream, position);
    }
};

TEST(OperatorReaderTest, ReadsNumbersAndTheTokenAfterThem) {
    Reader r{" 1 -2.5 +.5 3.2.1 cm\nS"};
    ASSERT_TRUE(r.Next());
    EXPECT_STREQ(g_operands.token, "cm");
    ASSERT_EQ(g_operands.count, 4);
    EXPECT_EQ(g_operands.values[0], 1.0);
    EXPECT_EQ(g_operands.values[1], -2.5);
    EXPECT_EQ(g_operands.values[2], 0.5);
    EXPECT_EQ(g_operands.values[3], 3.2);  // the longest leading number of the run
    EXPECT_EQ(r.bytes[r.position], '\n');
    ASSERT_TRUE(r.Next());
    EXPECT_STREQ(g_operands.token, "S");
    EXPECT_EQ(g_operands.count, 0);
    EXPECT_EQ(r.position, static_cast<int32_t>(r.bytes.size()));
    EXPECT_FALSE(r.Next());
}

TEST(OperatorReaderTest, TokensEndAtWhiteSpaceAndDelimiters) {
    const char bytes[] = "/GS1 gs (a(b)\\))Tj\0re/F1 9 Tf% note BT\n1 0 0 1 5 5 Tm<<>>BI /W 2 ID \x01" "EI\xff EI Q";
    Reader r{std::string(bytes, sizeof bytes - 1)};
    const char* expected[] = {"/GS1", "gs", "(a(b)\\))", "Tj", "re", "/F1", "Tf", "Tm", "<<", ">>", "BI", "/W", "ID", "Q"};
    for (const char* token : expected) {
        ASSERT_TRUE(r.Next()) << token;
        EXPECT_STREQ(g_operands.token, token);
    }
    EXPECT_EQ(g_operands.count, 0);  // the image's bytes gave no operands
    EXPECT_FALSE(r.Next());
}

TEST(OperatorReaderTest, ArrayNumbersAreOperandsAndOtherItemsArePassedOver) {
    Reader r{"[3 2 /x (q) 1] 0 d [\\] 4 ] 7 d"};
    ASSERT_TRUE(r.Next());
    EXPECT_STREQ(g_operands.token, "d");
    ASSERT_EQ(g_operands.count, 4);
    EXPECT_EQ(g_operands.values[2], 1.0);
    EXPECT_EQ(g_operands.values[3], 0.0);
    // A "]" behind a single backslash does not close the array.
    ASSERT_TRUE(r.Next());
    EXPECT_EQ(g_operands.count, 2);
    EXPECT_EQ(g_operands.values[0], 4.0);
    EXPECT_EQ(g_operands.values[1], 7.0);
}

TEST(OperatorReaderTest, DoubleBackslashBeforeBracketClosesTheArray) {
    Reader r{"[5 \\\\] 6 w"};
    ASSERT_TRUE(r.Next());
    EXPECT_STREQ(g_operands.token, "w");
    ASSERT_EQ(g_operands.count, 2);
    EXPECT_EQ(g_operands.values[0], 5.0);
    EXPECT_EQ(g_operands.values[1], 6.0);
}

TEST(OperatorReaderTest, UnclosedArrayContinuesAfterTheBracket) {
    Reader r{"[1 2 d"};
    ASSERT_TRUE(r.Next());
    EXPECT_STREQ(g_operands.token, "d");
    EXPECT_EQ(g_operands.count, 2);
}

TEST(OperatorReaderTest, OperandsBeyondTheListAreReadButNotKept) {
    std::string bytes;
    for (int i = 0; i < 150; ++i) bytes += std::to_string(i) + " ";
    Reader r{bytes + "d q"};
    ASSERT_TRUE(r.Next());
    EXPECT_STREQ(g_operands.token, "d");
    EXPECT_EQ(g_operands.count, kOperandCapacity);
    EXPECT_EQ(g_operands.values[kOperandCapacity - 1], kOperandCapacity - 1.0);
    ASSERT_TRUE(r.Next());
    EXPECT_STREQ(g_operands.token, "q");
}

TEST(OperatorReaderTest, TwoHundredItemsWithoutTokenMoveOnWithoutAToken) {
    std::string bytes;
    for (int i = 0; i < 250; ++i) bytes += "1 ";
    Reader r{bytes + "S"};
    g_operands.token[0] = '\0';
    EXPECT_FALSE(r.Next());
    EXPECT_EQ(r.position, 2 * kOperatorItemLimit - 1);  // just past the 200th number
    EXPECT_STREQ(g_operands.token, "");
    ASSERT_TRUE(r.Next());
    EXPECT_STREQ(g_operands.token, "S");
    EXPECT_EQ(g_operands.count, 50);
}

TEST(OperatorReaderTest, LongTokensAndNumbersStayWithinTheirBuffers) {
    const std::string name(300, 'x');
    const std::string digits(5000, '9');
    Reader r{name + " " + digits + " w"};
    ASSERT_TRUE(r.Next());
    EXPECT_EQ(std::string(g_operands.token), name.substr(0, kTokenCapacity));
    EXPECT_EQ(r.position, 300);
    ASSERT_TRUE(r.Next());
    EXPECT_STREQ(g_operands.token, "w");
    EXPECT_DOUBLE_EQ(g_operands.values[0], 1e63);  // 63 nines convert, the rest are passed over
}

TEST(OperatorReaderTest, NumberOrWhiteSpaceAtTheEndEndsWithoutToken) {
    Reader r{"1 2"};
    EXPECT_FALSE(r.Next());
    EXPECT_EQ(r.position, 3);
    Reader blank{"  \n"};
    EXPECT_FALSE(blank.Next());
    EXPECT_EQ(blank.position, 3);
}

}  // namespace
}  // namespace velmora
