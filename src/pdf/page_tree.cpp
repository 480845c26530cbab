#include "pdf/page_tree.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "pdf/document_values.h"
#include "pdf/error_list.h"
#include "pdf/lexical.h"
#include "pdf/object_table.h"
#include "pdf/reader_bytes.h"

namespace velmora {

namespace {

// Real page trees are a few levels deep; deeper chains only come from damaged files and
// would exhaust the stack.
constexpr int kMaxTreeDepth = 256;
constexpr int kFontKeyLength = 5;       // "/Font"
// Bytes of a Kids value read at most: room for every page's reference with generous spacing.
constexpr int32_t kKidsTextCapacity = kMaxPages * 64;
constexpr int kDirectFontWindow = 7;    // "<<" this close behind "/Font" opens a direct dictionary

// The walk's guards: a node is read once per load, so a tree that loops or shares nodes
// cannot hang the reader.
struct PageTreeWalk {
    std::vector<bool> visited;
    int depth = 0;
};
PageTreeWalk g_walk;

bool Contains(const char* text, const char* part) { return std::strstr(text, part) != nullptr; }

}  // namespace

bool DictionaryBounds(int32_t n, int32_t* start, int32_t* end) {
    if (!IsObjectNumber(n)) return false;
    const ObjectEntry& object = g_store.objects[n];
    if (object.extent <= 0 || !IsObjectHeader(object.offset, n)) return false;
    int32_t s = object.offset;
    int32_t e = ObjectEnd(n);
    if (FindDictionary(s, e) != 0) return false;
    *start = s;
    *end = e;
    return true;
}

void ReadCatalog() {
    char value[kEntryTextCapacity + 1];
    int32_t start = 0, end = 0;
    if (!DictionaryBounds(g_document.root.number, &start, &end) || FindKey(start, end, "Type") == 0 ||
        !Contains(EntryText, "Catalog") || !GetKeyValue(start, end, "Pages", value)) {
        RecordError(kErrorNoCatalog);
        return;
    }
    const int32_t n = TextInteger(value);
    if (n >= kObjectCapacity) return;
    g_document.page_tree_root = n;
    g_walk.visited.assign(kObjectCapacity, false);
    g_walk.depth = 0;
    ReadPagesNode(0, n, 0, 0);
    g_walk.visited.clear();
    g_walk.visited.shrink_to_fit();
}

int32_t ReadPagesNode(int nested, int32_t node, int32_t base, int flag) {
    char kids[kEntryTextCapacity + 1];
    int32_t start = 0, end = 0;
    if (!DictionaryBounds(node, &start, &end) || FindKey(start, end, "Type") == 0 ||
        !GetKeyValue(start, end, "Count", kids)) {
        RecordError(kErrorNoPageTree);
        return 0;
    }
    const int32_t count = TextInteger(kids);
    if (nested == 0) g_store.page_count = std::max(count, 0);  // a negative Count means no pages
    if (g_store.page_count > kMaxPages) {
        g_store.page_count = kMaxPages;
        RecordError(kWarningTooManyPages);
    }
    UsePageRecords(g_store.page_count);
    if (!GetKeyValue(start, end, "Kids", kids)) {
        RecordError(kErrorNoPageTree);
        return 0;
    }
    // One node may list all of a file's pages; a Kids value cut at the entry's capacity would
    // lose every page behind the first hundred or so, so such a value is read whole.
    std::string kids_text = kids;
    CompleteCutValue(start, end, "Kids", kKidsTextCapacity, &kids_text);
    if (!g_walk.visited.empty()) g_walk.visited[node] = true;

    // Numbers are kept in 64 bits: Count values come from the file and may be anything.
    constexpr int64_t kNumberBound = int64_t{1} << 40;
    int64_t i = int64_t{base} - (flag == 1 ? 1 : 0);
    int position = 1;
    for (int k = 1; k <= g_store.page_count; ++k) {
        int32_t kid = 0, generation = 0;
        char letter = 0;
        const int next = ReadReference(position, kids_text.c_str(), &kid, &generation, &letter);
        if (next == -1) break;
        position = next;
        ++i;
        if (i >= 1 && i <= kMaxPages) SetPageObject(static_cast<int>(i), kid);
        int32_t kid_start = 0, kid_end = 0;
        // A kid without a dictionary or a Type counts as a page; its set-up reports it.
        if (!DictionaryBounds(kid, &kid_start, &kid_end) || FindKey(kid_start, kid_end, "Type") == 0 ||
            !Contains(EntryText, "Pages")) {
            continue;
        }
        const bool seen = !g_walk.visited.empty() && g_walk.visited[kid];
        if (seen || g_walk.depth >= kMaxTreeDepth) {
            RecordError(kErrorNoPageTree);
            continue;
        }
        ++g_walk.depth;
        const int32_t below = ReadPagesNode(1, kid, static_cast<int32_t>(std::clamp<int64_t>(i, -kNumberBound, kNumberBound)), 1);
        --g_walk.depth;
        i = std::clamp<int64_t>(i - 1 + below, -kNumberBound, kNumberBound);
    }
    return count;
}

bool ResolveFontResources(std::string* text) {
    // Texts are compared up to their first NUL, as the file's bytes were once held in C strings.
    text->resize(std::strlen(text->c_str()));
    const bool direct = text->find("/Font") != std::string::npos || text->find("<<") != std::string::npos;
    if (!direct) {
        int32_t n = 0, generation = 0;
        char letter = 0;
        int32_t start = 0, end = 0;
        if (ReadReference(0, text->c_str(), &n, &generation, &letter) == -1 || !DictionaryBounds(n, &start, &end)) {
            return false;
        }
        // Resources without fonts (a drawing without text) are found all the same.
        if (FindKey(start, end, "Font") == 0) {
            text->clear();
            return true;
        }
        *text = MatchedEntry;
        // A Font entry longer than an entry's text would lose the fonts behind the first 70 or so.
        if (text->size() >= static_cast<size_t>(kEntryTextCapacity)) {
            std::string value;
            GetWholeKeyValue(start, end, "Font", kFontResourcesTextBytes, &value);
            *text = "Font" + value;
            text->resize(std::strlen(text->c_str()));
        }
        // "Font 12 0 R": the font dictionary is a reference, read below like "/Font 12 0 R".
        if (text->find("<<") == std::string::npos) text->insert(0, "/");
    }
    const size_t font = text->find("/Font");
    if (font == std::string::npos) {
        if (direct) text->clear();  // the other entries of the dictionary name no fonts
        return true;
    }

    const size_t open = text->find("<<", font);
    if (open != std::string::npos && open - font < kDirectFontWindow) {
        // Font dictionaries written in place nest inside it; the whole of it is kept.
        const size_t close = DictionaryTextEnd(*text, open);
        const size_t from = open + 2;
        const size_t to = close != std::string::npos ? close : text->size();
        *text = to > from ? text->substr(from, to - from) : std::string();
        return true;
    }

    const int32_t n = TextInteger(text->c_str() + font + kFontKeyLength);
    if (IsObjectNumber(n)) g_store.objects[n].kind = kKindFontReference;
    int32_t start = 0, end = 0;
    if (!DictionaryBounds(n, &start, &end)) return false;
    const int64_t length = std::clamp<int64_t>(int64_t{end} - start + 1, 0, kFontResourcesTextBytes);
    text->assign(static_cast<size_t>(length), '\0');
    for (int64_t k = 0; k < length; ++k) (*text)[static_cast<size_t>(k)] = static_cast<char>(ByteAt(start + k));
    text->resize(std::strlen(text->c_str()));
    return true;
}

}  // namespace velmora
