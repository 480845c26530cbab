// The paper sizes a page is matched against: long and short side in points, and the name the
// status bar, the page list and the layer tool show for each index.
#pragma once

namespace velmora {

inline constexpr int kPaperSizeCount = 12;
inline constexpr int kPaperNameBytes = 10;

struct PaperSize {
    double long_side;
    double short_side;
};
extern const PaperSize PaperSizeTable[kPaperSizeCount];
extern const char PaperNames[kPaperSizeCount][kPaperNameBytes];

// The index of the first paper whose side sum lies strictly within 10 % of the MediaBox's
// (x1 - x0) + (y1 - y0); 0 ("A0") when none does.
int MatchPaperSize(const double media_box[4]);

}  // namespace velmora
