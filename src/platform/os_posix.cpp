// Code page 932 through glibc's iconv, and the program's directory from /proc.
#include <iconv.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <string>

#include "platform/console_seam.h"
#include "platform/platform.h"

namespace velmora {

namespace {

// Converts with iconv; an input sequence that cannot be converted becomes "?" and the
// conversion goes on after `unit_bytes` input bytes (one UTF-16 unit or one CP932 byte).
std::string Convert(const char* to, const char* from, const char* input, size_t input_length, size_t unit_bytes) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(input_length / unit_bytes, '?');
    std::string out;
    char buffer[256];
    char* in = const_cast<char*>(input);
    size_t in_left = input_length;
    while (in_left > 0) {
        char* out_ptr = buffer;
        size_t out_left = sizeof buffer;
        const size_t result = iconv(cd, &in, &in_left, &out_ptr, &out_left);
        out.append(buffer, static_cast<size_t>(out_ptr - buffer));
        if (result != static_cast<size_t>(-1)) break;
        if (errno == E2BIG) continue;
        // EILSEQ or EINVAL (a cut sequence at the end): replace and skip one unit.
        out += '?';
        const size_t skip = in_left < unit_bytes ? in_left : unit_bytes;
        in += skip;
        in_left -= skip;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(cd);
    return out;
}

}  // namespace

std::string Utf16ToCodePage932(const std::u16string& text) {
    return Convert("CP932", "UTF-16LE", reinterpret_cast<const char*>(text.data()), text.size() * 2, 2);
}

std::string CodePage932ToUtf8(const std::string& text) { return Convert("UTF-8", "CP932", text.data(), text.size(), 1); }

// Linux terminals speak UTF-8; paths pass as the user typed them.
std::string ToConsoleEncoding(const std::string& text) { return CodePage932ToUtf8(text); }

std::string NativeTextForConsole(const std::string& text) { return text; }

std::string ProgramDirectory() {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return "./";
    std::string result(path, static_cast<size_t>(length));
    const size_t slash = result.rfind('/');
    return slash == std::string::npos ? "./" : result.substr(0, slash + 1);
}

std::string ProgramPath() {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    return length > 0 ? std::string(path, static_cast<size_t>(length)) : std::string();
}

}  // namespace velmora
