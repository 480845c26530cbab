// Marked content on a page and in its forms: which PDF layer (optional content group) the
// operators between BDC/BMC and EMC draw in. Nesting is bounded; the innermost group wins.
#pragma once

#include <cstdint>

#include "content/form_xobject.h"

namespace velmora {

inline constexpr int kMarkedContentDepth = 64;

struct MarkedContentStack {
    int32_t groups[kMarkedContentDepth];  // the layer in force inside each open sequence
    int32_t depth;                        // open sequences, those beyond the stack included
    int32_t floor;                        // depth a form began at: its EMCs close nothing below
};

extern MarkedContentStack g_marked_content;

// Start of a page scan: nothing is open.
void ResetMarkedContent();

// BDC with tag `tag` and properties `properties` (names with their "/", either may be empty),
// looked up in `scope`'s /Properties; BMC is BDC without properties.
void BeginMarkedContent(const ResourceScope& scope, const char* tag, const char* properties);
// A sequence in `group` (0: the enclosing layer stays), as a form's own /OC opens one.
void BeginGroupContent(int32_t group);
void EndMarkedContent();
// Around a form's content: what it leaves open is closed, and its EMCs close nothing of its caller.
int32_t EnterFormMarkedContent();
void LeaveFormMarkedContent(int32_t saved_floor, int32_t depth);

// The layer new lines and texts are drawn in (0 outside every layer).
int32_t CurrentPdfLayer();

}  // namespace velmora
