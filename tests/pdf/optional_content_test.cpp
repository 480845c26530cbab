// The document's optional content groups: names in both text encodings, the viewer's order,
// the default visibility, and damaged or oversized tables.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pdf/optional_content.h"
#include "reader_fixture.h"
#include "support/pdf_maker.h"

namespace velmora {
namespace {

using test_support::OnePageDocument;
using test_support::PdfMaker;

class OptionalContentTest : public ReaderTest {
protected:
    // The usual one-page document whose catalog carries `properties` as /OCProperties.
    void LoadWith(const std::string& properties, const std::vector<std::pair<int, std::string>>& objects) {
        PdfMaker pdf = OnePageDocument();
        pdf.Add(1, "<</Type/Catalog/Pages 3 0 R/OCProperties " + properties + ">>");
        for (const auto& [number, body] : objects) pdf.Add(number, body);
        Load(pdf.Finish(pdf.ClassicXref("/Root 1 0 R/Info 2 0 R")));
    }
    static std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (int i = 1; i <= g_optional_content.count; ++i) names.push_back(g_optional_content.groups[i].name);
        return names;
    }
    static std::vector<int> Visible() {
        std::vector<int> shown;
        for (int i = 1; i <= g_optional_content.count; ++i) shown.push_back(g_optional_content.groups[i].visible);
        return shown;
    }
};

TEST_F(OptionalContentTest, GroupsComeInTheViewersOrderWithTheirDefaultVisibility) {
    LoadWith("<</OCGs [10 0 R 11 0 R 12 0 R 13 0 R]/D <</Order [12 0 R (label) [10 0 R 14 0 R]] /OFF [11 0 R 12 0 R]>>>>",
             {{10, "<</Type/OCG/Name (A-WALL)>>"},
              {11, "<</Type/OCG/Name (Hatch \\(ISO\\))>>"},
              {12, "<</Type/OCG/Name <FEFF5BF86CD5>>>"},   // "寸法" in UTF-16BE
              {13, "<</Type/OCG/Name (\\376\\377\\220\\032\\060\\212\\202\\257)>>"},  // "通り芯", octal
              {14, "<</Type/OCG/Name (not listed in OCGs)>>"}});
    // /Order first (its labels and nesting passed over, unlisted 14 ignored), then the rest of /OCGs.
    EXPECT_EQ(Names(), (std::vector<std::string>{"寸法", "A-WALL", "Hatch (ISO)", "通り芯"}));
    EXPECT_EQ(Visible(), (std::vector<int>{0, 1, 0, 1}));
    EXPECT_EQ(OptionalGroupOfObject(11), 3);
    EXPECT_EQ(OptionalGroupOfObject(14), 0);

    // BaseState /OFF hides all but those /ON names; /OCGs and /Order behind references.
    LoadWith("20 0 R", {{20, "<</OCGs 21 0 R/D <</BaseState /OFF/ON [31 0 R]/Order 22 0 R>>>>"},
                        {21, "[30 0 R 31 0 R]"}, {22, "[31 0 R 30 0 R]"},
                        {30, "<</Type/OCG/Name (\\327 caf)>>"}, {31, "<</Type/OCG/Name (B)>>"}});
    EXPECT_EQ(Names(), (std::vector<std::string>{"B", "× caf"}));
    EXPECT_EQ(Visible(), (std::vector<int>{1, 0}));

    // A document without optional content leaves the table empty.
    PdfMaker plain = OnePageDocument();
    Load(plain.Finish(plain.ClassicXref("/Root 1 0 R/Info 2 0 R")));
    EXPECT_EQ(g_optional_content.count, 0);
}

TEST_F(OptionalContentTest, DamagedAndOversizedTablesStayBounded) {
    // More groups than the table holds: the surplus is counted, not stored.
    std::string list = "[";
    std::vector<std::pair<int, std::string>> objects;
    for (int n = 100; n < 100 + kOptionalGroupCapacity + 5; ++n) {
        list += std::to_string(n) + " 0 R ";
        objects.push_back({n, "<</Type/OCG/Name (L" + std::to_string(n) + ")>>"});
    }
    LoadWith("<</OCGs " + list + "]>>", objects);
    EXPECT_EQ(g_optional_content.count, kOptionalGroupCapacity - 1);
    EXPECT_EQ(g_optional_content.dropped, 6);
    EXPECT_STREQ(g_optional_content.groups[1].name, "L100");

    // A long name is cut on a character boundary; unclosed arrays and strings end the scan.
    LoadWith("<</OCGs [10 0 R 11 0 R 12 0 R]>>",
             {{10, "<</Type/OCG/Name <FEFF" + std::string(200, '0') + "3042>>>"},
              {11, "<</Type/OCG/Name (" + std::string(40, 'x') + std::string(40, '\x82') + ")>>"},
              {12, "<</Type/OCG/Name (never closed"}});
    ASSERT_EQ(g_optional_content.count, 3);
    EXPECT_LT(std::string(g_optional_content.groups[2].name).size(), static_cast<size_t>(kOptionalGroupNameBytes));
    EXPECT_STREQ(g_optional_content.groups[3].name, "");
    LoadWith("<</OCGs [10 0 R 11 0", {{10, "<</Type/OCG/Name (A)>>"}});
    EXPECT_LE(g_optional_content.count, 1);
}

}  // namespace
}  // namespace velmora
