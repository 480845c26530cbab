#include <cstdio>
#include <string>

#include "platform/console_seam.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace velmora {

namespace {

MessageAnswer g_answer = MessageAnswer::No;
bool g_progress_enabled = false;
bool g_progress_open = false;

// Line ends of message boxes are CR LF; a terminal wants LF alone.
std::string WithoutCarriageReturns(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c != '\r') out += c;
    }
    return out;
}

}  // namespace

std::string ToConsoleEncoding(const std::string& text) {
#ifdef _WIN32
    const UINT console_cp = GetConsoleOutputCP();
    if (console_cp == 932 || console_cp == 0) return text;
    const int wide_length = MultiByteToWideChar(932, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(wide_length), L'\0');
    MultiByteToWideChar(932, 0, text.data(), static_cast<int>(text.size()), wide.data(), wide_length);
    const int length = WideCharToMultiByte(console_cp, 0, wide.data(), wide_length, nullptr, 0, "?", nullptr);
    std::string out(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(console_cp, 0, wide.data(), wide_length, out.data(), length, "?", nullptr);
    return out;
#else
    return CodePage932ToUtf8(text);
#endif
}

void SetConsoleAnswer(MessageAnswer answer) { g_answer = answer; }
void SetConsoleProgress(bool enabled) { g_progress_enabled = enabled; }

void FinishConsoleProgress() {
    if (!g_progress_open) return;
    std::fputs("\n", stderr);
    g_progress_open = false;
}

void WriteConsoleLine(const std::string& text) {
    FinishConsoleProgress();
    const std::string line = ToConsoleEncoding(WithoutCarriageReturns(text));
    std::fputs(line.c_str(), stderr);
    if (line.empty() || line.back() != '\n') std::fputs("\n", stderr);
    std::fflush(stderr);
}

MessageAnswer ShowMessage(WindowHandle /*window*/, const char* text, const char* title, MessageButtons buttons) {
    WriteConsoleLine(std::string("[") + title + "] " + text);
    if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    WriteConsoleLine(g_answer == MessageAnswer::Yes ? "-> Yes" : "-> No");
    return g_answer;
}

void DrawProgressText(WindowHandle /*window*/, const char* text, Rgb /*colour*/, Rgb /*background*/,
                      const char* /*face_name*/) {
    if (!g_progress_enabled) return;
    // The window erases its progress line with ideographic spaces; here that ends the line.
    const std::string raw(text);
    if (raw.find_first_not_of(" 　") == std::string::npos) {
        FinishConsoleProgress();
        return;
    }
    const std::string line = ToConsoleEncoding(raw);
    std::fprintf(stderr, "\r%s\x1b[K", line.c_str());
    std::fflush(stderr);
    g_progress_open = true;
}

void RequestRepaint(WindowHandle /*window*/, bool /*erase_background*/) {}

}  // namespace velmora
