// The main window's command table and file drop, without Windows: which command runs when,
// what it refuses in the layer tool, the page switch with its guards, and the drop rules. The
// window supplies its dialogs as plain functions.
#pragma once

#include <cstddef>

#include "app/control_ids.h"
#include "platform/platform.h"

namespace velmora {

enum CommandId : int {
    kCommandOpen = IDM_OPEN,
    kCommandSaveJww = IDM_SAVE_JWW,
    kCommandReport = IDM_REPORT,
    kCommandExit = IDM_EXIT,
    kCommandVersion = IDM_VERSION,
    kCommandPrevious = IDM_PREVIOUS,
    kCommandNext = IDM_NEXT,
    kCommandPageList = IDM_PAGE_LIST,
    kCommandDirect = IDM_DIRECT,
    kCommandGhostscript = IDM_GHOSTSCRIPT,
    kCommandOpenButton = IDM_OPEN_BUTTON,
    kCommandSaveButton = IDM_SAVE_BUTTON,
    kCommandBackTen = IDM_BACK_TEN,
    kCommandForwardTen = IDM_FORWARD_TEN,
    kCommandLayerTool = IDM_LAYER_TOOL,
    kCommandPenChange = IDM_PEN_CHANGE,
    kCommandHelpFirst = IDM_HELP_OPEN,
    kCommandHelpLast = IDM_HELP_PENS,
};

inline constexpr int kPageStep = 10;

// The window's side: its file dialogs (true with a chosen name; `name` holds the initial name
// on entry) and the commands that live in dialogs of their own.
struct WindowDialogs {
    bool (*choose_pdf)(WindowHandle window, char* path, size_t size);
    bool (*choose_jww)(WindowHandle window, char* name, size_t size);
    bool (*choose_report)(WindowHandle window, char* name, size_t size);
    void (*close_window)(WindowHandle window);
    void (*page_list)(WindowHandle window);
    void (*layer_tool)(WindowHandle window);
    void (*pen_change)(WindowHandle window);
};

// One WM_COMMAND. Ids that are not commands do nothing; so do commands the layer tool refuses
// while it is open.
void RunCommand(WindowHandle window, int id, const WindowDialogs& dialogs);

// The page a page-switch command goes to from `current`, clamped to 1 .. `count`.
int PageSwitchTarget(int id, int current, int count);

// A page-switch command: the questions first, then the page converted and shown, even when
// the clamp leaves it where it was. Nothing happens while no document has pages.
void SwitchPage(WindowHandle window, int id);

// Files dropped on the window (also a path given on the command line): one file whose name ends
// in ".pdf" exactly is opened; anything else is refused with a message.
void DropFiles(WindowHandle window, int count, const char* first_path);

}  // namespace velmora
