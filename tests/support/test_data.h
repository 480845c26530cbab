// Where the tests find the files they read. Real-world files (other people's PDFs with their
// reference texts and manifest, files saved by Jw_cad) stay outside the repository, in the folder
// VELMORA_TEST_DATA_DIR names (corpus/, jww-samples/); our own traced references are in
// tests/data/geometry; the shipped settings in data/. Nothing else in the tests names a data path.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

namespace velmora {

inline constexpr char kRealWorldMissing[] = "skipped: real-world PDF corpus not found; set VELMORA_TEST_DATA=DIR";

inline std::string CorpusDirectory() { return std::string(VELMORA_TEST_DATA_DIR) + "/corpus"; }
inline std::string CorpusPath(const std::string& name) { return CorpusDirectory() + "/" + name; }
inline std::string JwwSamplePath(const std::string& name) {
    return std::string(VELMORA_TEST_DATA_DIR) + "/jww-samples/" + name;
}
inline bool HaveRealWorldData() {
    std::error_code error;
    return std::filesystem::is_directory(CorpusDirectory(), error) &&
           std::filesystem::is_directory(JwwSamplePath(""), error);
}
// Page 1 of a corpus drawing as mutool trace draws it (scripts/geometry_match.py made it).
inline std::string GeometryReferencePath(const std::string& name) {
    return std::string(VELMORA_SOURCE_DIR) + "/tests/data/geometry/" + name + ".txt.gz";
}
inline std::string ShippedDataPath(const std::string& name) {
    return std::string(VELMORA_SOURCE_DIR) + "/data/" + name;
}

}  // namespace velmora

// A test that reads real-world files skips without them; the run says so once (test_data.cpp).
#define VELMORA_SKIP_WITHOUT_REAL_WORLD_DATA() \
    do {                                       \
        if (!::velmora::HaveRealWorldData()) GTEST_SKIP() << ::velmora::kRealWorldMissing; \
    } while (0)
