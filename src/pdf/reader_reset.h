// The reader's part of the reset a new file gets: the error list, the expansion statistics and the
// document's header and trailer values.
#pragma once

namespace velmora {

void ResetReaderForFile();

}  // namespace velmora
