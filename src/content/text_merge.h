// Joining the glyphs a producer placed one by one (a Tj, a TJ or a Tm per character) into the
// strings they spell, so a word or a dimension is one text a Jw_cad user can edit.
#pragma once

#include <cstdint>

namespace velmora {

// Gaps and tolerances in units of the text size. Widths are estimated as the reader places
// chained strings: half the size per Shift-JIS byte (exact for full- and half-width Japanese,
// within about 0.4 of the size for Latin letters), so a gap below kJoinGap is no gap at all.
inline constexpr double kMergeJoinGap = 0.4;      // up to here the pieces touch
inline constexpr double kMergeSpaceGap = 1.0;     // up to here a space stands between them
inline constexpr double kMergeBaseLineOffset = 0.1;  // across the base line
// Relative difference of sizes: a glyph narrowed by its matrix (an "N" of "No.") still belongs.
inline constexpr double kMergeSizeTolerance = 0.1;
inline constexpr double kMergeAngleTolerance = 0.5;  // degrees
// A column (TEXTVERTICAL): the next single full-width glyph starts within kColumnOffset of the last one
// across, and between kColumnMinPitch and kColumnMaxPitch sizes below it; table rows stand
// further apart.
inline constexpr double kColumnOffset = 0.25;
inline constexpr double kColumnMinPitch = 0.9;
inline constexpr double kColumnMaxPitch = 1.2;
inline constexpr int32_t kMergedTextCapacity = 249;  // bytes of a joined string, as one decoded text

// With the TEXTMERGE setting on: every text of the page's table that continues the one before
// it (same page, PDF layer, written font, size and angle; its start on the earlier one's base line,
// after its start and at most kMergeSpaceGap past its estimated end) is appended to it, with a
// space when the gap is wider than kMergeJoinGap. One pass over the table in drawing order,
// compacting records and pool in place; the page's counts lose the texts merged away. With
// TEXTVERTICAL on as well, upright single glyphs stacked in a column become one vertical text.
// Returns how many were merged away.
int32_t MergeTextRuns(int page);

}  // namespace velmora
