// A page with font slots for the text object tests; the font tables are filled by hand.
#pragma once

#include <cstring>
#include <string>

#include "content/text_decoder.h"
#include "content/text_object.h"
#include "content/text_operator.h"
#include "content_fixture.h"

namespace velmora {

class TextTest : public ContentTest {
protected:
    void SetUp() override {
        ContentTest::SetUp();
        // Tf sizes, font number and font size outlive a text object; every test starts clean.
        g_text = TextState{};
        g_text_operands = TextOperands{};
        g_store.conversion.font_number = 0;
        g_store.conversion.font_size = 0.0;
        g_store.pages[1].font_count = 0;
        g_store.differences_count = 0;
        std::memset(g_store.differences_table, 0, sizeof g_store.differences_table);
        AddFont("F1", 3, kConversionWinAnsi, 0);
    }

    // Slot `name` of page 1 resolves to FontDef `number` with the given conversion.
    static void AddFont(const char* name, int32_t number, uint8_t conversion_type, int32_t code_length) {
        PageRecord& page = g_store.pages[1];
        const int32_t slot = ++page.font_count;
        std::strcpy(page.font_resource_names[slot], name);
        page.font_numbers[slot] = number;
        // A whole new font: a subtype left by another test would change how codes are counted.
        FontDef& font = g_store.fonts[number];
        font = FontDef{};
        font.conversion_type = conversion_type;
        font.code_length = code_length;
    }

    static int Texts() { return g_store.conversion.text_count; }
    static const TextRecord& Text(int i) { return g_store.texts[i]; }
    static std::string TextString(int i) {
        const TextRecord& t = g_store.texts[i];
        return std::string(g_store.text_pool + t.string_offset, static_cast<size_t>(t.string_length));
    }

    // A text's base line in user space of an unrotated page.
    static void ExpectBaseLine(int i, double x1, double y1, double x2, double y2) {
        const double top = g_store.pages[1].media_box[3];
        const TextRecord& t = g_store.texts[i];
        EXPECT_NEAR(t.x1, x1, 1e-9) << "text " << i;
        EXPECT_NEAR(t.y1, y1 - top, 1e-9) << "text " << i;
        EXPECT_NEAR(t.x2, x2, 1e-9) << "text " << i;
        EXPECT_NEAR(t.y2, y2 - top, 1e-9) << "text " << i;
    }
};

}  // namespace velmora
