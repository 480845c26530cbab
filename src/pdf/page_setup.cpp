#include "pdf/page_setup.h"

namespace velmora {

// Placeholder until the page tree reader exists: the page keeps no content stream.
bool SetUpPage(int /*page*/) { return false; }

}  // namespace velmora
