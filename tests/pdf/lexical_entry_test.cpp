// Dictionary-entry scanning: ReadNextEntry, FindKey, GetKeyValue, and ResolveInteger on top.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "pdf/error_list.h"
#include "pdf/lexical.h"
#include "store/document_store.h"
#include "support/file_buffer_fixture.h"

namespace velmora {
namespace {

using LexicalEntry = test_support::FileBufferTest;

int32_t Length() { return g_file.data_length; }

// One ReadNextEntry: bytes (with a tail behind data_length), start, end (-1: data_length), and
// the expected end (0: no entry) and EntryText.
struct EntryCase {
    const char* bytes;
    const char* tail;
    int32_t position;
    int32_t end;
    int32_t expected_end;
    const char* expected_text;
};

TEST_F(LexicalEntry, ReadNextEntryCases) {
    const EntryCase cases[] = {
        // A name value is an entry of its own; scalar values belong to their entry.
        {"/Type /Page", "", 0, -1, 6, "Type "},
        {"/Type /Page", "", 6, -1, 11, "Page"},
        {"/Length 1234/Filter/FlateDecode", "", 0, -1, 12, "Length 1234"},
        {"/Root 1 0 R\n/Info 2 0 R", "", 0, -1, 12, "Root 1 0 R\n"},
        // ">>" ends an entry even when its second ">" is the end; a single "<" or ">" does not.
        {"<</A 1 < 2 > 3>>", "", 0, 15, 14, "A 1 < 2 > 3"},
        // Arrays, strings (without escapes) and dictionaries are included with their brackets.
        {"/MediaBox [0 [1] 612 792]/X", "", 0, -1, 25, "MediaBox [0 [1] 612 792]"},
        {"/T (a (b) c)/U (x\\)y)", "", 0, -1, 12, "T (a (b) c)"},
        {"/T (a (b) c)/U (x\\)y)", "", 12, -1, 19, "U (x\\)"},
        {"/R <</Font <</F1 5 0 R>>>>/X", "", 0, -1, 25, "R <</Font <</F1 5 0 R>>>"},
        {"/A <<>>/B", "", 0, -1, 6, "A <<>"},
        // The name must begin below end; the end bounds closers as well.
        {"x/AB", "", 0, 2, 0, nullptr},
        {"x/AB", "", 0, 3, 3, "A"},
        {"/A [1 2]", "", 0, 7, 0, nullptr},
        {"/A [1 2]", "", 0, 8, 8, "A [1 2]"},
        // Nothing behind data_length takes part, whatever end the caller gives.
        {"/Key 12", "34", 0, 100, 7, "Key 12"},
        {"/D <</A 1", ">>", 0, 100, 0, nullptr},
        {"/T (abc", ")", 0, 100, 0, nullptr},
        {"/A [1 [2]", "]", 0, 100, 0, nullptr},
        {"/", "A", 0, 100, 0, nullptr},
        {"no entry", "", 0, -1, 0, nullptr},
        {"", "/A 1", 0, 10, 0, nullptr},
    };
    for (const EntryCase& c : cases) {
        LoadWithTail(c.bytes, c.tail);
        std::strcpy(EntryText, "before");
        EXPECT_EQ(ReadNextEntry(c.position, c.end < 0 ? Length() : c.end), c.expected_end) << c.bytes;
        // A failed scan leaves EntryText as it was.
        EXPECT_STREQ(EntryText, c.expected_text ? c.expected_text : "before") << c.bytes;
        ReleaseFileBuffer();
    }
}

TEST_F(LexicalEntry, LongEntriesAreCut) {
    Load("/K " + std::string(2000, 'x') + "/Z");
    EXPECT_EQ(ReadNextEntry(0, Length()), 2003);
    EXPECT_EQ(std::strlen(EntryText), static_cast<size_t>(kEntryTextCapacity));
    EXPECT_EQ(std::string(EntryText, 3), "K x");
}

TEST_F(LexicalEntry, WholeValuesAreNotCut) {
    const std::string kids = "[" + std::string(3000, '7') + "]";
    Load("<</Count 1/Kids " + kids + "/Type/Pages>>");
    std::string value;
    ASSERT_TRUE(GetWholeKeyValue(0, Length(), "Kids", 100000, &value));
    EXPECT_EQ(value, " " + kids);
    ASSERT_TRUE(GetWholeKeyValue(0, Length(), "Kids", 10, &value));
    EXPECT_EQ(value, " [77777777");
    EXPECT_FALSE(GetWholeKeyValue(0, Length(), "Parent", 100000, &value));
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

TEST_F(LexicalResolve, SearchesForObjDrawOnTheScanBudget) {
    // Every stream may name one long object without "obj" as its Length: each search would run
    // over the whole object, so the searches share the file's scan budget.
    const std::string junk(200000, 'x');
    LoadObject("12 0 xxx" + junk + " 5", "12 0 xxx", static_cast<int32_t>(junk.size()) + 10);
    ClearErrors();
    g_file.scan_budget = 3 * static_cast<int64_t>(junk.size());
    int32_t value = -5;
    int searches = 0;
    while (g_file.scan_budget >= 0 && searches < 100) {
        EXPECT_FALSE(ResolveInteger("12 0 R", &value));
        ++searches;
    }
    EXPECT_EQ(searches, 3);  // each search takes a little more than the junk
    EXPECT_EQ(value, -5);
    ASSERT_EQ(g_errors.count, 1);
    EXPECT_EQ(g_errors.codes[0], kErrorDictionaryNotFound);
    // Once it is spent, an object that has "obj" is not searched either.
    g_file.data[5] = 'o', g_file.data[6] = 'b', g_file.data[7] = 'j';
    EXPECT_FALSE(ResolveInteger("12 0 R", &value));
    EXPECT_EQ(g_errors.count, 1);
    ClearErrors();
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
