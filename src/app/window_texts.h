// The fixed texts of the main window: its name and version, the status bar's two owner-drawn
// parts, the toolbar's tooltips and the help menu's texts (Shift-JIS).
#pragma once

#include <string>

#include "convert/program_name.h"
#include "platform/platform.h"
#include "store/document_store.h"

namespace velmora {

inline constexpr char kVersionTitle[] = "バージョン";

struct RouteLabel {
    const char* text;
    Rgb colour;
};

// Status bar part 0: the route the shown document was read by. False (nothing drawn) before
// any conversion.
bool RouteStatus(ConversionRoute route, RouteLabel* label);

// Status bar part 1: " Page = %d / %d      Paper = %s       Scale = 1 / %d".
std::string PageStatusText();

// Status bar part 2: where the settings were read from ("設定: PATH"), or that the defaults
// are in use and where VELMORA.JWF was looked for.
std::string SettingsSourceText();

// The string resource of a toolbar button's tooltip; 0 for other ids.
int TooltipStringId(int command);

struct HelpText {
    int command;
    const char* title;
    const char* text;
};

// The help menu's message for `command` (150 .. 157); null for other ids.
const HelpText* HelpTextFor(int command);

}  // namespace velmora
