#include "fonts/font_buffers.h"

namespace velmora {

// Placeholder until the ToUnicode reader exists: no font owns a buffer yet.
void FreeFontBuffers() {}

}  // namespace velmora
