#include "fonts/font_resources.h"

#include "store/document_store.h"

namespace velmora {

// Placeholder until font registration exists: the page keeps no font slots.
void RegisterPageFonts(int page, const char* /*font_text*/) {
    if (page >= 1 && page < kPageTableSize) g_store.pages[page].font_count = 0;
}

}  // namespace velmora
