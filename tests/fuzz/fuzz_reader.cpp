// libFuzzer harness for the PDF reader: the input is loaded the way a file is (header, startxref,
// cross-reference, object streams, page tree) and every page is set up, its streams decoded.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "convert/document_reset.h"
#include "pdf/error_list.h"
#include "convert/page_setup.h"
#include "pdf/pdf_loader.h"
#include "store/document_store.h"

namespace {

// Larger than every corpus file, small enough that 50-fold inflation stays within the fuzzer's
// memory limit.
constexpr size_t kMaxInput = size_t{4} << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace velmora;
    ResetForFile();
    LoadPdfBytes(data, std::min(size, kMaxInput));
    if (!HasFatalError()) {
        for (int page = 1; page <= g_store.page_count; ++page) {
            FreePageStreams();
            ResetForPage(page);
            SetUpPage(page);
        }
    }
    FreeDocument();
    return 0;
}
