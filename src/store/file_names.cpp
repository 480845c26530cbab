#include "store/file_names.h"

#include <cstring>
#include <string>

namespace velmora {

FileNames g_file_names;

namespace {

bool CopyBounded(char* destination, const char* source) {
    const size_t length = std::strlen(source);
    if (length >= static_cast<size_t>(kPathBytes)) return false;
    std::memcpy(destination, source, length + 1);
    return true;
}

}  // namespace

bool SetPdfPath(const char* path) {
    const size_t length = std::strlen(path);
    if (length >= static_cast<size_t>(kPathBytes)) return false;
    std::memcpy(g_file_names.pdf_path, path, length + 1);
    const size_t stem_length = length >= 4 ? length - 4 : 0;
    std::memcpy(g_file_names.pdf_stem, path, stem_length);
    g_file_names.pdf_stem[stem_length] = '\0';
    return true;
}

bool SetIntermediateDirectory(const char* directory) {
    const std::string path = std::string(directory) + kIntermediateFileName;
    return CopyBounded(g_file_names.intermediate_path, path.c_str());
}

}  // namespace velmora
