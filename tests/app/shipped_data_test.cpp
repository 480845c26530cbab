// The settings files shipped in data/ read without a message and give the documented defaults.
#include <gtest/gtest.h>

#include <string>

#include "settings/settings_file.h"
#include "support/store_fixture.h"
#include "support/test_data.h"

namespace velmora {
namespace {

class ShippedDataTest : public StoreTest {
protected:
    void TearDown() override {
        g_settings_directory.clear();
        SetDefaultSettings();
        StoreTest::TearDown();
    }
};

TEST_F(ShippedDataTest, DefaultSettingsFileMatchesTheBuiltInDefaultsPlusTwoSubstitutions) {
    g_settings_directory = ShippedDataPath("");
    ReadSettings(nullptr);
    ReadSxfData(nullptr);
    EXPECT_TRUE(g_test_seam.messages.empty());
    EXPECT_EQ(g_settings.screen_colours[kScreenColourBackground].red, 158);
    EXPECT_EQ(g_settings.screen_colours[8].blue, 127);
    EXPECT_EQ(std::vector<int>(g_settings.pen_order, g_settings.pen_order + kPenCount),
              (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(g_settings.pen_widths[7], 30);
    EXPECT_EQ(g_settings.text_pen, 1);
    EXPECT_EQ(g_settings.wheel_direction, -1);
    ASSERT_EQ(g_settings.font_change_count, 2);
    EXPECT_STREQ(g_settings.font_change_pdf[0], "Mincho");
    EXPECT_STREQ(g_settings.font_change_jww[0], "ＭＳ 明朝");
    EXPECT_STREQ(g_settings.font_default, "ＭＳ ゴシック");
    EXPECT_GT(g_settings.sxf_length, 0);
}

}  // namespace
}  // namespace velmora
