#include "tools/page_list.h"

#include <algorithm>
#include <cstdio>

#include "store/arc_records.h"
#include "store/document_store.h"
#include "store/paper_sizes.h"

namespace velmora {

const char kPageListHeader[] = "   頁  紙/向き   縮尺    線数 文字列数";

namespace {

// Rotation truncated toward zero; values outside int range are clamped rather than undefined.
int TruncatedDegrees(double rotation) {
    if (rotation != rotation) return 0;
    if (rotation <= -2147483648.0) return -2147483647 - 1;
    if (rotation >= 2147483647.0) return 2147483647;
    return static_cast<int>(rotation);
}

}  // namespace

std::string PageListRow(int page) {
    if (page < 1 || page > kMaxPages) return "";
    const PageRecord& record = g_store.pages[page];
    const int paper = record.paper_size_index;
    const char* name = (paper >= 0 && paper < kPaperSizeCount) ? PaperNames[paper] : "--";
    char row[kPageListRowBytes];
    std::snprintf(row, sizeof row, "%4d  %s/%3d° 1/%4d  %6d %6d", page, name, TruncatedDegrees(record.rotation),
                  record.scale_denominator, record.line_count + g_arcs.page_arcs[page], record.nonempty_text_count);
    return row;
}

std::vector<std::string> PageListRows() {
    std::vector<std::string> rows;
    const int pages = std::clamp(g_store.page_count, 0, kMaxPages);
    for (int page = 1; page <= pages; ++page) rows.push_back(PageListRow(page));
    return rows;
}

void ChooseListedPage(int row) {
    const int pages = std::clamp(g_store.page_count, 0, kMaxPages);
    g_store.current_page = pages == 0 ? 0 : std::clamp(row, 0, pages - 1) + 1;
}

}  // namespace velmora
