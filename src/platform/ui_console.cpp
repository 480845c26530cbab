#include <cstdio>
#include <string>

#include "platform/console_seam.h"

namespace velmora {

namespace {

MessageAnswer g_answer = MessageAnswer::No;
bool g_progress_enabled = false;
bool g_messages_shown = true;
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

PasswordAnswer AskPassword(WindowHandle /*window*/, bool /*after_wrong*/, std::string* /*password*/) {
    return PasswordAnswer::NotAsked;
}

void SetConsoleAnswer(MessageAnswer answer) { g_answer = answer; }
void SetConsoleMessages(bool shown) { g_messages_shown = shown; }
void SetConsoleProgress(bool enabled) { g_progress_enabled = enabled; }

void FinishConsoleProgress() {
    if (!g_progress_open) return;
    std::fputs("\n", stderr);
    g_progress_open = false;
}

void WriteErrorLine(const std::string& line) {
    FinishConsoleProgress();
    std::fputs(line.c_str(), stderr);
    if (line.empty() || line.back() != '\n') std::fputs("\n", stderr);
    std::fflush(stderr);
}

void WriteOutputLine(const std::string& line) {
    FinishConsoleProgress();
    std::fputs(line.c_str(), stdout);
    if (line.empty() || line.back() != '\n') std::fputs("\n", stdout);
    std::fflush(stdout);
}

void WriteConsoleLine(const std::string& text) { WriteErrorLine(ToConsoleEncoding(WithoutCarriageReturns(text))); }

MessageAnswer ShowMessage(WindowHandle /*window*/, const char* text, const char* title, MessageButtons buttons) {
    if (g_messages_shown) WriteConsoleLine(std::string("[") + title + "] " + text);
    if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    // The one answer the options chose serves both kinds of question: yes is OK, no is Cancel.
    if (buttons == MessageButtons::OkCancel) {
        const MessageAnswer answer = g_answer == MessageAnswer::Yes ? MessageAnswer::Ok : MessageAnswer::Cancel;
        if (g_messages_shown) WriteConsoleLine(answer == MessageAnswer::Ok ? "-> OK" : "-> Cancel");
        return answer;
    }
    if (g_messages_shown) WriteConsoleLine(g_answer == MessageAnswer::Yes ? "-> Yes" : "-> No");
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
