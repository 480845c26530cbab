// The scale a PDF states for a page: a viewport measure with a unit, or else a scale printed
// among its texts ("S=1/100", "縮尺 1:50", "平面図 1/100", "A3 1/200"). Found when the page is
// converted; applied only when the user asks (the window's question, --scale auto).
#pragma once

#include <cstdint>

#include "pdf/viewport_measure.h"
#include "store/capacities.h"

namespace velmora {

enum class StatedScaleSource : int32_t { kNone = 0, kMeasure = 1, kText = 2 };
enum class PageMeasureKind : int32_t { kNone = 0, kWithUnit = 1, kWithoutUnit = 2, kNotCovering = 3 };

inline constexpr int kStatedScaleTextBytes = 96;

struct StatedScale {
    int32_t searched;             // 1 once the page was looked at
    StatedScaleSource source;
    int32_t denominator;          // the scale 1/n to offer (1 when nothing was found)
    double ratio;                 // real length per paper length
    PageMeasureKind measure;
    ViewportMeasure viewport;     // the measure read (factor, unit, /R), when there is one
    char text[kStatedScaleTextBytes];  // the text the scale was read from (Shift-JIS)
};

extern StatedScale g_stated_scales[kPageTableSize];

void ResetStatedScales();

// Looks at the converted page in the tables: its viewport measure, else its texts.
void FindStatedScale(int page);

// The found scale of a page, or nullptr when it states none.
const StatedScale* PageStatedScale(int page);

// One text's scale, without its neighbours: 0 when it holds none; 2 when a scale word or a paper
// size stands with it ("S=1/100", "縮尺 1:50", "SCALE 1:50", "A3 1/200"); 1 for a bare "1/100" or
// "1:100" that counts only beside a scale word or a drawing title. A fraction inside a number,
// before an inch mark or a unit ("3-1/2", "1/2\"", "1/4W") is none.
struct ScaleInText {
    int32_t strength;
    int32_t denominator;
    char paper[3];                // "A3" when a paper size stood before it
    int32_t names_drawing;        // 1 when the text also holds a scale word or a drawing title
};
ScaleInText FindScaleInText(const char* text, int32_t length);

}  // namespace velmora
