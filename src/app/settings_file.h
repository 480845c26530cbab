// Reading the two settings files from the current directory.
#pragma once

#include <string>

#include "platform/platform.h"

namespace velmora {

inline constexpr char kSettingsFileName[] = "VELMORA.JWF";
inline constexpr char kSxfFileName[] = "JWsxf.dat";

// Directory both files are read from, with its trailing separator; empty means the current
// directory (the window program's rule). The console program may point it elsewhere.
extern std::string g_settings_directory;

void ReadSettings(WindowHandle window);
void ReadSxfData(WindowHandle window);

}  // namespace velmora
