// libFuzzer harness for the PDF report and the page list: the input is loaded and every page
// converted, then the whole report is written to memory. Every table the report walks must stay
// within its bounds whatever counts the document left.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "convert/document_reset.h"
#include "pdf/error_list.h"
#include "pdf/pdf_loader.h"
#include "platform/platform.h"
#include "report/report.h"
#include "store/document_store.h"
#include "convert/driver.h"
#include "tools/page_list.h"

namespace {

// As the reader's harness: larger than every corpus file, small enough for 50-fold inflation.
constexpr size_t kMaxInput = size_t{4} << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace velmora;
    if (g_store.lines == nullptr && !AllocateStoreTables()) return 0;
    ResetForFile();
    LoadPdfBytes(data, std::min(size, kMaxInput));
    if (!HasFatalError()) ConvertAllPages(nullptr);
    std::string text;
    ReportSink sink;
    sink.text = &text;
    WriteReportBody(sink);
    const size_t rows = PageListRows().size();
    FreeDocument();
    // The report always ends with its last section's blank line.
    if (text.size() < 2 || text.compare(text.size() - 2, 2, "\r\n") != 0 || rows > kMaxPages) __builtin_trap();
    return 0;
}
