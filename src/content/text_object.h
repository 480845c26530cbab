// The text object reader the scanner hands a BT … ET object to: text state, the text operators
// and the placement of every shown string.
#pragma once

#include "pdf/dictionary_values.h"

#include <cstdint>

#include "content/graphics_state.h"
#include "store/records.h"

namespace velmora {

inline constexpr double kTjSplitAdjustment = -500.0;  // a TJ number at or below this starts a new text
inline constexpr double kDirectionLength = 20.0;      // text-space units of the base-line direction

// Text state; page space means after the text matrix and the path CTM, before the page-frame
// step. The Tf size (and the font number and font size of the conversion state) outlive the
// text object.
struct TextState {
    Matrix tm;              // text matrix
    Point line_start;       // P
    Point cursor;           // C: start of the next chained string
    Point shift;            // S: taken off C before the next TJ run
    double leading;         // TL
    int32_t chained;        // 1 after a Tj: the next Tj continues at C
    double tf_size;         // size operand of the last Tf
};

extern TextState g_text;

// How often the file's content used text operators the conversion ignores (Ts, Tc, Tw, Tz), for
// the report; counted over every page converted since the file was opened.
struct TextStateUse {
    int32_t counters[4];
};
extern TextStateUse g_text_state_use;
void ResetTextStateUse();

// Tf, inside a text object or before it: the font of the page's slot `name` (1 when none has
// it), and the size seen through the current matrices.
void SelectFont(int page, const char* name);

// The /Font dictionary of the form being run, looked up before the page's slots; span.end 0
// when the content run is the page's own (or the form names no fonts). Returns the previous.
DictionarySpan SetFormFonts(DictionarySpan fonts);
void SetFontSize(double size);

// Reads the text object from `position` (just after BT, or the start of a later stream of the
// page when the previous one ended inside the object). Returns 1 with `position` just after ET,
// or 0 with `position` at the stream's end when no ET follows.
int ReadTextObject(const DecodedStream& stream, int page, int32_t& position);

}  // namespace velmora
