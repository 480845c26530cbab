#include "tools/page_scale.h"

#include "convert/stated_scale.h"
#include "store/document_store.h"

namespace velmora {

namespace {

bool InTable(int page) { return page >= 1 && page < kPageTableSize; }

}  // namespace

void SetPageScale(int page, int32_t denominator, double ratio) {
    if (!InTable(page)) return;
    UsePageRecords(page);
    g_store.pages[page].scale_denominator = denominator;
    g_store.pages[page].scale_ratio = ratio;
}

void SetGivenPageScale(int page, int32_t denominator) { SetPageScale(page, denominator, denominator); }

ScaleMarks PageScaleMarks(int page) {
    if (!InTable(page)) return ScaleMarks{};
    const PageRecord& record = g_store.pages[page];
    return ScaleMarks{record.first_pick_x, record.first_pick_y, record.second_pick_x, record.second_pick_y,
                      record.entered_distance};
}

void SetPageScaleMarks(int page, const ScaleMarks& marks) {
    if (!InTable(page)) return;
    UsePageRecords(page);
    PageRecord& record = g_store.pages[page];
    record.first_pick_x = marks.first_x;
    record.first_pick_y = marks.first_y;
    record.second_pick_x = marks.second_x;
    record.second_pick_y = marks.second_y;
    record.entered_distance = marks.distance;
}

bool ApplyStatedScale(int page) {
    const StatedScale* stated = PageStatedScale(page);
    if (stated == nullptr || stated->denominator < 1) return false;
    if (stated->source == StatedScaleSource::kMeasure) {
        SetPageScale(page, stated->denominator, stated->ratio);
    } else {
        SetGivenPageScale(page, stated->denominator);
    }
    return true;
}

void ClearPageScale(int page) {
    SetPageScale(page, 1, 1.0);
    SetPageScaleMarks(page, ScaleMarks{});
}

}  // namespace velmora
