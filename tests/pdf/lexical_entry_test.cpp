// Dictionary-entry scanning: ReadNextEntry, FindKey, GetKeyValue, and ResolveInteger on top.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "pdf/lexical.h"
#include "store/document_store.h"
#include "support/file_buffer_fixture.h"

namespace velmora {
namespace {

using LexicalEntry = test_support::FileBufferTest;

int32_t Length() { return g_file.data_length; }

TEST_F(LexicalEntry, NameValuesAreEntriesOfTheirOwn) {
    Load("/Type /Page");
    EXPECT_EQ(ReadNextEntry(0, Length()), 6);
    EXPECT_STREQ(EntryText, "Type ");
    EXPECT_EQ(ReadNextEntry(6, Length()), 11);
    EXPECT_STREQ(EntryText, "Page");
    EXPECT_EQ(ReadNextEntry(7, Length()), 0);
}

TEST_F(LexicalEntry, ScalarValuesBelongToTheEntry) {
    Load("/Length 1234/Filter/FlateDecode");
    EXPECT_EQ(ReadNextEntry(0, Length()), 12);
    EXPECT_STREQ(EntryText, "Length 1234");
    ReleaseFileBuffer();

    Load("/Root 1 0 R\n/Info 2 0 R");
    EXPECT_EQ(ReadNextEntry(0, Length()), 12);
    EXPECT_STREQ(EntryText, "Root 1 0 R\n");
    ReleaseFileBuffer();

    // ">>" ends an entry; a single "<" or ">" does not.
    Load("<</A 1 < 2 > 3>>");
    EXPECT_EQ(ReadNextEntry(0, Length()), 14);
    EXPECT_STREQ(EntryText, "A 1 < 2 > 3");
}

TEST_F(LexicalEntry, BracketedValuesAreIncluded) {
    Load("/MediaBox [0 [1] 612 792]/X");
    EXPECT_EQ(ReadNextEntry(0, Length()), 25);
    EXPECT_STREQ(EntryText, "MediaBox [0 [1] 612 792]");
    ReleaseFileBuffer();

    // No escapes: the escaped ")" closes the string.
    Load("/T (a (b) c)/U (x\\)y)");
    EXPECT_EQ(ReadNextEntry(0, Length()), 12);
    EXPECT_STREQ(EntryText, "T (a (b) c)");
    EXPECT_EQ(ReadNextEntry(12, Length()), 19);
    EXPECT_STREQ(EntryText, "U (x\\)");
    ReleaseFileBuffer();

    // A dictionary value keeps the first ">" of its closing pair.
    Load("/R <</Font <</F1 5 0 R>>>>/X");
    EXPECT_EQ(ReadNextEntry(0, Length()), 25);
    EXPECT_STREQ(EntryText, "R <</Font <</F1 5 0 R>>>");
    ReleaseFileBuffer();

    Load("/A <<>>/B");
    EXPECT_EQ(ReadNextEntry(0, Length()), 6);
    EXPECT_STREQ(EntryText, "A <<>");
}

TEST_F(LexicalEntry, UnclosedValuesAreNoEntry) {
    std::strcpy(EntryText, "before");
    for (const char* text : {"/T (abc", "/A [1 [2]", "/D <</A 1>", "/"}) {
        Load(text);
        EXPECT_EQ(ReadNextEntry(0, Length()), 0) << text;
        ReleaseFileBuffer();
    }
    EXPECT_STREQ(EntryText, "before");

    // Closers behind data_length or behind the caller's end do not count.
    LoadWithTail("/D <</A 1", ">>");
    EXPECT_EQ(ReadNextEntry(0, 100), 0);
    ReleaseFileBuffer();
    Load("/A [1 2]");
    EXPECT_EQ(ReadNextEntry(0, 7), 0);
    EXPECT_EQ(ReadNextEntry(0, 8), 8);
}

TEST_F(LexicalEntry, EntryBounds) {
    Load("");
    EXPECT_EQ(ReadNextEntry(0, 10), 0);
    ReleaseFileBuffer();

    Load("no entry");
    EXPECT_EQ(ReadNextEntry(0, Length()), 0);
    ReleaseFileBuffer();

    // The name's first character must lie below end.
    Load("x/AB");
    EXPECT_EQ(ReadNextEntry(0, 2), 0);
    EXPECT_EQ(ReadNextEntry(0, 3), 3);
    EXPECT_STREQ(EntryText, "A");
    ReleaseFileBuffer();

    // The text behind data_length is never part of an entry.
    LoadWithTail("/Key 12", "34");
    EXPECT_EQ(ReadNextEntry(0, 100), 7);
    EXPECT_STREQ(EntryText, "Key 12");
}

TEST_F(LexicalEntry, LongEntriesAreCut) {
    Load("/K " + std::string(2000, 'x') + "/Z");
    EXPECT_EQ(ReadNextEntry(0, Length()), 2003);
    EXPECT_EQ(std::strlen(EntryText), static_cast<size_t>(kEntryTextCapacity));
    EXPECT_EQ(std::string(EntryText, 3), "K x");
}

TEST_F(LexicalEntry, FindKeyLeavesTheValueNameInEntryText) {
    Load("<< /Type /Font /Subtype /Type0 >>");
    int32_t start = 0, end = 0;
    ASSERT_EQ(FindDictionary(start, end), 0);
    EXPECT_EQ(FindKey(start, end, "Type"), 8);
    EXPECT_STREQ(MatchedEntry, "Type ");
    EXPECT_STREQ(EntryText, "Font ");
    EXPECT_EQ(FindKey(start, end, "Subtype"), 23);
    EXPECT_STREQ(MatchedEntry, "Subtype ");
    EXPECT_STREQ(EntryText, "Type0 ");
}

TEST_F(LexicalEntry, FindKeyKeepsArraysAndNestedNames) {
    Load("<</Kids [3 0 R]/Count 1/Filter/FlateDecode>>");
    EXPECT_GT(FindKey(0, Length(), "Kids"), 0);
    EXPECT_STREQ(EntryText, "Kids [3 0 R]");
    EXPECT_STREQ(MatchedEntry, "Kids [3 0 R]");
    ReleaseFileBuffer();

    Load("<</Fonts (a/b) /X 1>>");
    EXPECT_GT(FindKey(0, Length(), "Font"), 0);
    EXPECT_STREQ(EntryText, "Fonts (a/b)");
    ReleaseFileBuffer();

    // A key at the end has no following entry: EntryText keeps the match.
    Load("<</Length 12>>");
    EXPECT_EQ(FindKey(0, Length(), "Length"), 13);
    EXPECT_STREQ(EntryText, "Length 12");
}

TEST_F(LexicalEntry, KeysArePrefixes) {
    Load("<</Type0 5/Size 3>>");
    EXPECT_GT(FindKey(0, Length(), "Type"), 0);
    EXPECT_EQ(FindKey(0, Length(), "T "), 0);
    EXPECT_GT(FindKey(0, Length(), "Si"), 0);
    ReleaseFileBuffer();

    Load("<</Type /Page /T 123>>");
    EXPECT_GT(FindKey(0, Length(), "T "), 0);
    EXPECT_STREQ(MatchedEntry, "T 123");
    ReleaseFileBuffer();

    // Value names are candidate keys.
    Load("<</Type /Font>>");
    EXPECT_GT(FindKey(0, Length(), "Font"), 0);
    EXPECT_STREQ(MatchedEntry, "Font");
}

TEST_F(LexicalEntry, LookupStopsNearEnd) {
    // An entry ending within three bytes of end stops the search.
    Load("/A 1/Bx");
    EXPECT_EQ(FindKey(0, Length(), "B"), 0);
    ReleaseFileBuffer();
    Load("/A 1/Bxy");
    EXPECT_EQ(FindKey(0, Length(), "B"), 9);
    ReleaseFileBuffer();

    // Nested dictionaries are skipped as a whole.
    Load("<</Resources <</Font 5 0 R>>/Type /Page>>");
    EXPECT_EQ(FindKey(0, Length(), "Font"), 0);
    EXPECT_GT(FindKey(0, Length(), "Type"), 0);
    EXPECT_STREQ(EntryText, "Page");
    ReleaseFileBuffer();

    // An unclosed value fails the whole lookup, even with the key behind it.
    Load("/A (abc/B 1/C 2");
    EXPECT_EQ(FindKey(0, Length(), "B"), 0);
    char value[kEntryTextCapacity + 1] = "unchanged";
    EXPECT_FALSE(GetKeyValue(0, Length(), "B", value));
    EXPECT_STREQ(value, "unchanged");
    ReleaseFileBuffer();

    Load("/A 1/B 2");
    EXPECT_EQ(FindKey(5, 4, "B"), 0);
    EXPECT_EQ(FindKey(0, Length(), "C"), 0);
}

TEST_F(LexicalEntry, GetKeyValueGivesTheTextAfterTheKey) {
    char value[kEntryTextCapacity + 1];
    Load("/Length 1234/Filter/FlateDecode");
    ASSERT_TRUE(GetKeyValue(0, Length(), "Length", value));
    EXPECT_STREQ(value, " 1234");
    ReleaseFileBuffer();

    Load("<</Length 12 0 R>>");
    ASSERT_TRUE(GetKeyValue(0, Length(), "Length", value));
    EXPECT_STREQ(value, " 12 0 R");
    ReleaseFileBuffer();

    Load("<</MediaBox [0 0 595.28 841.89]>>");
    ASSERT_TRUE(GetKeyValue(0, Length(), "MediaBox", value));
    EXPECT_STREQ(value, " [0 0 595.28 841.89]");
    ReleaseFileBuffer();

    // Neither MatchedEntry nor the following entry is touched.
    std::strcpy(MatchedEntry, "kept");
    Load("<</Type /Page>>");
    ASSERT_TRUE(GetKeyValue(0, Length(), "Type", value));
    EXPECT_STREQ(value, " ");
    EXPECT_STREQ(EntryText, "Type ");
    EXPECT_STREQ(MatchedEntry, "kept");
}

class LexicalResolve : public test_support::FileBufferTest {
protected:
    void TearDown() override {
        g_store.objects[kObject] = ObjectEntry{};
        FileBufferTest::TearDown();
    }
    // Loads `bytes` and makes object kObject start at `header` with the given extent.
    void LoadObject(const std::string& bytes, const std::string& header, int32_t extent) {
        Load(bytes);
        g_store.objects[kObject].offset = static_cast<int32_t>(bytes.find(header));
        g_store.objects[kObject].extent = extent;
    }
    static constexpr int kObject = 12;
};

TEST_F(LexicalResolve, DirectIntegers) {
    int32_t value = -1;
    EXPECT_TRUE(ResolveInteger(" 1234", &value));
    EXPECT_EQ(value, 1234);
    EXPECT_TRUE(ResolveInteger("-7 0", &value));
    EXPECT_EQ(value, -7);
}

TEST_F(LexicalResolve, IndirectLengthThroughTheObjectTable) {
    const std::string file = "1 0 obj\n<</Length 12 0 R>>\nstream\nxyz\nendstream\nendobj\n12 0 obj\n 345\nendobj\n";
    LoadObject(file, "12 0 obj", 20);
    char value_text[kEntryTextCapacity + 1];
    ASSERT_TRUE(GetKeyValue(0, Length(), "Length", value_text));
    int32_t value = 0;
    EXPECT_TRUE(ResolveInteger(value_text, &value));
    EXPECT_EQ(value, 345);
}

TEST_F(LexicalResolve, ObjMustLieBelowExtentLessFour) {
    // "obj" of "12 0 obj" is at offset 5 within the object.
    LoadObject("12 0 obj 99", "12 0 obj", 9);
    int32_t value = -5;
    EXPECT_FALSE(ResolveInteger("12 0 R", &value));
    EXPECT_EQ(value, -5);
    g_store.objects[kObject].extent = 10;
    EXPECT_TRUE(ResolveInteger("12 0 R", &value));
    EXPECT_EQ(value, 99);
    EXPECT_FALSE(ResolveInteger("100000 0 R", &value));
    EXPECT_FALSE(ResolveInteger("-1 0 R", &value));
}

TEST_F(LexicalResolve, IntegerInTheLastByte) {
    std::string file = "12 0 obj 7";
    ASSERT_TRUE(test_support::LoadFileBufferWithTail(file, "89"));
    g_store.objects[kObject].offset = 0;
    g_store.objects[kObject].extent = 1000;
    int32_t value = 0;
    EXPECT_TRUE(ResolveInteger("12 0 R", &value));
    EXPECT_EQ(value, 7);

    // The extent may claim more than the buffer holds: the search stops at data_length.
    g_file.data_length = 7;
    EXPECT_FALSE(ResolveInteger("12 0 R", &value));
    EXPECT_EQ(value, 7);
}

}  // namespace
}  // namespace velmora
