// The source folders form layers: a folder includes only folders below it, so the core never
// reaches up into the programs, and only the window and the platform's Windows files see
// <windows.h>. Reads the source tree as text.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace velmora {
namespace {

// Lowest first; folders of one rank do not include each other either.
const std::map<std::string, int> kFolderRanks = {
    {"platform", 0}, {"store", 1},  {"settings", 2}, {"pdf", 3},  {"fonts", 4}, {"content", 5},
    {"convert", 6},  {"jww", 7},    {"report", 7},   {"tools", 7}, {"view", 8},  {"app", 9},
    {"cli", 10},     {"app/win32", 10},
};
// The console program shares the core with the window, not the window's own folder.
const std::multimap<std::string, std::string> kFolderNeverIncludes = {{"cli", "app"}};

bool Forbidden(const std::string& folder, const std::string& included) {
    const auto range = kFolderNeverIncludes.equal_range(folder);
    for (auto pair = range.first; pair != range.second; ++pair) {
        if (pair->second == included) return true;
    }
    return false;
}

// "src/pdf/lexical.cpp" -> "pdf"; "src/app/win32/x.cpp" -> "app/win32".
std::string FolderOf(const std::filesystem::path& relative) {
    auto part = relative.begin();
    std::string folder = part->string();
    ++part;
    if (folder == "app" && part != relative.end() && part->string() == "win32") folder += "/win32";
    return folder;
}

bool MayIncludeWindowsHeader(const std::string& folder, const std::string& file_name) {
    return folder == "app/win32" || (folder == "platform" && file_name.find("_win32.") != std::string::npos);
}

// Every rule broken in the tree under `source`, one line each.
std::vector<std::string> LayerViolations(const std::filesystem::path& source) {
    std::vector<std::string> violations;
    const std::regex quoted_include(R"(^\s*#\s*include\s*"([a-z0-9_]+(?:/win32)?)/[^"]+")");
    const std::regex windows_include(R"(^\s*#\s*include\s*<windows\.h>)", std::regex::icase);
    for (const auto& item : std::filesystem::recursive_directory_iterator(source)) {
        const std::string extension = item.path().extension().string();
        if (!item.is_regular_file() || (extension != ".cpp" && extension != ".h")) continue;
        const std::filesystem::path relative = std::filesystem::relative(item.path(), source);
        const std::string folder = FolderOf(relative);
        const auto rank = kFolderRanks.find(folder);
        if (rank == kFolderRanks.end()) {
            violations.push_back(relative.generic_string() + ": folder '" + folder + "' has no place in the layers");
            continue;
        }
        std::ifstream file(item.path());
        std::string line;
        for (int number = 1; std::getline(file, line); ++number) {
            const std::string where = relative.generic_string() + ":" + std::to_string(number) + ": ";
            std::smatch match;
            if (std::regex_search(line, match, quoted_include)) {
                const std::string included = match[1];
                const auto included_rank = kFolderRanks.find(included);
                if (included != folder && (included_rank == kFolderRanks.end() || included_rank->second >= rank->second ||
                                           Forbidden(folder, included))) {
                    violations.push_back(where + folder + " includes " + included);
                }
            }
            if (std::regex_search(line, windows_include) &&
                !MayIncludeWindowsHeader(folder, relative.filename().string())) {
                violations.push_back(where + "<windows.h> outside the window and the platform's Windows files");
            }
        }
    }
    return violations;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

TEST(SourceLayers, EveryIncludePointsDownwards) {
    const std::vector<std::string> violations = LayerViolations(std::string(VELMORA_SOURCE_DIR) + "/src");
    EXPECT_TRUE(violations.empty()) << Joined(violations);
}

TEST(SourceLayers, TheCheckFindsUpwardIncludesAndStrayWindowsHeaders) {
    const std::filesystem::path tree = std::filesystem::path(::testing::TempDir()) / "velmora_layers";
    std::filesystem::remove_all(tree);
    for (const char* folder : {"store", "pdf", "jww", "tools", "app/win32", "cli", "platform", "gadgets"}) {
        std::filesystem::create_directories(tree / folder);
    }
    std::ofstream(tree / "store/table.cpp") << "#include \"pdf/lexical.h\"\n";
    std::ofstream(tree / "pdf/ok.cpp") << "#include \"store/records.h\"\n#include \"pdf/lexical.h\"\n";
    std::ofstream(tree / "jww/side.cpp") << "#include \"tools/page_list.h\"\n";
    std::ofstream(tree / "tools/window.cpp") << "#include <windows.h>\n";
    std::ofstream(tree / "app/win32/main.cpp") << "#include <windows.h>\n#include \"cli/options.h\"\n";
    std::ofstream(tree / "platform/os_win32.cpp") << "#include <windows.h>\n";
    std::ofstream(tree / "cli/main.cpp") << "#include \"view/page_drawing.h\"\n#include \"app/window_texts.h\"\n";
    std::ofstream(tree / "gadgets/x.cpp") << "\n";
    const std::string found = Joined(LayerViolations(tree));
    EXPECT_NE(found.find("store/table.cpp:1: store includes pdf"), std::string::npos) << found;
    EXPECT_NE(found.find("jww/side.cpp:1: jww includes tools"), std::string::npos) << found;
    EXPECT_NE(found.find("tools/window.cpp:1: <windows.h>"), std::string::npos) << found;
    EXPECT_NE(found.find("app/win32/main.cpp:2: app/win32 includes cli"), std::string::npos) << found;
    EXPECT_NE(found.find("cli/main.cpp:2: cli includes app"), std::string::npos) << found;
    EXPECT_EQ(found.find("cli/main.cpp:1"), std::string::npos) << found;
    EXPECT_NE(found.find("folder 'gadgets'"), std::string::npos) << found;
    EXPECT_EQ(found.find("pdf/ok.cpp"), std::string::npos) << found;
    EXPECT_EQ(found.find("platform/os_win32.cpp"), std::string::npos) << found;
    EXPECT_EQ(found.find("main.cpp:1"), std::string::npos) << found;
    std::filesystem::remove_all(tree);
}

}  // namespace
}  // namespace velmora
