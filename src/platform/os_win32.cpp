// The operating-system half of the platform seam on Windows (process start: process_win32.cpp).
#include <windows.h>

#include "platform/console_seam.h"
#include "platform/platform.h"

namespace velmora {

namespace {

// UTF-16 to any code page; the system's default character "?" stands in for unmappable ones.
std::string WideToCodePage(const wchar_t* text, int length, UINT code_page) {
    if (length <= 0) return std::string();
    int bytes = WideCharToMultiByte(code_page, 0, text, length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return std::string();
    std::string result(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(code_page, 0, text, length, result.data(), bytes, nullptr, nullptr);
    return result;
}

}  // namespace

std::string Utf16ToCodePage932(const std::u16string& text) {
    // char16_t and wchar_t are both UTF-16 code units on Windows.
    return WideToCodePage(reinterpret_cast<const wchar_t*>(text.data()), static_cast<int>(text.size()), 932);
}

std::string CodePage932ToUtf8(const std::string& text) {
    if (text.empty()) return std::string();
    int length = static_cast<int>(text.size());
    int units = MultiByteToWideChar(932, 0, text.data(), length, nullptr, 0);
    if (units <= 0) return std::string();
    std::wstring wide(static_cast<size_t>(units), L'\0');
    MultiByteToWideChar(932, 0, text.data(), length, wide.data(), units);
    return WideToCodePage(wide.data(), units, CP_UTF8);
}

// From one code page to the console's; unchanged when they are the same (or there is no console).
std::string CodePageToConsole(const std::string& text, UINT from) {
    const UINT console = GetConsoleOutputCP();
    if (console == from || console == 0 || text.empty()) return text;
    const int length = static_cast<int>(text.size());
    const int units = MultiByteToWideChar(from, 0, text.data(), length, nullptr, 0);
    if (units <= 0) return text;
    std::wstring wide(static_cast<size_t>(units), L'\0');
    MultiByteToWideChar(from, 0, text.data(), length, wide.data(), units);
    return WideToCodePage(wide.data(), units, console);
}

std::string ToConsoleEncoding(const std::string& text) { return CodePageToConsole(text, 932); }

std::string NativeTextForConsole(const std::string& text) { return CodePageToConsole(text, GetACP()); }

std::string ProgramDirectory() {
    char path[MAX_PATH + 1] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string directory(path, length);
    size_t separator = directory.find_last_of("\\/");
    if (separator == std::string::npos) return std::string();
    return directory.substr(0, separator + 1);
}

std::string ProgramPath() {
    char path[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, length);
}

}  // namespace velmora
