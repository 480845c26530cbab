#include "pdf/expansion_statistics.h"

namespace velmora {

// Placeholder until stream decoding exists: there are no records to empty.
void ClearExpansionRecords() {}

}  // namespace velmora
