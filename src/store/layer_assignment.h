// Sorting the page's lines into layers and pens by width, and its texts into layers by size.
#pragma once

namespace velmora {

void AssignLineLayers();
void AssignTextLayers();

}  // namespace velmora
