// PDF layers (optional content groups) as Jw_cad layers: each group its own slot of the 16 layer
// groups x 16 layers in the viewer's order, with its name and its default visibility. Content
// outside every PDF layer keeps the place the width rule gave it; pens still come from widths.
#pragma once

#include <cstdint>
#include <string>

#include "pdf/optional_content.h"

namespace velmora {

inline constexpr int kPdfLayerSlotGroups = 16;
inline constexpr int kPdfLayerSlotLayers = 16;
inline constexpr int kPdfLayerSlots = kPdfLayerSlotGroups * kPdfLayerSlotLayers;

// The slot of PDF layer `group` (1..): the (group - 1)th in group-major order; beyond 256 the
// layers fold onto the slots again from the first (layer 257 shares slot 0 with layer 1).
inline int32_t PdfLayerSlot(int32_t group) { return (group - 1) % kPdfLayerSlots; }

// True when the setting is on and a record of `page` was drawn in a PDF layer.
bool PageUsesPdfLayers(int page);

// Moves every line and text drawn in a PDF layer to its layer's slot (after the width rule).
void AssignPdfLayers();

// What the JWW header carries for slot (group, layer): the first PDF layer's name there, or
// nullptr for an unused slot; whether it is hidden by default.
const char* PdfLayerSlotName(int group, int layer);
bool PdfLayerSlotHidden(int group, int layer);
// A layer group's name where all its named slots are one family: they share the part before
// the first separator ("-", "_", " ", "|", "$", "."), at least two of them. nullptr otherwise.
bool PdfLayerGroupName(int group, char* out, int capacity);

// What the layer lists show after a slot's counts: two blanks and the PDF layer's name when the
// current page draws in PDF layers and one sits in the slot; empty otherwise (lists as before).
std::string PdfLayerNameColumn(int group, int layer);

// PDF layers beyond the 256 slots, folded onto earlier ones (0 when all have their own).
int32_t FoldedPdfLayerCount();

}  // namespace velmora
