#include "pdf/lexical.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "pdf/error_list.h"
#include "pdf/file_buffer.h"
#include "store/document_store.h"

namespace velmora {

char EntryText[kEntryTextCapacity + 1];
char MatchedEntry[kEntryTextCapacity + 1];

namespace {

// Bytes copied out of FileBuffer before an integer conversion: more digits than any int holds.
constexpr int kIntegerSliceBytes = 64;
// "obj" plus the separator in front of the integer that ResolveInteger reads.
constexpr int32_t kObjKeywordStep = 4;
constexpr int32_t kObjSearchMargin = 4;

// Positions are computed in 64 bits so that a window near INT32_MAX cannot overflow.
uint8_t At(int64_t position) {
    return (position >= 0 && position < g_file.data_length) ? g_file.data[position] : 0;
}

bool PairAt(int64_t position, char first, char second) {
    return At(position) == static_cast<uint8_t>(first) && At(position + 1) == static_cast<uint8_t>(second);
}

// Scans never look at bytes behind data_length: they read as zero and end every search.
int64_t Limit(int64_t end) { return std::min<int64_t>(end, g_file.data_length); }

int32_t ClampToInt(int64_t value) { return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX)); }

// The character behind a name: white space, a delimiter or the end of the text.
bool EndsName(char c) {
    return c == '\0' || c == ' ' || (c >= '\t' && c <= '\r') || std::strchr("/<[(>", c) != nullptr;
}

bool IsCSpace(uint8_t c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The integer a standard conversion reads at `position`, from a bounded copy of the bytes.
// Leading white space counts only within a window: every object's header check starts here,
// and a long run of it under many entries would make the load quadratic.
int32_t FileInteger(int64_t position) {
    const int64_t skip_end = Limit(position + kOpenerWindow);
    while (position < skip_end && IsCSpace(At(position))) ++position;
    char slice[kIntegerSliceBytes + 1];
    int length = 0;
    while (length < kIntegerSliceBytes && position + length < g_file.data_length) {
        slice[length] = static_cast<char>(At(position + length));
        ++length;
    }
    slice[length] = '\0';
    const long value = std::strtol(slice, nullptr, 10);
    return static_cast<int32_t>(std::clamp<long>(value, INT32_MIN, INT32_MAX));
}

// First position at or after `position` holding a space, or -1: the search stays within a
// window, since a header's parts are close together and entries may point at long runs.
int64_t NextSpace(int64_t position) {
    const int64_t end = Limit(position + kOpenerWindow);
    for (int64_t p = std::max<int64_t>(position, 0); p < end; ++p) {
        if (At(p) == ' ') return p;
    }
    return -1;
}

// End (exclusive) of a string or array value opened at `open`, or -1 when it is not closed
// before `limit`. No escapes: a "\)" counts like any ")".
int64_t CloseBracket(int64_t open, int64_t limit, uint8_t opener, uint8_t closer) {
    int depth = 1;
    for (int64_t j = open + 1; j < limit; ++j) {
        if (At(j) == opener) ++depth;
        if (At(j) == closer && --depth == 0) return j + 1;
    }
    return -1;
}

// Position of the second ">" closing a dictionary value opened at `open`, or -1. Pairs are
// stepped over as a whole, as FindDictionary does.
int64_t CloseDictionary(int64_t open, int64_t limit) {
    int depth = 1;
    int64_t j = open + 1;
    while (depth > 0) {
        ++j;
        if (j >= limit) return -1;
        if (PairAt(j, '<', '<')) {
            ++depth;
            ++j;
        } else if (PairAt(j, '>', '>')) {
            --depth;
            ++j;
        }
    }
    return j;
}

// Reads the entry at the first "/" at or after `position` into EntryText. Returns its end
// (exclusive), or -1 when there is none before `end` or a nested value is not closed.
int64_t ScanEntry(int64_t position, int64_t end, int64_t* name_out = nullptr) {
    const int64_t limit = Limit(end);
    int64_t p = std::max<int64_t>(position, 0);
    while (p < limit && At(p) != '/') ++p;
    const int64_t name = p + 1;
    if (p >= limit || name >= limit) return -1;
    if (name_out != nullptr) *name_out = name;

    int64_t entry_end = limit;
    for (int64_t i = name; i < limit; ++i) {
        const uint8_t c = At(i);
        if (c == '/' || PairAt(i, '>', '>')) {
            entry_end = i;
        } else if (c == '(') {
            entry_end = CloseBracket(i, limit, '(', ')');
        } else if (c == '[') {
            entry_end = CloseBracket(i, limit, '[', ']');
        } else if (PairAt(i, '<', '<')) {
            entry_end = CloseDictionary(i, limit);
        } else {
            continue;
        }
        break;
    }
    if (entry_end < 0) return -1;

    const int64_t length = std::min<int64_t>(entry_end - name, kEntryTextCapacity);
    for (int64_t k = 0; k < length; ++k) EntryText[k] = static_cast<char>(At(name + k));
    EntryText[length] = '\0';
    return entry_end;
}

// The key lookup shared by FindKey and GetKeyValue: the matched entry's end, or -1; `name_out`
// receives the position of the entry's name.
int64_t LookUpKey(int32_t begin, int32_t end, const char* key, int64_t* name_out = nullptr) {
    const size_t key_length = std::strlen(key);
    int64_t p = std::max<int32_t>(begin, 0);
    while (p < end) {
        const int64_t entry_end = ScanEntry(p, end, name_out);
        if (entry_end < 0) return -1;
        if (std::strncmp(EntryText, key, key_length) == 0) return entry_end;
        if (entry_end + 3 >= end) return -1;
        p = entry_end;
    }
    return -1;
}

}  // namespace

bool SpendScanBudget(int64_t bytes) {
    const bool was_left = g_file.scan_budget >= 0;
    g_file.scan_budget -= std::max<int64_t>(bytes, 0);
    if (g_file.scan_budget >= 0) return true;
    // Reported once: from then on no dictionary or array is found, and pages would otherwise
    // come out empty without a word.
    if (was_left) RecordError(kErrorDictionaryNotFound);
    return false;
}

bool IsPdfWhitespace(uint8_t c) {
    return c == '\t' || c == '\n' || c == '\f' || c == '\r' || c == ' ';
}

bool IsNumberCharacter(uint8_t c) {
    return c == '+' || c == '-' || c == '.' || (c >= '0' && c <= '9');
}

int FindKeyword(int32_t position, const char* keyword) {
    const size_t length = std::strlen(keyword);
    for (int32_t i = 0; i < kKeywordWindow; ++i) {
        size_t k = 0;
        while (k < length && At(int64_t{position} + i + k) == static_cast<uint8_t>(keyword[k])) ++k;
        if (k == length) return i;
    }
    return -1;
}

int FindDictionary(int32_t& start, int32_t& end) {
    const int64_t window_end = Limit(end == 0 ? int64_t{start} + kOpenerWindow : end);
    int64_t h = std::max<int32_t>(start, 0);
    // Once the file's scan budget is spent no further dictionary is found: searches over long
    // objects or unclosed dictionaries, repeated per object and reference, would be quadratic.
    while (h < window_end && !PairAt(h, '<', '<')) {
        if (!SpendScanBudget(1)) return kErrorDictionaryNotFound;
        ++h;
    }
    if (h >= window_end) return kErrorDictionaryNotFound;

    int depth = 1;
    int64_t i = h;
    while (depth > 0) {
        ++i;
        if (i >= g_file.data_length || !SpendScanBudget(1)) return kErrorDictionaryNotFound;
        if (PairAt(i, '<', '<')) {
            ++depth;
            ++i;
        }
        if (PairAt(i, '>', '>')) {
            --depth;
            ++i;
        }
    }
    start = static_cast<int32_t>(h + 2);
    end = static_cast<int32_t>(i);
    return 0;
}

int FindArray(int32_t& start, int32_t& end) {
    const int64_t window_end = Limit(end == 0 ? int64_t{start} + kOpenerWindow : end);
    int64_t h = std::max<int32_t>(start, 0);
    // The searches share the file's scan budget with FindDictionary's.
    while (h < window_end && At(h) != '[') {
        if (!SpendScanBudget(1)) return kErrorDictionaryNotFound;
        ++h;
    }
    if (h >= window_end) return kErrorDictionaryNotFound;

    int depth = 1;
    for (int64_t i = h + 1; i < g_file.data_length && SpendScanBudget(1); ++i) {
        if (At(i) == '[') ++depth;
        if (At(i) == ']' && --depth == 0) {
            start = static_cast<int32_t>(h + 1);
            end = static_cast<int32_t>(i);
            return 0;
        }
    }
    return kErrorDictionaryNotFound;
}

int32_t ReadNextEntry(int32_t position, int32_t end) {
    const int64_t entry_end = ScanEntry(position, end);
    return entry_end < 0 ? 0 : static_cast<int32_t>(entry_end);
}

int32_t ReadNextEntryValue(int32_t position, int32_t end, int32_t* value_start) {
    int64_t name = 0;
    const int64_t entry_end = ScanEntry(position, end, &name);
    if (entry_end < 0) return 0;
    size_t length = 0;
    while (length < static_cast<size_t>(kEntryTextCapacity) && !EndsName(EntryText[length])) ++length;
    *value_start = ClampToInt(name + static_cast<int64_t>(length));
    return static_cast<int32_t>(entry_end);
}

int32_t FindKey(int32_t begin, int32_t end, const char* key) {
    const int64_t entry_end = LookUpKey(begin, end, key);
    if (entry_end < 0) return 0;
    std::memcpy(MatchedEntry, EntryText, sizeof MatchedEntry);
    // A name-valued key: its value is the next entry, which callers read from EntryText.
    if (std::strpbrk(EntryText, "/[") == nullptr) ReadNextEntry(static_cast<int32_t>(entry_end), end);
    return static_cast<int32_t>(std::min<int64_t>(entry_end - begin + 1, INT32_MAX));
}

bool GetKeyValue(int32_t begin, int32_t end, const char* key, char* value_out) {
    if (LookUpKey(begin, end, key) < 0) return false;
    std::strcpy(value_out, EntryText + std::strlen(key));
    return true;
}

bool GetWholeKeyValue(int32_t begin, int32_t end, const char* key, int32_t max_bytes, std::string* value_out) {
    int64_t name = 0;
    const int64_t entry_end = LookUpKey(begin, end, key, &name);
    if (entry_end < 0) return false;
    const int64_t from = name + static_cast<int64_t>(std::strlen(key));
    const int64_t length = std::clamp<int64_t>(entry_end - from, 0, std::max(max_bytes, 0));
    value_out->resize(static_cast<size_t>(length));
    for (int64_t k = 0; k < length; ++k) (*value_out)[static_cast<size_t>(k)] = static_cast<char>(At(from + k));
    return true;
}

int32_t FindExactEntry(int32_t begin, int32_t end, const char* name, int32_t* value_start) {
    const size_t length = std::strlen(name);
    for (int64_t p = std::max<int32_t>(begin, 0); p < end;) {
        int64_t at = 0;
        const int64_t entry_end = ScanEntry(p, end, &at);
        if (entry_end < 0) return 0;
        if (length <= static_cast<size_t>(kEntryTextCapacity) && std::strncmp(EntryText, name, length) == 0 &&
            EndsName(EntryText[length])) {
            *value_start = ClampToInt(at + static_cast<int64_t>(length));
            return ClampToInt(entry_end);
        }
        p = entry_end;
    }
    return 0;
}

void CompleteCutValue(int32_t begin, int32_t end, const char* key, int32_t max_bytes, std::string* value) {
    if (value->size() + std::strlen(key) < static_cast<size_t>(kEntryTextCapacity)) return;
    GetWholeKeyValue(begin, end, key, max_bytes, value);
}

bool IsObjectHeader(int32_t position, int32_t expected_number) {
    const int32_t number = FileInteger(position);
    // Objects appended from object streams carry "number offset", not "number generation obj".
    if (expected_number != -1 && number == expected_number) return true;
    const int64_t first_space = NextSpace(position);
    if (first_space < 0) return false;
    const int32_t generation = FileInteger(first_space + 1);
    if (generation < 0 || generation > 100) return false;
    const int64_t second_space = NextSpace(first_space + 1);
    if (second_space < 0) return false;
    return PairAt(second_space + 1, 'o', 'b') && At(second_space + 3) == 'j';
}

bool ResolveInteger(const char* value_text, int32_t* value) {
    const int32_t number = static_cast<int32_t>(
        std::clamp<long>(std::strtol(value_text, nullptr, 10), INT32_MIN, INT32_MAX));
    if (std::strchr(value_text, 'R') == nullptr) {
        *value = number;
        return true;
    }
    if (number < 0 || number >= kObjectCapacity) return false;
    const ObjectEntry& object = g_store.objects[number];
    // The search draws on the scan budget: many references may name one long object without "obj".
    for (int64_t k = 0; k < int64_t{object.extent} - kObjSearchMargin && SpendScanBudget(1); ++k) {
        const int64_t o = int64_t{object.offset} + k;
        if (o >= g_file.data_length) break;
        if (PairAt(o, 'o', 'b') && At(o + 2) == 'j') {
            *value = FileInteger(o + kObjKeywordStep);
            return true;
        }
    }
    return false;
}

size_t DictionaryTextEnd(std::string_view text, size_t open) {
    int depth = 0;
    for (size_t i = open; i + 1 < text.size(); ++i) {
        const char c = text[i];
        if (c == '(') {
            // A literal string may hold "<<" or ">>"; its parentheses nest unless escaped.
            int parentheses = 0;
            for (; i < text.size(); ++i) {
                if (text[i] == '\\') {
                    ++i;
                } else if (text[i] == '(') {
                    ++parentheses;
                } else if (text[i] == ')' && --parentheses == 0) {
                    break;
                }
            }
        } else if (c == '<' && text[i + 1] == '<') {
            ++depth;
            ++i;
        } else if (c == '>' && text[i + 1] == '>') {
            if (--depth == 0) return i;
            ++i;
        }
    }
    return std::string_view::npos;
}

}  // namespace velmora
