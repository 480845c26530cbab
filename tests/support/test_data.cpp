// Says once per run, before any test, that the real-world groups are skipped.
#include "support/test_data.h"

namespace velmora {
namespace {

class RealWorldDataNotice : public ::testing::Environment {
public:
    void SetUp() override {
        if (!HaveRealWorldData()) std::printf("%s\n", kRealWorldMissing);
    }
};

const ::testing::Environment* const kNotice = ::testing::AddGlobalTestEnvironment(new RealWorldDataNotice);

}  // namespace
}  // namespace velmora
