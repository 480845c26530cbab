// The font table's columns, the ToUnicode table five entries a line, the duplicate list, the
// one-byte codes per font, the Differences characters, WinAnsiEncoding and the operator counts.
#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "fonts/tounicode.h"
#include "report_fixture.h"
#include "support/font_maker.h"
#include "support/pdf_maker.h"

namespace velmora {
namespace {

using test_support::Deflate;
using test_support::FlateStreamBody;
using test_support::OnePageDocument;
using test_support::PdfMaker;
using test_support::StreamBody;

std::string CMap(const std::string& codespace, const std::string& sections) {
    return "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n1 begincodespacerange\n" + codespace +
           "\nendcodespacerange\n" + sections + "\nendcmap\nend end\n";
}

std::string Font(const std::string& subtype, const std::string& extra = "") {
    return "<</Type/Font/Subtype/" + subtype + "/BaseFont/ABCDEF+Test" + extra + ">>";
}

class ReportCharacters : public ReportTest {
protected:
    // One page whose font dictionary is `fonts`, with the test's objects, opened for the report.
    void OpenWithFonts(const std::string& fonts, const std::map<int, std::string>& objects,
                       const std::string& content = "0 0 m 10 10 l S\n\n") {
        PdfMaker pdf;
        pdf.Add(1, "<</Type/Catalog/Pages 3 0 R>>");
        pdf.Add(2, "<</Creator (report tests)>>");
        pdf.Add(3, "<</Type/Pages/Kids [4 0 R]/Count 1>>");
        pdf.Add(4, "<</Type/Page/Parent 3 0 R/MediaBox [0 0 842 595]/Resources <</Font <<" + fonts +
                       ">>>>/Contents 5 0 R>>");
        pdf.Add(5, FlateStreamBody("", content));
        for (const auto& [number, body] : objects) pdf.Add(number, body);
        Open(pdf.Finish(pdf.ClassicXref("/Root 1 0 R/Info 2 0 R")));
    }
};

const std::string kSixCodes = CMap("<0000> <FFFF>",
                                   "2 beginbfrange\n<0001> <0005> <0041>\n<0006> <0006> <3042>\nendbfrange");
const std::string kOtherOne = CMap("<0000> <FFFF>", "1 beginbfchar\n<0001> <005A>\nendbfchar");
const std::string kOneByte = CMap("<00> <FF>", "2 beginbfchar\n<41> <0041>\n<42> <0042>\nendbfchar");

TEST_F(ReportCharacters, FontTableToUnicodeDuplicatesOneByteCodesAndDifferences) {
    OpenWithFonts("/F1 10 0 R/F2 12 0 R/F3 14 0 R/F4 15 0 R/F5 17 0 R/F6 18 0 R",
                  {{10, Font("Type0", "/ToUnicode 11 0 R")},
                   {11, FlateStreamBody("", kSixCodes)},
                   {12, Font("TrueType", "/ToUnicode 13 0 R")},
                   {13, StreamBody("", kOneByte)},
                   {14, Font("Type3")},  // no codes: a Type1 font would read StandardEncoding
                   {15, Font("TrueType", "/FirstChar 1/Encoding 16 0 R")},
                   {16, "<</Type/Encoding/Differences [1 /three /period /A]>>"},
                   {17, Font("TrueType", "/Encoding /WinAnsiEncoding")},
                   {18, Font("Type0", "/ToUnicode 19 0 R")},
                   {19, FlateStreamBody("", kOtherOne)}});
    ASSERT_EQ(g_store.font_count, 6);
    std::vector<std::string> lines = ReportLines();
    // F4's table is StandardEncoding with Differences at codes 1 to 3; past ASCII, the code
    // page's own conversion decides (best fit or "?"), so only the start is compared.
    const auto f4 = std::find(lines.begin(), lines.end(), "定義名= F4 (Page:1)　登録文字数 = 152");
    ASSERT_NE(f4, lines.end());
    EXPECT_EQ((f4 + 1)->rfind("  3  .  A     !  \"  #  $  %  & ", 0), 0u) << *(f4 + 1);
    *(f4 + 1) = "<F4's codes>";
    // How many of StandardEncoding's characters the code page lacks depends on its conversion.
    const auto unmapped = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
        return line.rfind("ShiftJisに対応する文字がなく ? とした文字の数 = ", 0) == 0;
    });
    if (unmapped != lines.end()) lines.erase(unmapped);

    // The ratio is the CMap's decoded length over its stream's length, in single precision.
    auto sizes = [](const std::string& cmap) {
        const long before = static_cast<long>(Deflate(cmap).size());
        char ratio[16];
        std::snprintf(ratio, sizeof ratio, "%6.2f",
                      static_cast<double>(static_cast<float>(cmap.size()) / static_cast<float>(before)));
        return Pad(before, 8) + " " + Pad(static_cast<long>(cmap.size()), 8) + " " + ratio;
    };
    const std::string names = "  ＭＳ ゴシック Test";
    ExpectLines(Section(lines, "====================  Font定義  ===================="),
                {
                    "====================  Font定義  ====================",
                    "登録Font定義数 /MAX =    6/2000",
                    "フォントプログラムから復号したフォント数 0",
                    "",
                    "登録No. 頁 定義名 定義Obj StreamObj 展開前   展開後 展開倍率  SubType      code変換 JWWフォント    BaseFont",
                    "    1    1     F1    10      11   " + sizes(kSixCodes) + "      Type0     ToUnicode" + names,
                    // Not compressed: the CMap's own length is both sizes.
                    "    2    1     F2    12      13   " + Pad(static_cast<long>(kOneByte.size()), 8) + " " +
                        Pad(static_cast<long>(kOneByte.size()), 8) + "   1.00   TrueType     ToUnicode" + names,
                    "    3    1     F3    14   -----   -------- -------- ------      Type3  文字code情報なし" + names,
                    "    4    1     F4    15   -----   -------- -------- ------   TrueType  Differennces" + names,
                    "    5    1     F5    17   -----   -------- -------- ------   TrueType          temp" + names,
                    "    6    1     F6    18      19   " + sizes(kOtherOne) + "      Type0     ToUnicode" + names,
                    "",
                    "",
                });

    // Six two-byte codes: a line of five and a line with the sixth. Code 1 keeps F1's text while
    // its Unicode value is the one F6 registered last.
    ExpectLines(Section(lines, "====================  Tounicode で変換された文字  ===================="),
                {
                    "====================  Tounicode で変換された文字  ====================",
                    "Tounicode 変換表でUniCode → Shiftjisに変換登録された文字",
                    "2byte CID code(Type0)の数(ファイル全体)　=     7",
                    " CID UNI code → ShiftJis[字]",
                    "   1   5a → 41 0 [ A]      2   42 → 42 0 [ B]      3   43 → 43 0 [ C]   "
                    "   4   44 → 44 0 [ D]      5   45 → 45 0 [ E]   ",
                    "   6 3042 → 82a0 [あ]   ",
                    "",
                    "Tounicode 変換表で重複登録された文字数   =     1",
                    " CID → Font番号 [字](被重複)",
                    "   1 → F 6 [ Z]( A)     ",
                    "",
                    "",
                    "1byte CID code(Type1)の数(フォント定義名毎、頁毎)",
                    "定義名= F1 (Page:1)　登録文字数 = 0",
                    "",
                    "",
                    "定義名= F2 (Page:1)　登録文字数 = 2",
                    "  A  B",
                    "",
                    "定義名= F3 (Page:1)　登録文字数 = 0",
                    "",
                    "",
                    "定義名= F4 (Page:1)　登録文字数 = 152",
                    "<F4's codes>",
                    "",
                    "定義名= F5 (Page:1)　登録文字数 = 0",
                    "",
                    "",
                    "定義名= F6 (Page:1)　登録文字数 = 0",
                    "",
                    "",
                    "",
                });

    ExpectLines(Section(lines, "====================  Differences で定義された文字  ===================="),
                {
                    "====================  Differences で定義された文字  ====================",
                    "Differences で定義登録されたASCII文字数  = 3",
                    "",
                    " 3 . A",
                    "",
                });
    // F5's WinAnsiEncoding registration sets the flag.
    ExpectLines(Section(lines, "====================  WinAnsiEncoding で記述された文字  ===================="),
                {
                    "====================  WinAnsiEncoding で記述された文字  ====================",
                    "WinAnsiEncoding による文字：有り",
                    "",
                    "",
                });
    EXPECT_NE(std::find(lines.begin(), lines.end(), "   1     4   842 x   595     0.00        1         0 /     0     "
                                                    "【     5,】//【   F1,   F2,   F3,   F4,   F5,   F6,】"),
              lines.end());
}

TEST_F(ReportCharacters, FontsDecodedThroughTheirProgramsAreCountedAndMarked) {
    // A symbolic TrueType font whose byte 0x41 is glyph 1, "A" by its Unicode cmap.
    using namespace test_support;
    const std::string program = TrueTypeFont({{"cmap", CmapTable({{3, 0, {{0xF041, 1}}}, {3, 1, {{0x41, 1}}}})},
                                              {"maxp", MaxpTable(2)}});
    OpenWithFonts("/F1 10 0 R/F2 11 0 R",
                  {{10, Font("TrueType", "/FirstChar 32/FontDescriptor 12 0 R")},
                   {11, Font("TrueType", "/FirstChar 32")},
                   {12, "<</Type/FontDescriptor/Flags 4/FontFile2 13 0 R>>"},
                   {13, FlateStreamBody("", program)}});
    const std::vector<std::string> section = Section(ReportLines(), "====================  Font定義  ====================");
    ASSERT_GE(section.size(), 6u);
    EXPECT_EQ(section[2], "フォントプログラムから復号したフォント数 1");
    EXPECT_NE(section[5].find("ToUnicode"), std::string::npos) << section[5];
    EXPECT_NE(section[5].find("(プログラム復号 TrueType)"), std::string::npos) << section[5];
    EXPECT_EQ(section[6].find("プログラム復号"), std::string::npos) << section[6];
}

TEST_F(ReportCharacters, ExactlyFiveEntriesFillOneLine) {
    OpenWithFonts("/F1 10 0 R", {{10, Font("Type0", "/ToUnicode 11 0 R")},
                                 {11, FlateStreamBody("", CMap("<0000> <FFFF>", "1 beginbfrange\n<0010> <0014> <0030>\nendbfrange"))}});
    const std::vector<std::string> section =
        Section(ReportLines(), "====================  Tounicode で変換された文字  ====================");
    ASSERT_GE(section.size(), 8u);
    EXPECT_EQ(section[4], "  10   30 → 30 0 [ 0]     11   31 → 31 0 [ 1]     12   32 → 32 0 [ 2]   "
                          "  13   33 → 33 0 [ 3]     14   34 → 34 0 [ 4]   ");
    EXPECT_EQ(section[5], "");
    EXPECT_EQ(section[6], "");
    EXPECT_EQ(section[7], "Tounicode 変換表で重複登録された文字数   =     0");
}

// Counters in the headings' column order ("fa" is f*, "他" every other token) and the text
// state operators the conversion does not apply.
TEST_F(ReportCharacters, OperatorColumnsFollowTheirHeadings) {
    PdfMaker pdf = OnePageDocument("/MediaBox [0 0 595 842]",
                                   "BT 1 Ts 2 Tc 0 Tc 3 Tw 0 Tw 1 Tw 100 Tz ET\n0 0 m 10 10 l S\n\n");
    Open(pdf.Finish(pdf.ClassicXref("/Root 1 0 R/Info 2 0 R")));
    for (int k = 0; k < kOperatorCounterCount; ++k) g_store.pages[1].operator_counters[k] = 100 + k;
    const std::vector<std::string> lines = ReportLines();
    const std::vector<std::string> counts =
        Section(lines, "====================  グラフィックコマンド数　====================");
    ASSERT_EQ(counts.size(), 10u);
    //                 BT     c    cm     d     f     F    fa     h     l     m     n     Q     q    re     S     v     W     w
    EXPECT_EQ(counts[3], "   1 --   114   106   102   105   115   116   117   118   104   103   109   101   100   113   108   107   110   111");
    //                 Do     g    gs     G     i     j     J    rg    他
    EXPECT_EQ(counts[7], "   1 --   122   119   120   123   121   124   125   112   126");

    ExpectLines(Section(lines, "====================  Disable Command check  ===================="),
                {
                    "====================  Disable Command check  ====================",
                    "文字コマンド：Ts = 1",
                    "文字コマンド：Tc = 2",
                    "文字コマンド：Tw = 3",
                    "文字コマンド：Tz = 1",
                    "",
                });
}

}  // namespace
}  // namespace velmora
