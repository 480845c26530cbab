#include "pdf/reader_reset.h"

#include "pdf/document_values.h"
#include "pdf/error_list.h"
#include "pdf/expansion_statistics.h"
#include "pdf/optional_content.h"

namespace velmora {

void ResetReaderForFile() {
    ClearErrors();
    ResetExpansionStatistics();
    ResetDocumentValues();
    ResetOptionalContent();
}

}  // namespace velmora
