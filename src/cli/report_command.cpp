#include "cli/report_command.h"

#include <string>

#include "cli/console_report.h"
#include "cli/convert_command.h"
#include "convert/driver.h"
#include "platform/console_seam.h"
#include "report/report.h"
#include "report/report_file_name.h"
#include "tools/page_list.h"

namespace velmora {

int WriteReportAndList(const ConvertOptions& options) {
    ConvertAllPages(nullptr);
    FinishConsoleProgress();
    int status = kExitSuccess;
    if (!options.report_path.empty()) {
        const std::string path = ReportPathFor(options.report_path, g_file_names.pdf_stem);
        if (path.empty()) {
            SayError("the report's name in '" + NativeTextForConsole(options.report_path) +
                     "' would be longer than 259 characters");
            status = kExitOutput;
        } else if (!WriteReportFile(nullptr, path.c_str())) {
            SayError("cannot write the report '" + NativeTextForConsole(path) + "'");
            status = kExitOutput;
        } else {
            SayResult("report -> " + NativeTextForConsole(path));
        }
    }
    if (options.list) {
        // Several inputs: each file's rows under its name.
        if (options.inputs.size() > 1) WriteOutputLine(NativeTextForConsole(g_file_names.pdf_path) + ":");
        for (const std::string& row : PageListRows()) WriteOutputLine(ToConsoleEncoding(row));
    }
    return status;
}

}  // namespace velmora
