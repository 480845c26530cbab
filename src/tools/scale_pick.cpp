#include "tools/scale_pick.h"

#include "store/document_store.h"

namespace velmora {

// Nothing is snapped yet: the scale tool fills these in.
bool PickScalePoint(WindowHandle, double, double, double) { return false; }

bool FirstScalePoint(double*, double*) { return false; }

void EndScalePick() { g_store.session.scale_pick_state = 0; }

}  // namespace velmora
