#include "cli/batch.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cli/console_report.h"
#include "cli/convert_command.h"
#include "platform/console_seam.h"
#include "platform/platform.h"

namespace velmora {

namespace fs = std::filesystem;

namespace {

struct BatchFile {
    std::string input;
    std::string output_directory;  // empty: beside the input
    long long child = 0;
    std::string output_capture, error_capture;
};

bool IsPdfName(const fs::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return extension == ".pdf";
}

// The PDFs of a folder (of its whole tree with -r), in name order, each with its output folder.
void AddFolder(const ConvertOptions& options, const fs::path& root, std::vector<BatchFile>* files) {
    std::vector<fs::path> found;
    std::error_code error;
    if (options.recursive) {
        for (auto it = fs::recursive_directory_iterator(root, error); !error && it != fs::recursive_directory_iterator();
             it.increment(error)) {
            if (it->is_regular_file(error) && IsPdfName(it->path())) found.push_back(it->path());
        }
    } else {
        for (auto it = fs::directory_iterator(root, error); !error && it != fs::directory_iterator(); it.increment(error)) {
            if (it->is_regular_file(error) && IsPdfName(it->path())) found.push_back(it->path());
        }
    }
    std::sort(found.begin(), found.end());
    for (const fs::path& path : found) {
        BatchFile file;
        file.input = path.string();
        if (!options.output.empty()) {
            const fs::path relative = path.parent_path().lexically_relative(root);
            file.output_directory = (fs::path(options.output) / relative).lexically_normal().string();
        }
        files->push_back(file);
    }
}

std::string ReadWhole(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

std::string Seconds(double seconds) {
    const long whole = static_cast<long>(seconds + 0.5);
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
    return text;
}

}  // namespace

bool HasFolderInput(const ConvertOptions& options) {
    std::error_code error;
    for (const std::string& input : options.inputs) {
        if (fs::is_directory(input, error)) return true;
    }
    return false;
}

int RunBatch(const ConvertOptions& options) {
    std::vector<BatchFile> files;
    std::error_code error;
    for (const std::string& input : options.inputs) {
        if (fs::is_directory(input, error)) {
            AddFolder(options, fs::path(input), &files);
        } else {
            BatchFile file;
            file.input = input;
            file.output_directory = options.output;
            files.push_back(file);
        }
    }
    if (files.empty()) {
        SayError("cannot read any PDF file from the folders given");
        return kExitUsage;
    }
    const std::string program = ProgramPath();
    const fs::path captures = fs::temp_directory_path(error) / ("velmora-batch-" + std::to_string(getpid()));
    fs::create_directories(captures, error);
    if (program.empty() || error) {
        SayError("cannot start the conversions of the folders");
        return kExitUnreadable;
    }
    const unsigned cores = std::thread::hardware_concurrency();
    const size_t jobs = options.jobs > 0 ? static_cast<size_t>(options.jobs) : cores > 0 ? cores : 1;
    const bool progress = CurrentVerbosity() != Verbosity::Quiet && isatty(2);
    // Whole seconds are enough for a line read by people (and <chrono> does not build with CP932 literals).
    const std::time_t started = std::time(nullptr);

    int status = kExitSuccess;
    size_t next = 0, running = 0, done = 0, converted = 0, warned = 0, failed = 0;
    auto show_progress = [&](const std::string& current) {
        if (!progress) return;
        const double elapsed = std::difftime(std::time(nullptr), started);
        const std::string remaining = done > 0 ? Seconds(elapsed / done * (files.size() - done)) : "?";
        std::fprintf(stderr, "\r%zu/%zu  %s  %s elapsed, %s left\x1b[K", done, files.size(), current.c_str(),
                     Seconds(elapsed).c_str(), remaining.c_str());
        std::fflush(stderr);
    };
    while (done < files.size()) {
        while (running < jobs && next < files.size()) {
            BatchFile& file = files[next];
            const std::string base = (captures / std::to_string(next)).string();
            file.output_capture = base + ".out";
            file.error_capture = base + ".err";
            std::vector<std::string> arguments{program};
            arguments.insert(arguments.end(), options.forwarded.begin(), options.forwarded.end());
            if (!file.output_directory.empty()) {
                fs::create_directories(file.output_directory, error);
                arguments.push_back("-o");
                arguments.push_back(file.output_directory + "/");
            }
            arguments.push_back("--");
            arguments.push_back(file.input);
            file.child = StartChildProcess(arguments, file.output_capture, file.error_capture);
            ++next;
            if (file.child == 0) {
                SayError("cannot start the conversion of '" + NativeTextForConsole(file.input) + "'");
                status = std::max(status, static_cast<int>(kExitUnreadable));
                ++failed;
                ++done;
                continue;
            }
            ++running;
            show_progress(file.input);
        }
        if (running == 0) continue;
        int code = 0;
        const long long child = WaitForChildProcess(&code);
        if (child == 0) break;
        --running;
        ++done;
        auto ended = std::find_if(files.begin(), files.end(), [&](const BatchFile& f) { return f.child == child; });
        if (ended == files.end()) continue;
        ended->child = -1;
        if (progress) std::fputs("\r\x1b[K", stderr);
        const std::string output = ReadWhole(ended->output_capture);
        const std::string errors = ReadWhole(ended->error_capture);
        std::fputs(output.c_str(), stdout);
        std::fflush(stdout);
        std::fputs(errors.c_str(), stderr);
        fs::remove(ended->output_capture, error);
        fs::remove(ended->error_capture, error);
        if (code > kExitOutput) {
            SayError("'" + NativeTextForConsole(ended->input) + "': the conversion ended abnormally (status " +
                     std::to_string(code) + ")");
            code = kExitUnreadable;
        }
        status = std::max(status, code);
        if (code != kExitSuccess) {
            ++failed;
        } else if (errors.find("warning:") != std::string::npos) {
            ++warned;
        } else {
            ++converted;
        }
        show_progress(next < files.size() ? files[next - 1].input : ended->input);
    }
    if (progress) std::fputs("\r\x1b[K", stderr);
    fs::remove_all(captures, error);
    SayResult(std::to_string(files.size()) + " files: " + std::to_string(converted) + " converted, " +
              std::to_string(warned) + " with warnings, " + std::to_string(failed) + " failed");
    return status;
}

}  // namespace velmora
