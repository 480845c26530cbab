#include "report/report_file_name.h"

#include <cstring>
#include <filesystem>
#include <system_error>

#include "store/file_names.h"

namespace velmora {

bool ReportFileName(const char* stem, char* name, size_t size) {
    if (name == nullptr || size == 0) return false;
    name[0] = '\0';
    if (stem == nullptr) return false;
    const size_t stem_length = std::strlen(stem);
    const size_t suffix_length = sizeof kReportSuffix - 1;
    const size_t extension_length = sizeof kReportExtension - 1;
    const size_t limit = size - 1 < kReportNameCharacters ? size - 1 : kReportNameCharacters;
    if (stem_length + extension_length > limit) return false;
    // ".txt" counts too: the name must still fit the 260-byte path buffers once the dialog adds it.
    const bool with_suffix = stem_length + suffix_length + extension_length <= limit;
    std::memcpy(name, stem, stem_length);
    size_t length = stem_length;
    if (with_suffix) {
        std::memcpy(name + length, kReportSuffix, suffix_length);
        length += suffix_length;
    }
    std::memcpy(name + length, kReportExtension, extension_length + 1);
    return true;
}

bool ReportDefaultFileName(char* name, size_t size) {
    char stem[kPathBytes];
    size_t length = 0;
    while (length + 1 < sizeof stem && g_file_names.pdf_stem[length] != '\0') {
        stem[length] = g_file_names.pdf_stem[length];
        ++length;
    }
    stem[length] = '\0';
    return ReportFileName(stem, name, size);
}

std::string ReportPathFor(const std::string& requested, const std::string& stem) {
    std::error_code error;
    if (!std::filesystem::is_directory(requested, error)) return requested;
    const std::string inside = (std::filesystem::path(requested) / std::filesystem::path(stem).filename()).string();
    char name[kPathBytes];
    return ReportFileName(inside.c_str(), name, sizeof name) ? std::string(name) : std::string();
}

}  // namespace velmora
