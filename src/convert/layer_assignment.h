// Sorting the page's lines into layers and pens by width, and its texts into layers by size.
#pragma once

namespace velmora {

inline constexpr int kWidthClassCount = 101;       // width classes 0..100
inline constexpr int kLayersPerGroup = 16;         // layers 0..15 in each group
inline constexpr int kLayerGroupCount = 16;        // groups 0..15; after 15 comes 0
inline constexpr int kFirstLineLayerGroup = 0;
inline constexpr int kFirstTextLayerGroup = 8;
inline constexpr double kPenSpread = 8.0;
inline constexpr double kSmallPenStep = 0.99;      // the step when fewer than eight widths are used
inline constexpr double kLastPenSlot = 7.0;

// One layer per used width class, thin first; pens spread over PenOrder; curve pieces and
// rectangle sides U + 1 layers after the straight segments of their width.
void AssignLineLayers();
// One layer per text size class seen since the file was loaded, from layer group 8 on.
void AssignTextLayers();
// After the lines and texts: solids by colour, on groups neither of them uses.
void AssignSolidLayers();

}  // namespace velmora
