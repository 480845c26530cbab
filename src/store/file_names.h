// The current file names: the PDF the user chose, its stem for output names, and the path of
// Ghostscript's intermediate file. Shift-JIS, NUL-terminated, fixed buffers.
#pragma once

#include "store/capacities.h"

namespace velmora {

struct FileNames {
    char pdf_path[kPathBytes];           // the PDF chosen by the user
    char pdf_stem[kPathBytes];           // pdf_path without its last four characters
    char intermediate_path[kPathBytes];  // Ghostscript's output
};

extern FileNames g_file_names;

inline constexpr char kIntermediateFileName[] = "velmora_GS.pdf";

// Sets pdf_path and pdf_stem (the path without its last four characters). False when the path
// does not fit its buffer; nothing changes then.
bool SetPdfPath(const char* path);
// Sets the intermediate path: `directory` followed by "velmora_GS.pdf". False when too long.
bool SetIntermediateDirectory(const char* directory);

}  // namespace velmora
