// The PDF report: a plain-text analysis of the loaded PDF and its conversion, in Shift-JIS with
// CR LF line ends on every platform.
//
// Window:  ConvertAllPages(window); ReportDefaultFileName(name, size) as the save dialog's
//          initial name; cancel: return; WriteReportFile(window, name); then ConvertPage of the
//          current page and a repaint.
// Console: ConvertAllPages(nullptr); WriteReportFile(nullptr, path).
#pragma once

#include <cstdio>

#include "platform/platform.h"
#include "report/report_sink.h"

namespace velmora {

// Every section of the report, in order. False when writing to the file failed.
bool WriteReportBody(std::FILE* file);
void WriteReportBody(ReportSink& sink);

// Repaints the window (erasing), creates `path` and writes the report. A file that cannot be created or written is reported in
// a message box with the path and returns false; the program goes on (ending it would lose the
// session's work), and a partly written file is removed.
bool WriteReportFile(WindowHandle window, const char* path);

}  // namespace velmora
