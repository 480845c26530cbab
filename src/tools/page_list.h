// The rows of the page list: per page its paper, rotation, scale and counts, as the window's
// list box and velmora-convert --list show them (Shift-JIS).
#pragma once

#include <string>
#include <vector>

namespace velmora {

inline constexpr int kPageListRowBytes = 100;

// The list's column header.
extern const char kPageListHeader[];

// The row of page `page`: "%4d  %s/%3d° 1/%4d  %6d %6d".
std::string PageListRow(int page);

// Rows for pages 1 .. page count, in page order (row index = page - 1).
std::vector<std::string> PageListRows();

// The list's choice: row `row` becomes the current page. Without pages the current page is 0,
// as when nothing is loaded; a row outside the list (none selected) is taken as the nearest one.
void ChooseListedPage(int row);

}  // namespace velmora
