#include "pdf/pdf_loader.h"

namespace velmora {

// Placeholder until the file reader exists: nothing is recorded and no page is found.
void LoadPdfFile(const char* /*path*/) {}

}  // namespace velmora
