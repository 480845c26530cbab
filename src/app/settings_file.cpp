#include "app/settings_file.h"

#include "store/settings.h"

namespace velmora {

std::string g_settings_directory;

// Placeholder until the settings reader exists: the defaults only.
void ReadSettings(WindowHandle /*window*/) { SetDefaultSettings(); }

// Placeholder until the settings reader exists: JWsxf.dat counts as not found.
void ReadSxfData(WindowHandle /*window*/) { g_settings.sxf_length = -1; }

}  // namespace velmora
