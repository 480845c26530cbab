// velmora-convert's --report and --list: every page converted once for its figures, then the
// PDF report written and the page list rows printed, as the window's commands do.
#pragma once

#include <string>

#include "cli/options.h"

namespace velmora {

// The file the report goes to: `requested` itself, or inside an existing directory the name the
// window's save dialog would offer for `stem`. Empty when that name does not fit.
std::string ReportPathFor(const std::string& requested, const std::string& stem);

// ConvertAllPages, then the report (--report) and the page list on stdout (--list). Returns
// kExitSuccess, or kExitOutput when the report could not be written (the rest still runs).
int WriteReportAndList(const ConvertOptions& options);

}  // namespace velmora
