// Reading the two settings files: from the current directory, else from beside the program.
#pragma once

#include <string>

#include "platform/platform.h"

namespace velmora {

inline constexpr char kSettingsFileName[] = "VELMORA.JWF";
inline constexpr char kSxfFileName[] = "JWsxf.dat";

// Directory both files are read from, with its trailing separator; empty means the current
// directory (the window program's rule). The console program may point it elsewhere.
extern std::string g_settings_directory;
// Where a file missing from g_settings_directory is looked for next (the program's own
// directory, with its separator); empty: nowhere else.
extern std::string g_settings_fallback_directory;

// The paths the two files were read from, empty when missing; and the paths looked at.
struct SettingsSources {
    std::string settings_path;
    std::string sxf_path;
    std::string settings_tried;  // "A" or "A or B"
    std::string sxf_tried;
};
extern SettingsSources g_settings_sources;

// Every default, then VELMORA.JWF, then PenOrder. A missing file is reported and leaves the
// defaults, PenOrder included.
void ReadSettings(WindowHandle window);
// The bytes of JWsxf.dat, not interpreted; their count is -1 when the file is missing, unreadable or
// larger than its 11,000-byte buffer, each reported.
void ReadSxfData(WindowHandle window);

}  // namespace velmora
