// The seam between the converter and the operating system.
//
// One header, several implementations; the build links exactly one of each group:
//   user interface (messages, progress text, repaint): ui_win32.cpp | ui_console.cpp | ui_test.cpp
//   operating system (code page 932, own directory): os_win32.cpp | os_posix.cpp
//   process start: process_win32.cpp | process_posix.cpp | (ui_test.cpp scripts it)
// All texts crossing the seam are Shift-JIS (code page 932) byte strings, as stored by the program.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmora {

// The main window's handle as an opaque value; null for the console program and the tests.
using WindowHandle = void*;

// OkCancel is a question (OK and Cancel buttons, question icon), as is YesNo.
enum class MessageButtons { Ok, YesNo, OkCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

struct Rgb {
    int red;
    int green;
    int blue;
};

// A modal message box (the console prints it; the tests record it and answer from a script).
MessageAnswer ShowMessage(WindowHandle window, const char* text, const char* title, MessageButtons buttons);

// The password box of a protected file ("パスワード", OK and Cancel); `after_wrong` says the last
// one did not open it. The console never asks (its password comes with --password).
enum class PasswordAnswer { Given, Cancelled, NotAsked };
PasswordAnswer AskPassword(WindowHandle window, bool after_wrong, std::string* password);

// One line of text drawn in the middle of the window's client area, over an opaque background.
// `face_name` may be empty: the system then chooses the face.
void DrawProgressText(WindowHandle window, const char* text, Rgb colour, Rgb background, const char* face_name);

// Ask for the window to be painted again, with or without erasing its background first.
void RequestRepaint(WindowHandle window, bool erase_background);

// UTF-16 to code page 932; characters the code page lacks become "?".
std::string Utf16ToCodePage932(const std::u16string& text);

// Code page 932 to UTF-8 (used where the console speaks UTF-8); undecodable bytes become "?".
std::string CodePage932ToUtf8(const std::string& text);

// Starts a program from a Windows-style command line (program name first, arguments separated
// by blanks, double quotes around arguments that hold blanks) and waits for it to end.
// Returns false when the program could not be started; `exit_code` is set otherwise.
bool StartProcessAndWait(const std::string& command_line, int* exit_code);

// The directory of the running executable, with its trailing separator.
std::string ProgramDirectory();
// The running executable's own path.
std::string ProgramPath();

// Starts `arguments` (program path first) without waiting, its standard output and errors into
// the two files named. Returns an id above 0, or 0 when it could not be started.
long long StartChildProcess(const std::vector<std::string>& arguments, const std::string& output_path,
                            const std::string& error_path);
// Waits until one started child ends: its id and exit code (a crash counts as a failure above
// 3). Returns 0 when no child is running.
long long WaitForChildProcess(int* exit_code);

}  // namespace velmora
