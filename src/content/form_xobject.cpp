#include "content/form_xobject.h"

#include <cstdlib>
#include <climits>
#include <cstring>
#include <unordered_map>

#include "pdf/error_list.h"
#include "pdf/file_buffer.h"
#include "pdf/lexical.h"
#include "pdf/optional_content.h"
#include "pdf/page_tree.h"
#include "pdf/stream_decoding.h"
#include "store/capacities.h"

namespace velmora {

namespace {

constexpr int kMatrixNumbers = 6;

struct FormScan {
    std::unordered_map<int32_t, DecodedStream> decoded;  // by object number
    int64_t budget = 0;
    bool budget_reported = false;
};
FormScan g_forms;

// A form may be run many times, and a form naming another twice at every level doubles with
// each: every run costs its length against the page's budget.
bool SpendFormBudget(int64_t bytes) {
    if (g_forms.budget >= bytes) {
        g_forms.budget -= bytes;
        return true;
    }
    g_forms.budget = 0;
    if (!g_forms.budget_reported) RecordError(kWarningLinesNotInflated);
    g_forms.budget_reported = true;
    return false;
}

const DecodedStream* FormContent(int32_t object_number, int page) {
    const auto found = g_forms.decoded.find(object_number);
    if (found != g_forms.decoded.end()) return &found->second;
    DecodedStream content{};
    if (!DecodeStreamObject(object_number, page, &content)) content = DecodedStream{page, nullptr, 0};
    return &g_forms.decoded.emplace(object_number, content).first->second;
}

Matrix FormMatrix(DictionarySpan dictionary) {
    char value[kEntryTextCapacity + 1];
    if (!GetKeyValue(dictionary.start, dictionary.end, "Matrix", value)) return kIdentityMatrix;
    double m[kMatrixNumbers];
    for (int k = 0, index = 1; k < kMatrixNumbers; ++k) index = ReadNumber(index, value, &m[k]);
    return Matrix{m[0], m[1], m[2], m[3], m[4], m[5]};
}

}  // namespace

namespace {
int g_raster_images[kPageTableSize];
}  // namespace

void NoteRasterImage(int page) {
    if (page >= 1 && page < kPageTableSize && g_raster_images[page] < INT32_MAX) ++g_raster_images[page];
}
void ResetRasterImages(int page) {
    if (page >= 1 && page < kPageTableSize) g_raster_images[page] = 0;
}
int RasterImagesOnPage(int page) { return page >= 1 && page < kPageTableSize ? g_raster_images[page] : 0; }

void BeginFormScan() {
    EndFormScan();
    g_forms.budget = int64_t{kExpansionFactor} * g_file.file_size;
    g_forms.budget_reported = false;
}

void EndFormScan() {
    for (auto& entry : g_forms.decoded) std::free(entry.second.data);
    g_forms.decoded.clear();
}

bool OpenFormXObject(const ResourceScope& scope, const char* name, int page, FormXObject* form) {
    if (!scope.present || name[0] != '/') return false;
    DictionarySpan xobjects{};
    if (!DictionaryValue(scope.span, "XObject", &xobjects)) return false;
    const int32_t n = ReferenceValue(xobjects, name + 1);
    DictionarySpan dictionary{};
    if (n < 0 || !DictionaryBounds(n, &dictionary.start, &dictionary.end)) return false;
    // Images (and anything else that is no form) are only counted.
    if (FindKey(dictionary.start, dictionary.end, "Subtype") == 0 || std::strncmp(EntryText, "Form", 4) != 0) {
        if (std::strncmp(EntryText, "Image", 5) == 0) NoteRasterImage(page);
        return false;
    }
    const DecodedStream* content = FormContent(n, page);
    if (content->length <= 0 || !SpendFormBudget(content->length)) return false;
    form->content = content;
    form->matrix = FormMatrix(dictionary);
    DictionarySpan own{};
    form->resources = DictionaryValue(dictionary, "Resources", &own) ? ResourceScope{true, own} : scope;
    form->pdf_layer = OptionalGroupOfProperties(ReferenceValue(dictionary, "OC"));
    return true;
}

}  // namespace velmora
