#include "cli/output_paths.h"

#include <cstdio>
#include <filesystem>

#include "settings/settings_file.h"

namespace velmora {

namespace {

std::string DefaultFileName(const std::string& stem, int page, int page_count) {
    if (page_count <= 1) return stem + ".jww";
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, "-%02d.jww", page);
    return stem + suffix;
}

std::string WithSeparator(const std::string& directory) {
    if (directory.empty()) return directory;
    const char last = directory.back();
    return (last == '/' || last == '\\') ? directory : directory + "/";
}

std::string BaseName(const std::string& path) {
    const size_t separator = path.find_last_of("/\\");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

bool HoldsSettings(const std::string& directory) {
    std::error_code error;
    return std::filesystem::exists(directory + kSettingsFileName, error) &&
           std::filesystem::exists(directory + kSxfFileName, error);
}

}  // namespace

bool OutputIsDirectory(const ConvertOptions& options, size_t requested_pages) {
    if (options.output.empty()) return false;
    const char last = options.output.back();
    std::error_code error;
    return options.inputs.size() > 1 || requested_pages > 1 || last == '/' || last == '\\' ||
           std::filesystem::is_directory(options.output, error);
}

std::string OutputPathForPage(const ConvertOptions& options, const std::string& stem, int page, int page_count,
                              size_t requested_pages) {
    const std::string name = DefaultFileName(stem, page, page_count);
    if (options.output.empty()) return name;
    if (!OutputIsDirectory(options, requested_pages)) return options.output;
    return WithSeparator(options.output) + BaseName(name);
}

std::string ChooseConfigDirectory(const std::string& option, const std::string& program_directory) {
    if (!option.empty()) return WithSeparator(option);
    if (HoldsSettings("")) return "";
    return program_directory;
}

}  // namespace velmora
