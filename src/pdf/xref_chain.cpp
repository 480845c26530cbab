#include "pdf/xref_chain.h"

#include <algorithm>
#include <unordered_set>

#include "pdf/document_values.h"
#include "pdf/error_list.h"
#include "pdf/lexical.h"
#include "pdf/object_table.h"
#include "pdf/reader_bytes.h"
#include "pdf/stream_decoding.h"
#include "pdf/xref_sections.h"

namespace velmora {

namespace {

constexpr char kXrefKeyword[] = "xref";
constexpr int kXrefKeywordLength = 4;
constexpr char kTrailerKeyword[] = "trailer";
constexpr int kTrailerKeywordLength = 7;
// Sections one chain may name: real files have a handful of updates; each position is read once.
constexpr int kMaxXrefSections = 10000;

int64_t SkipWhitespace(int64_t position) {
    int64_t p = std::max<int64_t>(position, 0);
    while (p < g_file.data_length && IsPdfWhitespace(ByteAt(p))) ++p;
    return p;
}

// A decimal number at `*position` after white space, the position moved past it; -1 if none.
int64_t NextNumber(int64_t* position) {
    const int64_t p = SkipWhitespace(*position);
    if (!IsDigitByte(ByteAt(p))) {
        *position = p;
        return -1;
    }
    *position = SkipDigits(p);
    return IntegerAt(p);
}

// What a classic table gave: the first number of its first subsection and where its "trailer"
// stands (-1 when the subsections end in anything else).
struct ClassicTable {
    int32_t first;
    int64_t trailer;
};

// The subsections behind "xref" at `position`: a header "first count" and count entries
// "offset generation type", each part after any white space. 0, or 65 for a count the table
// cannot hold, or 50 for entries that end early.
int ReadClassicTable(int64_t position, XrefChain* chain, ClassicTable* table) {
    int64_t p = position + kXrefKeywordLength;
    table->first = 0;
    table->trailer = -1;
    for (bool first_subsection = true;; first_subsection = false) {
        const int64_t first = NextNumber(&p);
        if (first < 0) break;
        const int64_t count = NextNumber(&p);
        if (count < 0) return kErrorNoTrailer;
        if (first_subsection) table->first = ClampToInt32(first);
        if (count >= kObjectCapacity) return kErrorTooManyObjects;
        for (int64_t i = 0; i < count; ++i) {
            const int64_t offset = NextNumber(&p);
            const int64_t generation = NextNumber(&p);
            p = SkipWhitespace(p);
            if (offset < 0 || generation < 0 || p >= g_file.data_length) return kErrorNoTrailer;
            const auto type = static_cast<char>(ByteAt(p++));
            const int64_t e = first + i;
            chain->entries_end = std::max(chain->entries_end, std::min<int64_t>(e + 1, kObjectCapacity));
            if (!ClaimEntry(e, type == 'n')) continue;  // at 100,000 and above, or a newer row holds it
            ObjectEntry& entry = g_store.objects[e];
            entry.stream_object = 0;
            entry.offset = ClampToInt32(offset);
            entry.generation = ClampToInt32(generation);
            entry.type = type;
            entry.kind = kKindOther;
        }
    }
    if (BytesEqual(p, kTrailerKeyword, kTrailerKeywordLength)) table->trailer = p;
    return 0;
}

// A classic section: its table, its trailer and the stream its /XRefStm names (a hybrid file:
// objects in object streams that readers of tables alone do not see).
int ReadClassicSection(int64_t position, XrefChain* chain, ClassicTable* table, int64_t* prev,
                       std::unordered_set<int64_t>* streams_read) {
    const int code = ReadClassicTable(position, chain, table);
    if (code != 0) return code;
    if (table->trailer < 0) return kErrorNoTrailer;
    int32_t start = ClampToInt32(table->trailer + kTrailerKeywordLength);
    int32_t end = 0;
    if (FindDictionary(start, end) != 0) return kErrorNoTrailer;
    int64_t xref_stream = -1;
    TakeSectionValues(start, end, chain, prev, &xref_stream);
    if (xref_stream >= 0 && IsObjectHeader(ClampToInt32(xref_stream), -1) && streams_read->insert(xref_stream).second) {
        int64_t ignored = -1;
        // The table stands without its stream; only the budget's end is worth a word.
        if (ReadStreamSection(ClampToInt32(xref_stream), chain, &ignored) == kWarningLinesNotInflated) RecordError(kWarningLinesNotInflated);
    }
    return 0;
}

// A table at startxref that does not start at object 0 and names no older section is taken as a
// linearized file's first-page table; the main table is found through the linearization
// dictionary's T.
void ReadLinearizedMainTable(XrefChain* chain, int32_t first, int64_t first_page_end) {
    int32_t dictionary_object = -1;
    for (int64_t e = first; e < first_page_end && IsObjectNumber(e); ++e) {
        if (FindKeyword(g_store.objects[e].offset, "Linearized") > 0) {
            dictionary_object = static_cast<int32_t>(e);
            break;
        }
    }
    if (dictionary_object < 0) {
        RecordError(kErrorNoLinearizedXref);
        return;
    }
    const int32_t begin = g_store.objects[dictionary_object].offset;
    const int32_t end = ObjectEnd(dictionary_object);
    if (FindKey(begin, end, "Linearized ") == 0 || FindKey(begin, end, "T ") == 0) {
        RecordError(kErrorNoLinearizedXref);
        return;
    }
    const int32_t t = TextInteger(MatchedEntry + 2);
    // Back from T over the subsection header's count, the gap and its first number to "xref".
    int64_t p = std::min<int64_t>(int64_t{t} - 1, int64_t{g_file.data_length} - 1);
    while (p >= 0 && IsDigitByte(ByteAt(p))) --p;
    while (p >= 0 && !IsDigitByte(ByteAt(p))) --p;
    while (p >= 0 && IsDigitByte(ByteAt(p))) --p;
    while (p >= 0 && ByteAt(p) != 'x') --p;
    if (p < 0) {  // no "xref" before T: the main table cannot be found
        RecordError(kErrorNoLinearizedXref);
        return;
    }
    // Only the first-page trailer is read.
    ClassicTable main{};
    const int code = ReadClassicTable(p, chain, &main);
    if (code != 0) {
        RecordError(code);
        return;
    }
    g_document.first_object_number = main.first;
}

}  // namespace

void ReadCrossReference(int32_t startxref) {
    ResetEntryClaims();
    XrefChain chain{false, false, false, int64_t{kExpansionFactor} * g_file.file_size, 0};
    std::unordered_set<int64_t> seen;          // sections of the chain
    std::unordered_set<int64_t> streams_read;  // streams named by /XRefStm
    int64_t position = startxref;
    int read = 0;
    ClassicTable newest{};
    bool newest_classic = false;
    for (int sections = 0; position >= 0 && sections < kMaxXrefSections && seen.insert(position).second; ++sections) {
        int64_t prev = -1;
        int code = kErrorXrefStreamUnsupported;
        if (BytesEqual(position, kXrefKeyword, kXrefKeywordLength)) {
            ClassicTable table{};
            code = ReadClassicSection(position, &chain, &table, &prev, &streams_read);
            if (sections == 0) {
                newest = table;
                newest_classic = true;
            }
            g_document.first_object_number = table.first;
        } else if (IsObjectHeader(ClampToInt32(position), -1)) {
            if (sections == 0) g_document.xref_stream_flag = 1;
            code = ReadStreamSection(ClampToInt32(position), &chain, &prev);
            g_document.first_object_number = 0;
        }
        if (code == kWarningLinesNotInflated) {
            RecordError(code);  // the rows past the budget are left out; older sections may follow
        } else if (code != 0) {
            // The newest section decides whether the file can be read; an older one that cannot
            // be read ends the chain with what the newer ones gave.
            if (sections > 0) break;
            if (code == kErrorTooManyObjects) g_store.object_count = kObjectCapacity;
            RecordError(code);
            return;
        } else {
            ++read;
        }
        position = prev;
    }
    if (read == 1 && newest_classic && newest.first != 0) {
        ComputeExtents();
        ReadLinearizedMainTable(&chain, newest.first, chain.entries_end);
        if (HasFatalError()) return;
    }
    const int64_t size = chain.size_found ? g_document.trailer_size : 0;
    g_store.object_count = ClampToInt32(std::clamp<int64_t>(std::max(size, chain.entries_end), 0, kObjectCapacity));
    ComputeExtents();
}

}  // namespace velmora
