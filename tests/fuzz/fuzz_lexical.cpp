// libFuzzer harness for the lexical primitives: the input becomes the FileBuffer, and every scan
// runs from positions at the start, the middle and the very end, where windows reach past it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "pdf/file_buffer.h"
#include "pdf/lexical.h"
#include "store/document_store.h"

namespace {

using namespace velmora;

constexpr size_t kMaxInput = 1 << 16;       // longer inputs (whole PDFs replayed) are cut here
constexpr int kObjectsFromInput = 16;       // object entries pointed into the input
constexpr int kMaxWalkSteps = 4096;         // entry walks per dictionary
constexpr int kMaxReferences = 64;          // each ReadReference measures the whole text
constexpr int32_t kWholeValueBytes = 1 << 14;  // as long a value as a Kids list is read
constexpr size_t kTextCopyBytes = kEntryTextCapacity;  // the texts callers hand over are entry texts
constexpr const char* kKeys[] = {"Type", "T ", "Length", "Filter", "MediaBox", "Kids", "Font", ""};

char g_value[kEntryTextCapacity + 1];

// Every walk a caller makes must move forward; a step that does not would hang the reader.
void RequireProgress(int64_t before, int64_t after) {
    if (after <= before) std::abort();
}

void ExerciseTextFunctions(char* text) {
    int32_t number = 0, generation = 0;
    char letter = 0;
    int steps = 0;
    for (int i = 0; i != -1 && steps < kMaxReferences; ++steps) {
        const int next = ReadReference(i, text, &number, &generation, &letter);
        if (next != -1) RequireProgress(i, next);
        i = next;
    }
    int32_t resolved = 0;
    ResolveInteger(text, &resolved);
    const int length = static_cast<int>(std::strlen(text));
    double value = 0;
    for (int i = 0; i < length;) {
        const int next = ReadNumber(i, text, &value);
        RequireProgress(i, next);
        i = next;
    }
    ReadNumber(length + 1, text, &value);
    NormalizeText(text, length / 2);
}

void ExerciseDictionary(int32_t start, int32_t end) {
    for (const char* key : kKeys) {
        if (FindKey(start, end, key) > 0) {
            ExerciseTextFunctions(MatchedEntry);
            ExerciseTextFunctions(EntryText);
        }
        if (GetKeyValue(start, end, key, g_value)) {
            // The whole value begins with the cut one (which a NUL byte in the file may end early).
            std::string whole;
            if (!GetWholeKeyValue(start, end, key, kWholeValueBytes, &whole)) std::abort();
            const size_t cut = std::strlen(g_value);
            if (whole.size() < cut || whole.compare(0, cut, g_value) != 0) std::abort();
            ExerciseTextFunctions(g_value);
        }
    }
    // Step through the dictionary entry by entry, as the resource reader does.
    int32_t begin = start;
    for (int steps = 0; steps < kMaxWalkSteps; ++steps) {
        const int32_t advance = FindKey(begin, end, "");
        if (advance <= 0) break;
        RequireProgress(begin, begin + advance - 1);
        begin += advance - 1;
    }
    for (int32_t p = start, steps = 0; p != 0 && steps < kMaxWalkSteps; ++steps) {
        const int32_t next = ReadNextEntry(p, end);
        if (next != 0) RequireProgress(p, next);
        p = next;
    }
}

void ExercisePosition(int32_t position, int32_t length) {
    FindKeyword(position, "stream");
    FindKeyword(position, "Linearized");
    IsObjectHeader(position, -1);
    IsObjectHeader(position, static_cast<int32_t>(ByteAt(position)) - '0');

    int32_t start = position, end = 0;
    if (FindDictionary(start, end) == 0) ExerciseDictionary(start, end);
    start = position, end = length;
    if (FindDictionary(start, end) == 0) ExerciseDictionary(start, end + 1);
    start = position, end = 0;
    if (FindArray(start, end) == 0) ExerciseDictionary(start, end);

    // Callers' ends behind data_length must not widen any scan.
    ExerciseDictionary(position, length + kOpenerWindow);
    ReadNextEntry(position, length);
}

void PointObjectsIntoInput(int32_t length) {
    for (int n = 0; n < kObjectsFromInput; ++n) {
        g_store.objects[n].offset = static_cast<int32_t>(int64_t{length} * n / kObjectsFromInput);
        g_store.objects[n].extent = length - g_store.objects[n].offset + 8;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    size = std::min(size, kMaxInput);
    if (!AllocateFileBuffer(static_cast<int64_t>(size))) return 0;
    if (size > 0) std::memcpy(g_file.data, data, size);
    const auto length = static_cast<int32_t>(size);
    g_file.data_length = length;
    PointObjectsIntoInput(length);

    // One position is chosen by the input itself, anywhere from before the start to past the end.
    const int32_t chosen = length < 2 ? 0 : (data[0] << 8 | data[1]) % (length + 2 * kOpenerWindow) - kOpenerWindow;
    for (int32_t position : {0, 1, length / 3, length / 2, length - kOpenerWindow, length - 2, length - 1, length, chosen}) {
        ExercisePosition(position, length);
    }
    std::string text(reinterpret_cast<const char*>(data), std::min(size, kTextCopyBytes));
    ExerciseTextFunctions(text.data());

    for (int n = 0; n < kObjectsFromInput; ++n) g_store.objects[n] = ObjectEntry{};
    ReleaseFileBuffer();
    return 0;
}
