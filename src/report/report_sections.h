// The sections of the PDF report, in the order WriteReportBody writes them. Each reads the
// document store and writes nothing into it.
#pragma once

#include <cstddef>
#include <string>

#include "report/report_sink.h"

namespace velmora {

// Fixed maxima printed beside the counts.
inline constexpr int kReportObjectMaximum = 100000;
inline constexpr int kReportPageMaximum = 1024;
inline constexpr int kReportLinesPerPage = 1000000;
inline constexpr int kReportCharactersPerPage = 1000000;
inline constexpr int kReportStringsPerPage = 10000;
inline constexpr int kReportFontMaximum = 2000;

// A text field of a fixed-size record, up to its terminator or its size, whichever comes first.
inline std::string FieldText(const char* field, size_t size) {
    size_t length = 0;
    while (length < size && field[length] != '\0') ++length;
    return std::string(field, length);
}

// The page and font loops stop at the tables' ends whatever the counts say.
int ReportPageCount();
int ReportFontCount();

void WriteDocumentFacts(ReportSink& sink);
void WriteTrailer(ReportSink& sink);
void WriteObjectTable(ReportSink& sink);
void WritePageTable(ReportSink& sink);
void WriteExpansionRecords(ReportSink& sink);
void WriteFontTable(ReportSink& sink);
void WriteConversionTotals(ReportSink& sink);

void WriteOperatorCounts(ReportSink& sink);
void WriteToUnicodeTable(ReportSink& sink);
void WriteDuplicateList(ReportSink& sink);
void WriteOneByteCodes(ReportSink& sink);
void WriteDifferences(ReportSink& sink);
void WriteWinAnsiUse(ReportSink& sink);
void WriteDisabledCommands(ReportSink& sink);
void WriteOptionalContent(ReportSink& sink);
void WriteStatedScales(ReportSink& sink);

}  // namespace velmora
