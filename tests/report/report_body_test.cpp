// The whole report of a small classic-table document, line by line, as the report's sections
// lay it out; then the object table of a document read through a cross-reference stream.
#include <string>
#include <vector>

#include "report_fixture.h"
#include "support/pdf_maker.h"

namespace velmora {
namespace {

using test_support::ObjectStreamBody;
using test_support::OnePageDocument;
using test_support::PdfMaker;
using test_support::StreamBody;

TEST_F(ReportTest, ClassicOnePageDocumentLineByLine) {
    PdfMaker pdf = OnePageDocument();
    // A font that gives no codes (a Type1 font would read StandardEncoding).
    pdf.Add(6, "<</Type/Font/Subtype/Type3/BaseFont/Helvetica>>");
    const std::string file = pdf.Finish(pdf.ClassicXref("/Root 1 0 R/Info 2 0 R"));
    Open(file);
    const auto& o = pdf.offsets;
    const long size = static_cast<long>(file.size());
    auto row = [&](int n, long extent, const std::string& format_name, const std::string& label) {
        return Pad(n, 4) + "    0  " + Pad(o.at(n), 8, true) + "     0   " + Pad(extent, 6) + "  " + format_name + "   " +
               label;
    };
    const std::vector<std::string> expected = {
        "FileName : /drawings/plan.pdf",
        "",
        "PDFver   : PDF-1.4  (読み込んだPDFファイルのフォーマットバージョン) ",
        "",
        "Creator (Test maker)",
        "",
        "PDF filesize : " + std::to_string(size),
        "",
        "",
        "====================  Trailer  ====================",
        "RootObj        1",
        "InfoObj        2",
        "Obj総数        7",
        "総ページ数     1",
        "PagesObj       3",
        "",
        "====================  オブジェクト一覧  ====================",
        "オブジェクト数 /MAX =     7/100000",
        "",
        "Obj (Xref) アドレス  世代   サイズ    データ形式   type",
        // The free entry 0 reaches to the lowest offset; classic entries hold object stream 0.
        "   0    0  00000000   65535   " + Pad(o.at(1), 6) + "        その他   ",
        row(1, o.at(2) - o.at(1), "  辞書(Type)", "Catalog"),
        row(2, o.at(3) - o.at(2), "     Creator", "Creator (Test maker)"),
        row(3, o.at(4) - o.at(3), "  辞書(Type)", "Pages"),
        row(4, o.at(5) - o.at(4), "  辞書(Type)", "Page"),
        row(5, o.at(6) - o.at(5), "  DataStream", "FlateDecode"),
        row(6, size - o.at(6), "  辞書(Type)", "Font"),
        "",
        "",
        "====================  ページ  ====================",
        "ページ数 /MAX =     1/1024",
        "直線数は、曲線・破線を構成する全単線をカウントしている",
        "ページ当たりの最大線数  　　=  1000000",
        "ページ当たりの最大文字数  　=  1000000",
        "ページ当たりの最大文字列数  =    10000",
        "",
        "Page EntObj MediaBoxSize ページ回転 直線数 変換文字列/全文字列数 【 ContentsObj 】//【 使用Fonts 】",
        "   1     4   595 x   842     0.00        1         0 /     0     【     5,】//【   F1,】",
        "",
        "",
        "====================  DataStream  =============================",
        "DataStream展開の最大倍率  (展開用バッファ 展開倍率最大50倍 で設定) ",
        "(展開倍率が前のストリームの展開倍率を上回る場合のみ記録)",
        "Page 展開前size 展開後size 展開倍率",
        // Page 1 was converted before the pass, which empties the record list and skips it.
        "",
        "",
        "====================  Font定義  ====================",
        "登録Font定義数 /MAX =    1/2000",
        "フォントプログラムから復号したフォント数 0",
        "",
        "登録No. 頁 定義名 定義Obj StreamObj 展開前   展開後 展開倍率  SubType      code変換 JWWフォント    BaseFont",
        "    1    1     F1     6   -----   -------- -------- ------      Type3  文字code情報なし  ＭＳ ゴシック Helvetica",
        "",
        "",
        "====================  変換データ数 (ファイル全体) ====================",
        "変換した直線の数     =       1",
        "PDF内の文字列数      =       0",
        "変換成功した文字列数 =       0",
        "",
        "",
        "====================  グラフィックコマンド数　====================",
        "変換に有効なコマンド",
        "page --    BT,    c,   cm,    d,    f,    F,   fa,    h,    l,    m,    n,    Q,    q,   re,    S,    v,    W,    w",
        // The S that ends the stream is not read (a token needs two bytes after it).
        "   1 --     0     0     0     0     0     0     0     0     1     1     0     0     0     0     0     0     0     0",
        "",
        "変換で無視するコマンド",
        "page --    Do,    g,   gs,    G,    i,    j,   J,   rg,   他",
        "   1 --     0     0     0     0     0     0     0     0     0",
        "",
        "",
        "====================  Tounicode で変換された文字  ====================",
        "Tounicode 変換表でUniCode → Shiftjisに変換登録された文字",
        "2byte CID code(Type0)の数(ファイル全体)　=     0",
        " CID UNI code → ShiftJis[字]",
        "",
        "",
        "Tounicode 変換表で重複登録された文字数   =     0",
        " CID → Font番号 [字](被重複)",
        "",
        "",
        "",
        "1byte CID code(Type1)の数(フォント定義名毎、頁毎)",
        "定義名= F1 (Page:1)　登録文字数 = 0",
        "",
        "",
        "",
        "====================  Differences で定義された文字  ====================",
        "Differences で定義登録されたASCII文字数  = 0",
        "",
        "",
        "",
        "====================  WinAnsiEncoding で記述された文字  ====================",
        "WinAnsiEncoding による文字：無し",
        "",
        "",
        "====================  Disable Command check  ====================",
        "文字コマンド：Ts = 0",
        "文字コマンド：Tc = 0",
        "文字コマンド：Tw = 0",
        "文字コマンド：Tz = 0",
        "",
    };
    ExpectLines(ReportLines(), expected);
}

// Objects 3 and 10 inside object stream 6, the rest direct, read through cross-reference stream 7.
TEST_F(ReportTest, CrossReferenceStreamMarksExpandedObjects) {
    PdfMaker pdf("%PDF-1.5\n");
    pdf.Add(1, "<</Type/Catalog/Pages 3 0 R>>");
    pdf.Add(2, "<</Producer (objstm)>>");
    pdf.Add(4, "<</Type/Page/MediaBox [0 0 10 20]/Resources <<>>/Contents 5 0 R>>");
    pdf.Add(5, StreamBody("", "0 0 m 1 1 l S"));
    const std::string pages = "<</Type/Pages/Kids [4 0 R]/Count 1>>";
    const std::string font = "<</Type/Font/Subtype/Type1>>";
    pdf.Add(6, ObjectStreamBody({{3, pages}, {10, font}}));
    const std::string file = pdf.Finish(pdf.XrefStream(7, 11, {{3, {6, 0}}, {10, {6, 1}}}));
    Open(file);
    const std::vector<std::string> lines = ReportLines();
    ASSERT_GT(lines.size(), 40u);
    EXPECT_EQ(lines[2], "PDFver   : PDF-1.5  (読み込んだPDFファイルのフォーマットバージョン) ");
    EXPECT_EQ(lines[3], "XRef Stream (圧縮型クロスリファレンスストリームフォーマット) 使用PDFファイル");
    EXPECT_EQ(lines[4], "");

    const std::vector<std::string> objects = Section(lines, "====================  オブジェクト一覧  ====================");
    ASSERT_EQ(objects.size(), 4u + 11u + 3u);
    EXPECT_EQ(objects[1], "オブジェクト数 /MAX =    11/100000");
    const long size = static_cast<long>(file.size());
    const long three_extent = static_cast<long>(std::string("3 0 ").size() + pages.size());
    const long ten_extent = static_cast<long>(("10 " + std::to_string(pages.size()) + " ").size() + font.size());
    // In the object stream: its number, the address in parentheses, the index as generation.
    EXPECT_EQ(objects[4 + 3], "   3    6 (" + Pad(size, 8, true) + ")    0   " + Pad(three_extent, 6) + "    辞書(Type)   Pages");
    EXPECT_EQ(objects[4 + 10],
              "  10    6 (" + Pad(size + three_extent, 8, true) + ")    1   " + Pad(ten_extent, 6) + "    辞書(Type)   Font");
    // Stored directly: four spaces for the object stream and the file offset between spaces.
    const auto& o = pdf.offsets;
    EXPECT_EQ(objects[4 + 4], "   4       " + Pad(o.at(4), 8, true) + "     0   " + Pad(o.at(5) - o.at(4), 6) +
                                  "    辞書(Type)   Page");
    EXPECT_EQ(objects[4 + 11], "アドレス： ( ) 表示は XRef Stream (圧縮型)のオブジェクト展開位置");
    EXPECT_EQ(objects[4 + 12], "");
    EXPECT_EQ(objects[4 + 13], "");
}

TEST_F(ReportTest, GhostscriptMarkerLineFor32And64Only) {
    PdfMaker pdf = OnePageDocument();
    Open(pdf.Finish(pdf.ClassicXref("/Root 1 0 R/Info 2 0 R")));
    for (int marker : {32, 64, 0, 1}) {
        g_store.ghostscript_marker = static_cast<GhostscriptMarker>(marker);
        const std::vector<std::string> lines = ReportLines();
        ASSERT_GT(lines.size(), 10u);
        EXPECT_EQ(lines[7], "") << marker;
        if (marker == 32 || marker == 64) {
            EXPECT_EQ(lines[8], "★ GhostScript " + std::to_string(marker) + "bit で中間ファイル作成");
            EXPECT_EQ(lines[9], "");
            EXPECT_EQ(lines[10], "====================  Trailer  ====================");
        } else {
            EXPECT_EQ(lines[8], "") << marker;
            EXPECT_EQ(lines[9], "====================  Trailer  ====================") << marker;
        }
    }
}

}  // namespace
}  // namespace velmora
