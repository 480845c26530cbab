// The scale from a measured distance: the distance dialog's values, and the rounding of the
// ratio of real size to paper size to a standard scale, stored in one page or all of them.
#pragma once

#include <cstdint>
#include <string>

#include "convert/standard_scales.h"
#include "platform/platform.h"

namespace velmora {

// The distance field reads at most this many characters.
inline constexpr int kDistanceFieldChars = 255;

// Rounds the ratio and gives the scale to the current page, or to every page when "この頁だけ"
// is not chosen (they also take the current page's picked points and distance); then says so.
// A ratio below 1 (the denominator would be 0) or beyond a 32-bit denominator sets no scale: the
// current page is left at 1/1 and the user is told the distance is too small or too large.
void ApplyScale(WindowHandle window, double ratio);

// The distance dialog. Its field starts with the last entered distance as "%5.2f".
std::string LastDistanceText();
// A leading decimal number of the text (blanks, a sign, digits, a point, an exponent), as atof
// reads one; 0 when the text has none.
double LeadingDecimalNumber(const char* text);
// OK: the choice of pages from the two radio buttons, the field's text as the distance; a
// distance above 0 sets the scale, any other clears the current page's scale.
void AcceptScaleDistance(WindowHandle window, const char* text, bool this_page_checked, bool all_pages_checked);
// Cancel: the current page's scale is cleared.
void CancelScaleDistance();

}  // namespace velmora
