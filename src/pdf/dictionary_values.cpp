#include "pdf/dictionary_values.h"

#include <algorithm>
#include <cstring>

#include "pdf/lexical.h"
#include "pdf/page_tree.h"
#include "pdf/reader_bytes.h"

namespace velmora {

namespace {

// Real page trees are a few levels deep; a longer /Parent chain is a loop or a damaged file.
constexpr int kMaxParentSteps = 64;

int NameLength(const char* name) { return static_cast<int>(std::strlen(name)); }

// The dictionary written at the value that starts at `value_start`, inside its entry.
bool DirectDictionaryAt(int32_t value_start, int32_t entry_end, DictionarySpan* value) {
    int64_t p = value_start;
    while (p < entry_end && IsPdfWhitespace(ByteAt(p))) ++p;
    if (ByteAt(p) != '<' || ByteAt(p + 1) != '<') return false;
    int32_t start = ClampToInt32(p);
    int32_t end = entry_end + 1;
    if (FindDictionary(start, end) != 0) return false;
    *value = DictionarySpan{start, end};
    return true;
}

}  // namespace

bool DictionaryValue(DictionarySpan within, const char* name, DictionarySpan* value) {
    int32_t value_start = 0;
    const int32_t entry_end = FindExactEntry(within.start, within.end, name, &value_start);
    if (entry_end == 0) return false;
    int64_t p = value_start;
    while (p < entry_end && IsPdfWhitespace(ByteAt(p))) ++p;
    if (ByteAt(p) == '<' && ByteAt(p + 1) == '<') return DirectDictionaryAt(value_start, entry_end, value);
    int32_t number = 0, generation = 0;
    char letter = 0;
    // The reference is read behind the name, which may hold digits itself.
    if (!IsDigitByte(ByteAt(p)) || ReadReference(NameLength(name), EntryText, &number, &generation, &letter) == -1 ||
        letter != 'R') {
        return false;
    }
    return DictionaryBounds(number, &value->start, &value->end);
}

std::vector<NamedDictionary> DirectDictionaries(DictionarySpan within) {
    std::vector<NamedDictionary> found;
    for (int32_t p = std::max<int32_t>(within.start, 0); p < within.end;) {
        int32_t value_start = 0;
        const int32_t entry_end = ReadNextEntryValue(p, within.end, &value_start);
        if (entry_end <= p) break;
        // The name is taken before FindDictionary may read other entries into EntryText.
        const std::string name(EntryText, std::strcspn(EntryText, " \t\r\n\f/<[(>"));
        DictionarySpan span{};
        if (DirectDictionaryAt(value_start, entry_end, &span)) found.push_back(NamedDictionary{name, span});
        p = entry_end;
    }
    return found;
}

int32_t ReferenceValue(DictionarySpan within, const char* name) {
    int32_t value_start = 0;
    if (FindExactEntry(within.start, within.end, name, &value_start) == 0) return -1;
    int32_t number = 0, generation = 0;
    char letter = 0;
    if (ReadReference(NameLength(name), EntryText, &number, &generation, &letter) == -1 || letter != 'R') return -1;
    return IsObjectNumber(number) ? number : -1;
}

DictionarySpan PageObjectSpan(int32_t page_object) {
    if (!IsObjectNumber(page_object) || g_store.objects[page_object].offset >= g_file.data_length) return DictionarySpan{0, 0};
    return DictionarySpan{g_store.objects[page_object].offset, ObjectEnd(page_object)};
}

bool FindPageAttribute(int32_t page_object, const char* key, DictionarySpan* holder) {
    char value[kEntryTextCapacity + 1];
    DictionarySpan node = PageObjectSpan(page_object);
    for (int step = 0; step <= kMaxParentSteps && node.start < node.end; ++step) {
        if (GetKeyValue(node.start, node.end, key, value)) {
            *holder = node;
            return true;
        }
        // Each node up the chain is scanned once more for every attribute of every page.
        if (!SpendScanBudget(int64_t{node.end} - node.start)) return false;
        DictionarySpan parent{};
        if (!DictionaryValue(node, "Parent", &parent)) return false;
        node = parent;
    }
    return false;
}

bool PageResources(int32_t page_object, DictionarySpan* resources) {
    DictionarySpan holder{};
    return FindPageAttribute(page_object, "Resources", &holder) && DictionaryValue(holder, "Resources", resources);
}

}  // namespace velmora
