// A store holding one page to save, the shipped JWsxf.dat as the SXF data, and a temporary
// folder for the written files, which are read back with the strict reader.
#pragma once

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "jww/jww_save.h"
#include "support/jww_reader.h"
#include "support/store_fixture.h"
#include "support/test_data.h"

namespace velmora {

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::vector<uint8_t> bytes;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return bytes;
    uint8_t chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
    std::fclose(file);
    return bytes;
}

inline std::string ShippedSxfPath() { return ShippedDataPath("JWsxf.dat"); }
inline std::string SamplePath(const std::string& name) { return JwwSamplePath(name); }

class JwwTest : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        const std::vector<uint8_t> sxf = ReadBytes(ShippedSxfPath());
        ASSERT_FALSE(sxf.empty()) << ShippedSxfPath();
        ASSERT_LE(sxf.size(), sizeof g_settings.sxf_data);
        std::memcpy(g_settings.sxf_data, sxf.data(), sxf.size());
        g_settings.sxf_length = static_cast<int32_t>(sxf.size());

        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        directory_ = std::filesystem::temp_directory_path() /
                     (std::string("velmora_jww_") + info->test_suite_name() + "_" + info->name());
        std::filesystem::remove_all(directory_);
        ASSERT_TRUE(std::filesystem::create_directories(directory_));

        g_store.page_count = 1;
        g_store.current_page = 1;
        SetMediaBox(0, 0, 595.28, 841.89);
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(directory_, ignored);
        StoreTest::TearDown();
    }

    std::string PathOf(const std::string& name) const { return (directory_ / name).string(); }

    static void SetMediaBox(double x0, double y0, double x1, double y1) {
        double* box = g_store.pages[1].media_box;
        box[0] = x0;
        box[1] = y0;
        box[2] = x1;
        box[3] = y1;
    }

    static LineRecord& AddLine(double x1, double y1, double x2, double y2) {
        LineRecord& line = g_store.lines[g_store.conversion.line_count++];
        line = LineRecord{};
        line.pen_style = 1;
        line.pen_colour = 2;
        line.x1 = x1;
        line.y1 = y1;
        line.x2 = x2;
        line.y2 = y2;
        line.page_number = 1;
        return line;
    }

    static TextRecord& AddText(const std::string& bytes, double x, double y, double size) {
        const int32_t offset = g_store.conversion.pool_used;
        std::memcpy(g_store.text_pool + offset, bytes.c_str(), bytes.size() + 1);
        g_store.conversion.pool_used += static_cast<int32_t>(bytes.size()) + 1;
        TextRecord& text = g_store.texts[g_store.conversion.text_count++];
        text = TextRecord{};
        text.pen_style = 1;
        text.pen_colour = 1;
        text.layer_group = 8;
        text.x1 = x;
        text.y1 = y;
        text.x2 = x + size * static_cast<double>(bytes.size()) * 0.5;
        text.y2 = y;
        text.text_kind = 1;
        text.size_x = size;
        text.size_y = size;
        text.font_number = 1;
        text.string_offset = offset;
        text.string_length = static_cast<int32_t>(bytes.size());
        text.page_number = 1;
        return text;
    }

    // Saves the current page as the save command does and reads the file back strictly.
    ::testing::AssertionResult SaveAndRead(test_support::JwwFile* file, const std::string& name = "page.jww") {
        const std::string path = PathOf(name);
        if (!SaveJwwPage(nullptr, path.c_str(), g_store.current_page)) {
            return ::testing::AssertionFailure() << "save failed: " << path;
        }
        std::string error;
        if (!test_support::ReadJwwFile(path, file, &error)) return ::testing::AssertionFailure() << error;
        if (!test_support::CheckWriterLayout(*file, &error)) return ::testing::AssertionFailure() << error;
        return ::testing::AssertionSuccess();
    }

    std::filesystem::path directory_;
};

}  // namespace velmora
