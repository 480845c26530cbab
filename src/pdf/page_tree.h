// The catalog and the page tree: pages numbered 1, 2, 3, ... in tree order.
#pragma once

#include <cstdint>
#include <string>

namespace velmora {

// The last step of ReadDocument: the page tree root and the pages' object numbers.
void ReadCatalog();

// Reads one node; returns its /Count (0 on failure). Pages below it are numbered from `base`
// (from `base` itself when `flag` is 1, the number its parent gave the node).
int32_t ReadPagesNode(int nested, int32_t node, int32_t base, int flag);

// The dictionary of object n, searched within its extent.
bool DictionaryBounds(int32_t n, int32_t* start, int32_t* end);

// Turns the value text of a page's Resources entry into the text of its font dictionary, in
// place (at most kFontResourcesTextBytes); empty when the resources have no Font entry. False
// when the resources or the font dictionary they name are not found.
bool ResolveFontResources(std::string* text);

}  // namespace velmora
