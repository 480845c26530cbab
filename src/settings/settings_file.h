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

// Every default, then VELMORA.JWF, then PenOrder. A missing file is reported and leaves the
// defaults, PenOrder included.
void ReadSettings(WindowHandle window);
// The bytes of JWsxf.dat, not interpreted; their count is -1 when the file is missing, unreadable or
// larger than its 11,000-byte buffer, each reported.
void ReadSxfData(WindowHandle window);

}  // namespace velmora
