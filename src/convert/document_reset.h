// The one place that resets and frees everything a new file replaces: each folder offers its own
// reset and these call them all, so no folder's state is forgotten when a file is opened.
#pragma once

namespace velmora {

// Before a new PDF is read: the store's tables and start values, the reader's error list and
// statistics, the font tables.
void ResetForFile();

// Frees the per-font CMap buffers, the decoded streams and the file image.
void FreeDocument();

}  // namespace velmora
