// PDF layers written as Jw_cad layers: slots in the viewer's order, names and group names in the
// header, hidden layers hidden; without the setting the header stays as it always was.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "convert/document_reset.h"
#include "convert/pdf_layer_assignment.h"
#include "jww/jww_fixture.h"
#include "jww/jww_save.h"
#include "settings/settings.h"
#include "support/converted_page.h"
#include "support/pdf_maker.h"
#include "tools/layer_tool.h"
#include "tools/pen_change.h"

namespace velmora {
namespace {

using test_support::JwwFile;
using test_support::PdfMaker;

// One page whose content draws in groups 100.. named `names` (the first `hidden` of them off).
std::string LayerDocument(const std::vector<std::string>& names, int hidden, const std::string& content) {
    std::string properties, list, off;
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string ref = std::to_string(100 + i) + " 0 R ";
        properties += "/L" + std::to_string(i) + " " + ref;
        list += ref;
        if (static_cast<int>(i) < hidden) off += ref;
    }
    PdfMaker pdf = test_support::PageDocument("/MediaBox [0 0 595 842]/Resources <</Properties <<" + properties + ">>>>", content);
    pdf.Add(1, "<</Type/Catalog/Pages 3 0 R/OCProperties <</OCGs [" + list + "]/D <</OFF [" + off + "]>>>>>>");
    for (size_t i = 0; i < names.size(); ++i) pdf.Add(static_cast<int>(100 + i), "<</Type/OCG/Name (" + names[i] + ")>>");
    return pdf.Finish(pdf.ClassicXref("/Root 1 0 R/Info 2 0 R"));
}

class PdfLayerNamesTest : public JwwTest {
protected:
    bool ConvertAndRead(const std::string& pdf, JwwFile* file) {
        ResetForFile();
        test_support::ConvertBytes(pdf);
        g_store.current_page = 1;
        const std::string path = PathOf("layers.jww");
        std::string error;
        if (!SaveJwwPage(nullptr, path.c_str(), 1)) return false;
        const bool read = test_support::ReadJwwFile(path, file, &error);
        EXPECT_TRUE(read) << error;
        return read;
    }
    void TearDown() override {
        g_settings.pdf_layers = 0;
        JwwTest::TearDown();
    }
};

TEST_F(PdfLayerNamesTest, EachPdfLayerGetsItsSlotNameAndHiddenState) {
    g_settings.pdf_layers = 1;
    const std::string content =
        "0 0 m 1 0 l S 2 w /OC /L0 BDC 10 0 m 11 0 l S EMC /OC /L1 BDC 20 0 m 21 0 l S EMC "
        "/OC /L2 BDC 30 0 m 31 0 l S EMC";
    JwwFile file;
    ASSERT_TRUE(ConvertAndRead(LayerDocument({"DIM", "A-WALL", "A-DOOR"}, 1, content), &file));
    ASSERT_EQ(file.layer_names.size(), 256u);
    EXPECT_EQ(file.layer_names[0], "DIM");
    EXPECT_EQ(file.layer_names[1], "A-WALL");
    EXPECT_EQ(file.layer_names[2], "A-DOOR");
    EXPECT_EQ(file.layer_names[3], "Ln");
    EXPECT_EQ(file.group_names[0], "Gn");  // "DIM" is of no family with the others
    // DIM is off: hidden, and the write layer moves to the first shown one.
    EXPECT_EQ(file.groups[0].layer_state[0], 0u);
    EXPECT_EQ(file.groups[0].write_layer, 1u);
    EXPECT_EQ(file.groups[0].layer_state[1], 3u);
    EXPECT_EQ(file.groups[0].layer_state[2], 2u);
    ASSERT_EQ(file.lines.size(), 4u);
    // Outside every layer: the width rule's place (the thin class first); inside: the slot.
    EXPECT_EQ(file.lines[0].attributes.layer, 0);
    EXPECT_EQ(file.lines[1].attributes.layer, 0);
    EXPECT_EQ(file.lines[2].attributes.layer, 1);
    EXPECT_EQ(file.lines[3].attributes.layer, 2);
    // Pens still come from the widths: the outside line (1 pt) and DIM's (2 pt) differ.
    EXPECT_NE(file.lines[0].attributes.pen_colour, file.lines[1].attributes.pen_colour);

    ASSERT_TRUE(ConvertAndRead(LayerDocument({"A-WALL", "A-DOOR", "S-DIM"}, 0, content), &file));
    EXPECT_EQ(file.layer_names[2], "S-DIM");
    EXPECT_EQ(file.group_names[0], "Gn");
    ASSERT_TRUE(ConvertAndRead(LayerDocument({"A-WALL", "A-DOOR"}, 0, content), &file));
    EXPECT_EQ(file.group_names[0], "A");
    EXPECT_EQ(file.group_names[1], "Gn");

    // The pen dialog's and the layer tool's rows name the PDF layer of their slot.
    BuildLayerSummary();
    EXPECT_EQ(PenListRow(1).substr(PenListRow(1).size() - 8), "  A-DOOR");
    char row[kLayerRowBytes];
    FormatLayerRow(0, row, sizeof row);
    EXPECT_EQ(std::string(row).substr(std::strlen(row) - 8), "  A-WALL") << row;
    FormatLayerRow(2, row, sizeof row);
    EXPECT_EQ(std::string(row).find("A-"), std::string::npos) << row;  // an unused slot: counts only
}

TEST_F(PdfLayerNamesTest, WithoutTheSettingOrBeyondTheSlotsTheHeaderStaysPlainOrFolds) {
    const std::string content = "/OC /L0 BDC 10 0 m 11 0 l S EMC";
    JwwFile file;
    g_settings.pdf_layers = 0;
    ASSERT_TRUE(ConvertAndRead(LayerDocument({"A-WALL", "A-DOOR"}, 1, content), &file));
    EXPECT_EQ(PdfLayerNameColumn(0, 0), "");  // the lists stay as they were
    std::string error;
    EXPECT_TRUE(test_support::CheckWriterLayout(file, &error)) << error;

    // 260 layers: the last four share the first four slots, the first name shows.
    g_settings.pdf_layers = 1;
    std::vector<std::string> names;
    for (int i = 0; i < 260; ++i) names.push_back("L" + std::to_string(i));
    ASSERT_TRUE(ConvertAndRead(LayerDocument(names, 0, "/OC /L257 BDC 10 0 m 11 0 l S EMC /OC /L17 BDC 0 0 m 1 0 l S EMC"), &file));
    EXPECT_EQ(FoldedPdfLayerCount(), 4);
    ASSERT_EQ(file.lines.size(), 2u);
    EXPECT_EQ(file.lines[0].attributes.layer, 1);
    EXPECT_EQ(file.lines[0].attributes.layer_group, 0);
    EXPECT_EQ(file.lines[1].attributes.layer, 1);
    EXPECT_EQ(file.lines[1].attributes.layer_group, 1);
    EXPECT_EQ(file.layer_names[1], "L1");
    EXPECT_EQ(file.layer_names[255], "L255");
    EXPECT_EQ(file.group_names[0], "Gn");  // "L1", "L2"... have no separator: no family
}

}  // namespace
}  // namespace velmora
