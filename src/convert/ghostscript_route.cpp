#include "convert/ghostscript_route.h"

#include <string>

#include "pdf/error_list.h"
#include "pdf/security_handler.h"
#include "store/document_store.h"
#include "convert/driver.h"

namespace velmora {

namespace {

struct GhostscriptProgram {
    const char* command_prefix;
    GhostscriptMarker marker;
};

// Windows looks for the 64-bit console program first, then the 32-bit one; elsewhere gs
// is the one program and counts as the 64-bit route.
#ifdef _WIN32
constexpr GhostscriptProgram kGhostscriptPrograms[] = {
    {"gswin64c.exe -dBATCH -dNOPAUSE -sDEVICE=pdfwrite -dWriteXRefStm=false -dWriteObjStms=false -sOutputFile=", GhostscriptMarker::k64Bit},
    {"gswin32c.exe -dBATCH -dNOPAUSE -sDEVICE=pdfwrite -dWriteXRefStm=false -dWriteObjStms=false -sOutputFile=", GhostscriptMarker::k32Bit},
};
#else
constexpr GhostscriptProgram kGhostscriptPrograms[] = {
    {"gs -dBATCH -dNOPAUSE -sDEVICE=pdfwrite -dWriteXRefStm=false -dWriteObjStms=false -sOutputFile=", GhostscriptMarker::k64Bit},
};
#endif

const Rgb kGhostscriptRunningColour = {255, 255, 255};

int g_last_status = -1;

}  // namespace

bool RunGhostscript(WindowHandle window) {
    if (g_store.ghostscript_marker != GhostscriptMarker::kNone) return true;  // the earlier run's file is read again
    ShowProgress(window, "GhostScript で変換中", kGhostscriptRunningColour);
    for (const GhostscriptProgram& program : kGhostscriptPrograms) {
        // std::string instead of a fixed buffer: long paths must not overflow the command line.
        // A protected file's password goes along (quotes in it would end the argument).
        std::string password = DocumentPassword();
        std::erase(password, '"');
        const std::string password_option = password.empty() ? "" : "-sPDFPassword=\"" + password + "\" ";
        const std::string command = std::string(program.command_prefix) + "\"" +
                                    g_file_names.intermediate_path + "\" " + password_option + "\"" + g_file_names.pdf_path + "\"";
        int exit_code = 0;
        if (StartProcessAndWait(command, &exit_code)) {
            g_last_status = exit_code;
            g_store.ghostscript_marker = program.marker;
            return true;
        }
    }
    RecordError(kWarningNoGhostscript);
    return false;
}

int LastGhostscriptStatus() { return g_last_status; }

}  // namespace velmora
