#include "pdf/document_values.h"

namespace velmora {

DocumentValues g_document;

void ResetDocumentValues() { g_document = DocumentValues{}; }

}  // namespace velmora
