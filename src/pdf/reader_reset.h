// The reader's part of the reset a new file gets: the error list and the expansion statistics.
#pragma once

namespace velmora {

void ResetReaderForFile();

}  // namespace velmora
