// Settings of the console implementation of the seam, chosen by velmora-convert's options.
#pragma once

#include <string>

#include "platform/platform.h"

namespace velmora {

// The answer every yes/no question gets (the console cannot ask).
void SetConsoleAnswer(MessageAnswer answer);
// Progress lines on stderr (only worth showing on a terminal).
void SetConsoleProgress(bool enabled);
// A Shift-JIS text in the console's encoding (UTF-8 on Linux, the console code page on Windows).
std::string ToConsoleEncoding(const std::string& text);
// Writes a Shift-JIS text to stderr in the console's encoding, followed by a line feed.
void WriteConsoleLine(const std::string& text);
// Ends a progress line that is still open.
void FinishConsoleProgress();

}  // namespace velmora
