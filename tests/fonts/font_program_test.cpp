// Texts decoded through embedded font programs: a Type0 font over a TrueType program with no
// ToUnicode CMap or one of private-use characters, a symbolic TrueType font, a Type1C font with
// its own charset and encoding, and damaged programs that must give nothing.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "fonts/cff_charset.h"
#include "fonts/font_fixture.h"
#include "fonts/font_program.h"
#include "fonts/truetype_cmap.h"
#include "support/font_maker.h"
#include "support/pdf_maker.h"

namespace velmora {
namespace {

using namespace test_support;

const std::map<std::string, int> kMacIndex = {{"A", 36}, {"B", 37}, {"zero", 19}};

// Glyphs 1 "A" and 3 "あ" through the Unicode cmap, 4 named uni5186 (円) and 5 "zero" only in post.
std::string UnicodeTrueType() {
    const std::string cmap = CmapTable({{3, 1, {{0x41, 1}, {0x3042, 3}}}});
    const std::string post = PostTable({"", "A", "gsub2", "", "uni5186", "zero"}, kMacIndex);
    return TrueTypeFont({{"cmap", cmap}, {"maxp", MaxpTable(6)}, {"post", post}});
}

// A symbol font: bytes 0x41 and 0x42 at 0xF041 and 0xF042 (format 6), glyph 1 is A through the
// Unicode cmap, glyph 2 is 円 by its post name.
std::string SymbolTrueType() {
    const std::string cmap =
        CmapTable({{3, 0, {{0xF041, 1}, {0xF042, 2}}, true}, {3, 1, {{0x41, 1}}}});
    const std::string post = PostTable({"", "A", "uni5186"}, kMacIndex);
    return TrueTypeFont({{"cmap", cmap}, {"maxp", MaxpTable(3)}, {"post", post}});
}

// Glyphs A (SID 34), uni5186 (the String INDEX's first) and zero (SID 17) at codes a, b, c.
std::string Type1CProgram() { return NameKeyedCff({34, 391, 17}, {"uni5186"}, {0x61, 0x62, 0x63}); }

class FontProgramTest : public FontTest {
protected:
    // A Type0 Identity-H font (10) over a CIDFontType2 (11) whose descriptor (12) embeds
    // `program` (13); `extra` goes into the Type0 dictionary, `cid_map` into the descendant.
    void SetUpCompositeFont(const std::string& program, const std::string& extra, const std::string& cid_map,
                            std::map<int, std::string> objects = {}) {
        objects[10] = Font("Type0", "/Encoding/Identity-H/DescendantFonts [11 0 R]" + extra);
        objects[11] = "<</Type/Font/Subtype/CIDFontType2/BaseFont/Test/CIDSystemInfo <</Registry (Adobe)/Ordering "
                      "(Identity)/Supplement 0>>/FontDescriptor 12 0 R" + cid_map + ">>";
        objects[12] = "<</Type/FontDescriptor/FontName/Test/Flags 4/FontFile2 13 0 R>>";
        objects[13] = FlateStreamBody("/Length1 " + std::to_string(program.size()), program);
        SetUpOnePage("/F1 10 0 R", objects);
    }

    // A simple font (10) whose descriptor (12) has `flags` and embeds `program` as `file` (13).
    void SetUpSimpleFont(const std::string& subtype, const std::string& file, const std::string& file_dict,
                         const std::string& program, int flags) {
        SetUpOnePage("/F1 10 0 R",
                     {{10, Font(subtype, "/FirstChar 32/LastChar 126/FontDescriptor 12 0 R")},
                      {12, "<</Type/FontDescriptor/FontName/Test/Flags " + std::to_string(flags) + "/" + file +
                               " 13 0 R>>"},
                      {13, FlateStreamBody(file_dict, program)}});
    }
};

TEST_F(FontProgramTest, TypeZeroFontsTakeTheirCharactersFromTheTrueTypeProgram) {
    // No ToUnicode: CIDs through a CIDToGIDMap stream, then cmap reversed and post names.
    const std::string map = std::string(20, '\0') + std::string("\x00\x01\x00\x03\x00\x04\x00\x05", 8);
    SetUpCompositeFont(UnicodeTrueType(), "", "/CIDToGIDMap 14 0 R", {{14, FlateStreamBody("", map)}});
    EXPECT_EQ(g_store.fonts[1].conversion_type, kConversionToUnicode);
    EXPECT_EQ(g_store.fonts[1].code_length, 2);
    EXPECT_EQ(Cid(10), "A");
    EXPECT_EQ(Cid(11), "あ");
    EXPECT_EQ(Cid(12), "円");
    EXPECT_EQ(Cid(13), "0");
    EXPECT_EQ(Cid(1), "");
    EXPECT_EQ(g_font_program_kind[1], kFontProgramTrueType);
    EXPECT_EQ(g_program_decoded_fonts, 1);

    // A ToUnicode whose codes are at least half private-use characters gives way to the program
    // (identity CIDs); one that says more real characters is kept as it is.
    SetUpCompositeFont(UnicodeTrueType(), "/ToUnicode 14 0 R", "/CIDToGIDMap/Identity",
                       {{14, FlateStreamBody("", TwoByte("2 beginbfchar <0001> <E001> <0003> <E003> endbfchar"))}});
    EXPECT_EQ(g_store.fonts[1].conversion_type, kConversionToUnicode);
    EXPECT_EQ(Cid(1), "A");
    EXPECT_EQ(Cid(3), "あ");
    EXPECT_EQ(g_program_decoded_fonts, 1);

    SetUpCompositeFont(UnicodeTrueType(), "/ToUnicode 14 0 R", "",
                       {{14, FlateStreamBody("", TwoByte("3 beginbfchar <0001> <0058> <0002> <0059> <0003> <E003> endbfchar"))}});
    EXPECT_EQ(Cid(1), "X");
    EXPECT_EQ(g_program_decoded_fonts, 0);
    EXPECT_EQ(g_font_program_kind[1], kFontProgramNone);
}

TEST_F(FontProgramTest, SimpleFontsReadTheirProgramOnlyWhereTheDictionarySaysNothing) {
    // A symbolic TrueType font without /Encoding: byte -> glyph through (3,0) -> Unicode.
    SetUpSimpleFont("TrueType", "FontFile2", "", SymbolTrueType(), 4);
    EXPECT_EQ(g_store.fonts[1].conversion_type, kConversionToUnicode);
    EXPECT_EQ(g_store.fonts[1].code_length, 1);
    EXPECT_EQ(Text(1, 0x41), "A");
    EXPECT_EQ(Text(1, 0x42), "円");
    EXPECT_EQ(Text(1, 0x43), "");

    // A nonsymbolic one keeps reading its codes through the standard encoding.
    SetUpSimpleFont("TrueType", "FontFile2", "", SymbolTrueType(), 32);
    EXPECT_NE(g_store.fonts[1].conversion_type, kConversionToUnicode);
    EXPECT_EQ(g_program_decoded_fonts, 0);

    // A Type1C font without /Encoding: code -> glyph through the CFF's encoding -> charset name.
    SetUpSimpleFont("Type1", "FontFile3", "/Subtype/Type1C", Type1CProgram(), 32);
    EXPECT_EQ(g_store.fonts[1].conversion_type, kConversionToUnicode);
    EXPECT_EQ(Text(1, 0x61), "A");
    EXPECT_EQ(Text(1, 0x62), "円");
    EXPECT_EQ(Text(1, 0x63), "0");
    EXPECT_EQ(g_font_program_kind[1], kFontProgramCff);
    EXPECT_EQ(g_program_decoded_fonts, 1);
}

TEST_F(FontProgramTest, DamagedProgramsGiveNoTextAndStayInsideTheirBytes) {
    auto characters = [](const std::string& bytes) {
        return ProgramCharacterCount(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    };
    // Every cut of a good program reads without a fault and gives no more than the whole.
    for (const std::string& good : {UnicodeTrueType(), SymbolTrueType(), Type1CProgram()}) {
        const int32_t whole = characters(good);
        EXPECT_GT(whole, 0);
        for (size_t cut = 0; cut < good.size(); ++cut) EXPECT_LE(characters(good.substr(0, cut)), whole);
    }
    // Counts and offsets beyond the bytes: a directory of 65535 tables, a table past the end, a
    // cmap of 65535 subtables, a format-4 segment count past its table, a post count too large.
    std::string directory;
    PutU32(directory, 0x00010000);
    PutU16(directory, 0xFFFF);
    directory += std::string(6, '\0') + "cmap";
    PutU32(directory, 0);
    PutU32(directory, 0x7FFFFFF0);
    PutU32(directory, 0x7FFFFFF0);
    EXPECT_EQ(characters(directory), 0);
    std::string cmap;
    PutU16(cmap, 0);
    PutU16(cmap, 0xFFFF);
    PutU16(cmap, 3);
    PutU16(cmap, 1);
    PutU32(cmap, 12);
    PutU16(cmap, 4);
    PutU16(cmap, 0xFFFF);
    PutU16(cmap, 0);
    PutU16(cmap, 0xFFFE);
    std::string post;
    PutU32(post, 0x00020000);
    post += std::string(28, '\0');
    PutU16(post, 0xFFFF);
    PutU16(post, 300);
    EXPECT_EQ(characters(TrueTypeFont({{"cmap", cmap}, {"maxp", MaxpTable(4)}, {"post", post}})), 0);
    // A CFF whose CharStrings INDEX claims 65535 items of 4-byte offsets in a few bytes.
    std::string cff = NameKeyedCff({34}, {}, {0x41});
    std::string huge_index;
    PutU16(huge_index, 0xFFFF);
    PutU8(huge_index, 4);
    cff.replace(cff.size() - 6, 6, huge_index + "\x01\x02\x03");
    EXPECT_EQ(characters(cff), 0);

    // Embedded in a page, the damaged program leaves its font without text and records 101.
    SetUpCompositeFont(TrueTypeFont({{"cmap", cmap}, {"maxp", MaxpTable(4)}}), "", "");
    EXPECT_EQ(g_store.fonts[1].conversion_type, kConversionNone);
    EXPECT_EQ(Cid(1), "");
    EXPECT_EQ(g_program_decoded_fonts, 0);
}

}  // namespace
}  // namespace velmora
