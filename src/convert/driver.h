// The conversion driver: the two routes (direct and through Ghostscript), page conversion,
// progress texts, paper sizes and the error boxes.
#pragma once

#include "platform/platform.h"
#include "store/capacities.h"
#include "store/file_names.h"
#include "store/paper_sizes.h"

namespace velmora {

// The reset of the open command: everything a new file resets, and no route tried yet (so a
// Ghostscript rewrite of an earlier file is never read again).
void ResetForOpen();
void OpenPdf(WindowHandle window);
bool ConvertViaGhostscript(WindowHandle window);
bool ConvertDirect(WindowHandle window);
bool LoadForConversion(WindowHandle window, const char* path);
void ConvertPage(int page);
void ConvertAllPages(WindowHandle window);
void ReportErrors(WindowHandle window);
void ShowProgress(WindowHandle window, const char* text, Rgb colour);
void DetectPaperSize(int page);
// The error-list length when the last ConvertPage began: the codes behind it are that page's.
int FirstErrorOfLastPage();

// The bound on the text of the first error box.
inline constexpr int kErrorTextBytes = 900;

}  // namespace velmora
