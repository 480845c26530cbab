// VELMORA.JWF and JWsxf.dat read from a directory of their own per test.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "settings/settings_file.h"
#include "support/store_fixture.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

class SettingsFileTest : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        directory_ = fs::temp_directory_path() / (std::string("velmora_settings_") + info->name());
        fs::remove_all(directory_);
        fs::create_directories(directory_);
        g_settings_directory = directory_.generic_string() + "/";
    }
    void TearDown() override {
        g_settings_directory.clear();
        SetDefaultSettings();
        std::error_code ignored;
        fs::remove_all(directory_, ignored);
        StoreTest::TearDown();
    }

    void WriteFile(const char* name, const std::string& bytes) {
        std::ofstream file(directory_ / name, std::ios::binary);
        file << bytes;
    }

    // Writes the settings file and reads it as the program does at start-up.
    void ReadSettingsText(const std::string& text) {
        WriteFile(kSettingsFileName, text);
        ReadSettings(nullptr);
    }

    static std::vector<int> Colour(int index) {
        const Rgb& c = g_settings.screen_colours[index];
        return {c.red, c.green, c.blue};
    }
    static std::vector<int> PenOrder() {
        return std::vector<int>(g_settings.pen_order, g_settings.pen_order + kPenCount);
    }
    static std::vector<std::string> FontPairs() {
        std::vector<std::string> pairs;
        for (int i = 0; i < g_settings.font_change_count; ++i) {
            pairs.push_back(std::string(g_settings.font_change_pdf[i]) + "|" + g_settings.font_change_jww[i]);
        }
        return pairs;
    }

    fs::path directory_;
};

TEST_F(SettingsFileTest, MissingSettingsFileIsReportedAndLeavesDefaultsWithAUsablePenOrder) {
    g_settings.text_pen = 5;
    ReadSettings(nullptr);
    ASSERT_EQ(g_test_seam.messages.size(), 1u);
    EXPECT_EQ(g_test_seam.messages[0].text, "VELMORA.JWF ファイルが見つかりません ");
    EXPECT_EQ(g_test_seam.messages[0].title, "file");
    EXPECT_EQ(g_test_seam.messages[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(g_settings.text_pen, 1);
    EXPECT_EQ(Colour(kScreenColourBackground), (std::vector<int>{158, 158, 158}));
    EXPECT_EQ(PenOrder(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST_F(SettingsFileTest, ScreenColoursTakeThreeNumbersUpTo255) {
    ReadSettingsText(
        "LCOLLOR_B 0,0,0\r\n"
        "LCOLLOR_H 0,0,256\r\n"
        "LCOLLOR_3=0 128 255\r\n"
        "LCOLLOR_8 1 2\r\n"
        "LCOLLOR_9 9 9 9\r\n"
        "LCOLLOR_1 99999999999999999999 0 0\r\n"
        "LCOLLOR_\r\n"
        "LCOLLOR_2 ; 4-5-6 comment 7\r\n");
    EXPECT_TRUE(g_test_seam.messages.empty());
    EXPECT_EQ(Colour(kScreenColourBackground), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(Colour(kScreenColourScaleMarks), (std::vector<int>{255, 0, 0}));
    EXPECT_EQ(Colour(3), (std::vector<int>{0, 128, 255}));
    // Two numbers are too few: the next line's numbers are not borrowed.
    EXPECT_EQ(Colour(8), (std::vector<int>{127, 127, 127}));
    EXPECT_EQ(Colour(1), (std::vector<int>{255, 0, 0}));
    EXPECT_EQ(Colour(2), (std::vector<int>{4, 5, 6}));
}

TEST_F(SettingsFileTest, PenWidthsComeFromTheFourthNumberAndOrderThePens) {
    ReadSettingsText("PCOLLOR_1 255 0 0 0\r\nPCOLLOR_2 255 0 0 256\r\nPCOLLOR_3 1 2 3\r\n");
    EXPECT_EQ(std::vector<int>(g_settings.pen_widths, g_settings.pen_widths + kPenCount),
              (std::vector<int>{10, 15, 15, 20, 20, 25, 25, 30}));
    EXPECT_EQ(PenOrder(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));

    ReadSettingsText("PCOLLOR_1 255 0 0 40\r\n");
    EXPECT_EQ(g_settings.pen_widths[0], 40);
    EXPECT_EQ(PenOrder(), (std::vector<int>{2, 3, 4, 5, 6, 7, 8, 1}));

    ReadSettingsText(
        "PCOLLOR_1 0 0 0 30\r\nPCOLLOR_2 0 0 0 10\r\nPCOLLOR_3 0 0 0 10\r\nPCOLLOR_4 0 0 0 20\r\n"
        "PCOLLOR_5 0 0 0 20\r\nPCOLLOR_6 0 0 0 25\r\nPCOLLOR_7 0 0 0 25\r\nPCOLLOR_8 0 0 0 30\r\n");
    EXPECT_EQ(PenOrder(), (std::vector<int>{2, 3, 4, 5, 6, 7, 1, 8}));
}

TEST_F(SettingsFileTest, FontChangeAndFontDefaultNeedTheirSlashes) {
    ReadSettingsText(
        "FontChange/Mincho/ＭＳ 明朝\r\n"
        "FontChange/Mincho/\r\n"
        "FontChange//ＭＳ 明朝\r\n"
        "FontChange Mincho ＭＳ 明朝\r\n"
        "FontChange/Gothic/ＭＳ ゴシック/x\r\n"
        "FontDefault ＭＳ 明朝\r\n");
    EXPECT_EQ(FontPairs(), (std::vector<std::string>{"Mincho|ＭＳ 明朝", "Gothic|ＭＳ ゴシック/x"}));
    EXPECT_STREQ(g_settings.font_default, "ＭＳ ゴシック");

    for (const char* ignored : {"FontDefault/ＭＳ/明朝\r\n", "FontDefault/\r\n", "FontDefault\r\n"}) {
        ReadSettingsText(ignored);
        EXPECT_STREQ(g_settings.font_default, "ＭＳ ゴシック") << ignored;
    }
    ReadSettingsText("FontDefault/ＭＳ 明朝\r\n");
    EXPECT_STREQ(g_settings.font_default, "ＭＳ 明朝");
}

TEST_F(SettingsFileTest, FiftyOneFontChangeLinesKeepTheFirstFifty) {
    std::string text;
    for (int i = 1; i <= 51; ++i) text += "FontChange/F" + std::to_string(i) + "/J" + std::to_string(i) + "\r\n";
    ReadSettingsText(text);
    ASSERT_EQ(g_settings.font_change_count, 50);
    EXPECT_STREQ(g_settings.font_change_pdf[0], "F1");
    EXPECT_STREQ(g_settings.font_change_jww[49], "J50");
}

TEST_F(SettingsFileTest, LongSlashFieldsUseTheLastBytesAndNeverOverrunTheirSlots) {
    // Of a part longer than 295 bytes only the last 295 count: the leading slash is cut off.
    ReadSettingsText("FontChange/" + std::string(300, 'a') + "/b/c\r\n");
    EXPECT_EQ(FontPairs(), (std::vector<std::string>{"b|c"}));

    // A name that does not fit its 256-byte slot is not stored cut short.
    ReadSettingsText("FontDefault/" + std::string(256, 'n') + "\r\nFontChange/x/" + std::string(256, 'n') + "\r\n");
    EXPECT_STREQ(g_settings.font_default, "ＭＳ ゴシック");
    EXPECT_EQ(g_settings.font_change_count, 0);

    ReadSettingsText("FontDefault/" + std::string(255, 'n') + "\r\n");
    EXPECT_EQ(std::string(g_settings.font_default), std::string(255, 'n'));

    // An inner NUL would leave an empty fragment that matches every font.
    ReadSettingsText(std::string("FontChange/\0x/ＭＳ 明朝\r\n", 23));
    EXPECT_EQ(g_settings.font_change_count, 0);
}

TEST_F(SettingsFileTest, FontColorAndWheelTakeTheirNumber) {
    ReadSettingsText("FontColor 9\r\nWHEEL 2\r\n");
    EXPECT_EQ(g_settings.text_pen, 1);
    EXPECT_EQ(g_settings.wheel_direction, 1);
    ReadSettingsText("FontColor 3\r\nWHEEL 2\r\nWHEEL 1\r\n");
    EXPECT_EQ(g_settings.text_pen, 3);
    EXPECT_EQ(g_settings.wheel_direction, -1);
    ReadSettingsText("WHEEL 2\r\nWHEEL\r\nFontColor\r\n");
    EXPECT_EQ(g_settings.wheel_direction, 1);
}

// The keys that change what is written are on only with 1: no key, another number, a bare key
// or a key after END leave them off, so a settings file of an earlier version writes as before.
TEST_F(SettingsFileTest, WritingKeysTurnOnOnlyWithOne) {
    struct Key {
        const char* name;
        int32_t Settings::*field;
    };
    for (const Key& key : {Key{"PDFLAYER", &Settings::pdf_layers}, Key{"ARC", &Settings::arcs},
                           Key{"SOLID", &Settings::solid_fills}, Key{"TEXTMERGE", &Settings::text_merge},
                           Key{"TEXTVERTICAL", &Settings::text_vertical}}) {
        const std::string name = key.name;
        SCOPED_TRACE(name);
        ReadSettingsText("FontColor 3\r\n");
        EXPECT_EQ(g_settings.*key.field, 0);
        ReadSettingsText(name + " 1\r\n");
        EXPECT_EQ(g_settings.*key.field, 1);
        ReadSettingsText(name + " 1\r\n" + name + " 2\r\n");
        EXPECT_EQ(g_settings.*key.field, 0);
        ReadSettingsText(name + " 1\r\n" + name + "\r\n");
        EXPECT_EQ(g_settings.*key.field, 1);
        std::string lower = name;
        for (char& c : lower) c = static_cast<char>(c - 'A' + 'a');
        ReadSettingsText(name + " 1\r\n" + lower + " 0\r\n");
        EXPECT_EQ(g_settings.*key.field, 1);
        ReadSettingsText("END\r\n" + name + " 1\r\n");
        EXPECT_EQ(g_settings.*key.field, 0);
    }
}

TEST_F(SettingsFileTest, EndStopsReadingAndKeywordsAreCaseSensitive) {
    ReadSettingsText("FontColor 4\r\nlcollor_1 0 0 0\r\nfontcolor 6\r\nEND\r\nFontColor 7\r\nWHEEL 2\r\n");
    EXPECT_EQ(g_settings.text_pen, 4);
    EXPECT_EQ(g_settings.wheel_direction, -1);
    EXPECT_EQ(Colour(1), (std::vector<int>{255, 0, 0}));

    ReadSettingsText("; comment\r\nFontColor 4\r\nENDING here\r\nFontColor 5\r\n");
    EXPECT_EQ(g_settings.text_pen, 4);
    ReadSettingsText("FontColor 4\r\n\r\nWHEEL 2");
    EXPECT_EQ(g_settings.wheel_direction, 1);
}

TEST_F(SettingsFileTest, LinesEndAtCrCrLfOrLfAlone) {
    const std::vector<std::string> endings = {"\r", "\r\n", "\n"};
    for (const std::string& end : endings) {
        SCOPED_TRACE(end.size());
        ReadSettingsText("FontColor 4" + end + "LCOLLOR_B 1 2 3" + end + "FontDefault/ＭＳ 明朝" + end + "WHEEL 2");
        EXPECT_EQ(g_settings.text_pen, 4);
        EXPECT_EQ(Colour(kScreenColourBackground), (std::vector<int>{1, 2, 3}));
        EXPECT_STREQ(g_settings.font_default, "ＭＳ 明朝");
        EXPECT_EQ(g_settings.wheel_direction, 1);
    }
}

TEST_F(SettingsFileTest, EachFileIsReadFromTheFirstDirectoryThatHoldsIt) {
    // The program's own directory holds both files; the settings directory only VELMORA.JWF.
    const fs::path program = directory_ / "program";
    fs::create_directories(program);
    std::ofstream(program / kSettingsFileName, std::ios::binary) << "LCOLLOR_B 9 8 7\r\n";
    std::ofstream(program / kSxfFileName, std::ios::binary) << "sxf";
    g_settings_fallback_directory = program.generic_string() + "/";
    ReadSettingsText("LCOLLOR_B 1 2 3\r\n");
    ReadSxfData(nullptr);
    EXPECT_EQ(Colour(kScreenColourBackground), (std::vector<int>{1, 2, 3}));  // the first directory wins
    EXPECT_EQ(g_settings_sources.settings_path, g_settings_directory + kSettingsFileName);
    EXPECT_EQ(g_settings.sxf_length, 3);
    EXPECT_EQ(g_settings_sources.sxf_path, g_settings_fallback_directory + kSxfFileName);
    EXPECT_TRUE(g_test_seam.messages.empty());

    fs::remove(directory_ / kSettingsFileName);
    ReadSettings(nullptr);
    EXPECT_EQ(Colour(kScreenColourBackground), (std::vector<int>{9, 8, 7}));
    EXPECT_EQ(g_settings_sources.settings_path, g_settings_fallback_directory + kSettingsFileName);

    fs::remove(program / kSxfFileName);
    ReadSxfData(nullptr);
    EXPECT_EQ(g_settings.sxf_length, -1);
    EXPECT_TRUE(g_settings_sources.sxf_path.empty());
    EXPECT_EQ(g_settings_sources.sxf_tried,
              g_settings_directory + kSxfFileName + " or " + g_settings_fallback_directory + kSxfFileName);
    g_settings_fallback_directory.clear();
}

TEST_F(SettingsFileTest, SxfDataIsCopiedWholeOrRefused) {
    ReadSxfData(nullptr);
    EXPECT_EQ(g_settings.sxf_length, -1);
    ASSERT_EQ(g_test_seam.messages.size(), 1u);
    EXPECT_EQ(g_test_seam.messages[0].text, "JWsxf.dat ファイルが見つかりません ");
    EXPECT_EQ(g_test_seam.messages[0].title, "file");

    std::string bytes(kSxfDataCapacity, '\0');
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
    WriteFile(kSxfFileName, bytes);
    ReadSxfData(nullptr);
    ASSERT_EQ(g_settings.sxf_length, kSxfDataCapacity);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(g_settings.sxf_data), kSxfDataCapacity), bytes);
    EXPECT_EQ(g_test_seam.messages.size(), 1u);

    WriteFile(kSxfFileName, bytes + "x");
    ReadSxfData(nullptr);
    EXPECT_EQ(g_settings.sxf_length, -1);
    ASSERT_EQ(g_test_seam.messages.size(), 2u);
    EXPECT_EQ(g_test_seam.messages[1].text, "JWsxf.dat ファイルが大きすぎるため読み込めませんでした");

    WriteFile(kSxfFileName, "");
    ReadSxfData(nullptr);
    EXPECT_EQ(g_settings.sxf_length, 0);
}

}  // namespace
}  // namespace velmora
