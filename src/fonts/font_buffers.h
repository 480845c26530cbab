// Heap buffers held per font (the decoded ToUnicode data), released with the document.
#pragma once

namespace velmora {

void FreeFontBuffers();

}  // namespace velmora
