#include "tools/choice_flags.h"

namespace velmora {

bool g_pen_choice[kPenChoiceCount] = {true, false, false, false, false, false, false, false};

}  // namespace velmora
