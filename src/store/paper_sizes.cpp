#include "store/paper_sizes.h"

namespace velmora {

const PaperSize PaperSizeTable[kPaperSizeCount] = {
    {3370, 2384}, {2384, 1684}, {1684, 1194}, {1191, 842}, {847, 595}, {0, 0},
    {0, 0},       {0, 0},       {4768, 3368}, {7152, 5052}, {9536, 6736}, {11920, 8420},
};
const char PaperNames[kPaperSizeCount][kPaperNameBytes] = {"A0", "A1", "A2", "A3", "A4", "--",
                                                          "--", "--", "2A", "3A", "4A", "5A"};

int MatchPaperSize(const double media_box[4]) {
    // The sum does not depend on the side swap a /Rotate 90 page's MediaBox gets.
    const double s = (media_box[2] - media_box[0]) + (media_box[3] - media_box[1]);
    for (int i = 0; i < kPaperSizeCount; ++i) {
        const double t = PaperSizeTable[i].long_side + PaperSizeTable[i].short_side;
        if (s > 0.9 * t && 1.1 * t > s) return i;
    }
    return 0;  // an unrecognised size shows as the first entry
}

}  // namespace velmora
