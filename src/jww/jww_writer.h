// The JWW writer: one converted page as a Jw_cad drawing file (data version 600).
#pragma once

#include <cstdint>
#include <cstdio>

namespace velmora {

inline constexpr int32_t kJwwVersion = 600;
inline constexpr uint16_t kJwwClassSchema = 600;
inline constexpr int kJwwSxfOffset = 4504;            // where the SXF block starts
inline constexpr int kJwwTextKinds = 10;
inline constexpr int kJwwBytesAfterSxf = 380;         // text kinds and current text settings
inline constexpr int kJwwLayerGroups = 16;
inline constexpr int kJwwLayersPerGroup = 16;

// Points of page p to the file's millimetres: X = (x - origin_x) * k, Y = (y + origin_y) * k.
struct JwwTransform {
    double origin_x;   // half the MediaBox width
    double origin_y;   // half the MediaBox height
    double k;          // kMmPerPoint * scale ratio / scale denominator
};

// The page's scale denominator as written: at least 1, since a ratio below 1 rounds to 0.
int32_t JwwScaleDenominator(int page);
JwwTransform JwwPageTransform(int page);

// The JWW font name of a text's font number; the settings' default for unknown or unnamed fonts.
const char* JwwFontName(int32_t font_number);

// True when `data` is exactly one SXF block: 257 screen colours, 257 printer colours, 33 line
// type patterns and 33 line type parameter sets, and nothing after them. A block of another
// length makes real readers show an empty drawing while reporting success.
bool SxfBlockIsValid(const uint8_t* data, int32_t length);

// Clears every duplicate mark, then marks each text that repeats an earlier unmarked one (same
// bytes, same base line extent to 1/100 point, start within half a character height).
// Returns the number marked.
int MarkDuplicateTexts();

// Writes page `page` of the store (its lines, the texts without duplicate mark, the SXF block of
// g_settings) to an open binary stream. False when the page or the SXF data cannot be written
// or a write to the stream failed; the stream's content is then incomplete.
bool WriteJww(std::FILE* file, int page);

// The lines and texts WriteJww writes: without the lines dash run merging absorbed and the
// texts marked as duplicates.
int32_t JwwWrittenLineCount();
int32_t JwwWrittenTextCount();

}  // namespace velmora
