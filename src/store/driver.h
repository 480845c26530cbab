// The conversion driver: the two routes (direct and through Ghostscript), page conversion,
// progress texts, paper sizes and the error boxes.
#pragma once

#include "platform/platform.h"
#include "store/capacities.h"

namespace velmora {

// Current file names, Shift-JIS, NUL-terminated.
struct FileNames {
    char pdf_path[kPathBytes];           // the PDF chosen by the user
    char pdf_stem[kPathBytes];           // pdf_path without its last four characters
    char intermediate_path[kPathBytes];  // Ghostscript's output
};

extern FileNames g_file_names;

inline constexpr char kIntermediateFileName[] = "velmora_GS.pdf";

// Sets pdf_path and pdf_stem (the path without its last four characters). False when the path
// does not fit its buffer; nothing changes then.
bool SetPdfPath(const char* path);
// Sets the intermediate path: `directory` followed by "velmora_GS.pdf". False when too long.
bool SetIntermediateDirectory(const char* directory);

void OpenPdf(WindowHandle window);
bool ConvertViaGhostscript(WindowHandle window);
bool ConvertDirect(WindowHandle window);
bool LoadForConversion(WindowHandle window, const char* path);
void ConvertPage(int page);
void ConvertAllPages(WindowHandle window);
void ReportErrors(WindowHandle window);
void ShowProgress(WindowHandle window, const char* text, Rgb colour);
void DetectPaperSize(int page);

// Paper sizes: long side, short side (points) and the name shown for each index.
inline constexpr int kPaperSizeCount = 12;
struct PaperSize {
    double long_side;
    double short_side;
};
extern const PaperSize PaperSizeTable[kPaperSizeCount];
extern const char PaperNames[kPaperSizeCount][10];

// The bound on the text of the first error box.
inline constexpr int kErrorTextBytes = 900;

}  // namespace velmora
