// The common dialogs of the main window: choosing the PDF, and the names to save the JWW file
// and the report under. Each returns true with a chosen name; `name` holds the initial name.
#pragma once

#include <cstddef>

#include "platform/platform.h"

namespace velmora {

bool ChoosePdfFile(WindowHandle window, char* path, size_t size);
bool ChooseJwwFile(WindowHandle window, char* name, size_t size);
bool ChooseReportFile(WindowHandle window, char* name, size_t size);

}  // namespace velmora
