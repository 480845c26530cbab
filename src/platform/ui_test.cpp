#include "platform/test_seam.h"

namespace velmora {

TestSeam g_test_seam;

void ResetTestSeam() { g_test_seam = TestSeam{}; }

MessageAnswer ShowMessage(WindowHandle /*window*/, const char* text, const char* title, MessageButtons buttons) {
    g_test_seam.messages.push_back({text, title, buttons});
    if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    if (g_test_seam.answers.empty()) {
        ++g_test_seam.unscripted_questions;
        return buttons == MessageButtons::OkCancel ? MessageAnswer::Cancel : MessageAnswer::No;
    }
    const MessageAnswer answer = g_test_seam.answers.front();
    g_test_seam.answers.pop_front();
    return answer;
}

PasswordAnswer AskPassword(WindowHandle /*window*/, bool after_wrong, std::string* password) {
    g_test_seam.password_asks.push_back(after_wrong);
    if (g_test_seam.passwords.empty()) return PasswordAnswer::Cancelled;
    *password = g_test_seam.passwords.front();
    g_test_seam.passwords.pop_front();
    return PasswordAnswer::Given;
}

void DrawProgressText(WindowHandle /*window*/, const char* text, Rgb colour, Rgb background, const char* face_name) {
    g_test_seam.progress.push_back({text, colour, background, face_name});
}

void RequestRepaint(WindowHandle /*window*/, bool erase_background) {
    ++g_test_seam.repaints;
    if (erase_background) ++g_test_seam.erasing_repaints;
}

bool StartProcessAndWait(const std::string& command_line, int* exit_code) {
    g_test_seam.started_commands.push_back(command_line);
    if (g_test_seam.process_outcomes.empty()) return false;
    const ProcessOutcome outcome = g_test_seam.process_outcomes.front();
    g_test_seam.process_outcomes.pop_front();
    if (outcome.started) *exit_code = outcome.exit_code;
    return outcome.started;
}

}  // namespace velmora
