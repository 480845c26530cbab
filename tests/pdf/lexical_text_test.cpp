// ReadReference, ReadNumber and NormalizeText on a caller's terminated text.
#include <cstring>

#include <gtest/gtest.h>

#include "pdf/lexical.h"

namespace velmora {
namespace {

TEST(LexicalText, ReferenceWalkOverAnArray) {
    const char* text = " [3 0 R 5 0 R]";
    int32_t number = 0, generation = -1;
    char letter = 0;
    EXPECT_EQ(ReadReference(0, text, &number, &generation, &letter), 7);
    EXPECT_EQ(number, 3);
    EXPECT_EQ(generation, 0);
    EXPECT_EQ(letter, 'R');
    EXPECT_EQ(ReadReference(7, text, &number, &generation, &letter), 13);
    EXPECT_EQ(number, 5);
    EXPECT_EQ(generation, 0);
    EXPECT_EQ(letter, 'R');
    EXPECT_EQ(ReadReference(13, text, &number, &generation, &letter), -1);
}

TEST(LexicalText, ReferenceFieldsAndEnds) {
    int32_t number = 0, generation = 0;
    char letter = 0;
    EXPECT_EQ(ReadReference(0, "/Parent 112 3 R", &number, &generation, &letter), 15);
    EXPECT_EQ(number, 112);
    EXPECT_EQ(generation, 3);
    EXPECT_EQ(letter, 'R');

    // A reference cut off by the end of the text ends the walk and leaves the outputs alone.
    for (const char* text : {"[4 0", "[4 0 ", "9", ""}) {
        number = -1;
        EXPECT_EQ(ReadReference(0, text, &number, &generation, &letter), -1) << text;
        EXPECT_EQ(number, -1);
    }
    EXPECT_EQ(ReadReference(20, "4 0 R", &number, &generation, &letter), -1);
    EXPECT_EQ(ReadReference(-3, "4 0 R", &number, &generation, &letter), -1);
}

TEST(LexicalText, NumbersOfAMediaBox) {
    const char* text = " [0 0 595.28 841.89]";
    double values[4] = {-1, -1, -1, -1};
    int index = 1;
    for (double& value : values) index = ReadNumber(index, text, &value);
    EXPECT_DOUBLE_EQ(values[0], 0.0);
    EXPECT_DOUBLE_EQ(values[1], 0.0);
    EXPECT_DOUBLE_EQ(values[2], 595.28);
    EXPECT_DOUBLE_EQ(values[3], 841.89);
    EXPECT_EQ(index, 19);

    double value = -1;
    EXPECT_EQ(ReadNumber(index, text, &value), 20);
    EXPECT_EQ(value, 0.0);
}

TEST(LexicalText, NumberRunsAreSkippedWhole) {
    double value = 0;
    EXPECT_EQ(ReadNumber(0, "1.5-2 x", &value), 5);
    EXPECT_DOUBLE_EQ(value, 1.5);
    EXPECT_EQ(ReadNumber(0, "/W -3.25]", &value), 8);
    EXPECT_DOUBLE_EQ(value, -3.25);
    EXPECT_EQ(ReadNumber(0, "9", &value), 1);
    EXPECT_DOUBLE_EQ(value, 9.0);
    // Only number characters are converted: no names of infinities, no hexadecimal.
    EXPECT_EQ(ReadNumber(0, "-inf 2", &value), 1);
    EXPECT_EQ(value, 0.0);
    EXPECT_EQ(ReadNumber(0, "0x1p9", &value), 1);
    EXPECT_EQ(value, 0.0);
    value = 4;
    EXPECT_EQ(ReadNumber(50, "12", &value), 2);
    EXPECT_EQ(value, 0.0);
}

TEST(LexicalText, NormalizeTurnsWhitespaceIntoSpaces) {
    char text[] = "a\tb\nc\rd\fe f\vg";
    EXPECT_EQ(NormalizeText(text, 100), 13);
    EXPECT_STREQ(text, "a b c d e f\vg");

    char cut[] = "ab\ncdef";
    EXPECT_EQ(NormalizeText(cut, 3), 3);
    EXPECT_STREQ(cut, "ab ");
    EXPECT_EQ(std::strcmp(cut + 4, "def"), 0);  // bytes behind the cut stay

    char empty[] = "xyz";
    EXPECT_EQ(NormalizeText(empty, 0), 0);
    EXPECT_STREQ(empty, "");
}

}  // namespace
}  // namespace velmora
