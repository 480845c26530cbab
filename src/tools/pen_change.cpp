#include "tools/pen_change.h"

namespace velmora {

PenSelection g_pen_selection;

}  // namespace velmora
