// The program's name, its window class and title, and the version text both programs show.
#pragma once

namespace velmora {

inline constexpr char kProgramName[] = "Velmora";
inline constexpr char kVersionText[] = "Velmora ver 1.5";

}  // namespace velmora
