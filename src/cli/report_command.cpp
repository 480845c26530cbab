#include "cli/report_command.h"

#include <cstdio>
#include <string>

#include "cli/convert_command.h"
#include "platform/console_seam.h"
#include "report/report.h"
#include "report/report_file_name.h"
#include "convert/driver.h"
#include "tools/page_list.h"

namespace velmora {

int WriteReportAndList(const ConvertOptions& options) {
    ConvertAllPages(nullptr);
    FinishConsoleProgress();
    int status = kExitSuccess;
    if (!options.report_path.empty()) {
        const std::string path = ReportPathFor(options.report_path, g_file_names.pdf_stem);
        if (path.empty()) {
            WriteConsoleLine("velmora-convert: error: the report's name in '" + options.report_path +
                             "' would be longer than 259 characters");
            status = kExitOutput;
        } else if (!WriteReportFile(nullptr, path.c_str())) {
            WriteConsoleLine("velmora-convert: error: cannot write the report '" + path + "'");
            status = kExitOutput;
        } else if (!options.quiet) {
            WriteConsoleLine("velmora-convert: report -> " + path);
        }
    }
    if (options.list) {
        for (const std::string& row : PageListRows()) std::printf("%s\n", ToConsoleEncoding(row).c_str());
        std::fflush(stdout);
    }
    return status;
}

}  // namespace velmora
