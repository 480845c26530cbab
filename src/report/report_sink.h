// Where the report's text goes: an open file or a string, with every line end written as CR LF
// so that the Linux build writes the same bytes as the Windows text-mode file.
#pragma once

#include <cstdio>
#include <string>

namespace velmora {

struct ReportSink {
    std::FILE* file = nullptr;    // written when set
    std::string* text = nullptr;  // otherwise appended here
    bool failed = false;          // a write to the file failed; later writes are skipped
};

// printf into the sink; each "\n" becomes CR LF.
void ReportPrint(ReportSink& sink, const char* format, ...) __attribute__((format(printf, 2, 3)));

// `count` empty lines.
void ReportBlank(ReportSink& sink, int count = 1);

}  // namespace velmora
