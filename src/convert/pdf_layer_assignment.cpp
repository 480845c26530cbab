#include "convert/pdf_layer_assignment.h"

#include <cstring>

#include "settings/settings.h"
#include "store/capacities.h"
#include "store/document_store.h"
#include "store/shift_jis.h"

namespace velmora {

namespace {

int32_t Bounded(int32_t count, int32_t capacity) { return count <= 0 ? 0 : (count < capacity ? count : capacity); }

bool IsPdfLayer(int32_t group) { return group > 0 && group <= g_optional_content.count; }

// The first PDF layer at a slot (the one whose name and state it shows), 0 for none.
int32_t FirstLayerAt(int group, int layer) {
    const int32_t slot = group * kPdfLayerSlotLayers + layer;
    return slot < g_optional_content.count ? slot + 1 : 0;
}

bool IsSeparator(char c) { return c == '-' || c == '_' || c == ' ' || c == '|' || c == '$' || c == '.'; }

// Length of the family part of a name: up to its first separator; 0 when it has none.
size_t FamilyLength(const char* name) {
    for (size_t i = 0; name[i] != '\0'; ++i) {
        if (IsSeparator(name[i])) return i;
        // A Shift-JIS lead byte: its trail byte may look like a separator.
        const uint8_t c = static_cast<uint8_t>(name[i]);
        if (IsShiftJisLeadByte(c) && name[i + 1] != '\0') ++i;
    }
    return 0;
}

}  // namespace

bool PageUsesPdfLayers(int page) {
    if (g_settings.pdf_layers != 1 || g_optional_content.count == 0) return false;
    const int32_t lines = Bounded(g_store.conversion.line_count, kLineCapacity);
    for (int32_t i = 0; i < lines; ++i) {
        if (g_store.lines[i].page_number == page && IsPdfLayer(g_store.lines[i].pdf_layer)) return true;
    }
    const int32_t texts = Bounded(g_store.conversion.text_count, kTextCapacity);
    for (int32_t i = 0; i < texts; ++i) {
        if (g_store.texts[i].page_number == page && IsPdfLayer(g_store.texts[i].pdf_layer)) return true;
    }
    return false;
}

void AssignPdfLayers() {
    if (g_settings.pdf_layers != 1 || g_optional_content.count == 0) return;
    // Lines and texts drawn in a PDF layer take its slot; the rest keep their width layers.
    const auto place_in_slot = [](auto& record) {
        if (!IsPdfLayer(record.pdf_layer)) return;
        const int32_t slot = PdfLayerSlot(record.pdf_layer);
        record.layer_group = static_cast<int16_t>(slot / kPdfLayerSlotLayers);
        record.layer = static_cast<int16_t>(slot % kPdfLayerSlotLayers);
    };
    const int32_t lines = Bounded(g_store.conversion.line_count, kLineCapacity);
    for (int32_t i = 0; i < lines; ++i) place_in_slot(g_store.lines[i]);
    const int32_t texts = Bounded(g_store.conversion.text_count, kTextCapacity);
    for (int32_t i = 0; i < texts; ++i) place_in_slot(g_store.texts[i]);
}

const char* PdfLayerSlotName(int group, int layer) {
    if (group < 0 || group >= kPdfLayerSlotGroups || layer < 0 || layer >= kPdfLayerSlotLayers) return nullptr;
    const int32_t first = FirstLayerAt(group, layer);
    return first > 0 ? g_optional_content.groups[first].name : nullptr;
}

bool PdfLayerSlotHidden(int group, int layer) {
    if (group < 0 || group >= kPdfLayerSlotGroups || layer < 0 || layer >= kPdfLayerSlotLayers) return false;
    const int32_t first = FirstLayerAt(group, layer);
    return first > 0 && g_optional_content.groups[first].visible == 0;
}

bool PdfLayerGroupName(int group, char* out, int capacity) {
    if (capacity <= 0 || group < 0 || group >= kPdfLayerSlotGroups) return false;
    const char* family = nullptr;
    size_t family_length = 0;
    int named = 0;
    for (int layer = 0; layer < kPdfLayerSlotLayers; ++layer) {
        const char* name = PdfLayerSlotName(group, layer);
        if (name == nullptr) continue;
        const size_t length = FamilyLength(name);
        if (length == 0) return false;
        if (family == nullptr) {
            family = name;
            family_length = length;
        } else if (length != family_length || std::strncmp(name, family, length) != 0) {
            return false;
        }
        ++named;
    }
    if (named < 2 || family_length >= static_cast<size_t>(capacity)) return false;
    std::memcpy(out, family, family_length);
    out[family_length] = '\0';
    return true;
}

int32_t FoldedPdfLayerCount() {
    return g_optional_content.count > kPdfLayerSlots ? g_optional_content.count - kPdfLayerSlots : 0;
}

std::string PdfLayerNameColumn(int group, int layer) {
    if (!PageUsesPdfLayers(g_store.current_page)) return std::string();
    const char* name = PdfLayerSlotName(group, layer);
    return name == nullptr ? std::string() : std::string("  ") + name;
}

}  // namespace velmora
