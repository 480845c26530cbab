// The program's name, its window class and title, and the version text both programs show.
#pragma once

#include "velmora_version.h"

namespace velmora {

inline constexpr char kProgramName[] = "Velmora";
inline constexpr char kVersionText[] = "Velmora ver " VELMORA_VERSION_TEXT;

}  // namespace velmora
