// velmora-convert's --report and --list: every page converted once for its figures, then the
// PDF report written and the page list rows printed, as the window's commands do.
#pragma once

#include "cli/options.h"

namespace velmora {

// ConvertAllPages, then the report (--report) and the page list on stdout (--list). Returns
// kExitSuccess, or kExitOutput when the report could not be written (the rest still runs).
int WriteReportAndList(const ConvertOptions& options);

}  // namespace velmora
