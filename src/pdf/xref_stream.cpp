// Cross-reference streams: the rows of one section, and the objects of object streams copied
// behind the file's bytes once the whole chain has been read.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "pdf/document_values.h"
#include "pdf/error_list.h"
#include "pdf/lexical.h"
#include "pdf/object_table.h"
#include "pdf/page_tree.h"
#include "pdf/reader_bytes.h"
#include "pdf/stream_decoding.h"
#include "pdf/xref_sections.h"

namespace velmora {

namespace {

constexpr int kMaxFieldWidth = 8;      // a field of up to 64 bits
constexpr int32_t kIndexTextBytes = 1 << 20;  // an /Index array read whole, up to this
constexpr int kPngPredictors = 10;     // /Predictor 10 and above: PNG rows with a filter byte

// One object stream: its decoded bytes, its pairs from /N and /First, and the codes its decoding
// recorded, replayed for every later object so the error list reads as if it were decoded anew.
struct ObjectStream {
    bool present = false;
    std::vector<uint8_t> bytes;
    std::vector<int32_t> codes;
    struct Pair {
        int64_t number;
        int64_t offset;
    };
    std::vector<Pair> pairs;
    int64_t objects_start = 0;
};

bool IsWhite(uint8_t c) { return IsPdfWhitespace(c) || c == 0; }

// A decimal number of the header at `position` (moved past it); -1 when none stands there.
int64_t HeaderNumber(const std::vector<uint8_t>& bytes, int64_t limit, int64_t* position) {
    int64_t p = *position;
    while (p < limit && IsWhite(bytes[p])) ++p;
    if (p >= limit || !IsDigitByte(bytes[p])) {
        *position = p;
        return -1;
    }
    int64_t value = 0;
    for (; p < limit && IsDigitByte(bytes[p]); ++p) value = std::min<int64_t>(value * 10 + (bytes[p] - '0'), INT32_MAX);
    *position = p;
    return value;
}

// The pairs "number offset" of the header, separated by any white space: /N of them before
// /First, where the objects begin. Without /First the objects begin behind the last pair.
void ReadPairs(ObjectStream& stream, int64_t n, int64_t first) {
    const int64_t size = static_cast<int64_t>(stream.bytes.size());
    const int64_t limit = first >= 0 ? std::min(first, size) : size;
    int64_t position = 0;
    while (n < 0 || static_cast<int64_t>(stream.pairs.size()) < n) {
        const int64_t number = HeaderNumber(stream.bytes, limit, &position);
        const int64_t offset = HeaderNumber(stream.bytes, limit, &position);
        if (number < 0 || offset < 0) break;
        stream.pairs.push_back({number, offset});
    }
    stream.objects_start = first >= 0 ? limit : position;
}

int64_t DictionaryInteger(int32_t start, int32_t end, const char* key) {
    char value[kEntryTextCapacity + 1];
    if (!GetKeyValue(start, end, key, value)) return -1;
    return TextInteger(value);
}

// `budget` is what may still be decoded: a Length beyond the file lets each stream inflate to 50
// times the rest of the file, so many small streams would otherwise hold far more than the file.
const ObjectStream& DecodeObjectStream(std::unordered_map<int32_t, ObjectStream>& cache, int32_t s, int64_t* budget) {
    const auto found = cache.find(s);
    if (found != cache.end()) {
        for (int32_t code : found->second.codes) RecordError(code);
        return found->second;
    }
    ObjectStream& stream = cache[s];
    if (*budget <= 0) {
        stream.codes.push_back(kWarningLinesNotInflated);
        RecordError(kWarningLinesNotInflated);
        return stream;
    }
    const int32_t codes_before = g_errors.count;
    ClassifyObject(s);  // its label tells whether it is inflated
    const int entry = LoadStreamObject(s, 1);
    for (int32_t i = codes_before; i < g_errors.count; ++i) stream.codes.push_back(g_errors.codes[i]);
    if (entry < 0) return stream;
    const DecodedStream& decoded = g_store.streams[entry];
    stream.present = true;
    if (decoded.length > 0) stream.bytes.assign(decoded.data, decoded.data + decoded.length);
    *budget -= decoded.length;
    int32_t start = 0, end = 0;
    const bool has_dictionary = DictionaryBounds(s, &start, &end);
    const int64_t n = has_dictionary ? DictionaryInteger(start, end, "N") : -1;
    const int64_t first = has_dictionary ? DictionaryInteger(start, end, "First") : -1;
    ReadPairs(stream, n, first);
    return stream;
}

// Appends "number offset " and pair x's object behind data_length; false when nothing fits.
bool AppendObject(int32_t e, const ObjectStream& stream, int32_t x) {
    const int64_t size = static_cast<int64_t>(stream.bytes.size());
    const ObjectStream::Pair& pair = stream.pairs[x];
    int64_t begin = stream.objects_start + pair.offset;
    int64_t end = x + 1 < static_cast<int32_t>(stream.pairs.size()) ? stream.objects_start + stream.pairs[x + 1].offset : size;
    begin = std::clamp<int64_t>(begin, 0, size);
    end = std::clamp<int64_t>(end, begin, size);
    const std::string head = std::to_string(pair.number) + " " + std::to_string(pair.offset) + " ";
    const int64_t added = static_cast<int64_t>(head.size()) + (end - begin);
    if (int64_t{g_file.data_length} + added > g_file.capacity) return false;

    uint8_t* target = g_file.data + g_file.data_length;
    std::memcpy(target, head.data(), head.size());
    std::memcpy(target + head.size(), stream.bytes.data() + begin, static_cast<size_t>(end - begin));
    ObjectEntry& entry = g_store.objects[e];
    entry.offset = g_file.data_length;
    entry.extent = static_cast<int32_t>(added);
    g_file.data_length += static_cast<int32_t>(added);
    return true;
}

// One subsection of a cross-reference stream: `count` entries from object number `first`.
struct Subsection {
    int64_t first, count;
};

// The pairs of /Index, every one of them (an update names several); [0 Size] without it.
std::vector<Subsection> IndexSubsections(int32_t start, int32_t end, int32_t size) {
    std::string text;
    if (!GetWholeKeyValue(start, end, "Index", kIndexTextBytes, &text)) return {Subsection{0, std::max(size, 0)}};
    std::vector<double> numbers;
    const char* p = text.c_str();
    while (*p != '\0' && *p != ']') {
        char* after = nullptr;
        const double number = std::strtod(p, &after);
        if (after == p) {
            ++p;  // "[" and the white space between the numbers
            continue;
        }
        numbers.push_back(number);
        p = after;
    }
    std::vector<Subsection> sections;
    for (size_t k = 0; k + 1 < numbers.size(); k += 2) {
        sections.push_back(Subsection{static_cast<int64_t>(std::clamp(numbers[k], -1e12, 1e12)),
                                      static_cast<int64_t>(std::clamp(numbers[k + 1], 0.0, 1e12))});
    }
    return sections;
}

uint64_t Field(const uint8_t* bytes, int width) {
    uint64_t value = 0;
    for (int k = 0; k < width; ++k) value = (value << 8) | bytes[k];
    return value;
}

// One row's three fields; a field of width 0 takes its default (type 1, then 0 and 0).
struct Row {
    uint64_t type, second, third;
};

Row ReadRow(const uint8_t* row, const int w[3]) {
    return Row{w[0] == 0 ? 1 : Field(row, w[0]), Field(row + w[0], w[1]), Field(row + w[0] + w[1], w[2])};
}

void FillEntry(int64_t e, const Row& row) {
    const bool in_use = row.type == 1 || row.type == 2;
    if (!ClaimEntry(e, in_use)) return;
    ObjectEntry& entry = g_store.objects[e];
    entry.stream_object = row.type == 2 ? ClampToInt32(static_cast<int64_t>(std::min<uint64_t>(row.second, INT32_MAX))) : -1;
    entry.offset = row.type == 1 ? ClampToInt32(static_cast<int64_t>(std::min<uint64_t>(row.second, INT32_MAX))) : 0;
    entry.generation = row.type == 2 ? ClampToInt32(static_cast<int64_t>(std::min<uint64_t>(row.third, INT32_MAX))) : 0;
    entry.type = 'n';
    entry.kind = kKindOther;
}

}  // namespace

void TakeSectionValues(int32_t start, int32_t end, XrefChain* chain, int64_t* prev, int64_t* xref_stream) {
    char value[kEntryTextCapacity + 1];
    int32_t number = 0, generation = 0;
    char letter = 0;
    if (!chain->root_found && GetKeyValue(start, end, "Root", value) &&
        ReadReference(0, value, &number, &generation, &letter) != -1) {
        g_document.root = {number, generation, letter};
        chain->root_found = true;
    }
    if (!chain->info_found && GetKeyValue(start, end, "Info", value) &&
        ReadReference(0, value, &number, &generation, &letter) != -1) {
        g_document.info = {number, generation, letter};
        chain->info_found = true;
    }
    if (!chain->size_found && GetKeyValue(start, end, "Size", value)) {
        g_document.trailer_size = TextInteger(value);
        chain->size_found = true;
    }
    if (g_document.encrypt.number == 0 && GetKeyValue(start, end, "Encrypt", value) &&
        ReadReference(0, value, &number, &generation, &letter) != -1) {
        g_document.encrypt = {number, generation, letter};
    }
    if (g_document.id_end == 0 && FindExactEntry(start, end, "ID", &number) > 0) {
        g_document.id_start = start;
        g_document.id_end = end;
    }
    *prev = GetKeyValue(start, end, "Prev", value) ? TextInteger(value) : -1;
    if (xref_stream != nullptr) *xref_stream = GetKeyValue(start, end, "XRefStm", value) ? TextInteger(value) : -1;
}

int ReadStreamSection(int32_t position, XrefChain* chain, int64_t* prev) {
    *prev = -1;
    int32_t start = position;
    int32_t end = 0;
    if (FindDictionary(start, end) != 0) return kErrorXrefStreamUnsupported;
    char value[kEntryTextCapacity + 1];
    if (!GetKeyValue(start, end, "Size", value)) return kErrorNoXrefStream;
    const int32_t size = TextInteger(value);
    TakeSectionValues(start, end, chain, prev, nullptr);

    // Rows without a filter are stored as they are; no other filter than FlateDecode is read.
    const bool filtered = FindKey(start, end, "Filter") > 0;
    if (filtered && std::strncmp(EntryText, "FlateDecode", 11) != 0) return kErrorNoXrefStream;
    if (FindKey(start, end, "W") == 0) return kErrorNoXrefStream;
    double widths[3] = {-1, -1, -1};
    for (int k = 0, index = 1; k < 3; ++k) index = ReadNumber(index, EntryText, &widths[k]);
    int w[3];
    for (int k = 0; k < 3; ++k) {
        if (!(widths[k] >= 0 && widths[k] <= kMaxFieldWidth)) return kErrorNoXrefStream;
        w[k] = static_cast<int>(widths[k]);
    }
    const int row_bytes = w[0] + w[1] + w[2];
    if (row_bytes == 0) return kErrorNoXrefStream;

    const std::vector<Subsection> sections = IndexSubsections(start, end, size);
    // Without DecodeParms (or below Predictor 10) the rows have no filter bytes.
    int32_t columns = 0;
    if (FindKey(start, end, "DecodeParms") > 0) {
        const char* predictor = std::strstr(MatchedEntry, "Predictor");
        const char* columns_text = std::strstr(MatchedEntry, "Columns");
        if (predictor != nullptr && TextInteger(predictor + 9) >= kPngPredictors) {
            columns = columns_text != nullptr ? TextInteger(columns_text + 7) : row_bytes;
        }
    }
    int32_t data_offset = 0;
    const int32_t length = LocateStream(start, end, &data_offset);
    if (length <= 0) return kErrorNoXrefStream;
    if (chain->rows_budget <= 0) return kWarningLinesNotInflated;

    const int32_t data_position = ClampToInt32(int64_t{end} + data_offset);
    const int entry = filtered ? InflateStream(0, data_position, length) : -1;
    DecodedStream& rows = g_store.streams[0];
    if (!filtered) {
        // Raw rows go to entry 0 as well, where the rows of a section are always read from.
        auto* copy = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(length) + kEntrySpareBytes));
        if (copy == nullptr) return kErrorMemory;
        std::memcpy(copy, g_file.data + data_position, static_cast<size_t>(length));
        std::free(rows.data);
        rows = DecodedStream{0, copy, length};
        g_store.stream_count = 0;
    } else if (entry < 0) {
        return kErrorNoXrefStream;
    }
    chain->rows_budget -= rows.length;
    if (columns > 0) rows.length = UndoUpPredictor(rows.data, rows.length, columns);

    // The subsections' rows follow each other. Only rows the decoded data holds are read;
    // entries at 100,000 and above are skipped.
    const int64_t rows_held = rows.length / row_bytes;
    int64_t r = 0;
    for (const Subsection& section : sections) {
        for (int64_t k = 0; k < section.count && r < rows_held; ++k, ++r) {
            const int64_t e = section.first + k;
            if (!IsObjectNumber(e)) continue;
            FillEntry(e, ReadRow(rows.data + r * row_bytes, w));
            chain->entries_end = std::max(chain->entries_end, e + 1);
        }
    }
    return 0;
}

void ExpandObjectStreams() {
    std::unordered_map<int32_t, ObjectStream> cache;
    // All object streams together decode no more than the 50-fold of the file.
    int64_t budget = int64_t{kExpansionFactor} * g_file.file_size;
    for (int32_t e = 0; e < kObjectCapacity; ++e) {
        ObjectEntry& entry = g_store.objects[e];
        if (!EntryInUse(e) || entry.stream_object <= 0) continue;
        const ObjectStream& stream = DecodeObjectStream(cache, entry.stream_object, &budget);
        const int32_t x = entry.generation;
        // An index beyond the pairs, or an object that does not fit, stays unfilled.
        if (!stream.present || x < 0 || x >= static_cast<int32_t>(stream.pairs.size())) continue;
        AppendObject(e, stream, x);
    }
}

bool ObjectStreamMembers(int32_t s, std::vector<int64_t>* numbers) {
    std::unordered_map<int32_t, ObjectStream> cache;
    int64_t budget = int64_t{kExpansionFactor} * g_file.file_size;
    const ObjectStream& stream = DecodeObjectStream(cache, s, &budget);
    numbers->clear();
    for (const ObjectStream::Pair& pair : stream.pairs) numbers->push_back(pair.number);
    return stream.present;
}

}  // namespace velmora
