#include "pdf/error_list.h"

namespace velmora {

ErrorList g_errors;

const ErrorTableRow ErrorTable[kErrorTableRows] = {
    {kErrorNoHeader, "ヘッダが見つかりません"},
    {kErrorMemory, "メモリーエラー"},
    {kErrorNoFooter, "フッタが見つかりません"},
    {kErrorNoXref, "クロスリファレンスが見つかりません"},
    {kErrorNoXrefTable, "クロスリファレンスが見つかりません"},
    {kErrorNoXrefStream, "クロスリファレンス・ストリームが見つかりません"},
    {kErrorXrefStreamUnsupported, "XRefStream 型のPDFには非対応です"},
    {kErrorNoLinearizedXref, "Linearized Xref情報が見つかりません"},
    {kErrorPasswordRequired, "パスワードで保護されたPDFです。パスワードを入力してください"},
    {kErrorWrongPassword, "パスワードが違います"},
    {kErrorEncryptionUnsupported, "この暗号化方式のPDFには非対応です"},
    {kErrorNoTrailer, "トレイラーが見つかりません"},
    {kErrorObjectNotFound, "オブジェクトが見つかりません"},
    {kErrorDictionaryNotFound, "辞書が見つかりません"},
    {kErrorNoCatalog, "カタログが見つかりません"},
    {kErrorNoPageTree, "ページ情報（全体）が見つかりません"},
    {kErrorNoPage, "ページ情報（単頁）が見つかりません"},
    {kErrorTooManyObjects, "オブジェクト数が設定値を超えたため、ファイルを最後まで読み込めませんでした\r\n PDFファイルを分割し、サイズを小さくしてお試しください"},
    {kErrorNoStream, "データストリームが見つかりません"},
    {kErrorNoStreamStart, "データストリーム開始位置が見つかりません"},
    {kWarningNotConvertible, "「Velmora」単独では変換できないPDFです。PDFビューアで表示後、他のPDF出力仮想プリンタで再度PDF出力し、そのPDFを変換する方法をお勧めします。"},
    {kWarningLinesNotInflated, "zip圧縮データ(線)を展開できませんでした（データ保護されたPDFではありませんか？）"},
    {kWarningTextsNotInflated, "zip圧縮データ(文字)を展開できませんでした"},
    {kWarningXrefRebuilt, "クロスリファレンスが壊れているため、ファイルを走査して再構築しました"},
    {kWarningRasterImages, "画像（ラスターデータ）は変換されません"},
    {kWarningContentUnreadable, "ページの内容を読み込めませんでした"},
    {kWarningEncodingName, "差分文字コードが見つかりません"},
    {kWarningNeedsExternalCMap, "ShiftJisに変換できない(外部CMAPが必要な)文字コードがあります"},
    {kWarningCodeTableFull, "文字コードの表が一杯のため、一部の文字を登録できませんでした"},
    {kWarningUndecodedText, "文字コードを解読できない文字列を「〓」で書きました"},
    {kWarningNoGhostscript, "GhostScriptが見つかりません"},
    {kWarningLineTableFull, "１頁当たりの線数が設定値を超えているため\r\n この頁の線を最後まで読み込めませんでした"},
    {kWarningTextTableFull, "１頁当たりの文字数が設定値を超えているため\r\n この頁の文字を最後まで読み込めませんでした"},
    {kWarningSolidTableFull, "１頁当たりの塗りつぶしが設定値を超えているため\r\n この頁の塗りつぶしを最後まで読み込めませんでした"},
    {kWarningTooManyPages, "PDFファイルの全頁数が設定値を超えているため\r\n このファイルの頁を最後まで読み込めませんでした"},
};

void RecordError(int code) {
    if (g_errors.count >= kErrorListCapacity) return;
    g_errors.codes[g_errors.count++] = code;
}

bool HasFatalError() {
    for (int i = 0; i < g_errors.count; ++i) {
        if (g_errors.codes[i] < kFirstWarningCode) return true;
    }
    return false;
}

void ClearErrors() {
    g_errors.count = 0;
    g_errors.shown_count = 0;
}

bool IsInformationCode(int code) { return code == kWarningEncodingName; }

bool WasShown(int code) {
    for (int i = 0; i < g_errors.shown_count; ++i) {
        if (g_errors.shown_codes[i] == code) return true;
    }
    return false;
}

void MarkShown(int code) {
    if (WasShown(code) || g_errors.shown_count >= kErrorListCapacity) return;
    g_errors.shown_codes[g_errors.shown_count++] = code;
}

void ReplaceErrors(int code) {
    ClearErrors();
    RecordError(code);
}

const char* ErrorMessage(int code) {
    for (const ErrorTableRow& row : ErrorTable) {
        if (row.code == code) return row.message;
    }
    return nullptr;
}

int DistinctErrorCodes(int first, int32_t codes[kErrorListCapacity]) {
    int distinct = 0;
    for (int i = first < 0 ? 0 : first; i < g_errors.count; ++i) {
        bool seen = false;
        for (int j = 0; j < distinct && !seen; ++j) seen = codes[j] == g_errors.codes[i];
        if (!seen) codes[distinct++] = g_errors.codes[i];
    }
    return distinct;
}

}  // namespace velmora
