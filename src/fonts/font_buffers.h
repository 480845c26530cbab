// Heap buffers held per font (the decoded ToUnicode data), released with the document, and the
// font counters a new file starts from.
#pragma once

namespace velmora {

void FreeFontBuffers();

// Called by ResetForFile: no FontDef is counted, the Differences table and the two-byte
// registration count are empty, so a font of the previous file is never taken for one of this.
void ResetFontTables();

}  // namespace velmora
