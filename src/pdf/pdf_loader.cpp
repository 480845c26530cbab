#include "pdf/pdf_loader.h"

#include <cstdio>
#include <cstring>

#include "pdf/document_values.h"
#include "pdf/error_list.h"
#include "pdf/object_table.h"
#include "pdf/optional_content.h"
#include "pdf/page_tree.h"
#include "pdf/reader_bytes.h"
#include "pdf/xref_chain.h"
#include "pdf/xref_rebuild.h"
#include "pdf/security_handler.h"
#include "pdf/xref_sections.h"

namespace velmora {

namespace {

constexpr char kHeader[] = "%PDF-1.";
constexpr char kHeaderTwo[] = "%PDF-2.0";
constexpr int kHeaderLength = 7;
constexpr int kStartxrefNearest = 15;   // the keyword must begin 15 to 34 bytes before the end
constexpr int kStartxrefFarthest = 34;
constexpr char kStartxref[] = "startxref";
constexpr int kStartxrefLength = 9;

void StartDocument() {
    ResetDocumentValues();
    ResetDecryption();
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
    const bool one = BytesEqual(0, kHeader, kHeaderLength) && minor >= '1' && minor <= '7';
    // PDF 2.0 adds keys the reader passes over like any unknown key.
    const bool two = BytesEqual(0, kHeaderTwo, kHeaderLength + 1);
    if (!one && !two) RecordError(kErrorNoHeader);
}

// Takes the codes recorded since `first` off the list: the cross-reference that failed is
// replaced by the rebuilt one, and only the rebuild is worth a word.
void ForgetCodesFrom(int first) {
    if (g_errors.count > first) g_errors.count = first;
}

int32_t FindStartXref() {
    for (int i = kStartxrefNearest; i <= kStartxrefFarthest; ++i) {
        const int64_t position = int64_t{g_file.data_length} - i;
        if (position >= 0 && BytesEqual(position, kStartxref, kStartxrefLength)) {
            return IntegerAt(SkipToDigit(position + kStartxrefLength));
        }
    }
    RecordError(kErrorNoXref);
    return 0;
}

}  // namespace

bool g_rebuild_damaged_cross_reference = true;

bool ReadDocument() {
    CheckHeader();
    if (HasFatalError()) return false;
    // A missing or damaged cross-reference is rebuilt from the objects' own headers.
    const int before_xref = g_errors.count;
    const int32_t startxref = FindStartXref();
    if (!HasFatalError()) ReadCrossReference(startxref);
    if (g_rebuild_damaged_cross_reference && (HasFatalError() || CrossReferenceIsDamaged())) {
        ForgetCodesFrom(before_xref);
        RebuildCrossReference();
        RecordError(kWarningXrefRebuilt);
    } else if (!HasFatalError()) {
        // Object streams of a protected file are decrypted like any stream.
        PrepareDecryption();
        if (!HasFatalError()) ExpandObjectStreams();
    }
    if (HasFatalError()) return false;
    ClassifyObjects();
    ReadCatalog();
    ReadOptionalContent();
    return true;
}

namespace {

// A buffer for a file of `size` bytes; a size that cannot be told (negative) or a buffer that
// cannot be had is the memory error.
bool PrepareFileBuffer(int64_t size) {
    if (size >= 0 && AllocateFileBuffer(size)) return true;
    RecordError(kErrorMemory);
    return false;
}

// The `placed` bytes now in the buffer are the file.
void ReadFileBuffer(size_t placed) {
    g_file.data_length = static_cast<int32_t>(placed);
    g_file.file_size = static_cast<int32_t>(placed);
    ReadDocument();
}

}  // namespace

void LoadPdfBytes(const uint8_t* data, size_t size) {
    StartDocument();
    if (!PrepareFileBuffer(static_cast<int64_t>(size))) return;
    if (size > 0) std::memcpy(g_file.data, data, size);
    ReadFileBuffer(size);
}

void LoadPdfFile(const char* path) {
    StartDocument();
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return;
    long size = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) size = std::ftell(file);
    std::rewind(file);
    if (!PrepareFileBuffer(size)) {
        std::fclose(file);
        return;
    }
    const size_t read = size > 0 ? std::fread(g_file.data, 1, static_cast<size_t>(size), file) : 0;
    std::fclose(file);
    ReadFileBuffer(read);
}

}  // namespace velmora
