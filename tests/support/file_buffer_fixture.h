// Loads a test's bytes into g_file the way the loader does: allocated for the text's size,
// copied in, data_length set. Pair every call with ReleaseFileBuffer().
#pragma once

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "pdf/file_buffer.h"

namespace velmora::test_support {

inline bool LoadFileBuffer(const std::string& bytes) {
    if (!AllocateFileBuffer(static_cast<int64_t>(bytes.size()))) return false;
    std::memcpy(g_file.data, bytes.data(), bytes.size());
    g_file.data_length = static_cast<int32_t>(bytes.size());
    return true;
}

// For tests that need a buffer whose free room holds bytes behind data_length.
inline bool LoadFileBufferWithTail(const std::string& bytes, const std::string& tail) {
    if (!LoadFileBuffer(bytes + tail)) return false;
    g_file.data_length = static_cast<int32_t>(bytes.size());
    return true;
}

// Base for tests that scan g_file: the buffer is released after every test.
class FileBufferTest : public ::testing::Test {
protected:
    void Load(const std::string& bytes) { ASSERT_TRUE(LoadFileBuffer(bytes)); }
    void LoadWithTail(const std::string& bytes, const std::string& tail) {
        ASSERT_TRUE(LoadFileBufferWithTail(bytes, tail));
    }
    void TearDown() override { ReleaseFileBuffer(); }
};

}  // namespace velmora::test_support
