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
#include "support/page_records.h"
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

    static void SetMediaBox(double x0, double y0, double x1, double y1) { test_support::SetMediaBox(x0, y0, x1, y1); }
    static LineRecord& AddLine(double x1, double y1, double x2, double y2) {
        return test_support::AddLine(x1, y1, x2, y2);
    }
    static TextRecord& AddText(const std::string& bytes, double x, double y, double size, double angle = 0.0) {
        return test_support::AddText(bytes, x, y, size, angle);
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
