#include "convert/page_setup.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "content/line_emitter.h"
#include "fonts/font_resources.h"
#include "pdf/dictionary_values.h"
#include "pdf/error_list.h"
#include "pdf/lexical.h"
#include "pdf/page_tree.h"
#include "pdf/reader_bytes.h"
#include "pdf/stream_decoding.h"

namespace velmora {

namespace {

// Bytes of Contents arrays read per page at most: room for every one of a page's 256 references
// with generous spacing. A value cut at an entry's 1024 characters would lose streams behind the
// 100th; the per-page total keeps many references to one long array object from repeating it.
constexpr int32_t kContentArrayBytes = kContentsPerPage * 64;

// What one page's Contents may still cost: bytes decoded (50 times the file) and array bytes read;
// and how many of its streams were tried and how many decoded without a failure.
struct ContentBudget {
    int64_t decoded;
    int64_t array_bytes;
    int tried;
    int decoded_whole;
};

bool g_unreadable[kPageTableSize];

bool RecordedSince(int first, int code) {
    for (int i = first; i < g_errors.count; ++i) {
        if (g_errors.codes[i] == code) return true;
    }
    return false;
}

// A stream whose dictionary says /Length 0: an empty page, which decodes to nothing.
bool StreamDeclaredEmpty(int32_t object_number) {
    int32_t start = 0, end = 0;
    char value[kEntryTextCapacity + 1];
    if (!DictionaryBounds(object_number, &start, &end) || !GetKeyValue(start, end, "Length", value)) return false;
    double length = -1.0;
    ReadNumber(0, value, &length);
    return length == 0.0;
}

// Appends one content stream to the page's list and decodes it; streams beyond the list's
// 256 places are left out. Contents may name one stream 256 times, and each decoding may reach
// 50 times the rest of the file: the page's decoded bytes are bounded together.
void AddContentStream(int page, int32_t object_number, ContentBudget* budget) {
    PageRecord& record = g_store.pages[page];
    if (record.contents_count < 0 || record.contents_count >= kContentsPerPage) return;
    if (budget->decoded <= 0) {
        RecordError(kWarningLinesNotInflated);
        return;
    }
    record.contents_objects[record.contents_count++] = object_number;
    const int first_error = g_errors.count;
    const int entry = LoadStreamObject(object_number, page);
    const bool failed = RecordedSince(first_error, kWarningLinesNotInflated) || RecordedSince(first_error, kWarningTextsNotInflated);
    // A stream of no bytes (/Length 0: an empty page) is read, not lost.
    if (entry < 0 && !failed && StreamDeclaredEmpty(object_number)) return;
    ++budget->tried;
    if (entry >= 0) budget->decoded -= g_store.streams[entry].length;
    // A full error list hides a failure; the stream then counts as read.
    if (entry >= 0 && !failed) ++budget->decoded_whole;
}

// Contents given as a reference to an array object: the references between its brackets.
void AddContentArray(int page, int32_t array_object, ContentBudget* budget) {
    if (!IsObjectNumber(array_object)) return;
    const ObjectEntry& object = g_store.objects[array_object];
    int32_t start = object.offset;
    int32_t end = ObjectEnd(array_object);
    if (object.extent <= 0) return;
    if (FindArray(start, end) != 0) {  // no "[": the whole extent is read
        start = object.offset;
        end = ObjectEnd(array_object);
    }
    const int64_t length = std::clamp<int64_t>(int64_t{end} - start, 0, budget->array_bytes);
    budget->array_bytes -= length;
    std::string text(static_cast<size_t>(length), '\0');
    for (size_t k = 0; k < text.size(); ++k) text[k] = static_cast<char>(ByteAt(static_cast<int32_t>(start + k)));
    int32_t n = 0, generation = 0;
    char letter = 0;
    for (int position = 0; (position = ReadReference(position, text.c_str(), &n, &generation, &letter)) != -1;) {
        AddContentStream(page, n, budget);
    }
}

// A box given by reference ("27 0 R", as cairo writes a page's MediaBox) becomes the text of
// that object's array; read as numbers, the reference would give the corner 27 0.
void ResolveBoxReference(char* value) {
    if (std::strchr(value, '[') != nullptr) return;
    int32_t object = 0, generation = 0;
    char letter = 0;
    if (ReadReference(0, value, &object, &generation, &letter) == -1 || letter != 'R' || !IsObjectNumber(object) ||
        g_store.objects[object].offset <= 0) {
        return;
    }
    int32_t start = g_store.objects[object].offset;
    int32_t end = ObjectEnd(object);
    if (FindArray(start, end) != 0) return;
    const int32_t length = std::min(end - start, kEntryTextCapacity - 2);
    value[0] = '[';
    for (int32_t k = 0; k < length; ++k) value[1 + k] = static_cast<char>(ByteAt(int64_t{start} + k));
    value[1 + length] = ']';
    value[2 + length] = '\0';
}

// Four finite numbers, put in order as lower-left and upper-right corners.
bool ReadBox(char* value, double box[4]) {
    ResolveBoxReference(value);
    if (std::strchr(value, '[') == nullptr) return false;
    int index = 1;
    for (int k = 0; k < 4; ++k) {
        index = ReadNumber(index, value, &box[k]);
        if (!std::isfinite(box[k])) return false;
    }
    if (box[0] > box[2]) std::swap(box[0], box[2]);
    if (box[1] > box[3]) std::swap(box[1], box[3]);
    return true;
}

// Narrows the MediaBox to its overlap with the CropBox; true when that hides part of it. A crop
// box that misses the page or leaves it no area is taken as absent.
bool ClipToCropBox(double box[4], const double crop[4]) {
    const double x0 = std::max(std::min(box[0], box[2]), crop[0]);
    const double y0 = std::max(std::min(box[1], box[3]), crop[1]);
    const double x1 = std::min(std::max(box[0], box[2]), crop[2]);
    const double y1 = std::min(std::max(box[1], box[3]), crop[3]);
    if (!(x0 < x1 && y0 < y1)) return false;
    if (x0 == box[0] && y0 == box[1] && x1 == box[2] && y1 == box[3]) return false;
    box[0] = x0;
    box[1] = y0;
    box[2] = x1;
    box[3] = y1;
    return true;
}

}  // namespace

bool PageContentUnreadable(int page) { return page >= 1 && page < kPageTableSize && g_unreadable[page]; }

bool SetUpPage(int page) {
    if (page < 1 || page > kMaxPages) return false;
    g_unreadable[page] = false;
    PageRecord& record = g_store.pages[page];
    const int32_t n = record.page_object;
    if (!IsObjectNumber(n)) {
        RecordError(kErrorNoPage);
        return false;
    }
    // The page object's extent is searched directly; MediaBox, Rotate and Resources may also
    // stand in a node above it. Every page may name one object with a long extent, so the
    // searches draw on the scan budget.
    const int32_t begin = g_store.objects[n].offset;
    const int32_t end = ObjectEnd(n);
    if (!SpendScanBudget(int64_t{end} - begin)) return false;
    char value[kEntryTextCapacity + 1];
    DictionarySpan holder{};
    if (FindKey(begin, end, "Type") == 0 || !FindPageAttribute(n, "MediaBox", &holder) ||
        !GetKeyValue(holder.start, holder.end, "MediaBox", value)) {
        RecordError(kErrorNoPage);
        return false;
    }
    double box[4];
    ResolveBoxReference(value);
    for (int k = 0, index = 1; k < 4; ++k) index = ReadNumber(index, value, &box[k]);
    double crop[4];
    const bool has_crop = FindPageAttribute(n, "CropBox", &holder) &&
                          GetKeyValue(holder.start, holder.end, "CropBox", value) && ReadBox(value, crop);
    record.crop_hides = has_crop && ClipToCropBox(box, crop) ? 1 : 0;
    // The page frame starts at the visible box's lower-left corner; the box is kept moved to 0 0.
    record.frame_origin[0] = box[0];
    record.frame_origin[1] = box[1];
    box[2] -= box[0];
    box[3] -= box[1];
    box[0] = box[1] = 0.0;
    double rotation = 0.0;
    if (FindPageAttribute(n, "Rotate", &holder) && GetKeyValue(holder.start, holder.end, "Rotate", value)) {
        ReadNumber(1, value, &rotation);
    }
    record.rotation = rotation;
    // A page turned by a quarter or three quarters is as wide as the box is high.
    if (QuarterTurns(rotation) % 2 == 1) std::swap(box[2], box[3]);
    std::memcpy(record.media_box, box, sizeof box);

    // A page without Resources, its own or inherited, has no fonts and no named resources; its
    // paths need none.
    std::string resources;
    if (FindPageAttribute(n, "Resources", &holder) && GetKeyValue(holder.start, holder.end, "Resources", value)) {
        // A Resources value longer than an entry's text is read whole, for the fonts behind the cut.
        resources = value;
        CompleteCutValue(holder.start, holder.end, "Resources", kFontResourcesTextBytes, &resources);
    }
    // Fonts that cannot be found leave the page without fonts, not without its drawing.
    if (!ResolveFontResources(&resources)) resources.clear();
    RegisterPageFonts(page, resources.c_str());

    if (!GetKeyValue(begin, end, "Contents", value)) {
        RecordError(kErrorNoPage);
        return false;
    }
    record.contents_count = 0;
    // All of a page's content together decodes to no more than the 50-fold of the file.
    ContentBudget budget{int64_t{kExpansionFactor} * g_file.file_size, kContentArrayBytes, 0, 0};
    std::string contents = value;
    CompleteCutValue(begin, end, "Contents", kContentArrayBytes, &contents);
    int32_t c = 0, generation = 0;
    char letter = 0;
    for (int position = 1; (position = ReadReference(position, contents.c_str(), &c, &generation, &letter)) != -1;) {
        int32_t start = 0, dictionary_end = 0;
        if (DictionaryBounds(c, &start, &dictionary_end)) {
            AddContentStream(page, c, &budget);
        } else {
            AddContentArray(page, c, &budget);
        }
    }
    if (budget.tried > 0 && budget.decoded_whole == 0) {
        g_unreadable[page] = true;
        RecordError(kWarningContentUnreadable);
    }
    return true;
}

}  // namespace velmora
