// Loading a PDF file into FileBuffer and reading its cross-reference, trailer and page tree.
#pragma once

namespace velmora {

// Loads `path` and reads the document; the caller judges the result by the error list and
// the page count.
void LoadPdfFile(const char* path);

}  // namespace velmora
