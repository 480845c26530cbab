// Loading a PDF file into FileBuffer and reading its cross-reference, trailer and page tree.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velmora {

// Loads `path` and reads the document; the caller judges the result by the error list and
// the page count. A file that cannot be opened records nothing and leaves no pages.
void LoadPdfFile(const char* path);

// The same for bytes already in memory (the fuzz harness and the tests).
void LoadPdfBytes(const uint8_t* data, size_t size);

// Whether a damaged or missing cross-reference is rebuilt by scanning the file (always, but for
// the tests of the table readers, which look at the codes the tables alone give).
extern bool g_rebuild_damaged_cross_reference;

// The reader's top level over g_file; false when it stopped at a fatal error.
bool ReadDocument();

}  // namespace velmora
