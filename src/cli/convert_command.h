// velmora-convert from parsed options to written files.
#pragma once

#include <vector>
#include <string>

#include "cli/options.h"

namespace velmora {

enum ExitStatus {
    kExitSuccess = 0,
    kExitUsage = 1,        // bad option, no such page, unreadable input path
    kExitUnreadable = 2,   // the PDF could not be read by any allowed route
    kExitOutput = 3,       // an output could not be written
};

// The whole program: parses, opens, converts, writes. Returns the exit status.
int RunConverter(const std::vector<std::string>& arguments);

}  // namespace velmora
