// Where the tests find the files they read: the repository's own tests/data (real PDFs with their
// reference texts and manifest, traced pages of drawings, real Jw_cad files) and the shipped
// data/ folder. The build passes both folders in; nothing else in the tests names a data path.
#pragma once

#include <string>

namespace velmora {

inline std::string CorpusDirectory() { return std::string(VELMORA_TEST_DATA_DIR) + "/corpus"; }
inline std::string CorpusPath(const std::string& name) { return CorpusDirectory() + "/" + name; }
// Page 1 of a corpus drawing as mutool trace draws it (scripts/geometry_match.py made it).
inline std::string GeometryReferencePath(const std::string& name) {
    return std::string(VELMORA_TEST_DATA_DIR) + "/geometry/" + name + ".txt.gz";
}
inline std::string JwwSamplePath(const std::string& name) {
    return std::string(VELMORA_TEST_DATA_DIR) + "/jww/" + name;
}
inline std::string ShippedDataPath(const std::string& name) {
    return std::string(VELMORA_SOURCE_DIR) + "/data/" + name;
}

}  // namespace velmora
