#include "settings/settings_file.h"

#include <cstdio>
#include <string>

#include "settings/settings_text.h"
#include "settings/settings.h"

namespace velmora {

std::string g_settings_directory;
std::string g_settings_fallback_directory;
SettingsSources g_settings_sources;

namespace {

constexpr char kNotFoundFormat[] = "%s ファイルが見つかりません ";
constexpr char kTooLargeFormat[] = "%s ファイルが大きすぎるため読み込めませんでした";
constexpr char kFileMessageTitle[] = "file";
constexpr size_t kFileMessageBytes = 256;
// A settings file is a few hundred bytes; beyond this much the rest is not read.
constexpr size_t kSettingsFileMaxBytes = 1 << 20;

void ShowFileMessage(WindowHandle window, const char* format, const char* name) {
    char text[kFileMessageBytes];
    std::snprintf(text, sizeof text, format, name);
    ShowMessage(window, text, kFileMessageTitle, MessageButtons::Ok);
}

// Reads at most `limit` bytes into `bytes`; false when the file cannot be opened or read
// (a directory of that name opens on POSIX but does not read).
bool ReadFileStart(const std::string& path, size_t limit, std::string* bytes) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    char chunk[4096];
    bool failed = false;
    while (bytes->size() < limit) {
        const size_t wanted = limit - bytes->size() < sizeof chunk ? limit - bytes->size() : sizeof chunk;
        const size_t got = std::fread(chunk, 1, wanted, file);
        bytes->append(chunk, got);
        if (got < wanted) {
            failed = std::ferror(file) != 0;
            break;
        }
    }
    std::fclose(file);
    return !failed;
}

// The settings directory's file when it exists, else the fallback directory's; `tried` names
// every path looked at.
std::string LocateFile(const char* name, std::string* tried) {
    const std::string first = g_settings_directory + name;
    *tried = first;
    if (std::FILE* file = std::fopen(first.c_str(), "rb")) {
        std::fclose(file);
        return first;
    }
    if (g_settings_fallback_directory.empty() || g_settings_fallback_directory == g_settings_directory) return first;
    const std::string second = g_settings_fallback_directory + name;
    *tried += " or " + second;
    if (std::FILE* file = std::fopen(second.c_str(), "rb")) {
        std::fclose(file);
        return second;
    }
    return first;
}

}  // namespace

void ReadSettings(WindowHandle window) {
    SetDefaultSettings();
    std::string text;
    const std::string path = LocateFile(kSettingsFileName, &g_settings_sources.settings_tried);
    g_settings_sources.settings_path.clear();
    if (!ReadFileStart(path, kSettingsFileMaxBytes, &text)) {
        // PenOrder stays the one of the default widths: all 0 would draw every line in pen 0,
        // the background colour.
        ShowFileMessage(window, kNotFoundFormat, kSettingsFileName);
        return;
    }
    g_settings_sources.settings_path = path;
    ApplySettingsText(text);
    BuildPenOrder();
}

void ReadSxfData(WindowHandle window) {
    g_settings.sxf_length = -1;
    g_settings_sources.sxf_path.clear();
    const std::string path = LocateFile(kSxfFileName, &g_settings_sources.sxf_tried);
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        ShowFileMessage(window, kNotFoundFormat, kSxfFileName);
        return;
    }
    const size_t length = std::fread(g_settings.sxf_data, 1, kSxfDataCapacity, file);
    const bool longer = length == kSxfDataCapacity && std::fgetc(file) != EOF;
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        ShowFileMessage(window, kNotFoundFormat, kSxfFileName);
        return;
    }
    // A cut block would make every saved JWW file unreadable; refuse it, so saving is refused.
    if (longer) {
        ShowFileMessage(window, kTooLargeFormat, kSxfFileName);
        return;
    }
    g_settings.sxf_length = static_cast<int32_t>(length);
    g_settings_sources.sxf_path = path;
}

}  // namespace velmora
