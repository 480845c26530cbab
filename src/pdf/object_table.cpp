#include "pdf/object_table.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "pdf/document_values.h"
#include "pdf/lexical.h"
#include "pdf/reader_bytes.h"

namespace velmora {

namespace {

enum Claim : uint8_t { kUnclaimed = 0, kClaimedFree = 1, kClaimedInUse = 2 };
std::vector<uint8_t> g_claims;  // by object number

// The escaped byte order mark of a UTF-16 text string written with octal escapes.
constexpr char kEscapedUtf16Mark[] = "\\376\\377";
constexpr int kEscapeTail = 3;  // the octal digits after a backslash

void SetLabel(ObjectEntry& entry, const char* text, int max_length) {
    char copy[kEntryTextCapacity + 1];
    std::strncpy(copy, text, kEntryTextCapacity);
    copy[kEntryTextCapacity] = '\0';
    NormalizeText(copy, max_length);
    std::strncpy(entry.label, copy, kObjectLabelBytes - 1);
    entry.label[kObjectLabelBytes - 1] = '\0';
}

void CopyCut(char* destination, const char* source, int max_length) {
    const size_t length = strnlen(source, static_cast<size_t>(max_length));
    std::memcpy(destination, source, length);
    destination[length] = '\0';
}

// A Creator written as UTF-16 with octal escapes becomes its ASCII characters: every backslash
// goes together with the three characters after it.
void RebuildCreator() {
    if (std::strstr(MatchedEntry, kEscapedUtf16Mark) == nullptr) return;
    char* out = g_document.creator_text;
    int written = 0;
    for (int i = 0; MatchedEntry[i] != '\0' && written < kCreatorTextBytes - 1;) {
        if (MatchedEntry[i] == '\\') {
            ++i;
            for (int k = 0; k < kEscapeTail && MatchedEntry[i] != '\0'; ++k) ++i;
            continue;
        }
        out[written++] = MatchedEntry[i++];
    }
    out[written] = '\0';
}

}  // namespace

void ResetEntryClaims() { g_claims.assign(kObjectCapacity, kUnclaimed); }

bool ClaimEntry(int64_t n, bool in_use) {
    if (!IsObjectNumber(n)) return false;
    if (g_claims.size() != static_cast<size_t>(kObjectCapacity)) ResetEntryClaims();
    uint8_t& claim = g_claims[static_cast<size_t>(n)];
    if (claim == kClaimedInUse || (!in_use && claim == kClaimedFree)) return false;
    claim = in_use ? kClaimedInUse : kClaimedFree;
    return true;
}

bool EntryInUse(int64_t n) {
    return IsObjectNumber(n) && static_cast<size_t>(n) < g_claims.size() && g_claims[static_cast<size_t>(n)] == kClaimedInUse;
}

void ComputeExtents() {
    std::vector<int32_t> offsets;
    for (int32_t n = 0; n < kObjectCapacity; ++n) {
        if (EntryInUse(n) && g_store.objects[n].stream_object <= 0) offsets.push_back(g_store.objects[n].offset);
    }
    std::sort(offsets.begin(), offsets.end());
    for (int32_t n = 0; n < kObjectCapacity; ++n) {
        ObjectEntry& entry = g_store.objects[n];
        const bool claimed = static_cast<size_t>(n) < g_claims.size() && g_claims[static_cast<size_t>(n)] != kUnclaimed;
        if (!claimed || entry.stream_object > 0) continue;
        const auto next = std::upper_bound(offsets.begin(), offsets.end(), entry.offset);
        const int64_t bound = next == offsets.end() ? int64_t{g_file.data_length} : int64_t{*next};
        entry.extent = ClampToInt32(bound - entry.offset);
    }
}

void ClassifyObject(int32_t n) {
    if (!IsObjectNumber(n)) return;
    ObjectEntry& entry = g_store.objects[n];
    const int32_t offset = entry.offset;
    if (!IsObjectHeader(offset, n)) return;

    entry.label[0] = '\0';
    int32_t start = ClampToInt32(int64_t{offset} + 3);
    int32_t end = ClampToInt32(int64_t{offset} + entry.extent - 1);
    if (FindDictionary(start, end) == 0) {
        entry.kind = kKindDictionary;
        if (FindKey(start, end, "Type") > 0) entry.kind = kKindTypedDictionary;
        // After a Type lookup EntryText holds the type name; without one, the entry read last.
        SetLabel(entry, EntryText, kLabelCharacters);
        if (FindKey(start, end, "Creator") > 0) {
            entry.kind = kKindCreator;
            CopyCut(entry.label, MatchedEntry, kShortLabelCharacters);
            CopyCut(g_document.creator_text, MatchedEntry, kShortLabelCharacters);
            RebuildCreator();
        }
        if (FindKey(start, end, "Filter") > 0) {
            entry.kind = kKindDataStream;
            SetLabel(entry, EntryText, kShortLabelCharacters);
        }
    }
    for (int k = 3; k <= 5; ++k) {
        const uint8_t c = ByteAt(int64_t{offset} + k);
        if (c == '/') {
            entry.kind = kKindName;
        } else if (c == '[') {
            entry.kind = kKindArray;
        } else if (c == '(') {
            entry.kind = kKindString;
        } else {
            continue;
        }
        break;
    }
}

void ClassifyObjects() {
    const int32_t count = std::min(g_store.object_count, kObjectCapacity);
    for (int32_t n = 1; n < count; ++n) ClassifyObject(n);
}

}  // namespace velmora
