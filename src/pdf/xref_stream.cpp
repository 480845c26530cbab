// Cross-reference streams: their dictionary, the row pass for objects stored in the file, and
// the pass that copies objects out of object streams behind the file's bytes.
#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "pdf/document_values.h"
#include "pdf/error_list.h"
#include "pdf/lexical.h"
#include "pdf/object_table.h"
#include "pdf/reader_bytes.h"
#include "pdf/stream_decoding.h"

namespace velmora {

namespace {

constexpr int kMaxObjectStreamPairs = 91;
constexpr int kMaxFieldWidth = 4;
constexpr int kColumnsKeyLength = 7;  // "Columns"

// One object stream as the type 2 pass sees it. Each is decoded once per section; later uses
// replay the codes its decoding recorded, so the error list reads as if it were decoded anew.
struct ObjectStreamHeader {
    bool present = false;
    std::vector<uint8_t> bytes;
    std::vector<int32_t> codes;
    struct Pair {
        int64_t start;
        int64_t length;
        int32_t offset;
    };
    std::vector<Pair> pairs;
    int64_t objects_start = 0;
};

int64_t NextSpace(const std::vector<uint8_t>& bytes, int64_t from) {
    const int64_t size = static_cast<int64_t>(bytes.size());
    for (int64_t p = from; p < size; ++p) {
        if (bytes[p] == ' ') return p;
    }
    return -1;
}

// Pairs "number offset " up to the first "<" (at most 91); the objects begin at that "<".
void ReadPairs(ObjectStreamHeader& header) {
    const std::vector<uint8_t>& bytes = header.bytes;
    const int64_t size = static_cast<int64_t>(bytes.size());
    int64_t position = 0;
    while (position < size && bytes[position] != '<' &&
           static_cast<int>(header.pairs.size()) < kMaxObjectStreamPairs) {
        const int64_t start = position;
        const int64_t first_space = NextSpace(bytes, position);
        if (first_space < 0) break;
        const int32_t offset = BytesInteger(bytes.data() + first_space + 1, size - first_space - 1);
        const int64_t second_space = NextSpace(bytes, first_space + 1);
        if (second_space < 0) break;
        position = second_space + 1;
        header.pairs.push_back({start, position - start, offset});
    }
    header.objects_start = std::min(position, size);
}

// `budget` is what may still be decoded: a Length beyond the file lets each stream inflate to 50
// times the rest of the file, so many small streams would otherwise hold far more than the file.
const ObjectStreamHeader& DecodeObjectStream(std::unordered_map<int32_t, ObjectStreamHeader>& cache, int32_t s,
                                             int64_t* budget) {
    const auto found = cache.find(s);
    if (found != cache.end()) {
        for (int32_t code : found->second.codes) RecordError(code);
        return found->second;
    }
    ObjectStreamHeader& header = cache[s];
    if (*budget <= 0) {
        header.codes.push_back(90);
        RecordError(90);
        return header;
    }
    const int32_t codes_before = g_errors.count;
    const int entry = LoadStreamObject(s, 1);
    for (int32_t i = codes_before; i < g_errors.count; ++i) header.codes.push_back(g_errors.codes[i]);
    if (entry >= 0) {
        const DecodedStream& stream = g_store.streams[entry];
        header.present = true;
        if (stream.length > 0) header.bytes.assign(stream.data, stream.data + stream.length);
        *budget -= stream.length;
        ReadPairs(header);
    }
    return header;
}

// Appends pair x's text and its object's bytes behind data_length; false when nothing fits.
bool AppendObject(int32_t e, const ObjectStreamHeader& header, int32_t x) {
    const int64_t size = static_cast<int64_t>(header.bytes.size());
    const auto& pair = header.pairs[x];
    int64_t begin = header.objects_start + pair.offset;
    int64_t end = x + 1 < static_cast<int32_t>(header.pairs.size())
                      ? header.objects_start + header.pairs[x + 1].offset
                      : size;
    begin = std::clamp<int64_t>(begin, 0, size);
    end = std::clamp<int64_t>(end, begin, size);
    const int64_t added = pair.length + (end - begin);
    if (int64_t{g_file.data_length} + added > g_file.capacity) return false;

    uint8_t* target = g_file.data + g_file.data_length;
    std::memcpy(target, header.bytes.data() + pair.start, static_cast<size_t>(pair.length));
    std::memcpy(target + pair.length, header.bytes.data() + begin, static_cast<size_t>(end - begin));
    ObjectEntry& entry = g_store.objects[e];
    entry.offset = g_file.data_length;
    entry.extent = static_cast<int32_t>(added);
    g_file.data_length += static_cast<int32_t>(added);
    return true;
}

uint32_t Field(const uint8_t* bytes, int width) {
    uint32_t value = 0;
    for (int k = 0; k < width; ++k) value = (value << 8) | bytes[k];
    return value;
}

// What a /Prev chain may still decode. A Length past the file lets each section's small stream
// inflate to 50 times the rest of the file; many sections would multiply that.
struct XrefBudget {
    int64_t rows;
    int64_t object_streams;
};

// One section: its dictionary at `position`, its rows, both passes.
void ReadXrefSection(int32_t position, XrefBudget* budget) {
    int32_t start = position;
    int32_t end = 0;
    if (FindDictionary(start, end) != 0) {
        RecordError(42);
        return;
    }
    if (FindKey(start, end, "Filter") == 0 || std::strncmp(EntryText, "FlateDecode", 11) != 0 ||
        FindKey(start, end, "W") == 0) {
        RecordError(41);
        return;
    }
    double widths[3] = {0, 0, 0};
    for (int k = 0, index = 1; k < 3; ++k) index = ReadNumber(index, EntryText, &widths[k]);

    char value[kEntryTextCapacity + 1];
    if (!GetKeyValue(start, end, "Size", value)) {
        RecordError(41);
        return;
    }
    const int32_t size = TextInteger(value);
    g_document.trailer_size = size;
    g_store.object_count = std::clamp(size, 0, kObjectCapacity);  // the table holds no more

    int32_t number = 0, generation = 0;
    char letter = 0;
    if (!GetKeyValue(start, end, "Root", value)) {
        RecordError(41);
        return;
    }
    if (ReadReference(0, value, &number, &generation, &letter) != -1) g_document.root = {number, generation, letter};
    if (!GetKeyValue(start, end, "Info", value)) {
        RecordError(41);
        return;
    }
    if (ReadReference(0, value, &number, &generation, &letter) != -1) g_document.info = {number, generation, letter};

    double first = 0, count = size;
    if (GetKeyValue(start, end, "Index", value)) {
        const int index = ReadNumber(1, EntryText, &first);
        ReadNumber(index, EntryText, &count);
    }
    if (FindKey(start, end, "DecodeParms") == 0) {
        RecordError(41);
        return;
    }
    const char* columns_text = std::strstr(EntryText, "Columns");
    if (columns_text == nullptr || std::strstr(EntryText, "Predictor") == nullptr) {
        RecordError(41);
        return;
    }
    const int32_t columns = TextInteger(columns_text + kColumnsKeyLength);
    int32_t data_offset = 0;
    const int32_t length = LocateStream(start, end, &data_offset);
    if (length <= 0) {
        RecordError(41);
        return;
    }
    // Widths outside 0..4 cannot be read as 32-bit fields; such a section is not read.
    int w[3];
    for (int k = 0; k < 3; ++k) {
        if (!(widths[k] >= 0 && widths[k] <= kMaxFieldWidth)) {
            RecordError(41);
            return;
        }
        w[k] = static_cast<int>(widths[k]);
    }
    const int row_bytes = w[0] + w[1] + w[2];
    if (row_bytes == 0) {
        RecordError(41);
        return;
    }

    if (budget->rows <= 0) {
        RecordError(90);
        return;
    }
    if (InflateStream(0, ClampToInt32(int64_t{end} + data_offset), length) < 0) return;
    DecodedStream& rows_stream = g_store.streams[0];
    budget->rows -= rows_stream.length;
    rows_stream.length = UndoUpPredictor(rows_stream.data, rows_stream.length, columns);

    // Only rows the decoded data holds are read; entries at 100,000 and above are skipped.
    const int64_t first_number = static_cast<int64_t>(std::clamp(first, -1e12, 1e12));
    const int64_t row_count = std::min<int64_t>(static_cast<int64_t>(std::clamp(count, 0.0, 1e12)),
                                                rows_stream.length / row_bytes);
    std::vector<int32_t> numbers;
    for (int64_t r = 0; r < row_count; ++r) {
        const int64_t e = first_number + r;
        if (!IsObjectNumber(e)) continue;
        const uint8_t* row = rows_stream.data + r * row_bytes;
        ObjectEntry& entry = g_store.objects[e];
        entry.stream_object = -1;
        entry.offset = 0;
        entry.generation = 0;
        entry.type = 'n';
        entry.kind = kKindOther;
        if (row[0] == 1) entry.offset = ClampToInt32(Field(row + w[0], w[1]));
        numbers.push_back(static_cast<int32_t>(e));
    }
    ComputeSectionExtents(numbers);
    for (int32_t e : numbers) ClassifyObject(e);

    std::unordered_map<int32_t, ObjectStreamHeader> cache;
    for (int64_t r = 0; r < row_count; ++r) {
        const int64_t e = first_number + r;
        const uint8_t* row = g_store.streams[0].data + r * row_bytes;
        if (!IsObjectNumber(e) || row[0] != 2) continue;
        const int32_t s = ClampToInt32(Field(row + w[0], w[1]));
        const int32_t x = ClampToInt32(Field(row + w[0] + w[1], w[2]));
        ObjectEntry& entry = g_store.objects[e];
        entry.generation = x;
        entry.stream_object = s;
        const ObjectStreamHeader& header = DecodeObjectStream(cache, s, &budget->object_streams);
        // A pair index beyond the pairs read, or an object that does not fit, stays unfilled.
        if (!header.present || x < 0 || x >= static_cast<int32_t>(header.pairs.size())) continue;
        AppendObject(static_cast<int32_t>(e), header, x);
    }
    ComputeSectionExtents(numbers);
}

}  // namespace

void ReadXrefStream(int32_t position) {
    // Follow /Prev to the oldest section, each position once, then read from the oldest on, so
    // that newer sections overwrite older entries.
    std::vector<int32_t> chain;
    std::unordered_set<int32_t> seen;
    char value[kEntryTextCapacity + 1];
    for (int32_t p = position; seen.insert(p).second;) {
        chain.push_back(p);
        int32_t start = p;
        int32_t end = 0;
        if (FindDictionary(start, end) != 0 || !GetKeyValue(start, end, "Prev", value)) break;
        p = TextInteger(value);
    }
    // All sections together decode no more rows, and no more object streams, than the 50-fold
    // of the file.
    const int64_t bound = int64_t{kExpansionFactor} * g_file.file_size;
    XrefBudget budget{bound, bound};
    for (size_t i = chain.size(); i-- > 0;) ReadXrefSection(chain[i], &budget);
}

}  // namespace velmora
