// Pages written with the save command's functions and read back with the strict reader.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "jww/jww_fixture.h"
#include "jww/jww_writer.h"
#include "store/paper_sizes.h"

namespace velmora {
namespace {

using test_support::JwwFile;

class JwwWriterTest : public JwwTest {};

TEST_F(JwwWriterTest, EmptyPageIsTheHeaderACountOfZeroAndTheFinalWord) {
    JwwFile file;
    ASSERT_TRUE(SaveAndRead(&file));
    EXPECT_EQ(file.object_count, 0u);
    EXPECT_FALSE(file.count_is_32_bit);
    EXPECT_TRUE(file.tags.empty());
    EXPECT_EQ(ReadBytes(PathOf("page.jww")).size(), 4884u + 10133u + 2u + 2u);
}

TEST_F(JwwWriterTest, PointTenPointsRightOfTheCentreWithoutScale) {
    AddLine(297.64 + 10, -841.89 / 2, 297.64, -841.89 / 2);
    JwwFile file;
    ASSERT_TRUE(SaveAndRead(&file));
    ASSERT_EQ(file.lines.size(), 1u);
    EXPECT_NEAR(file.lines[0].x1, 3.52777, 1e-9);
    EXPECT_NEAR(file.lines[0].y1, 0.0, 1e-9);
    EXPECT_NEAR(file.lines[0].x2, 0.0, 1e-9);
    for (const auto& group : file.groups) EXPECT_EQ(group.scale, 1.0);
    EXPECT_EQ(file.paper_size, 4u);
}

TEST_F(JwwWriterTest, LandscapeA4SegmentAtOneHundredth) {
    SetMediaBox(0, 0, 841.89, 595.28);
    g_store.pages[1].scale_denominator = 100;
    g_store.pages[1].scale_ratio = 1.0;
    AddLine(10, -20, 110, -20);
    JwwFile file;
    ASSERT_TRUE(SaveAndRead(&file));
    EXPECT_EQ(file.paper_size, 4u);
    ASSERT_EQ(file.lines.size(), 1u);
    EXPECT_NEAR(file.lines[0].x1, -1.44971944, 1e-8);
    EXPECT_NEAR(file.lines[0].y1, 0.97945006, 1e-8);
    EXPECT_NEAR(file.lines[0].x2, -1.09694244, 1e-8);
    EXPECT_NEAR(file.lines[0].y2, 0.97945006, 1e-8);
    for (const auto& group : file.groups) EXPECT_EQ(group.scale, 100.0);
}

TEST_F(JwwWriterTest, PaperIndexFollowsTheSumOfTheSides) {
    const struct {
        double width, height;
        int32_t index;
    } cases[] = {
        {595.28, 841.89, 4}, {841.89, 595.28, 4}, {1190.55, 841.89, 3}, {2384, 3370, 0}, {1684, 2384, 1},
        {3368, 4768, 8},     {8420, 11920, 11},  {100, 100, 0},        {0, 0, 0},
    };
    for (const auto& c : cases) {
        const double box[4] = {0, 0, c.width, c.height};
        EXPECT_EQ(MatchPaperSize(box), c.index) << c.width << " x " << c.height;
    }
    // Strict bounds: exactly 90 % of A4's 1442 points is no longer A4 (nor anything else).
    const double edge[4] = {0, 0, 0.9 * 1442, 0};
    EXPECT_EQ(MatchPaperSize(edge), 0);
    const double inside[4] = {0, 0, 0.9 * 1442 + 0.01, 0};
    EXPECT_EQ(MatchPaperSize(inside), 4);
}

TEST_F(JwwWriterTest, TwoLinesAndTwoTextsCarryTheirClassTags) {
    AddLine(0, 0, 10, 0);
    AddLine(0, 0, 0, -10);
    AddText("ABC", 10, -10, 10);
    AddText("図面", 100, -100, 5);
    JwwFile file;
    ASSERT_TRUE(SaveAndRead(&file));
    EXPECT_EQ(file.object_count, 4u);
    ASSERT_EQ(file.tags.size(), 4u);
    EXPECT_EQ(file.tags[0].tag, 0xFFFF);
    EXPECT_EQ(file.tags[0].class_name, "CDataSen");
    EXPECT_EQ(file.tags[1].tag, 0x8001);
    EXPECT_EQ(file.tags[2].tag, 0xFFFF);
    EXPECT_EQ(file.tags[2].class_name, "CDataMoji");
    EXPECT_EQ(file.tags[3].tag, 0x8004);
    ASSERT_EQ(file.texts.size(), 2u);
    EXPECT_EQ(file.texts[0].text, "ABC");
    EXPECT_EQ(file.texts[1].text, "図面");
}

TEST_F(JwwWriterTest, TextsWithoutLinesDeclareTheirClassFirst) {
    AddText("A", 0, 0, 10);
    AddText("B", 0, -20, 10);
    AddText("C", 0, -40, 10);
    JwwFile file;
    ASSERT_TRUE(SaveAndRead(&file));
    ASSERT_EQ(file.tags.size(), 3u);
    EXPECT_EQ(file.tags[0].tag, 0xFFFF);
    EXPECT_EQ(file.tags[1].tag, 0x8001);
    EXPECT_EQ(file.tags[2].tag, 0x8001);
}

TEST_F(JwwWriterTest, TextBodyIsConvertedLikeEveryLength) {
    SetMediaBox(0, 0, 841.89, 595.28);
    g_store.pages[1].scale_denominator = 50;
    g_store.pages[1].scale_ratio = 49.0;
    TextRecord& text = AddText("Plan", 420.945, -297.64, 12);
    text.spacing = 2;
    text.angle = 30;
    text.x2 = 420.945 + 20;
    text.y2 = -297.64 - 5;
    std::strcpy(g_store.jww_font_names[1], "ＭＳ 明朝");
    JwwFile file;
    ASSERT_TRUE(SaveAndRead(&file));
    ASSERT_EQ(file.texts.size(), 1u);
    const auto& t = file.texts[0];
    const double k = 0.352777 * 49.0 / 50;
    EXPECT_NEAR(t.x1, 0.0, 1e-9);
    EXPECT_NEAR(t.y1, 0.0, 1e-9);
    EXPECT_NEAR(t.x2, 20 * k, 1e-12);
    EXPECT_NEAR(t.y2, -5 * k, 1e-12);
    EXPECT_EQ(t.kind, 1u);
    EXPECT_DOUBLE_EQ(t.size_x, 12 * k);
    EXPECT_DOUBLE_EQ(t.size_y, 12 * k);
    EXPECT_DOUBLE_EQ(t.spacing, 2 * k);
    EXPECT_EQ(t.angle, 30.0);
    EXPECT_EQ(t.font, "ＭＳ 明朝");
    EXPECT_EQ(t.attributes.pen_colour, 1);
    EXPECT_EQ(t.attributes.layer_group, 8);
    for (const auto& group : file.groups) EXPECT_EQ(group.scale, 50.0);
}

TEST_F(JwwWriterTest, AttributeHeaderIsWrittenUnchanged) {
    LineRecord& line = AddLine(0, 0, 1, 1);
    line.group_number = 77;
    line.pen_style = 5;
    line.pen_colour = 6;
    line.layer = 15;
    line.layer_group = 9;
    JwwFile file;
    ASSERT_TRUE(SaveAndRead(&file));
    ASSERT_EQ(file.lines.size(), 1u);
    const auto& a = file.lines[0].attributes;
    EXPECT_EQ(a.group_number, 77u);
    EXPECT_EQ(a.pen_style, 5);
    EXPECT_EQ(a.pen_colour, 6);
    EXPECT_EQ(a.pen_width, 0);
    EXPECT_EQ(a.layer, 15);
    EXPECT_EQ(a.layer_group, 9);
    EXPECT_EQ(a.flags, 0);
}

TEST_F(JwwWriterTest, SegmentsAbsorbedByDashMergingAreSkipped) {
    AddLine(0, 0, 1, 0);
    AddLine(1, 0, 2, 0).page_number = -1;
    AddLine(2, 0, 3, 0);
    JwwFile file;
    ASSERT_TRUE(SaveAndRead(&file));
    EXPECT_EQ(file.object_count, 2u);
    ASSERT_EQ(file.lines.size(), 2u);
    EXPECT_NEAR(file.lines[1].x1, (2 - 297.64) * 0.352777, 1e-9);
}

TEST_F(JwwWriterTest, HeaderHoldsTheFixedValues) {
    g_store.current_page = 1;
    JwwFile file;
    ASSERT_TRUE(SaveAndRead(&file));
    EXPECT_EQ(file.version, 600u);
    EXPECT_EQ(file.current_group, 0u);
    EXPECT_EQ(file.maximum_drawing_width, -101);
    for (int g = 0; g < 16; ++g) {
        EXPECT_EQ(file.groups[g].state, g == 0 ? 3u : 2u);
        EXPECT_EQ(file.groups[g].write_layer, 0u);
        for (int l = 0; l < 16; ++l) EXPECT_EQ(file.groups[g].layer_state[l], l == 0 ? 3u : 2u);
    }
    const uint32_t pens[10][2] = {{1, 1}, {2, 1}, {3, 2}, {4, 2}, {5, 3}, {1, 3}, {2, 4}, {3, 4}, {4, 5}, {5, 5}};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(file.screen_pens[i].colour, pens[i][0]);
        EXPECT_EQ(file.screen_pens[i].width, pens[i][1]);
        EXPECT_EQ(file.printer_pens[i].colour, pens[i][0]);
        EXPECT_EQ(file.printer_pens[i].width, pens[i][1]);
        EXPECT_EQ(file.printer_pen_radius[i], 1.0);
    }
    EXPECT_EQ(file.line_types[0].pattern, 0x99999999u);
    EXPECT_EQ(file.line_types[7].pattern, 0x22222222u);
    EXPECT_EQ(file.line_types[7].dots_per_unit, 4u);
    EXPECT_EQ(file.current_text_size[0], 10.0);
    EXPECT_EQ(file.current_text_colour, 1u);
    EXPECT_EQ(file.current_text_kind, 1u);
}

TEST_F(JwwWriterTest, TextKindsComeFromTheSizeHistogram) {
    g_store.pages[1].scale_denominator = 2;
    g_store.pages[1].scale_ratio = 2.0;
    g_store.text_size_histogram[100] = 3;  // texts of 10.0 .. 10.09 points
    g_store.text_size_histogram[7] = 1;
    g_store.text_size_histogram[300] = 9;
    JwwFile file;
    ASSERT_TRUE(SaveAndRead(&file));
    EXPECT_DOUBLE_EQ(file.text_kinds[0].size_x, 0.8 * 0.352777);
    EXPECT_DOUBLE_EQ(file.text_kinds[1].size_x, 10.1 * 0.352777);
    EXPECT_DOUBLE_EQ(file.text_kinds[1].size_y, 10.1 * 0.352777);
    EXPECT_DOUBLE_EQ(file.text_kinds[2].size_x, 30.1 * 0.352777);
    for (int kind = 3; kind < 10; ++kind) {
        EXPECT_EQ(file.text_kinds[kind].size_x, 1.0);
        EXPECT_EQ(file.text_kinds[kind].size_y, 1.0);
    }
    for (const auto& kind : file.text_kinds) {
        EXPECT_EQ(kind.spacing, 0.0);
        EXPECT_EQ(kind.colour, 1u);
    }
}

TEST_F(JwwWriterTest, OnlyTheFirstTenSizeClassesBecomeKinds) {
    for (int size_class = 10; size_class < 30; ++size_class) g_store.text_size_histogram[size_class] = 1;
    JwwFile file;
    ASSERT_TRUE(SaveAndRead(&file));
    EXPECT_DOUBLE_EQ(file.text_kinds[0].size_x, 1.1 * 0.352777);
    EXPECT_DOUBLE_EQ(file.text_kinds[9].size_x, 2.0 * 0.352777);
}

TEST_F(JwwWriterTest, ScaleBelowOneIsWrittenAsOne) {
    g_store.pages[1].scale_denominator = 0;  // a ratio of 0.5 rounds to 1/0
    g_store.pages[1].scale_ratio = 0.5;
    AddLine(297.64 + 10, -420.945, 297.64, -420.945);
    JwwFile file;
    ASSERT_TRUE(SaveAndRead(&file));
    for (const auto& group : file.groups) EXPECT_EQ(group.scale, 1.0);
    EXPECT_NEAR(file.lines[0].x1, 3.52777 * 0.5, 1e-9);
    EXPECT_TRUE(std::isfinite(file.lines[0].y1));
}

TEST_F(JwwWriterTest, FontNamesAreLookedUpByTheWholeNumber) {
    std::strcpy(g_store.jww_font_names[200], "ＭＳ 明朝");
    g_store.jww_font_names[7][0] = '\0';
    std::strcpy(g_store.jww_font_names[1], "ＭＳ ゴシック");
    AddText("A", 0, 0, 10).font_number = 200;   // low byte taken as signed would be -56
    AddText("B", 0, -20, 10).font_number = 1;
    AddText("C", 0, -40, 10).font_number = 5000;  // outside the table: the default font
    AddText("D", 0, -60, 10).font_number = 7;     // a font without a name: the default font
    std::strcpy(g_settings.font_default, "既定");
    JwwFile file;
    ASSERT_TRUE(SaveAndRead(&file));
    ASSERT_EQ(file.texts.size(), 4u);
    EXPECT_EQ(file.texts[0].font, "ＭＳ 明朝");
    EXPECT_EQ(file.texts[1].font, "ＭＳ ゴシック");
    EXPECT_EQ(file.texts[2].font, "既定");
    EXPECT_EQ(file.texts[3].font, "既定");
}

TEST_F(JwwWriterTest, LongStringsUseTheSixteenBitLengthForm) {
    const std::string long_text(300, 'x');
    std::string japanese;
    for (int i = 0; i < 200; ++i) japanese += "図";  // 400 bytes
    AddText(long_text, 0, 0, 10);
    AddText(japanese, 0, -20, 10);
    AddText(std::string(254, 'y'), 0, -40, 10);
    JwwFile file;
    ASSERT_TRUE(SaveAndRead(&file));
    ASSERT_EQ(file.texts.size(), 3u);
    EXPECT_EQ(file.texts[0].text, long_text);
    EXPECT_EQ(file.texts[1].text, japanese);
    EXPECT_EQ(file.texts[2].text, std::string(254, 'y'));
}

TEST_F(JwwWriterTest, ATextOutsideThePoolIsWrittenEmpty) {
    AddText("A", 0, 0, 10).string_offset = kTextPoolBytes - 1;
    AddText("B", 0, -20, 10).string_length = -5;
    JwwFile file;
    ASSERT_TRUE(SaveAndRead(&file));
    ASSERT_EQ(file.texts.size(), 2u);
    EXPECT_EQ(file.texts[0].text, "");
    EXPECT_EQ(file.texts[1].text, "");
}

TEST_F(JwwWriterTest, RepeatedTextIsWrittenOnce) {
    AddLine(0, 0, 10, 0);
    AddText("通り芯", 50, -50, 10);
    AddText("通り芯", 50.2, -50.1, 10);  // painted twice, a hair apart
    AddText("通り芯", 80, -50, 10);      // the same words elsewhere
    JwwFile file;
    ASSERT_TRUE(SaveAndRead(&file));
    EXPECT_EQ(file.object_count, 3u);
    ASSERT_EQ(file.texts.size(), 2u);
    EXPECT_NEAR(file.texts[1].x1, (80 - 297.64) * 0.352777, 1e-9);
    EXPECT_EQ(g_store.texts[1].duplicate_mark, 1);
}

TEST_F(JwwWriterTest, SixtyFiveThousandObjectsUseTheLongCountAndLongTags) {
    const int lines = 0xFFFF - 3;  // the text class index passes 0x7FFF
    const int texts = 5;
    for (int i = 0; i < lines; ++i) AddLine(i, 0, i, -1);
    for (int i = 0; i < texts; ++i) AddText(std::to_string(i), i * 100, -10, 10);
    JwwFile file;
    ASSERT_TRUE(SaveAndRead(&file));
    EXPECT_TRUE(file.count_is_32_bit);
    EXPECT_EQ(file.object_count, 0xFFFFu + 2);
    EXPECT_EQ(file.lines.size(), static_cast<size_t>(lines));
    // Lines refer to class index 1; the text class is declared at index lines + 2.
    EXPECT_EQ(file.tags[lines - 1].tag, 0x8001);
    EXPECT_EQ(file.tags[lines].tag, 0xFFFF);
    EXPECT_EQ(file.tags[lines + 1].tag, 0x7FFF);
    EXPECT_EQ(file.tags[lines + 1].big_tag, 0x80000000u | static_cast<uint32_t>(lines + 2));
    EXPECT_EQ(file.texts.back().text, std::to_string(texts - 1));
}

TEST_F(JwwWriterTest, CountJustBelowTheLongFormStaysSixteenBits) {
    for (int i = 0; i < 0xFFFE; ++i) AddLine(i, 0, i, -1);
    JwwFile file;
    ASSERT_TRUE(SaveAndRead(&file));
    EXPECT_FALSE(file.count_is_32_bit);
    EXPECT_EQ(file.object_count, 0xFFFEu);
    AddLine(0, 0, 1, 1);
    ASSERT_TRUE(SaveAndRead(&file, "more.jww"));
    EXPECT_TRUE(file.count_is_32_bit);
    EXPECT_EQ(file.object_count, 0xFFFFu);
}

}  // namespace
}  // namespace velmora
