#include "store/layer_assignment.h"

namespace velmora {

// Placeholders until layer assignment exists: records keep the layers they were created with.
void AssignLineLayers() {}
void AssignTextLayers() {}

}  // namespace velmora
