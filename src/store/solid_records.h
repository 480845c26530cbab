// Filled areas of the current page as Jw_cad solids: quadrilaterals (a triangle repeats a corner)
// with the fill colour, beside the line table and reset with it.
#pragma once

#include <cstdint>

#include "store/capacities.h"

namespace velmora {

inline constexpr int kSolidCapacity = 100000;  // SolidRecords of one page

// Same seven-field header as LineRecord; then the corners as a ring, in points of the page frame.
struct SolidRecord {
    int32_t group_number;   // the fill's number: the pieces of one fill share it
    uint8_t pen_style;      // always 1
    int16_t pen_colour;     // 10: the colour word below is the colour
    int16_t pen_width;      // always 0
    int16_t layer;          // by colour, set by the layer assignment
    int16_t layer_group;
    int16_t flags;          // always 0
    double x[4], y[4];      // corners in ring order
    int32_t width_class;    // always 0
    int32_t page_number;    // 1-based
    uint32_t colour;        // 0x00BBGGRR
    int32_t paint_position; // line records painted before it: it is written after them
};

struct SolidTable {
    SolidRecord records[kSolidCapacity];
    int32_t count;
    bool overflow_reported;
    int32_t page_solids[kPageTableSize];  // solids of each page converted since the file was opened
};

extern SolidTable g_solids;

inline constexpr int16_t kSolidPenColour = 10;

void ResetSolidsForPage();
void ResetSolidsForFile();
// Notes the current table as page `page`'s solids (after its scan).
void NotePageSolids(int page);
// The count that may be read, bounded by the table.
int32_t ReadableSolidCount();

}  // namespace velmora
