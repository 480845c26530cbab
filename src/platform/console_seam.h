// Settings of the console implementation of the seam, chosen by velmora-convert's options.
#pragma once

#include <string>

#include "platform/platform.h"

namespace velmora {

// The answer every yes/no question gets (the console cannot ask).
void SetConsoleAnswer(MessageAnswer answer);
// Progress lines on stderr (only worth showing on a terminal).
void SetConsoleProgress(bool enabled);
// The window's message boxes on stderr (verbose runs only: they are the window's way of talking).
void SetConsoleMessages(bool shown);
// A Shift-JIS text in the console's encoding (UTF-8 on Linux, the console code page on Windows).
std::string ToConsoleEncoding(const std::string& text);
// A text in the program's native narrow encoding (paths as given on the command line) in the
// console's encoding: unchanged on Linux, from the ANSI code page on Windows.
std::string NativeTextForConsole(const std::string& text);
// Writes a Shift-JIS text to stderr in the console's encoding, followed by a line feed.
void WriteConsoleLine(const std::string& text);
// Writes a line already in the console's encoding to stderr, or to stdout.
void WriteErrorLine(const std::string& line);
void WriteOutputLine(const std::string& line);
// Ends a progress line that is still open.
void FinishConsoleProgress();

}  // namespace velmora
