// Fill and stroke colours of the graphics state, each as the RGB a solid is written in. They
// live in the GraphicsState (and its saved entries), so q, Q and forms keep them as PDF does.
#pragma once

#include <cstdint>

#include "pdf/dictionary_values.h"

namespace velmora {

// How the components of sc/scn are read in the current space.
enum ColourSpaceKind : uint8_t {
    kSpaceGray = 0,
    kSpaceRgb = 1,
    kSpaceCmyk = 2,
    kSpaceByCount = 3,  // ICCBased and unresolved named spaces: 1, 3 or 4 components as given
    kSpaceBlack = 4,    // Indexed, Separation, DeviceN, Pattern and unknown spaces
};

// 0x00BBGGRR, as Jw_cad stores a solid's colour.
using PackedRgb = uint32_t;
inline constexpr PackedRgb kBlackRgb = 0;

struct ColourChannel {
    PackedRgb colour;
    uint8_t space;  // ColourSpaceKind
};

struct ColourState {
    ColourChannel fill;
    ColourChannel stroke;
};

inline constexpr ColourState kInitialColours = {{kBlackRgb, kSpaceGray}, {kBlackRgb, kSpaceGray}};

PackedRgb PackRgb(double red, double green, double blue);  // components 0..1, clamped
PackedRgb GrayToRgb(double gray);
PackedRgb CmykToRgb(double c, double m, double y, double k);

// The colour operators: g/G, rg/RG, k/K set space and colour; cs/CS name a space (looked up in
// `resources` when it is not a device space) and reset the colour to black; sc/SC/scn/SCN read
// `count` components of `values` in the current space.
void SetGray(ColourChannel* channel, double gray);
void SetRgb(ColourChannel* channel, double r, double g, double b);
void SetCmyk(ColourChannel* channel, double c, double m, double y, double k);
void SetColourSpace(ColourChannel* channel, const char* name, bool has_resources, DictionarySpan resources);
void SetColourComponents(ColourChannel* channel, const double* values, int32_t count);

// Handles the colour operator `token` on the graphics state's colours; false when it is none.
bool RunColourOperator(const char* token, const double* values, int32_t count, const char* name,
                       bool has_resources, DictionarySpan resources);

}  // namespace velmora
