// The resource scripts and the code name their ids from one header: every id a resource
// statement gives a menu item, string or control is a name of app/control_ids.h, never a number
// of its own (the static labels nothing refers to keep theirs).
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "app/control_ids.h"

namespace velmora {
namespace {

std::string ReadSource(const std::string& relative) {
    std::ifstream file(std::string(VELMORA_SOURCE_DIR) + "/" + relative);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::set<std::string> DefinedNames() {
    const std::string header = ReadSource("src/app/control_ids.h");
    std::set<std::string> names;
    const std::regex define(R"(#define\s+([A-Z_0-9]+)\s+\d+)");
    for (auto it = std::sregex_iterator(header.begin(), header.end(), define); it != std::sregex_iterator(); ++it) {
        names.insert((*it)[1]);
    }
    return names;
}

TEST(ControlIds, ResourceScriptsTakeEveryReferencedIdFromTheOneHeader) {
    const std::set<std::string> names = DefinedNames();
    ASSERT_GT(names.size(), 60u);
    EXPECT_NE(ReadSource("src/app/win32/velmora.rc").find("#include \"../control_ids.h\""), std::string::npos);
    // A menu item, a string table entry or a control that the code reads: MENUITEM "..", ID;
    // ID "text"; a control keyword with its text, then ID.
    const std::regex menu(R"(MENUITEM\s+"[^"]*",\s*([A-Za-z_0-9]+))");
    const std::regex control(
        R"((LISTBOX|EDITTEXT|AUTOCHECKBOX|AUTORADIOBUTTON|PUSHBUTTON|DEFPUSHBUTTON|CONTROL)\s+(?:"[^"]*",\s*)?([A-Za-z_0-9-]+),)");
    const std::regex string_entry(R"(^\s+(IDS_[A-Z_0-9]+|\d+)\s+")");
    for (const char* script : {"src/app/win32/velmora.rc", "src/app/win32/layer_dialog.rc"}) {
        const std::string text = ReadSource(script);
        ASSERT_FALSE(text.empty()) << script;
        std::istringstream lines(text);
        std::string line;
        int checked = 0;
        while (std::getline(lines, line)) {
            std::smatch match;
            std::string id;
            if (std::regex_search(line, match, menu)) id = match[1];
            else if (std::regex_search(line, match, control)) id = match[2];
            else if (std::regex_search(line, match, string_entry)) id = match[1];
            if (id.empty() || id == "IDOK" || id == "IDCANCEL") continue;
            ++checked;
            EXPECT_TRUE(names.count(id)) << script << ": '" << id << "' in: " << line;
        }
        EXPECT_GT(checked, 10) << script;
    }
}

// The GUI probe and its scripts send these numbers: they stay as they were.
TEST(ControlIds, TheValuesTheWindowTestsSendStay) {
    EXPECT_EQ(IDM_NEXT, 202);
    EXPECT_EQ(IDC_LAYER_LIST, 4051);
    EXPECT_EQ(IDC_PAGE_LIST, 4050);
}

}  // namespace
}  // namespace velmora
