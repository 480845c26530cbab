#include "pdf/stream_decoding.h"

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "pdf/bounded_inflate.h"
#include "pdf/error_list.h"
#include "pdf/expansion_statistics.h"
#include "pdf/lexical.h"
#include "pdf/reader_bytes.h"
#include "pdf/security_handler.h"

namespace velmora {

namespace {

constexpr int kStreamKeywordLength = 6;               // "stream"
// Decoded lengths are 32-bit; the entry's spare bytes must fit as well.
constexpr uint64_t kLargestDecodedLength = INT32_MAX - 64;

// The entry a decoded stream goes to: entry 0 for page 0, otherwise the next one, the last
// entry being reused once the table is full.
int ChooseEntry(int page) {
    if (page == 0) {
        g_store.stream_count = 0;
        return 0;
    }
    const int entry = std::clamp(g_store.stream_count + 1, 1, kDecodedStreamCapacity);
    g_store.stream_count = entry;
    return entry;
}

// Hands `data` (malloc'd, `length` bytes plus spare room, or null) to the entry, freeing what
// the entry held before. An entry owns a buffer only while its length is above 0.
void GiveEntry(int entry, int page, uint8_t* data, int32_t length) {
    DecodedStream& stream = g_store.streams[entry];
    std::free(stream.data);
    stream.page_number = page;
    if (length > 0 && data != nullptr) {
        stream.data = data;
        stream.length = length;
    } else {
        std::free(data);
        stream.data = nullptr;
        stream.length = 0;
    }
}

bool LabelNamesFlate(const ObjectEntry& entry) {
    const std::string_view label(entry.label, strnlen(entry.label, kObjectLabelBytes));
    return label.find("FlateDecode") != std::string_view::npos;
}

}  // namespace

int32_t LocateStream(int32_t dict_start, int32_t dict_end, int32_t* data_offset) {
    char value[kEntryTextCapacity + 1];
    if (!GetKeyValue(dict_start, dict_end, "Length", value)) return 0;
    int32_t length = 0;
    if (!ResolveInteger(value, &length)) length = 0;
    const int keyword = FindKeyword(dict_end, "stream");
    if (keyword < 0) return 0;
    const int64_t after = int64_t{dict_end} + keyword + kStreamKeywordLength;
    if (ByteAt(after) == '\n') {
        *data_offset = keyword + kStreamKeywordLength + 1;
    } else if (ByteAt(after) == '\r' && ByteAt(after + 1) == '\n') {
        *data_offset = keyword + kStreamKeywordLength + 2;
    } else {
        RecordError(kErrorNoStreamStart);
        return 0;
    }
    // A length the buffer cannot hold is cut to the bytes that follow.
    const int64_t available = int64_t{g_file.data_length} - dict_end - *data_offset;
    return ClampToInt32(std::clamp<int64_t>(length, 0, std::max<int64_t>(available, 0)));
}

namespace {

// `length` bytes at `position` inflated within the 50-fold bound, and the input size taken.
struct Inflated {
    InflatedBytes bytes;
    int32_t input;
};

Inflated InflateBytes(const uint8_t* data, int32_t length) {
    const auto input = static_cast<uint32_t>(std::max<int32_t>(length, 0));
    const uint64_t bound = std::min<uint64_t>(uint64_t{input} * kExpansionFactor, kLargestDecodedLength);
    return Inflated{InflateBounded(data, input, bound, kEntrySpareBytes, Z_FINISH), static_cast<int32_t>(input)};
}

Inflated InflateAt(int32_t position, int32_t length) {
    const int64_t available = int64_t{g_file.data_length} - position;
    return InflateBytes(g_file.data + position, static_cast<int32_t>(std::min<int64_t>(length, available)));
}

// The statistics and the error code of one inflated stream.
void NoteInflated(const Inflated& inflated, int page) {
    NoteExpansion(inflated.input, static_cast<int32_t>(inflated.bytes.length), page);
    if (inflated.bytes.failed) RecordError(kWarningLinesNotInflated);
}

constexpr char kEndstream[] = "endstream";
constexpr int kEndstreamLength = 9;
constexpr int kEndOfLineSlack = 4;  // white space a writer may put between the data and "endstream"

// A Length that does not end at "endstream" (a damaged file, often one whose cross-reference is
// damaged too) is replaced by the data up to the first "endstream" in the object; one scan of
// the object's bytes at most.
int32_t CheckedStreamLength(int32_t position, int32_t length, int32_t object_end) {
    const int64_t stated_end = int64_t{position} + length;
    for (int k = 0; k <= kEndOfLineSlack; ++k) {
        if (BytesEqual(stated_end + k, kEndstream, kEndstreamLength)) return length;
    }
    const int64_t limit = std::min<int64_t>(object_end, g_file.data_length);
    for (int64_t p = position; p + kEndstreamLength <= limit; ++p) {
        if (g_file.data[p] != 'e' || std::memcmp(g_file.data + p, kEndstream, kEndstreamLength) != 0) continue;
        int64_t end = p;
        if (end > position && g_file.data[end - 1] == '\n') --end;
        if (end > position && g_file.data[end - 1] == '\r') --end;
        return ClampToInt32(end - position);
    }
    return length;
}

// Where object n's stream data lies and whether its label names FlateDecode.
bool LocateObjectData(int32_t object_number, int32_t* position, int32_t* length, bool* flate) {
    if (!IsObjectNumber(object_number)) return false;
    const ObjectEntry& object = g_store.objects[object_number];
    if (!IsObjectHeader(object.offset, object_number)) return false;
    int32_t start = object.offset;
    int32_t end = ClampToInt32(int64_t{object.offset} + object.extent - 1);
    if (FindDictionary(start, end) != 0) return false;
    int32_t data_offset = 0;
    *length = LocateStream(start, end, &data_offset);
    if (*length <= 0) return false;
    *position = ClampToInt32(int64_t{end} + data_offset);
    *length = CheckedStreamLength(*position, *length, ObjectEnd(object_number));
    *flate = LabelNamesFlate(object);
    return true;
}

// A raw copy of the stream data with the spare bytes zeroed; null (and 11) when memory is short.
uint8_t* CopyFrom(const uint8_t* data, int32_t length) {
    auto* copy = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(std::max<int32_t>(length, 0)) + kEntrySpareBytes));
    if (copy == nullptr) {
        RecordError(kErrorMemory);
        return nullptr;
    }
    if (length > 0) std::memcpy(copy, data, static_cast<size_t>(length));
    std::memset(copy + std::max<int32_t>(length, 0), 0, kEntrySpareBytes);
    return copy;
}

// The stream's bytes as the filters see them: decrypted with the object's key in a protected
// file, else the file's own bytes.
struct StreamBytes {
    std::vector<uint8_t> decrypted;
    const uint8_t* data;
    int32_t length;
};

void TakeStreamBytes(int32_t object_number, int32_t position, int32_t length, StreamBytes* bytes) {
    bytes->data = g_file.data + position;
    bytes->length = length;
    if (DecryptStream(object_number, g_store.objects[object_number].generation, bytes->data, length, &bytes->decrypted)) {
        bytes->data = bytes->decrypted.data();
        bytes->length = static_cast<int32_t>(bytes->decrypted.size());
    }
}

}  // namespace

int InflateStream(int page, int32_t position, int32_t length) {
    const int64_t available = int64_t{g_file.data_length} - position;
    if (length <= 0 || position < 0 || available <= 0) return -1;
    const Inflated inflated = InflateAt(position, length);
    const int entry = ChooseEntry(page);
    GiveEntry(entry, page, inflated.bytes.data, static_cast<int32_t>(inflated.bytes.length));
    NoteInflated(inflated, page);
    return entry;
}

int LoadStreamObject(int32_t object_number, int page) {
    int32_t position = 0, length = 0;
    bool flate = false;
    if (!LocateObjectData(object_number, &position, &length, &flate)) return -1;
    StreamBytes bytes{};
    TakeStreamBytes(object_number, position, length, &bytes);
    if (flate) {
        if (bytes.length <= 0) return -1;
        const Inflated inflated = InflateBytes(bytes.data, bytes.length);
        const int entry = ChooseEntry(page);
        GiveEntry(entry, page, inflated.bytes.data, static_cast<int32_t>(inflated.bytes.length));
        NoteInflated(inflated, page);
        return entry;
    }
    uint8_t* copy = CopyFrom(bytes.data, bytes.length);
    const int entry = ChooseEntry(page);
    GiveEntry(entry, page, copy, copy != nullptr ? bytes.length : 0);
    return entry;
}

bool DecodeStreamObject(int32_t object_number, int page, DecodedStream* out) {
    *out = DecodedStream{page, nullptr, 0};
    int32_t position = 0, length = 0;
    bool flate = false;
    if (!LocateObjectData(object_number, &position, &length, &flate)) return false;
    StreamBytes bytes{};
    TakeStreamBytes(object_number, position, length, &bytes);
    if (flate) {
        const Inflated inflated = InflateBytes(bytes.data, bytes.length);
        NoteInflated(inflated, page);
        out->data = inflated.bytes.data;
        out->length = static_cast<int32_t>(inflated.bytes.length);
    } else {
        out->data = CopyFrom(bytes.data, bytes.length);
        out->length = bytes.length;
    }
    if (out->data == nullptr || out->length <= 0) {
        std::free(out->data);
        *out = DecodedStream{page, nullptr, 0};
        return false;
    }
    return true;
}

int32_t UndoUpPredictor(uint8_t* data, int32_t length, int32_t columns) {
    if (data == nullptr || length <= 0 || columns <= 0 || columns >= INT32_MAX) return 0;
    const int64_t row_bytes = int64_t{columns} + 1;
    const int64_t rows = length / row_bytes;
    // Rows are written compactly from the start: a row's target never lies behind its source.
    for (int64_t r = 0; r < rows; ++r) {
        const uint8_t* source = data + r * row_bytes + 1;
        uint8_t* target = data + r * columns;
        for (int64_t c = 0; c < columns; ++c) {
            const uint8_t above = r > 0 ? target[c - columns] : 0;
            target[c] = static_cast<uint8_t>(source[c] + above);
        }
    }
    return static_cast<int32_t>(rows * columns);
}

}  // namespace velmora
