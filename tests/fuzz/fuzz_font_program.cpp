// libFuzzer harness for the embedded font program readers: the input is read as a TrueType or
// OpenType program and as a CFF program. Reading must end, stay inside the bytes and keep its
// tables within their glyph counts.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fonts/cff_charset.h"
#include "fonts/font_program.h"
#include "fonts/font_program_bytes.h"
#include "fonts/truetype_cmap.h"

namespace {

using namespace velmora;

constexpr size_t kMaxInput = 1 << 20;  // whole PDFs replayed from the corpus are cut here

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    size = std::min(size, kMaxInput);
    TrueTypeProgram true_type;
    if (ReadTrueTypeProgram(data, size, &true_type)) {
        if (true_type.glyph_count < 0 || true_type.glyph_count > kProgramGlyphCap) std::abort();
        if (true_type.unicode_by_glyph.size() != static_cast<size_t>(true_type.glyph_count)) std::abort();
        for (int32_t glyph : true_type.glyph_by_byte) {
            if (glyph < 0 || glyph >= kProgramGlyphCap) std::abort();
        }
    }
    CffProgram cff;
    if (ReadCffProgram(data, size, &cff)) {
        if (cff.glyph_count < 1 || cff.glyph_count > kProgramGlyphCap) std::abort();
        if (cff.sid_by_glyph.size() != static_cast<size_t>(cff.glyph_count)) std::abort();
        for (int32_t glyph : cff.glyph_by_code) {
            if (glyph < 0 || glyph >= cff.glyph_count) std::abort();
        }
    }
    if (ProgramCharacterCount(data, size) < 0) std::abort();
    return 0;
}
