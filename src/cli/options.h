// velmora-convert's command line.
#pragma once

#include <string>
#include <vector>

#include "convert/program_name.h"

namespace velmora {

enum class Route { Auto, Direct, Ghostscript };

struct PageRange {
    int first;
    int last;
};

// --scale auto: each page takes the scale its PDF states (viewport measure or printed scale).
inline constexpr int kScaleAuto = -1;

struct ConvertOptions {
    std::vector<std::string> inputs;
    std::string output;             // empty: beside the input
    std::vector<PageRange> pages;   // empty: all pages
    int scale_denominator = 0;      // 0: leave each page's scale as it is; kScaleAuto: as the PDF states it
    Route route = Route::Auto;
    std::string password;           // tried after the empty user password of a protected file
    int fills = -1;                  // -1: as VELMORA.JWF says; 1 solids; 0 outlines
    std::string report_path;
    bool svg = false;
    int curves = -1;                // --curves: 1 arcs, 0 lines, -1 as VELMORA.JWF says
    bool list = false;
    std::string config_directory;   // empty: current directory or the installed data
    bool quiet = false;              // errors only
    bool verbose = false;            // the window's messages and progress too
    bool help = false;
    bool version = false;
    bool recursive = false;          // -r: folders given are descended
    int jobs = 0;                    // -j: files converted at a time (0: one per core)
    // The options a batch hands to each file's own run: all but -o, -j and -r.
    std::vector<std::string> forwarded;
};

struct ParseResult {
    ConvertOptions options;
    std::string error;  // empty on success
};

ParseResult ParseOptions(const std::vector<std::string>& arguments);

// "all" gives an empty list; otherwise "N" or a list such as "1,3-5". False on a bad list.
bool ParsePageList(const std::string& text, std::vector<PageRange>* pages);
// "1/N" with N >= 1, or "auto" (kScaleAuto).
bool ParseScale(const std::string& text, int* denominator);

// The pages to convert, ascending and without repeats. False when a requested page exceeds
// `page_count` (`missing_page` set).
bool ExpandPages(const std::vector<PageRange>& ranges, int page_count, std::vector<int>* pages, int* missing_page);

extern const char kUsageText[];

}  // namespace velmora
