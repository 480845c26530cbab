// libFuzzer harness for the ToUnicode reader: the input is a font's CMap text, parsed as given
// and once more as the output of inflating it (most inputs then stop early with code 91).
// Parsing must end, stay inside the CMap and the code tables, and keep code lengths at 0..2.
// The same bytes are then read as a font dictionary: its encoding (base, Differences, glyph
// names) and its predefined CMap or descendant's collection.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "fonts/font_tables.h"
#include "fonts/predefined_cmaps.h"
#include "fonts/simple_encoding.h"
#include "fonts/tounicode.h"
#include "pdf/error_list.h"
#include "pdf/file_buffer.h"
#include "store/document_store.h"

namespace {

using namespace velmora;

constexpr size_t kMaxInput = 1 << 20;  // whole PDFs replayed from the corpus are cut here

void ParseFor(int k) {
    int width = -1;
    ParseCMap(k, &width);
    if (width < 0 || width > 2) std::abort();
    const FontDef& font = g_store.fonts[k];
    if (font.one_byte_code_count < 0) std::abort();
    for (const auto& text : font.one_byte_codes) {
        if (text[2] != '\0') std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    size = std::min(size, kMaxInput);
    const auto length = static_cast<int32_t>(size);
    SetCMapText(1, reinterpret_cast<const char*>(data), length);
    ParseFor(1);

    if (AllocateFileBuffer(length)) {
        if (size > 0) std::memcpy(g_file.data, data, size);
        g_file.data_length = length;
        InflateCMap(kFontCapacity - 1, 0, length);
        if (g_tounicode[kFontCapacity - 1].length > std::max(length, 0) * 50) std::abort();
        ParseFor(kFontCapacity - 1);
        for (const DefaultEncoding fallback : {kNoDefaultEncoding, kStandardEncodingDefault}) {
            const int filled = ReadSimpleEncoding(2, 0, length - 1, fallback);
            if (filled < 0 || filled > kOneByteCodes) std::abort();
            ParseFor(2);  // the table's texts stay terminated
        }
        uint8_t japan1_cmap = 0;
        const uint8_t predefined = PredefinedConversion(0, length - 1, &japan1_cmap);
        if (predefined != kConversionNone && predefined != kConversionUnicodeCMap && predefined != kConversionAdobeJapan1 &&
            predefined != kConversionJapan1CMap) {
            std::abort();
        }
        if (japan1_cmap > Japan1CMapCount || (predefined == kConversionJapan1CMap) != (japan1_cmap > 0)) std::abort();
        FontDef font{};
        font.conversion_type = predefined;
        font.japan1_cmap = japan1_cmap;
        for (uint32_t code = 0; code <= 0xFFFF; code += 251) PredefinedUnicode(font, code);
        ReleaseFileBuffer();
    }
    if (g_store.duplicate_count < 0 || g_store.duplicate_count > kDuplicateCapacity) std::abort();
    for (const CidMapEntry& entry : g_store.cid_map) {
        if (entry.text[2] != '\0') std::abort();
    }
    FreeCMapTexts();
    ClearErrors();
    return 0;
}
