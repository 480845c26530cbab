// Starting a program and waiting for it, the Windows way.
#include <windows.h>

#include <string>

#include "platform/platform.h"

namespace velmora {

bool StartProcessAndWait(const std::string& command_line, int* exit_code) {
    // CreateProcessA may write into the command line, so it gets its own copy.
    std::string writable = command_line;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        return false;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    if (exit_code) *exit_code = static_cast<int>(code);
    return true;
}

}  // namespace velmora
