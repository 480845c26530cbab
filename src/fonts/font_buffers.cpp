#include "fonts/font_buffers.h"

#include "fonts/font_program.h"
#include "fonts/sjis_fallback.h"
#include "fonts/tounicode.h"
#include "store/document_store.h"

namespace velmora {

// Every entry is walked, not only the counted ones: the count may already be reset.
void FreeFontBuffers() { FreeCMapTexts(); }

FontUse g_font_use;

void ResetFontTables() {
    g_store.font_count = 0;
    g_store.differences_count = 0;
    g_two_byte_registrations = 0;
    g_font_use.winansi_seen = false;
    g_unmapped_characters = 0;
    ResetLongTexts();
    ResetFontPrograms();
}

}  // namespace velmora
