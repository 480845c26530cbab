// What velmora-convert says, and how much: results on stdout, errors and warnings on stderr, as
// the console tools CAD users script do. The window's message boxes are information for a
// person at the window; here only -v shows them.
#pragma once

#include <string>

namespace velmora {

enum class Verbosity { Quiet, Normal, Verbose };

void SetVerbosity(Verbosity verbosity);
Verbosity CurrentVerbosity();

// "velmora-convert: error: TEXT" on stderr, whatever the verbosity. TEXT is in the console's
// encoding already (see console_seam.h).
void SayError(const std::string& text);
// "velmora-convert: warning: TEXT" on stderr, unless quiet.
void SayWarning(const std::string& text);
// A result line (a written page, a written report) on stdout, unless quiet.
void SayResult(const std::string& text);

// Starts the warnings of a new input file: what was said for the last one is forgotten.
void BeginFileWarnings();
// Says the codes recorded from list entry `first_error` on that lost content, each once per page
// and file ("warning: page N: message"; page 0 for the file as a whole), and takes them off the
// list so that it never fills over many pages.
void WarnAboutErrors(int page, int first_error);
// Takes the codes from list entry `first_error` on off the list without saying them.
void ForgetErrors(int first_error);
// The messages of every code on the list, each once, joined for one error line.
std::string ErrorListReasons();

}  // namespace velmora
