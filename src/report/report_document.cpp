// Report sections 1 to 7: file facts, trailer, objects, pages, stream expansion, fonts and the
// conversion totals.
#include <algorithm>
#include <cstdint>

#include "fonts/font_program.h"
#include "fonts/font_resources.h"
#include "fonts/tounicode.h"
#include "pdf/document_values.h"
#include "pdf/security_handler.h"
#include "pdf/expansion_statistics.h"
#include "pdf/file_buffer.h"
#include "report/report_names.h"
#include "report/report_sections.h"
#include "store/arc_records.h"
#include "store/solid_records.h"
#include "store/document_store.h"
#include "store/capacities.h"
#include "store/file_names.h"

namespace velmora {

namespace {

// Float sizes printed truncated; a value outside int range would be undefined to convert.
int TruncatedSize(float value) {
    if (!(value > -2147483648.0f)) return 0;
    if (value >= 2147483647.0f) return 2147483647;
    return static_cast<int>(value);
}

int ClampedTotal(int64_t total) { return static_cast<int>(std::clamp<int64_t>(total, 0, 2147483647)); }

}  // namespace

int ReportPageCount() { return std::clamp(g_store.page_count, 0, kMaxPages); }

int ReportFontCount() { return std::clamp(g_store.font_count, 0, kLastFontNumber); }

void WriteDocumentFacts(ReportSink& sink) {
    ReportPrint(sink, "FileName : %s\n", FieldText(g_file_names.pdf_path, kPathBytes).c_str());
    ReportBlank(sink);
    ReportPrint(sink, "PDFver   : %s  (読み込んだPDFファイルのフォーマットバージョン) \n",
                FieldText(g_document.version_text, kVersionTextBytes).c_str());
    if (g_document.xref_stream_flag == 1) {
        ReportPrint(sink, "XRef Stream (圧縮型クロスリファレンスストリームフォーマット) 使用PDFファイル\n");
    }
    // Lines only a protected or damaged file has: other reports stay as they were.
    if (DocumentEncrypted()) {
        ReportPrint(sink, "暗号化    : %s  (標準セキュリティハンドラ)\n", EncryptionDescription().c_str());
    }
    if (g_document.xref_rebuilt == 1) {
        ReportPrint(sink, "クロスリファレンス再構築 (cross-reference rebuilt)\n");
    }
    ReportBlank(sink);
    ReportPrint(sink, "%s\n", FieldText(g_document.creator_text, kCreatorTextBytes).c_str());
    ReportBlank(sink);
    ReportPrint(sink, "PDF filesize : %d\n", g_file.file_size);
    ReportBlank(sink);
    if (g_store.ghostscript_marker == GhostscriptMarker::k32Bit) ReportPrint(sink, "★ GhostScript 32bit で中間ファイル作成\n");
    if (g_store.ghostscript_marker == GhostscriptMarker::k64Bit) ReportPrint(sink, "★ GhostScript 64bit で中間ファイル作成\n");
    ReportBlank(sink);
}

void WriteTrailer(ReportSink& sink) {
    ReportPrint(sink, "====================  Trailer  ====================\n");
    ReportPrint(sink, "RootObj    %5d\n", g_document.root.number);
    ReportPrint(sink, "InfoObj    %5d\n", g_document.info.number);
    ReportPrint(sink, "Obj総数    %5d\n", g_store.object_count);
    ReportPrint(sink, "総ページ数 %5d\n", g_store.page_count);
    ReportPrint(sink, "PagesObj   %5d\n", g_document.page_tree_root);
    ReportBlank(sink);
}

void WriteObjectTable(ReportSink& sink) {
    ReportPrint(sink, "====================  オブジェクト一覧  ====================\n");
    ReportPrint(sink, "オブジェクト数 /MAX =  %4d/%4d\n", g_store.object_count, kReportObjectMaximum);
    ReportBlank(sink);
    ReportPrint(sink, "Obj (Xref) アドレス  世代   サイズ    データ形式   type\n");
    const int first = std::max(g_document.first_object_number, 0);
    const int end = std::clamp(g_store.object_count, 0, kObjectCapacity);
    for (int n = first; n < end; ++n) {
        const ObjectEntry& e = g_store.objects[n];
        char stream_text[16] = "    ";
        if (e.stream_object >= 0) std::snprintf(stream_text, sizeof stream_text, "%4d", e.stream_object);
        // Objects taken out of object streams are appended from the file's end on, so the first
        // of them starts exactly at the file size: it is marked too.
        const bool expanded = e.offset >= g_file.file_size;
        ReportPrint(sink, "%4d %4s %s%08d%s  %3d   %6d  %12s   %s\n", n, stream_text, expanded ? "(" : " ", e.offset,
                    expanded ? ")" : " ", e.generation, e.extent, DataFormatName(e.kind),
                    FieldText(e.label, kObjectLabelBytes).c_str());
    }
    if (g_document.xref_stream_flag == 1) {
        ReportPrint(sink, "アドレス： ( ) 表示は XRef Stream (圧縮型)のオブジェクト展開位置\n");
    }
    ReportBlank(sink, 2);
}

// Only a conversion that made solids has the table: without them the report is as it was.
void WriteSolidCounts(ReportSink& sink, int pages) {
    bool any = false;
    for (int p = 1; p <= pages && p < kPageTableSize; ++p) any = any || g_solids.page_solids[p] > 0;
    if (!any) return;
    ReportBlank(sink);
    ReportPrint(sink, "Page ソリッド数 (塗りつぶし)\n");
    for (int p = 1; p <= pages && p < kPageTableSize; ++p) ReportPrint(sink, "%4d %8d\n", p, g_solids.page_solids[p]);
}

// Likewise only a conversion that recognised arcs lists them.
void WriteArcCounts(ReportSink& sink, int pages) {
    bool any = false;
    for (int p = 1; p <= pages && p < kPageTableSize; ++p) any = any || g_arcs.page_arcs[p] > 0;
    if (!any) return;
    ReportBlank(sink);
    ReportPrint(sink, "Page 円弧数 (円・円弧・楕円)\n");
    for (int p = 1; p <= pages && p < kPageTableSize; ++p) ReportPrint(sink, "%4d %8d\n", p, g_arcs.page_arcs[p]);
}

void WritePageTable(ReportSink& sink) {
    ReportPrint(sink, "====================  ページ  ====================\n");
    ReportPrint(sink, "ページ数 /MAX =  %4d/%4d\n", g_store.page_count, kReportPageMaximum);
    ReportPrint(sink, "直線数は、曲線・破線を構成する全単線をカウントしている\n");
    ReportPrint(sink, "ページ当たりの最大線数  　　=  %7d\n", kReportLinesPerPage);
    ReportPrint(sink, "ページ当たりの最大文字数  　=  %7d\n", kReportCharactersPerPage);
    ReportPrint(sink, "ページ当たりの最大文字列数  =  %7d\n", kReportStringsPerPage);
    ReportBlank(sink);
    ReportPrint(sink, "Page EntObj MediaBoxSize ページ回転 直線数 変換文字列/全文字列数 【 ContentsObj 】//【 使用Fonts 】\n");
    const int pages = ReportPageCount();
    for (int p = 1; p <= pages; ++p) {
        const PageRecord& page = g_store.pages[p];
        ReportPrint(sink, "%4d %5d %5.0f x %5.0f  %7.2f %8d  %8d /%6d", p, page.page_object, page.media_box[2],
                    page.media_box[3], page.rotation, page.line_count, page.nonempty_text_count, page.text_count);
        if (page.undecoded_text_count > 0) ReportPrint(sink, " (〓%d)", page.undecoded_text_count);
        ReportPrint(sink, "     【 ");
        const int contents = std::clamp(page.contents_count, 0, kContentsPerPage);
        for (int i = 0; i < contents; ++i) ReportPrint(sink, "%5d,", page.contents_objects[i]);
        ReportPrint(sink, "】//【");
        const int fonts = std::clamp(page.font_count, 0, kFontSlotsPerPage - 1);
        for (int slot = 1; slot <= fonts; ++slot) {
            ReportPrint(sink, "%5s,", FieldText(page.font_resource_names[slot], kFontResourceNameBytes).c_str());
        }
        ReportPrint(sink, "】\n");
    }
    WriteArcCounts(sink, pages);
    WriteSolidCounts(sink, pages);
    ReportBlank(sink, 2);
}

void WriteExpansionRecords(ReportSink& sink) {
    ReportPrint(sink, "====================  DataStream  =============================\n");
    ReportPrint(sink, "DataStream展開の最大倍率  (展開用バッファ 展開倍率最大50倍 で設定) \n");
    ReportPrint(sink, "(展開倍率が前のストリームの展開倍率を上回る場合のみ記録)\n");
    ReportPrint(sink, "Page 展開前size 展開後size 展開倍率\n");
    const int records = std::clamp(g_expansion.record_count, 0, kExpansionRecordCapacity);
    for (int i = 0; i < records; ++i) {
        const ExpansionRecord& r = g_expansion.records[i];
        ReportPrint(sink, "%4d   %8d   %8d  %7.2f\n", r.page, TruncatedSize(r.input_size), TruncatedSize(r.output_size),
                    static_cast<double>(r.ratio));
    }
    ReportBlank(sink, 2);
}

void WriteFontTable(ReportSink& sink) {
    ReportPrint(sink, "====================  Font定義  ====================\n");
    ReportPrint(sink, "登録Font定義数 /MAX = %4d/%4d\n", g_store.font_count, kReportFontMaximum);
    ReportPrint(sink, "フォントプログラムから復号したフォント数 %d\n", g_program_decoded_fonts);
    ReportBlank(sink);
    ReportPrint(sink, "登録No. 頁 定義名 定義Obj StreamObj 展開前   展開後 展開倍率  SubType      code変換 JWWフォント    BaseFont\n");
    const int fonts = ReportFontCount();
    for (int n = 1; n <= fonts; ++n) {
        const FontDef& font = g_store.fonts[n];
        const ToUnicodeData& cmap = g_tounicode[n];
        ReportPrint(sink, "%5d  %3d %6s %5d", n, font.page, FieldText(font.resource_name, kFontFieldBytes).c_str(),
                    font.font_object);
        if (cmap.length > 0) {
            // A CMap that was not compressed keeps no input length: its own length is both sizes.
            const int32_t before = cmap.input_length > 0 ? cmap.input_length : cmap.length;
            const float ratio = static_cast<float>(cmap.length) / static_cast<float>(before);
            ReportPrint(sink, "   %5d   %8d %8d %6.2f", font.tounicode_object, before, cmap.length,
                        static_cast<double>(ratio));
        } else {
            ReportPrint(sink, "   -----   -------- -------- ------");
        }
        ReportPrint(sink, "   %8s  %12s %14s %s", FieldText(font.subtype, kFontFieldBytes).c_str(),
                    CodeConversionName(font.conversion_type), FieldText(g_store.jww_font_names[n], kFontNameBytes).c_str(),
                    FieldText(g_store.base_font_names[n], kFontNameBytes).c_str());
        // The codes the font's own program gave, and which kind of program it was.
        if (g_font_program_kind[n] == kFontProgramTrueType) ReportPrint(sink, "  (プログラム復号 TrueType)");
        if (g_font_program_kind[n] == kFontProgramCff) ReportPrint(sink, "  (プログラム復号 CFF)");
        ReportBlank(sink);
    }
    ReportBlank(sink, 2);
}

void WriteConversionTotals(ReportSink& sink) {
    // The store's running totals restart with every conversion and the pass over all pages skips
    // the pages already converted, so the whole file's figures are summed from the page records.
    int64_t lines = 0, texts = 0, nonempty = 0;
    const int pages = ReportPageCount();
    for (int p = 1; p <= pages; ++p) {
        lines += g_store.pages[p].line_count;
        texts += g_store.pages[p].text_count;
        nonempty += g_store.pages[p].nonempty_text_count;
    }
    ReportPrint(sink, "====================  変換データ数 (ファイル全体) ====================\n");
    ReportPrint(sink, "変換した直線の数     = %7d\n", ClampedTotal(lines));
    ReportPrint(sink, "PDF内の文字列数      = %7d\n", ClampedTotal(texts));
    ReportPrint(sink, "変換成功した文字列数 = %7d\n", ClampedTotal(nonempty));
    ReportBlank(sink, 2);
}

}  // namespace velmora
