// The scale each page of the PDF states: its viewport measure (with or without a unit) and the
// scale printed among its texts, as the window would offer it.
#include <algorithm>

#include "convert/stated_scale.h"
#include "report/report_sections.h"
#include "settings/settings.h"
#include "store/document_store.h"

namespace velmora {

void WriteStatedScales(ReportSink& sink) {
    // Only with the key on: without it the report stays as it always was.
    if (g_settings.stated_scale != 1) return;
    const int pages = std::min<int>(g_store.page_count, kPageTableSize - 1);
    ReportPrint(sink, "====================  Scale stated by the PDF  ====================\n");
    for (int page = 1; page <= pages; ++page) {
        const StatedScale& s = g_stated_scales[page];
        if (s.searched != 1) continue;
        ReportPrint(sink, "頁 %4d  ", page);
        switch (s.measure) {
            case PageMeasureKind::kWithUnit:
                ReportPrint(sink, "計測 係数 %.10g %s/pt  比 %.4f  ", s.viewport.factor, s.viewport.unit, s.ratio);
                break;
            case PageMeasureKind::kWithoutUnit:
                ReportPrint(sink, "計測 係数 %.10g 単位なし (使いません)  ", s.viewport.factor);
                break;
            case PageMeasureKind::kNotCovering:
                ReportPrint(sink, "計測 係数 %.10g %s/pt 図面の外 (使いません)  ", s.viewport.factor, s.viewport.unit);
                break;
            case PageMeasureKind::kNone:
                break;
        }
        if (s.source == StatedScaleSource::kMeasure) {
            ReportPrint(sink, "縮尺 1/%d (計測)\n", s.denominator);
        } else if (s.source == StatedScaleSource::kText) {
            ReportPrint(sink, "縮尺 1/%d (文字 \"%s\")\n", s.denominator, s.text);
        } else {
            ReportPrint(sink, "縮尺の記載なし\n");
        }
    }
    ReportBlank(sink);
}

}  // namespace velmora
