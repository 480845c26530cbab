// Report sections 8 to 12: operator counts per page, the ToUnicode and one-byte code tables,
// the Differences characters, WinAnsiEncoding use and the text operators left unapplied.
#include <algorithm>
#include <cstdint>

#include "fonts/sjis_fallback.h"
#include "fonts/tounicode.h"
#include "report/report_sections.h"
#include "store/document_store.h"
#include "fonts/font_buffers.h"
#include "content/text_object.h"

namespace velmora {

namespace {

// Columns of the two operator tables, in their headings' order ("fa" is f*, "他" the rest).
constexpr OperatorCounter kAppliedColumns[] = {kOpBT, kOpc, kOpcm, kOpd, kOpf, kOpF,  kOpfStar, kOph, kOpl,
                                               kOpm,  kOpn, kOpQ,  kOpq, kOpre, kOpS, kOpv,     kOpW, kOpw};
constexpr OperatorCounter kIgnoredColumns[] = {kOpDo, kOpg, kOpgs, kOpG, kOpi, kOpj, kOpJ, kOprg, kOpOther};

constexpr int kEntriesPerLine = 5;

void WriteCounterRow(ReportSink& sink, int page, const OperatorCounter* columns, int count) {
    ReportPrint(sink, "%4d --", page);
    for (int i = 0; i < count; ++i) ReportPrint(sink, " %5d", g_store.pages[page].operator_counters[columns[i]]);
    ReportBlank(sink);
}

uint8_t Byte(char c) { return static_cast<uint8_t>(c); }

}  // namespace

void WriteOperatorCounts(ReportSink& sink) {
    const int pages = ReportPageCount();
    ReportPrint(sink, "====================  グラフィックコマンド数　====================\n");
    ReportPrint(sink, "変換に有効なコマンド\n");
    ReportPrint(sink, "page --    BT,    c,   cm,    d,    f,    F,   fa,    h,    l,    m,    n,    Q,    q,   re,    S,    v,    W,    w\n");
    for (int p = 1; p <= pages; ++p) WriteCounterRow(sink, p, kAppliedColumns, std::size(kAppliedColumns));
    ReportBlank(sink);
    ReportPrint(sink, "変換で無視するコマンド\n");
    ReportPrint(sink, "page --    Do,    g,   gs,    G,    i,    j,   J,   rg,   他\n");
    for (int p = 1; p <= pages; ++p) WriteCounterRow(sink, p, kIgnoredColumns, std::size(kIgnoredColumns));
    ReportBlank(sink, 2);
}

void WriteToUnicodeTable(ReportSink& sink) {
    ReportPrint(sink, "====================  Tounicode で変換された文字  ====================\n");
    ReportPrint(sink, "Tounicode 変換表でUniCode → Shiftjisに変換登録された文字\n");
    ReportPrint(sink, "2byte CID code(Type0)の数(ファイル全体)　= %5d\n", g_two_byte_registrations);
    // Shown only when it happened, so the reports of files without such characters stay as they were.
    if (g_unmapped_characters > 0) {
        ReportPrint(sink, "ShiftJisに対応する文字がなく ? とした文字の数 = %5d\n", g_unmapped_characters);
    }
    if (g_long_text_count > 0) {
        ReportPrint(sink, "複数文字に変換された文字コードの数 = %5d\n", g_long_text_count);
    }
    ReportPrint(sink, " CID UNI code → ShiftJis[字]\n");
    int written = 0;
    for (int cid = 0; cid < kCidMapEntries; ++cid) {
        const CidMapEntry& e = g_store.cid_map[cid];
        if (e.text[0] == '\0' && e.text[1] == '\0') continue;
        ReportPrint(sink, "%4x %4x → %2x%2x [%2s]   ", cid, UnicodeByCode[cid], Byte(e.text[0]), Byte(e.text[1]),
                    FieldText(e.text, sizeof e.text).c_str());
        if (++written % kEntriesPerLine == 0) ReportBlank(sink);
    }
    ReportBlank(sink, 2);
}

void WriteDuplicateList(ReportSink& sink) {
    ReportPrint(sink, "Tounicode 変換表で重複登録された文字数   = %5d\n", g_store.duplicate_count);
    ReportPrint(sink, " CID → Font番号 [字](被重複)\n");
    const int count = std::clamp(g_store.duplicate_count, 0, kDuplicateCapacity);
    for (int i = 1; i <= count; ++i) {
        const DuplicateEntry& d = g_store.duplicates[i];
        // The text the code keeps is that of the first font that registered it.
        const char* kept = (d.code >= 0 && d.code < kCidMapEntries) ? g_store.cid_map[d.code].text : "";
        ReportPrint(sink, "%4x → F%2d [%2s](%2s)     ", d.code, d.font_number, FieldText(d.text, sizeof d.text).c_str(),
                    FieldText(kept, 3).c_str());
        if (i % kEntriesPerLine == 0) ReportBlank(sink);
    }
    ReportBlank(sink, 3);
}

void WriteOneByteCodes(ReportSink& sink) {
    ReportPrint(sink, "1byte CID code(Type1)の数(フォント定義名毎、頁毎)\n");
    const int fonts = ReportFontCount();
    for (int n = 1; n <= fonts; ++n) {
        const FontDef& font = g_store.fonts[n];
        ReportPrint(sink, "定義名= %s (Page:%d)　登録文字数 = %d\n", FieldText(font.resource_name, kFontFieldBytes).c_str(),
                    font.page, font.one_byte_code_count);
        for (int code = 0; code < kOneByteCodes; ++code) {
            if (font.one_byte_codes[code][0] == '\0') continue;
            ReportPrint(sink, "%3s", FieldText(font.one_byte_codes[code], 3).c_str());
        }
        ReportBlank(sink, 2);
    }
    ReportBlank(sink);
}

void WriteDifferences(ReportSink& sink) {
    ReportPrint(sink, "====================  Differences で定義された文字  ====================\n");
    ReportPrint(sink, "Differences で定義登録されたASCII文字数  = %d\n", g_store.differences_count);
    ReportBlank(sink);
    const int count = std::clamp(g_store.differences_count, 0, kOneByteCodes - 1);
    for (int code = 1; code <= count; ++code) ReportPrint(sink, " %c", g_store.differences_table[code] & 0x7F);
    ReportBlank(sink, 2);
}

void WriteWinAnsiUse(ReportSink& sink) {
    ReportPrint(sink, "====================  WinAnsiEncoding で記述された文字  ====================\n");
    if (g_font_use.winansi_seen) {
        ReportPrint(sink, "WinAnsiEncoding による文字：有り\n");
    } else {
        ReportPrint(sink, "WinAnsiEncoding による文字：無し\n");
    }
    ReportBlank(sink, 2);
}

void WriteDisabledCommands(ReportSink& sink) {
    const int32_t* counters = g_text_state_use.counters;
    ReportPrint(sink, "====================  Disable Command check  ====================\n");
    ReportPrint(sink, "文字コマンド：Ts = %d\n", counters[0]);
    ReportPrint(sink, "文字コマンド：Tc = %d\n", counters[1]);
    ReportPrint(sink, "文字コマンド：Tw = %d\n", counters[2]);
    ReportPrint(sink, "文字コマンド：Tz = %d\n", counters[3]);
    ReportBlank(sink);
}

}  // namespace velmora
