// Small documents whose pages name the test's font objects, loaded through the real reader and
// set up page by page.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "fonts/tounicode.h"
#include "convert/page_setup.h"
#include "pdf/reader_fixture.h"
#include "support/pdf_maker.h"

namespace velmora {

class FontTest : public ReaderTest {
protected:
    // Catalog 1, Info 2, Pages 3, content 4, pages 100, 101, ...; `page_fonts` holds each page's
    // font dictionary text (‘/F1 10 0 R’), `objects` the test's objects by number.
    void LoadDocument(const std::vector<std::string>& page_fonts, const std::map<int, std::string>& objects) {
        test_support::PdfMaker pdf;
        pdf.Add(1, "<</Type/Catalog/Pages 3 0 R>>");
        pdf.Add(2, "<</Creator (font tests)>>");
        std::string kids;
        for (size_t p = 0; p < page_fonts.size(); ++p) kids += std::to_string(100 + p) + " 0 R ";
        pdf.Add(3, "<</Type/Pages/Kids [" + kids + "]/Count " + std::to_string(page_fonts.size()) + ">>");
        pdf.Add(4, test_support::FlateStreamBody("", "0 0 m 10 10 l S"));
        for (const auto& [number, body] : objects) pdf.Add(number, body);
        for (size_t p = 0; p < page_fonts.size(); ++p) {
            pdf.Add(100 + static_cast<int>(p), "<</Type/Page/Parent 3 0 R/MediaBox [0 0 595 842]/Resources <</Font <<" +
                                                   page_fonts[p] + ">>>>/Contents 4 0 R>>");
        }
        Load(pdf.Finish(pdf.ClassicXref("/Root 1 0 R/Info 2 0 R")));
        ASSERT_EQ(g_store.page_count, static_cast<int>(page_fonts.size()));
    }

    // One page with the fonts of `page_fonts`, set up.
    void SetUpOnePage(const std::string& page_fonts, const std::map<int, std::string>& objects) {
        LoadDocument({page_fonts}, objects);
        SetUpPage(1);
    }

    static std::string Font(const std::string& subtype, const std::string& extra = "",
                            const std::string& base = "Test") {
        return "<</Type/Font/Subtype/" + subtype + "/BaseFont/" + base + extra + ">>";
    }

    // A CMap text with the given code space and sections.
    static std::string CMap(const std::string& codespace, const std::string& sections) {
        return "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n1 begincodespacerange\n" + codespace +
               "\nendcodespacerange\n" + sections + "\nendcmap\nend end\n";
    }
    static std::string TwoByte(const std::string& sections) { return CMap("<0000> <FFFF>", sections); }
    static std::string OneByte(const std::string& sections) { return CMap("<00> <FF>", sections); }

    static std::string Text(int k, int code) { return g_store.fonts[k].one_byte_codes[code]; }
    static std::string Cid(int code) { return g_store.cid_map[code].text; }
    // The text of the page's font slot.
    static int SlotFont(int page, int slot) { return g_store.pages[page].font_numbers[slot]; }
};

}  // namespace velmora
