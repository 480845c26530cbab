// Strings to Shift-JIS: literal escapes, hexadecimal groups, each conversion type, the
// DuplicateList, and the operand and text buffers at their limits.
#include <cstring>
#include <string>

#include "pdf/error_list.h"
#include "text_fixture.h"

namespace velmora {
namespace {

class TextDecodingTest : public TextTest {
protected:
    void SetUp() override {
        TextTest::SetUp();
        std::memset(g_store.cid_map, 0, sizeof g_store.cid_map);
        g_store.duplicate_count = 0;
    }
    // The texts of one text object shown with font slot `font`.
    std::string ShowWith(const char* font, const std::string& operators) {
        Scan(std::string("BT /") + font + " 12 Tf " + operators + " ET\n");
        std::string joined;
        for (int i = 0; i < Texts(); ++i) joined += (i > 0 ? "|" : "") + TextString(i);
        return joined;
    }
    static void SetCid(uint32_t code, const char* text, uint8_t owner, uint8_t duplicate) {
        CidMapEntry& e = g_store.cid_map[code];
        std::strcpy(e.text, text);
        e.owner_font = owner;
        e.duplicate = duplicate;
    }
    static void AddDuplicate(const char* text, int32_t code, int32_t font) {
        DuplicateEntry& d = g_store.duplicates[++g_store.duplicate_count];
        std::strcpy(d.text, text);
        d.code = code;
        d.font_number = font;
    }
};

TEST_F(TextDecodingTest, LiteralStringsAsPdfDefinesThem) {
    // A one-byte CMap font that spells each control byte, so every escape shows.
    AddFont("F2", 5, kConversionToUnicode, 1);
    for (const char* c = "()\\abcdnrtfqA1"; *c != '\0'; ++c) g_store.fonts[5].one_byte_codes[static_cast<uint8_t>(*c)][0] = *c;
    const struct { uint8_t byte; char shown; } controls[] = {{'\n', 'N'}, {'\r', 'R'}, {'\t', 'T'}, {'\b', 'B'}, {'\f', 'F'}};
    for (const auto& control : controls) g_store.fonts[5].one_byte_codes[control.byte][0] = control.shown;
    EXPECT_EQ(ShowWith("F2", R"((a\(b\)c\\d\n\r\t\b\f\101\q) Tj)"), "a(b)c\\dNRTBFAq");
    EXPECT_EQ(ShowWith("F2", "(a(b)c) Tj (a\\\nb\\\r\nc) Tj (\\1\\0101) Tj"), "a(b)c|abc|B1");  // \1 is unmapped; \0101 is \010 then 1
    // \261 is the byte 0xB1: "±" through WinAnsi, not the three characters 2, 6, 1.
    EXPECT_EQ(ShowWith("F1", R"((A\261B) Tj)"), "A±B");
}

TEST_F(TextDecodingTest, HexStringsAreCutByTheFontsCodeLength) {
    AddFont("F2", 5, kConversionToUnicode, 2);
    SetCid(0x3042, "あ", 5, 0);
    SetCid(0x3044, "い", 5, 0);
    EXPECT_EQ(ShowWith("F2", "<30 42 3044 5> Tj"), "あい");  // the odd last byte 0x50 makes no code
    // One-byte fonts take two digits a code, as Ghostscript writes them: "A±B ×".
    EXPECT_EQ(ShowWith("F1", "<41> Tj <41b14220d7>Tj <4>Tj"), "A|A±B ×|@");
}

TEST_F(TextDecodingTest, ToUnicodeFontsByCodeLength) {
    AddFont("F2", 5, kConversionToUnicode, 1);
    std::strcpy(g_store.fonts[5].one_byte_codes['A'], "図");
    std::strcpy(g_store.fonts[5].one_byte_codes['B'], "B");
    EXPECT_EQ(ShowWith("F2", "(AB) Tj <0041> Tj"), "図B|図");
    // A code the table does not fill keeps its place as the mark of an undecoded character.
    EXPECT_EQ(ShowWith("F2", "<01> Tj"), "〓");
    EXPECT_EQ(Texts(), 1);

    AddFont("F3", 6, kConversionToUnicode, 2);
    SetCid(0x3042, "あ", 6, 0);
    SetCid(0x0141, "?", 6, 0);
    EXPECT_EQ(ShowWith("F3", "(\x30\x42\x30) Tj (\x30\x42\x01\x41) Tj"), "あ|あ?");  // an odd last byte makes no code
}

TEST_F(TextDecodingTest, EncodingTablesWinAnsiAndPredefinedCodes) {
    AddFont("F2", 5, kConversionDifferences, 0);
    std::strcpy(g_store.fonts[5].one_byte_codes[1], "x");
    std::strcpy(g_store.fonts[5].one_byte_codes[0xC1], "図");
    g_store.differences_table[2] = 'y';  // the document's table is the report's, not the font's
    EXPECT_EQ(ShowWith("F2", "(\x01\x02\xC1) Tj <01C1> Tj"), "x図|x図");
    // WinAnsi bytes above 127 are Windows-1252 characters; control bytes show nothing.
    EXPECT_EQ(ShowWith("F1", "(\xB1\xD7\x93\x09) Tj"), "±×“");

    AddFont("F3", 6, kConversionUnicodeCMap, 2);
    AddFont("F4", 7, kConversionAdobeJapan1, 2);
    EXPECT_EQ(ShowWith("F3", "<30423044FF21> Tj"), "あいＡ");
    EXPECT_EQ(ShowWith("F4", "<034B 034C FFFF> Tj"), "あぃ");  // CIDs 843, 844; none beyond the collection
}

TEST_F(TextDecodingTest, FontsWithoutAConversionShowAPlaceholderPerCode) {
    AddFont("F0", 5, kConversionNone, 0);
    AddFont("F3", 6, kConversionCidFontType2, 2);
    AddFont("F7", 7, 99, 2);  // a type no font is given
    std::strcpy(g_store.fonts[6].subtype, "Type0");
    g_store.fonts[6].code_length = 0;  // a composite font counts two bytes a code without a CMap
    for (const char* font : {"F0", "F3", "F7"}) {
        // The string is read whole, so Td after it still moves the line start; TJ splits.
        const bool two_byte = std::string(font) != "F0";
        EXPECT_EQ(ShowWith(font, "<0041> Tj (A\\)B) Tj 10 0 Td [(AB) -900 <4243>] TJ"),
                  two_byte ? "〓|〓|〓|〓" : "〓〓|〓〓〓|〓〓|〓〓")
            << font;
        EXPECT_EQ(g_store.pages[1].text_count, 4) << font;
        EXPECT_EQ(g_store.pages[1].undecoded_text_count, 4) << font;
        ExpectBaseLine(2, 10, 0, 30, 0);
    }
}

TEST_F(TextDecodingTest, TextsNoCodeOfWhichDecodesAreMarkedAndCountedOncePerPage) {
    AddFont("F2", 5, kConversionToUnicode, 1);
    AddFont("F3", 6, kConversionToUnicode, 2);
    AddFont("F4", 7, kConversionDifferences, 0);
    std::strcpy(g_store.fonts[5].one_byte_codes['A'], "A");
    int warnings = 0;
    for (const char* font : {"F2", "F3", "F4"}) {
        // One mark per code, in a Tj, a TJ's runs and a chained string alike.
        const std::string shown = ShowWith(font, "<0102> Tj 10 0 Td [<0304> -900 <0506>] TJ");
        EXPECT_EQ(shown, std::string(font) == "F3" ? "〓|〓|〓" : "〓〓|〓〓|〓〓") << font;
        EXPECT_EQ(g_store.pages[1].text_count, 3) << font;
        EXPECT_EQ(g_store.pages[1].nonempty_text_count, 3) << font;
        EXPECT_EQ(g_store.pages[1].undecoded_text_count, 3) << font;
        ExpectBaseLine(1, 10, 0, 30, 0);
        // One warning for the page, however many texts it marks.
        ++warnings;
        int recorded = 0;
        for (int i = 0; i < g_errors.count; ++i) recorded += g_errors.codes[i] == kWarningUndecodedText ? 1 : 0;
        EXPECT_EQ(recorded, warnings) << font;
    }
    // A text one code of which decodes keeps what it decodes and is no undecoded text.
    EXPECT_EQ(ShowWith("F2", "<4101> Tj"), "A");
    EXPECT_EQ(g_store.pages[1].undecoded_text_count, 0);
}

TEST_F(TextDecodingTest, CodesAnotherFontMapsDifferentlyComeFromTheDuplicateList) {
    AddFont("F2", 2, kConversionToUnicode, 2);
    AddFont("Fa", 1, kConversionToUnicode, 2);
    AddFont("F6", 6, kConversionToUnicode, 2);
    AddFont("Fb", 257, kConversionToUnicode, 2);
    SetCid(0x0100, "A", 1, 1);
    AddDuplicate("B", 0x0100, 2);
    AddDuplicate("D", 0x0200, 2);
    AddDuplicate("C", 0x0100, 2);
    AddDuplicate("E", 0x0100, 257);
    EXPECT_EQ(ShowWith("F2", "<0100> Tj"), "BC");  // every entry of this code and font
    EXPECT_EQ(ShowWith("Fa", "<0100> Tj"), "A");   // the owner reads the table
    EXPECT_EQ(ShowWith("F6", "<0100> Tj"), "A");   // no entry of its own
    EXPECT_EQ(ShowWith("Fb", "<0100> Tj"), "E");   // 257 is not font 1, though its low byte is

    g_store.cid_map[0x0100].duplicate = 0;
    EXPECT_EQ(ShowWith("F2", "<0100> Tj"), "A");
    g_store.cid_map[0x0100].duplicate = 1;
    g_store.duplicate_count = 0;
    EXPECT_EQ(ShowWith("F2", "<0100> Tj"), "A");
}

TEST_F(TextDecodingTest, BuffersStayWithinTheirLimits) {
    // More than 100 codes in one operator: the first 100 are kept.
    EXPECT_EQ(ShowWith("F1", "(" + std::string(150, 'a') + ") Tj"), std::string(100, 'a'));

    // More than 249 decoded bytes: whole characters up to the limit.
    AddFont("F2", 2, kConversionToUnicode, 2);
    SetCid(0x0100, "A", 1, 1);
    for (int i = 0; i < 3; ++i) AddDuplicate("図", 0x0100, 2);
    std::string codes;
    for (int i = 0; i < 100; ++i) codes += "0100";
    std::string many;
    for (int i = 0; i < 124; ++i) many += "図";
    EXPECT_EQ(ShowWith("F2", "<" + codes + "> Tj"), many);

    // More than 99 strings in one array: the first 99 keep their codes.
    std::string strings;
    for (int i = 0; i < 120; ++i) strings += "(b) ";
    EXPECT_EQ(ShowWith("F1", "[" + strings + "] TJ"), std::string(99, 'b'));

    // More than 1000 items before an operator: that read gives up, the next one finds Tj.
    std::string numbers;
    for (int i = 0; i < 1500; ++i) numbers += "1 ";
    EXPECT_EQ(ShowWith("F1", numbers + "(c) Tj"), "c");
}

TEST_F(TextDecodingTest, MalformedTextObjectsEndWithoutStalling) {
    const std::string big(60, '9');
    std::string huge;  // matrices that overflow to infinity: such texts are not stored
    for (int i = 0; i < 5; ++i) huge += big + " 0 0 " + big + " 0 0 cm ";
    huge += "q BT /F1 " + big + " Tf " + big + " 0 0 " + big + " 1 1 Tm (A) Tj [(B) -" + big + " (C)] TJ ET\n";
    const std::string inputs[] = {
        "BT", "BT (", "BT <", "BT [", "BT /", "BT (\\", "BT T", "BT T*", "BT ET)", "BT (ET", "BT <<>> ET",
        "BT /F1 12 Tf [(AB) -600 (CD) TJ ET 0 0 m 5 0 l S\n",
        "BT /F1 12 Tf [[[[(A)]]]] TJ [(B) ]]] TJ ET\n",
        "BT /F1 12 Tf ) > ] Tj TJ ' T* Tm Td TD ET\n",
        huge,
    };
    for (const std::string& input : inputs) {
        Scan(input);
        EXPECT_EQ(g_errors.count, 0) << input;
        int32_t pool = 0;
        for (int i = 0; i < Texts(); ++i) {
            const TextRecord& t = Text(i);
            EXPECT_EQ(t.string_offset, pool) << input;
            EXPECT_EQ(std::strlen(g_store.text_pool + t.string_offset), static_cast<size_t>(t.string_length)) << input;
            pool += t.string_length + 1;
        }
        EXPECT_EQ(g_store.conversion.pool_used, pool) << input;
    }
    // An array left open ends at the next operator, which is read as such.
    Scan("BT /F1 12 Tf [(AB) -600 (CD) TJ ET 0 0 m 5 0 l S\n");
    EXPECT_EQ(Texts(), 2);
    EXPECT_EQ(Lines(), 1);
}

}  // namespace
}  // namespace velmora
