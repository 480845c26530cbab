#include "pdf/xref_rebuild.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "pdf/document_values.h"
#include "pdf/lexical.h"
#include "pdf/object_table.h"
#include "pdf/page_tree.h"
#include "pdf/reader_bytes.h"
#include "pdf/security_handler.h"
#include "pdf/error_list.h"
#include "pdf/xref_sections.h"

namespace velmora {

namespace {

constexpr int kMaxNumberDigits = 10;   // an object number, or a generation, of more is no header
constexpr int kMaxGapBytes = 16;       // white space between the header's three parts
constexpr char kTrailer[] = "trailer";
constexpr int kTrailerLength = 7;

bool IsDelimiter(uint8_t c) { return std::strchr("()<>[]{}/%", c) != nullptr && c != 0; }
bool IsBoundary(uint8_t c) { return IsPdfWhitespace(c) || c == 0 || IsDelimiter(c); }

// Walks back from `p` (exclusive) over white space; the first position of the run, or -1 when the
// run is empty or too long.
int64_t BackOverWhite(int64_t p, int64_t floor) {
    int64_t q = p;
    while (q > floor && p - q < kMaxGapBytes && IsPdfWhitespace(g_file.data[q - 1])) --q;
    return q < p ? q : -1;
}

int64_t BackOverDigits(int64_t p, int64_t floor) {
    int64_t q = p;
    while (q > floor && p - q < kMaxNumberDigits && IsDigitByte(g_file.data[q - 1])) --q;
    if (q == p) return -1;
    if (q > floor && IsDigitByte(g_file.data[q - 1])) return -1;  // more digits than a number has
    return q;
}

// The header "N G obj" whose "obj" begins at `o`: N's first position, with N and G; false when
// none stands there. Looks at a bounded number of bytes behind `o`.
bool HeaderBefore(int64_t o, int64_t length, int64_t* start, int64_t* number, int64_t* generation) {
    if (o + 3 < length && !IsBoundary(g_file.data[o + 3])) return false;
    const int64_t floor = std::max<int64_t>(0, o - 2 * (kMaxGapBytes + kMaxNumberDigits));
    const int64_t gap2 = BackOverWhite(o, floor);
    if (gap2 < 0) return false;
    const int64_t g = BackOverDigits(gap2, floor);
    if (g < 0) return false;
    const int64_t gap1 = BackOverWhite(g, floor);
    if (gap1 < 0) return false;
    const int64_t n = BackOverDigits(gap1, floor);
    if (n < 0 || (n > 0 && !IsBoundary(g_file.data[n - 1]))) return false;
    *start = n;
    *number = IntegerAt(n);
    *generation = IntegerAt(g);
    return true;
}

bool TypeIs(int32_t n, const char* type) {
    int32_t start = 0, end = 0;
    if (!DictionaryBounds(n, &start, &end) || FindKey(start, end, "Type") == 0) return false;
    return std::strncmp(EntryText, type, std::strlen(type)) == 0;
}

void SetEntry(int64_t n, int32_t stream_object, int32_t offset, int32_t generation) {
    ObjectEntry& entry = g_store.objects[n];
    entry.stream_object = stream_object;
    entry.offset = offset;
    entry.generation = generation;
    entry.extent = 0;
    entry.type = 'n';
    entry.kind = kKindOther;
    entry.label[0] = '\0';
}

}  // namespace

bool CrossReferenceIsDamaged() {
    const int32_t root = g_document.root.number;
    if (!IsObjectNumber(root) || !EntryInUse(root)) return true;
    for (int32_t n = 1; n < kObjectCapacity; ++n) {
        const ObjectEntry& entry = g_store.objects[n];
        if (!EntryInUse(n) || entry.stream_object > 0) continue;
        if (!IsObjectHeader(entry.offset, n)) return true;
    }
    return false;
}

int64_t RebuildCrossReference() {
    ClearObjectTable();
    ResetEntryClaims();
    g_document.root = ObjectReference{};
    g_document.info = ObjectReference{};
    g_document.trailer_size = 0;
    g_document.encrypt = ObjectReference{};
    g_document.id_start = g_document.id_end = 0;
    // Where each number was defined last: a later definition, in the file or in an object stream
    // that stands later, replaces an earlier one.
    std::vector<int32_t> defined_at(kObjectCapacity, -1);
    const int64_t length = g_file.file_size;
    int64_t last_trailer = -1;
    int64_t examined = 0;
    int64_t highest = 0;
    for (int64_t p = 0; p + 3 <= length; ++p) {
        ++examined;
        const uint8_t c = g_file.data[p];
        if (c == 't' && p + kTrailerLength <= length && std::memcmp(g_file.data + p, kTrailer, kTrailerLength) == 0) {
            last_trailer = p + kTrailerLength;
            continue;
        }
        if (c != 'o' || g_file.data[p + 1] != 'b' || g_file.data[p + 2] != 'j') continue;
        int64_t start = 0, number = 0, generation = 0;
        if (!HeaderBefore(p, length, &start, &number, &generation) || !IsObjectNumber(number)) continue;
        SetEntry(number, 0, ClampToInt32(start), ClampToInt32(generation));
        defined_at[number] = ClampToInt32(start);
        ClaimEntry(number, true);
        highest = std::max(highest, number);
        p += 2;
    }
    ComputeExtents();

    // Root from the last trailer, or the last cross-reference stream's dictionary.
    XrefChain chain{false, false, false, 0, 0};
    int64_t prev = -1;
    int32_t start = ClampToInt32(last_trailer), end = 0;
    if (last_trailer >= 0 && FindDictionary(start, end) == 0) {
        TakeSectionValues(start, end, &chain, &prev, nullptr);
    } else {
        for (int32_t n = static_cast<int32_t>(highest); n >= 1 && !chain.root_found; --n) {
            if (defined_at[n] >= 0 && TypeIs(n, "XRef") && DictionaryBounds(n, &start, &end)) {
                TakeSectionValues(start, end, &chain, &prev, nullptr);
            }
        }
    }
    // Object streams of a protected file are decrypted before their members are read.
    PrepareDecryption();
    // Members of object streams, unless the file defines them again behind the stream.
    std::vector<int32_t> object_streams;
    for (int32_t n = 1; n <= highest; ++n) {
        if (defined_at[n] >= 0 && g_store.objects[n].stream_object == 0 && TypeIs(n, "ObjStm")) object_streams.push_back(n);
    }
    for (int32_t s : object_streams) {
        std::vector<int64_t> members;
        ObjectStreamMembers(s, &members);
        const int32_t stream_position = g_store.objects[s].offset;
        for (size_t x = 0; x < members.size(); ++x) {
            const int64_t m = members[x];
            if (!IsObjectNumber(m) || m == s || defined_at[m] > stream_position) continue;
            SetEntry(m, s, 0, static_cast<int32_t>(x));
            defined_at[m] = stream_position;
            ClaimEntry(m, true);
            highest = std::max(highest, m);
        }
    }
    ComputeExtents();
    if (!HasFatalError()) ExpandObjectStreams();

    const int32_t root = g_document.root.number;
    if (!chain.root_found || !IsObjectNumber(root) || defined_at[root] < 0 || !TypeIs(root, "Catalog")) {
        for (int32_t n = static_cast<int32_t>(highest); n >= 1; --n) {
            if (defined_at[n] >= 0 && TypeIs(n, "Catalog")) {
                g_document.root = ObjectReference{n, 0, 'R'};
                break;
            }
        }
    }
    g_store.object_count = ClampToInt32(std::min<int64_t>(std::max<int64_t>(highest + 1, g_document.trailer_size), kObjectCapacity));
    g_document.xref_rebuilt = 1;
    return examined;
}

}  // namespace velmora
