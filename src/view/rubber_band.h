// The XOR rubber bands of the mouse gestures: which figures to draw so the band drawn last
// disappears and the new one appears. Drawing a figure twice removes it, so each step is at most
// the old figure once more and the new one.
#pragma once

#include "platform/platform.h"
#include "view/view_transform.h"

namespace velmora {

// Solid one-pixel pen drawn with the XOR raster operation.
inline constexpr Rgb kBandColour = {20, 190, 190};

enum class BandShape { Rectangle, Line };

struct BandFigure {
    BandShape shape;
    ScreenPoint from;
    ScreenPoint to;
};

struct BandFigures {
    int count = 0;
    BandFigure figures[2];
};

// The box from the press point to the mouse point, when the mouse lies right of and below the
// press point (or level with it): true and the band corner moves there. Otherwise the old box
// only is removed and the band is gone.
bool DrawBoxStep(BandFigures* out);

// The line from the first picked scale point (while one is held; it becomes the press point)
// or else from the press point, to the mouse point.
void RubberLineStep(BandFigures* out);

// The box drawn last, drawn once more; the band is gone afterwards.
void EraseBoxStep(BandFigures* out);

}  // namespace velmora
