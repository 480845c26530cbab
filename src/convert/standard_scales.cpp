#include "convert/standard_scales.h"

namespace velmora {

const int32_t StandardScales[kStandardScaleCount] = {10, 20, 30, 35, 40, 50, 71, 100, 141, 200, 250, 300, 400, 500, 1000};

int32_t RoundedScale(double ratio) {
    int32_t n = static_cast<int32_t>(ratio);
    int32_t matched = 0;
    for (int32_t t : StandardScales) {
        if (n > 0.96 * t - 1.0 && n < 1.04 * t + 1.0) matched = t;
    }
    if (matched != 0) n = matched;
    return n;
}

}  // namespace velmora
