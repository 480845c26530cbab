// The PDF's layers (optional content groups): their order, default state, Jw_cad slot and how
// many lines and texts the converted pages drew in each.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "convert/pdf_layer_assignment.h"
#include "report/report_sections.h"
#include "settings/settings.h"
#include "store/capacities.h"
#include "store/document_store.h"

namespace velmora {

void WriteOptionalContent(ReportSink& sink) {
    // Only with the layer mapping on: without it the report stays as it always was.
    if (g_settings.pdf_layers != 1 || g_optional_content.count == 0) return;
    const int32_t count = g_optional_content.count;
    std::vector<int32_t> lines(static_cast<size_t>(count) + 1, 0), texts(static_cast<size_t>(count) + 1, 0);
    const int32_t line_count = std::min<int32_t>(std::max<int32_t>(g_store.conversion.line_count, 0), kLineCapacity);
    for (int32_t i = 0; i < line_count; ++i) {
        const int32_t layer = g_store.lines[i].pdf_layer;
        ++lines[layer > 0 && layer <= count ? layer : 0];
    }
    const int32_t text_count = std::min<int32_t>(std::max<int32_t>(g_store.conversion.text_count, 0), kTextCapacity);
    for (int32_t i = 0; i < text_count; ++i) {
        const int32_t layer = g_store.texts[i].pdf_layer;
        ++texts[layer > 0 && layer <= count ? layer : 0];
    }
    ReportPrint(sink, "====================  PDF Layer (Optional Content)  ====================\n");
    ReportPrint(sink, "レイヤ数 = %d\n", count);
    for (int32_t i = 1; i <= count; ++i) {
        const OptionalGroup& group = g_optional_content.groups[i];
        const int32_t slot = PdfLayerSlot(i);
        ReportPrint(sink, "%4d  obj %6d  %-4s  [%X-%X]  線 %8d  文字 %6d  %s\n", i, group.object_number,
                    group.visible ? "ON" : "OFF", slot / kPdfLayerSlotLayers, slot % kPdfLayerSlotLayers, lines[i],
                    texts[i], group.name);
    }
    ReportPrint(sink, "レイヤ外  線 %8d  文字 %6d\n", lines[0], texts[0]);
    if (g_optional_content.dropped > 0) ReportPrint(sink, "読まなかったレイヤ = %d\n", g_optional_content.dropped);
    if (FoldedPdfLayerCount() > 0) {
        ReportPrint(sink, "警告: レイヤが 256 を超えるため %d 個を先頭から同じレイヤに重ねました\n", FoldedPdfLayerCount());
    }
    ReportBlank(sink);
}

}  // namespace velmora
