// The line rules of the settings file, applied to its bytes in memory: no file, no message, so
// the rules can be tested and fuzzed on their own.
#pragma once

#include <cstddef>
#include <string_view>

namespace velmora {

// Of a slash field longer than this, only its last bytes are read (the window program's rule).
inline constexpr size_t kSlashFieldWindow = 295;
// Digit runs saturate here; every setting that takes a number wants far less.
inline constexpr int kNumberCeiling = 1000000;

// Applies every keyword line of `text` to g_settings, in file order, up to an END line.
// Defaults before and PenOrder after are the caller's work.
void ApplySettingsText(std::string_view text);

}  // namespace velmora
