#include "report/report_sink.h"

#include <cstdarg>
#include <vector>

namespace velmora {

namespace {

void Emit(ReportSink& sink, const char* bytes, size_t length) {
    std::string out;
    out.reserve(length + 8);
    for (size_t i = 0; i < length; ++i) {
        if (bytes[i] == '\n') out += '\r';
        out += bytes[i];
    }
    if (sink.file != nullptr) {
        if (sink.failed) return;
        if (std::fwrite(out.data(), 1, out.size(), sink.file) != out.size()) sink.failed = true;
    } else if (sink.text != nullptr) {
        *sink.text += out;
    }
}

}  // namespace

void ReportPrint(ReportSink& sink, const char* format, ...) {
    char small[512];
    std::va_list arguments;
    va_start(arguments, format);
    const int needed = std::vsnprintf(small, sizeof small, format, arguments);
    va_end(arguments);
    if (needed < 0) {
        sink.failed = true;
        return;
    }
    if (static_cast<size_t>(needed) < sizeof small) {
        Emit(sink, small, static_cast<size_t>(needed));
        return;
    }
    // Long rows (a page with many content streams and fonts) take a buffer of their own size.
    std::vector<char> large(static_cast<size_t>(needed) + 1);
    va_start(arguments, format);
    std::vsnprintf(large.data(), large.size(), format, arguments);
    va_end(arguments);
    Emit(sink, large.data(), static_cast<size_t>(needed));
}

void ReportBlank(ReportSink& sink, int count) {
    for (int i = 0; i < count; ++i) Emit(sink, "\n", 1);
}

}  // namespace velmora
