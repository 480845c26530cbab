// Heap buffers held per font (the decoded ToUnicode data), released with the document, and the
// font counters a new file starts from.
#pragma once

namespace velmora {

void FreeFontBuffers();

// Called by ResetForFile: no FontDef is counted, the Differences table and the two-byte
// registration count are empty, so a font of the previous file is never taken for one of this.
void ResetFontTables();

// What the file's fonts used, for the report: set as fonts are registered, cleared by
// ResetFontTables.
struct FontUse {
    bool winansi_seen;  // a font converts through WinAnsiEncoding
};
extern FontUse g_font_use;

}  // namespace velmora
