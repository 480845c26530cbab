// Records of the streams inflated for the current page, printed by the report.
#pragma once

namespace velmora {

// Empties the record list; the maximum seen since the file was loaded stays.
void ClearExpansionRecords();

}  // namespace velmora
