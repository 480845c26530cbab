// The radio flags the pen dialog and the scale dialog share: one per pen of the pen dialog, and
// the flags of pens 1 and 2 are also the scale dialog's "この頁だけ" and "全ての頁". Showing a
// pen in the one dialog therefore sets the other's choice. They live for the whole run.
#pragma once

namespace velmora {

inline constexpr int kPenChoiceCount = 8;

// Index pen - 1; at start "この頁だけ" (pen 1) is set and every other flag is clear.
extern bool g_pen_choice[kPenChoiceCount];

inline bool ThisPageOnlyChosen() { return g_pen_choice[0]; }
inline bool AllPagesChosen() { return g_pen_choice[1]; }

}  // namespace velmora
