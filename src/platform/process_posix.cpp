// Starting a program from a Windows-style command line on POSIX systems.
#include <fcntl.h>
#include <cerrno>
#include <spawn.h>
#include <sys/wait.h>

#include <string>
#include <vector>

#include "platform/platform.h"

extern char** environ;

namespace velmora {

namespace {

// Blanks separate arguments; double quotes group blanks into one argument and are removed.
std::vector<std::string> SplitCommandLine(const std::string& command_line) {
    std::vector<std::string> arguments;
    std::string current;
    bool quoted = false;
    bool have_argument = false;
    for (char c : command_line) {
        if (c == '"') {
            quoted = !quoted;
            have_argument = true;
        } else if (c == ' ' && !quoted) {
            if (have_argument) arguments.push_back(current);
            current.clear();
            have_argument = false;
        } else {
            current += c;
            have_argument = true;
        }
    }
    if (have_argument) arguments.push_back(current);
    return arguments;
}

}  // namespace

bool StartProcessAndWait(const std::string& command_line, int* exit_code) {
    const std::vector<std::string> arguments = SplitCommandLine(command_line);
    if (arguments.empty()) return false;
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    // The child's standard output would mix with ours; its errors stay visible.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return false;

    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return false;
    }
    *exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return true;
}

long long StartChildProcess(const std::vector<std::string>& arguments, const std::string& output_path,
                            const std::string& error_path) {
    if (arguments.empty()) return 0;
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, output_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, error_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return spawned == 0 ? static_cast<long long>(pid) : 0;
}

long long WaitForChildProcess(int* exit_code) {
    int status = 0;
    pid_t pid;
    while ((pid = waitpid(-1, &status, 0)) < 0) {
        if (errno != EINTR) return 0;
    }
    *exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return pid;
}

}  // namespace velmora
