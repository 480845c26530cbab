// Font resources of a page: each resource name and its font dictionary, registered once per
// document as a FontDef.
#pragma once

namespace velmora {

// Called by SetUpPage with the text of the page's font dictionary (‘/F1 5 0 R/F2 6 0 R’).
void RegisterPageFonts(int page, const char* font_text);

}  // namespace velmora
