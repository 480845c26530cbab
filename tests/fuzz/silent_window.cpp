// The window side of the platform seam for the harnesses: the driver talks to a window, and
// under fuzzing every call is silent, every question is answered No (or Cancel) and no process starts.
#include <string>

#include "platform/platform.h"

namespace velmora {
MessageAnswer ShowMessage(WindowHandle, const char*, const char*, MessageButtons buttons) {
    return buttons == MessageButtons::OkCancel ? MessageAnswer::Cancel : MessageAnswer::No;
}
PasswordAnswer AskPassword(WindowHandle, bool, std::string*) { return PasswordAnswer::NotAsked; }
void DrawProgressText(WindowHandle, const char*, Rgb, Rgb, const char*) {}
void RequestRepaint(WindowHandle, bool) {}
bool StartProcessAndWait(const std::string&, int*) { return false; }
}  // namespace velmora
