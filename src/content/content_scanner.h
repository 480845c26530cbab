// Interpreting a page's decoded content streams into line and text records.
#pragma once

namespace velmora {

void ContentScanner(int page);

}  // namespace velmora
