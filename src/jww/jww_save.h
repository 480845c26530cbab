// Saving the current page as a JWW file: the decisions of the save command, shared by the
// window (which adds the save dialog between the steps) and velmora-convert.
//
// Window:  if (!BeginJwwSave(window)) return;
//          char name[kPathBytes]; JwwDefaultFileName(name, sizeof name);
//          ... save dialog with `name`; cancel: return ...; RequestRepaint(window, false);
//          WriteJwwFile(window, name, g_store.current_page);
// Console: SaveJwwPage(nullptr, path, page);
#pragma once

#include <cstddef>

#include "platform/platform.h"

namespace velmora {

// Refuses (with a message box) when JWsxf.dat was not found or does not hold exactly one SXF
// block; otherwise marks the duplicate texts of the page. True when saving may go on.
bool BeginJwwSave(WindowHandle window);

// The name the save dialog starts with: the PDF's path without ".pdf", and for a file of more
// than one page the current page as "-%02d". False (the stem alone) when that would not fit.
bool JwwDefaultFileName(char* name, size_t size);

// Creates `path` and writes page `page` into it. A file that cannot be created, or a write that
// fails, is reported with a message box and returns false; a partly written file is removed.
bool WriteJwwFile(WindowHandle window, const char* path, int page);

// BeginJwwSave and WriteJwwFile for a path chosen without a dialog.
bool SaveJwwPage(WindowHandle window, const char* path, int page);

}  // namespace velmora
