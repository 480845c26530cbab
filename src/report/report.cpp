#include "report/report.h"

#include <filesystem>
#include <system_error>

#include "report/report_sections.h"

namespace velmora {

namespace {

constexpr char kOpenFailedTitle[] = "ファイルオープンに失敗しました。\n";
constexpr char kWriteFailedTitle[] = "ファイルの書き込みに失敗しました。";

}  // namespace

void WriteReportBody(ReportSink& sink) {
    WriteDocumentFacts(sink);
    WriteTrailer(sink);
    WriteObjectTable(sink);
    WritePageTable(sink);
    WriteExpansionRecords(sink);
    WriteFontTable(sink);
    WriteConversionTotals(sink);
    WriteOperatorCounts(sink);
    WriteToUnicodeTable(sink);
    WriteDuplicateList(sink);
    WriteOneByteCodes(sink);
    WriteDifferences(sink);
    WriteWinAnsiUse(sink);
    WriteDisabledCommands(sink);
    WriteOptionalContent(sink);
    WriteStatedScales(sink);
}

bool WriteReportBody(std::FILE* file) {
    ReportSink sink;
    sink.file = file;
    WriteReportBody(sink);
    return !sink.failed;
}

bool WriteReportFile(WindowHandle window, const char* path) {
    RequestRepaint(window, true);
    // Binary mode: the CR LF pairs are already in the text, so every platform writes the same bytes.
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) {
        ShowMessage(window, path, kOpenFailedTitle, MessageButtons::Ok);
        return false;
    }
    const bool written = WriteReportBody(file);
    const bool closed = std::fclose(file) == 0;
    if (written && closed) return true;
    // Only a file of our own making is removed: a device such as /dev/full must stay.
    std::error_code error;
    if (std::filesystem::is_regular_file(path, error)) std::remove(path);
    ShowMessage(window, path, kWriteFailedTitle, MessageButtons::Ok);
    return false;
}

}  // namespace velmora
