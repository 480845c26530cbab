// Starting a program and waiting for it, the Windows way.
#include <windows.h>

#include <string>
#include <vector>

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

namespace {

struct Child {
    HANDLE process;
    long long id;
};
std::vector<Child> g_children;

// Quotes an argument as the C runtime splits command lines (backslashes before quotes doubled).
std::string Quoted(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) return argument;
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(2 * backslashes, '\\');
    return quoted + "\"";
}

HANDLE InheritableFile(const std::string& path) {
    SECURITY_ATTRIBUTES security = {sizeof security, nullptr, TRUE};
    return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &security, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

}  // namespace

long long StartChildProcess(const std::vector<std::string>& arguments, const std::string& output_path,
                            const std::string& error_path) {
    if (arguments.empty() || g_children.size() >= MAXIMUM_WAIT_OBJECTS) return 0;
    std::string command_line;
    for (const std::string& argument : arguments) command_line += (command_line.empty() ? "" : " ") + Quoted(argument);
    HANDLE output = InheritableFile(output_path);
    HANDLE errors = InheritableFile(error_path);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = output;
    startup.hStdError = errors;
    PROCESS_INFORMATION process = {};
    const bool started = output != INVALID_HANDLE_VALUE && errors != INVALID_HANDLE_VALUE &&
                         CreateProcessA(arguments[0].c_str(), command_line.data(), nullptr, nullptr, TRUE,
                                        CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
    if (output != INVALID_HANDLE_VALUE) CloseHandle(output);
    if (errors != INVALID_HANDLE_VALUE) CloseHandle(errors);
    if (!started) return 0;
    CloseHandle(process.hThread);
    g_children.push_back(Child{process.hProcess, static_cast<long long>(process.dwProcessId)});
    return g_children.back().id;
}

long long WaitForChildProcess(int* exit_code) {
    if (g_children.empty()) return 0;
    std::vector<HANDLE> handles;
    for (const Child& child : g_children) handles.push_back(child.process);
    const DWORD woken = WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), FALSE, INFINITE);
    if (woken >= WAIT_OBJECT_0 + handles.size()) return 0;
    const Child child = g_children[woken - WAIT_OBJECT_0];
    g_children.erase(g_children.begin() + (woken - WAIT_OBJECT_0));
    DWORD code = 0;
    GetExitCodeProcess(child.process, &code);
    CloseHandle(child.process);
    *exit_code = code > 255 ? 255 : static_cast<int>(code);
    return child.id;
}

}  // namespace velmora
