#include "content/content_scanner.h"

namespace velmora {

// Placeholder until the content interpreter exists: no line or text is emitted.
void ContentScanner(int /*page*/) {}

}  // namespace velmora
