// The main window's command table and file drop, without Windows: which command runs when,
// what it refuses in the layer tool, the page switch with its guards, and the drop rules. The
// window supplies its dialogs as plain functions.
#pragma once

#include <cstddef>

#include "platform/platform.h"

namespace velmora {

enum CommandId : int {
    kCommandOpen = 111,
    kCommandSaveJww = 112,
    kCommandReport = 115,
    kCommandExit = 119,
    kCommandVersion = 121,
    kCommandPrevious = 201,
    kCommandNext = 202,
    kCommandPageList = 203,
    kCommandDirect = 204,
    kCommandGhostscript = 205,
    kCommandOpenButton = 206,
    kCommandSaveButton = 207,
    kCommandBackTen = 208,
    kCommandForwardTen = 209,
    kCommandLayerTool = 210,
    kCommandPenChange = 230,
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
