#include <string>
#include <vector>

#include "cli/convert_command.h"

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    return velmora::RunConverter(arguments);
}
