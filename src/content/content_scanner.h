// Interpreting a page's decoded content streams into line and text records.
#pragma once

namespace velmora {

// Interprets every decoded stream of `page`, in table order, carrying the graphics state from
// one stream to the next; results go to the store's line and text tables.
void ContentScanner(int page);

}  // namespace velmora
