#include "pdf/pdf_loader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "pdf/document_values.h"
#include "pdf/error_list.h"
#include "pdf/lexical.h"
#include "pdf/object_table.h"
#include "pdf/page_tree.h"
#include "pdf/reader_bytes.h"
#include "pdf/stream_decoding.h"

namespace velmora {

namespace {

constexpr char kHeader[] = "%PDF-1.";
constexpr int kHeaderLength = 7;
constexpr int kStartxrefNearest = 15;   // the keyword must begin 15 to 34 bytes before the end
constexpr int kStartxrefFarthest = 34;
constexpr char kStartxref[] = "startxref";
constexpr int kStartxrefLength = 9;
constexpr int kXrefLineBytes = 20;      // fixed entry lines: offset, generation, type, end of line
constexpr int kGenerationColumn = 11;
constexpr int kTypeColumn = 17;
constexpr int kTrailerKeywordLength = 7;

bool BytesEqual(int64_t position, const char* text, int length) {
    for (int k = 0; k < length; ++k) {
        if (ByteAt(position + k) != static_cast<uint8_t>(text[k])) return false;
    }
    return true;
}

void StartDocument() {
    ResetDocumentValues();
    // Entries the new file does not name must not keep the previous file's positions.
    ClearObjectTable();
    g_store.object_count = 0;
    g_store.page_count = 0;
    // A page the new tree does not number (a Count larger than its pages) names no object.
    ClearPageObjects();
}

void CheckHeader() {
    for (int k = 0; k < kHeaderLength; ++k) g_document.version_text[k] = static_cast<char>(ByteAt(1 + k));
    g_document.version_text[kHeaderLength] = '\0';
    const uint8_t minor = ByteAt(kHeaderLength);
    if (!BytesEqual(0, kHeader, kHeaderLength) || minor < '1' || minor > '7') RecordError(10);
}

int32_t FindStartXref() {
    for (int i = kStartxrefNearest; i <= kStartxrefFarthest; ++i) {
        const int64_t position = int64_t{g_file.data_length} - i;
        if (position >= 0 && BytesEqual(position, kStartxref, kStartxrefLength)) {
            return IntegerAt(SkipToDigit(position + kStartxrefLength));
        }
    }
    RecordError(30);
    return 0;
}

// One classic subsection: fixed 20-byte lines, nothing in a line validated.
void ReadXrefSection(int64_t position, int32_t* after) {
    int64_t p = SkipToDigit(position + 4);
    const int32_t first = IntegerAt(p);
    p = SkipToDigit(SkipDigits(p));
    const int32_t count = IntegerAt(p);
    p = SkipToDigit(SkipDigits(p));
    g_document.first_object_number = first;
    if (count >= kObjectCapacity) {
        g_store.object_count = kObjectCapacity;
        RecordError(65);
        return;
    }
    g_store.object_count = count;
    std::vector<int32_t> numbers;
    numbers.reserve(static_cast<size_t>(std::max(count, 0)));
    for (int32_t i = 0; i < count; ++i, p += kXrefLineBytes) {
        const int64_t e = int64_t{first} + i;
        if (!IsObjectNumber(e)) continue;  // the table ends at 99,999
        ObjectEntry& entry = g_store.objects[e];
        entry.stream_object = 0;
        entry.offset = IntegerAt(p);
        entry.generation = IntegerAt(p + kGenerationColumn);
        entry.type = static_cast<char>(ByteAt(p + kTypeColumn));
        entry.kind = kKindOther;
        numbers.push_back(static_cast<int32_t>(e));
    }
    *after = ClampToInt32(p);
    ComputeSectionExtents(numbers);
}

// A section at startxref that does not start at object 0 is taken as a linearized file's
// first-page table; the main table is found through the linearization dictionary's T.
void ReadLinearizedMainTable(int32_t* trailer_position) {
    const int32_t first = g_document.first_object_number;
    if (first == 0) return;
    const int32_t first_page_count = g_store.object_count;
    int32_t dictionary_object = -1;
    for (int64_t e = first; e < int64_t{first} + first_page_count && IsObjectNumber(e); ++e) {
        if (FindKeyword(g_store.objects[e].offset, "Linearized") > 0) {
            dictionary_object = static_cast<int32_t>(e);
            break;
        }
    }
    if (dictionary_object < 0) {
        RecordError(43);
        return;
    }
    const int32_t begin = g_store.objects[dictionary_object].offset;
    const int32_t end = ObjectEnd(dictionary_object);
    if (FindKey(begin, end, "Linearized ") == 0 || FindKey(begin, end, "T ") == 0) {
        RecordError(43);
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
        RecordError(43);
        return;
    }
    const int32_t first_page_after = *trailer_position;
    int32_t main_after = 0;
    ReadXrefSection(p - 1, &main_after);
    g_store.object_count = std::min(g_store.object_count + first_page_count, kObjectCapacity);
    *trailer_position = first_page_after;  // the first-page trailer is the one read
}

void ReadCrossReference(int32_t position, int32_t* trailer_position) {
    if (BytesEqual(position, "xref", 4)) {
        ReadXrefSection(position, trailer_position);
        ReadLinearizedMainTable(trailer_position);
    } else if (IsObjectHeader(position, -1)) {
        g_document.first_object_number = 0;
        *trailer_position = -1;
        ReadXrefStream(position);
        g_document.xref_stream_flag = 1;
    } else {
        RecordError(42);
    }
}

void ReadTrailer(int32_t position) {
    int64_t p = position;
    while (p < g_file.data_length && IsPdfWhitespace(ByteAt(p))) ++p;
    if (!BytesEqual(p, "trailer", kTrailerKeywordLength)) {
        RecordError(50);
        return;
    }
    int32_t start = ClampToInt32(p + kTrailerKeywordLength);
    int32_t end = 0;
    if (FindDictionary(start, end) != 0) {
        RecordError(50);
        return;
    }
    int32_t number = 0, generation = 0;
    char letter = 0;
    for (int32_t q = start; q < end;) {
        const int32_t next = ReadNextEntry(q, end);
        if (next == 0) break;
        if (std::strncmp(EntryText, "Root", 4) == 0) {
            if (ReadReference(4, EntryText, &number, &generation, &letter) != -1) g_document.root = {number, generation, letter};
        } else if (std::strncmp(EntryText, "Info", 4) == 0) {
            if (ReadReference(4, EntryText, &number, &generation, &letter) != -1) g_document.info = {number, generation, letter};
        } else if (std::strncmp(EntryText, "Size", 4) == 0) {
            const char* space = std::strchr(EntryText, ' ');
            if (space != nullptr) g_document.trailer_size = TextInteger(space + 1);
        }
        q = next;
    }
}

}  // namespace

bool ReadDocument() {
    CheckHeader();
    if (HasFatalError()) return false;
    const int32_t startxref = FindStartXref();
    if (HasFatalError()) return false;
    int32_t trailer_position = 0;
    ReadCrossReference(startxref, &trailer_position);
    if (HasFatalError()) return false;
    if (trailer_position > 0) {
        ReadTrailer(trailer_position);
        if (HasFatalError()) return false;
    }
    ClassifyObjects();
    ReadCatalog();
    return true;
}

void LoadPdfBytes(const uint8_t* data, size_t size) {
    StartDocument();
    if (!AllocateFileBuffer(static_cast<int64_t>(size))) {
        RecordError(11);
        return;
    }
    if (size > 0) std::memcpy(g_file.data, data, size);
    g_file.data_length = static_cast<int32_t>(size);
    ReadDocument();
}

void LoadPdfFile(const char* path) {
    StartDocument();
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return;
    long size = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) size = std::ftell(file);
    std::rewind(file);
    // A size that cannot be told, or a buffer that cannot be had, is the memory error.
    if (size < 0 || !AllocateFileBuffer(size)) {
        std::fclose(file);
        RecordError(11);
        return;
    }
    const size_t read = size > 0 ? std::fread(g_file.data, 1, static_cast<size_t>(size), file) : 0;
    std::fclose(file);
    g_file.data_length = static_cast<int32_t>(read);
    g_file.file_size = static_cast<int32_t>(read);
    ReadDocument();
}

}  // namespace velmora
