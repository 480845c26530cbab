// libFuzzer harness for text objects: the input, behind "BT" and a font picked by its first byte,
// is page 1's content, shown with fonts of every conversion type over partly filled tables (Tf
// before BT included, after the input's own ET). The
// scan must end, and every text it leaves must be whole, inside the pool and on page 1; the search
// for a printed scale over them (and over the input as one text) must end with a scale in range.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "content/content_scanner.h"
#include "content/text_decoder.h"
#include "convert/stated_scale.h"
#include "pdf/error_list.h"
#include "store/document_store.h"

namespace {

using namespace velmora;

constexpr size_t kMaxInput = 1 << 20;  // whole PDFs replayed are cut here

struct FontSlot {
    const char* name;
    int32_t number;
    uint8_t conversion_type;
    int32_t code_length;
};
// One font per conversion type, an unknown type, and numbers the owner byte cannot tell apart.
constexpr FontSlot kSlots[] = {
    {"F0", 1, kConversionNone, 0},        {"F1", 2, kConversionToUnicode, 1}, {"F2", 3, kConversionToUnicode, 2},
    {"F3", 4, kConversionDifferences, 0}, {"F4", 5, kConversionCidFontType2, 2}, {"F5", 6, kConversionWinAnsi, 0},
    {"F6", 7, 9, 2},                   {"F7", 259, kConversionToUnicode, 2}, {"F8", 8, kConversionToUnicode, 0},
    {"F9", 9, kConversionUnicodeCMap, 2}, {"Fa", 10, kConversionAdobeJapan1, 2},
};

void SetUpFonts() {
    PageRecord& page = g_store.pages[1];
    page.font_count = 0;
    for (const FontSlot& slot : kSlots) {
        const int32_t s = ++page.font_count;
        std::strcpy(page.font_resource_names[s], slot.name);
        page.font_numbers[s] = slot.number;
        FontDef& font = g_store.fonts[slot.number];
        font.conversion_type = slot.conversion_type;
        font.code_length = slot.code_length;
    }
    // Some entries filled, some left empty; two-byte texts are the longest a table holds.
    for (int code = 0x20; code < 0x80; ++code) std::strcpy(g_store.fonts[2].one_byte_codes[code], "ab");
    for (int code = 1; code < 200; ++code) g_store.differences_table[code] = static_cast<char>(code);
    for (int code = 0x80; code < 0x100; code += 3) std::strcpy(g_store.fonts[4].one_byte_codes[code], "gh");
    g_store.differences_count = 199;
    for (int code = 0; code < 0x10000; code += 7) {
        CidMapEntry& e = g_store.cid_map[code];
        std::strcpy(e.text, "cd");
        e.owner_font = static_cast<uint8_t>(code % 3 == 0 ? 3 : 259 & 0xFF);
        e.duplicate = static_cast<uint8_t>(code % 2);
    }
    for (int i = 1; i <= kDuplicateCapacity; ++i) {
        DuplicateEntry& d = g_store.duplicates[i];
        std::strcpy(d.text, "ef");
        d.code = (i * 7) % 0x700;
        d.font_number = i % 2 == 0 ? 3 : 259;
    }
    g_store.duplicate_count = kDuplicateCapacity;
}

void RequireTextsAreWhole() {
    const ConversionState& c = g_store.conversion;
    if (c.text_count < 0 || c.text_count > kMaxTextsPerPage) std::abort();
    if (c.pool_used < 0 || c.pool_used > kTextPoolBytes) std::abort();
    int32_t pool = 0;
    for (int32_t i = 0; i < c.text_count; ++i) {
        const TextRecord& t = g_store.texts[i];
        if (t.page_number != 1 || t.string_offset != pool || t.string_length < 0) std::abort();
        if (t.string_length > kDecodedTextCapacity) std::abort();
        if (g_store.text_pool[t.string_offset + t.string_length] != '\0') std::abort();
        if (!std::isfinite(t.x1) || !std::isfinite(t.y1) || !std::isfinite(t.x2) || !std::isfinite(t.y2)) std::abort();
        pool += t.string_length + 1;
    }
    if (pool != c.pool_used || g_errors.count > 1) std::abort();
}

void ScanOnce(const std::string& content) {
    if (content.empty()) return;  // an entry of length 0 owns no buffer, so it would leak
    ClearErrors();
    ResetConversionCounters(true);
    ResetForPage(1);
    g_store.pages[1].media_box[3] = 842.0;
    auto* copy = static_cast<uint8_t*>(std::malloc(content.size() + 1));
    if (copy == nullptr) return;
    std::memcpy(copy, content.data(), content.size());
    g_store.streams[1] = DecodedStream{1, copy, static_cast<int32_t>(content.size())};
    g_store.stream_count = 1;
    ContentScanner(1);
    RequireTextsAreWhole();
    // The search for a printed scale reads what the texts left, pieces joined along their lines.
    FindStatedScale(1);
    const StatedScale& stated = g_stated_scales[1];
    if (stated.denominator < 1 || stated.denominator > 100000 || stated.text[kStatedScaleTextBytes - 1] != '\0') std::abort();
    FreePageStreams();
    g_store.stream_count = 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool allocated = AllocateStoreTables();
    if (!allocated) return 0;
    static bool fonts_ready = false;
    if (!fonts_ready) {
        SetUpFonts();
        fonts_ready = true;
    }
    size = std::min(size, kMaxInput);
    const std::string input(reinterpret_cast<const char*>(data), size);
    const char* font = size > 0 ? kSlots[data[0] % std::size(kSlots)].name : "F0";

    // Once inside a text object from the start, once as it stands (a PDF's own BT … ET).
    ScanOnce(std::string("BT /") + font + " 12 Tf " + input);
    ScanOnce(input);
    const ScaleInText found = FindScaleInText(input.data(), static_cast<int32_t>(input.size()));
    if (found.strength < 0 || found.strength > 2 || (found.strength > 0 && found.denominator < 1)) std::abort();
    return 0;
}
