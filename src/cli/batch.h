// velmora-convert over folders: every PDF in them converted by a run of this program of its own,
// several at a time, so one damaged file never takes the others down.
#pragma once

#include "cli/options.h"

namespace velmora {

bool HasFolderInput(const ConvertOptions& options);
// Converts the inputs' PDFs into -o keeping their folder layout. The highest status of the runs.
int RunBatch(const ConvertOptions& options);

}  // namespace velmora
