// Where velmora-convert writes each page, and where it reads its settings from.
#pragma once

#include <string>

#include "cli/options.h"

namespace velmora {

// -o names a directory to write into: when it exists as one, ends with a separator, or must hold
// several files (several inputs, or several pages of this one).
bool OutputIsDirectory(const ConvertOptions& options, size_t requested_pages);

// STEM.jww for a one-page PDF, STEM-NN.jww ("-%02d") for a page of a longer one; beside the
// input, inside the -o directory, or the -o file itself.
std::string OutputPathForPage(const ConvertOptions& options, const std::string& stem, int page, int page_count,
                              size_t requested_pages);

// --config DIR; else the current directory when it holds both files; else the program's own
// directory, where the data files are installed. With a trailing separator, or empty for the
// current directory.
std::string ChooseConfigDirectory(const std::string& option, const std::string& program_directory);

}  // namespace velmora
