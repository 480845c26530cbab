#include "content/form_xobject.h"

#include <cstdlib>
#include <climits>
#include <cstring>
#include <string>
#include <unordered_map>

#include "pdf/error_list.h"
#include "pdf/file_buffer.h"
#include "pdf/lexical.h"
#include "pdf/optional_content.h"
#include "pdf/page_tree.h"
#include "pdf/reader_bytes.h"
#include "pdf/stream_decoding.h"
#include "store/capacities.h"

namespace velmora {

namespace {

constexpr int kMatrixNumbers = 6;

// What an XObject's dictionary says, read once per page scan.
enum class XObjectKind { kUnreadable, kForm, kImage, kOther };
struct XObjectFacts {
    XObjectKind kind;
    DictionarySpan dictionary;
};

// A resource dictionary's /XObject names, each with the object its first entry refers to (-1
// for one that is no reference): a page painting hundreds of images finds each by one look-up
// instead of reading the dictionary through again at every Do.
struct XObjectNames {
    bool present;
    std::unordered_map<std::string, int32_t> numbers;
};

struct FormScan {
    std::unordered_map<int32_t, DecodedStream> decoded;  // by object number
    std::unordered_map<int64_t, XObjectNames> names;      // by the resource dictionary's span
    std::unordered_map<int32_t, XObjectFacts> facts;      // by object number
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

// The characters that end a name in a dictionary's entry text.
bool EndsEntryName(char c) {
    return c == '\0' || c == ' ' || (c >= '\t' && c <= '\r') || std::strchr("/<[(>", c) != nullptr;
}

// Every entry of the dictionary in order, as a search for one name steps through them; the
// first entry of a name is the one such a search finds.
void IndexNames(DictionarySpan xobjects, XObjectNames* index) {
    for (int32_t p = xobjects.start; p < xobjects.end;) {
        const int32_t entry_end = ReadNextEntry(p, xobjects.end);
        if (entry_end == 0) break;
        int length = 0;
        while (!EndsEntryName(EntryText[length])) ++length;
        std::string name(EntryText, static_cast<size_t>(length));
        if (index->numbers.find(name) == index->numbers.end()) {
            int32_t number = 0, generation = 0;
            char letter = 0;
            const bool reference = ReadReference(length, EntryText, &number, &generation, &letter) != -1 &&
                                   letter == 'R' && IsObjectNumber(number);
            index->numbers.emplace(std::move(name), reference ? number : -1);
        }
        p = entry_end;
    }
}

const XObjectNames& ScopeNames(const ResourceScope& scope) {
    const int64_t key = (int64_t{scope.span.start} << 32) | static_cast<uint32_t>(scope.span.end);
    const auto found = g_forms.names.find(key);
    if (found != g_forms.names.end()) return found->second;
    XObjectNames index{false, {}};
    DictionarySpan xobjects{};
    if (DictionaryValue(scope.span, "XObject", &xobjects)) {
        index.present = true;
        IndexNames(xobjects, &index);
    }
    return g_forms.names.emplace(key, std::move(index)).first->second;
}

// The object `name` (without its slash) refers to in the scope's /XObject dictionary, or -1.
int32_t XObjectNumber(const ResourceScope& scope, const char* name) {
    const XObjectNames& index = ScopeNames(scope);
    if (!index.present) return -1;
    for (const char* c = name; *c != '\0'; ++c) {
        // A name no entry's name can equal as a whole is searched for as before.
        if (EndsEntryName(*c)) {
            DictionarySpan xobjects{};
            return DictionaryValue(scope.span, "XObject", &xobjects) ? ReferenceValue(xobjects, name) : -1;
        }
    }
    const auto found = index.numbers.find(name);
    return found == index.numbers.end() ? -1 : found->second;
}

const XObjectFacts& FactsOf(int32_t n) {
    const auto found = g_forms.facts.find(n);
    if (found != g_forms.facts.end()) return found->second;
    XObjectFacts facts{XObjectKind::kUnreadable, DictionarySpan{}};
    if (DictionaryBounds(n, &facts.dictionary.start, &facts.dictionary.end)) {
        // Without a /Subtype the entry text is the last one read, and an "Image" there counts.
        if (FindKey(facts.dictionary.start, facts.dictionary.end, "Subtype") != 0 &&
            std::strncmp(EntryText, "Form", 4) == 0) {
            facts.kind = XObjectKind::kForm;
        } else {
            facts.kind = std::strncmp(EntryText, "Image", 5) == 0 ? XObjectKind::kImage : XObjectKind::kOther;
        }
    }
    return g_forms.facts.emplace(n, facts).first->second;
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
void ResetAllRasterImages() {
    for (int& count : g_raster_images) count = 0;
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
    g_forms.names.clear();
    g_forms.facts.clear();
}

bool OpenFormXObject(const ResourceScope& scope, const char* name, int page, FormXObject* form) {
    if (!scope.present || name[0] != '/') return false;
    const int32_t n = XObjectNumber(scope, name + 1);
    if (n < 0) return false;
    const XObjectFacts& facts = FactsOf(n);
    // Images are only counted (their data is never read), anything else that is no form skipped.
    if (facts.kind == XObjectKind::kImage) NoteRasterImage(page);
    if (facts.kind != XObjectKind::kForm) return false;
    const DictionarySpan dictionary = facts.dictionary;
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
