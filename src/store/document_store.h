// The program-wide document store: one loaded PDF and the conversion of its current page.
#pragma once

#include <cstdint>

#include "store/capacities.h"
#include "store/records.h"

namespace velmora {

// How the open file was converted: directly, or from Ghostscript's rewritten copy.
enum class ConversionRoute : int32_t { kNone = 0, kDirect = 1, kGhostscript = 2 };
// Which Ghostscript wrote the intermediate file (the report names its word size).
enum class GhostscriptMarker : int32_t { kNone = 0, k32Bit = 32, k64Bit = 64 };

// State of the page being converted, kept beside the tables.
struct ConversionState {
    int32_t line_count;
    int32_t text_count;
    int32_t pool_used;            // TextPool bytes in use
    int32_t total_segments;
    int32_t total_texts;
    int32_t nonempty_texts;
    int32_t figure_counter;
    double line_width;            // points
    int32_t pen_style;            // 1, 3 or 5
    double font_size;
    int32_t font_number;
    int32_t dash_merge_done;
    int32_t dash_merged_count;    // records the dash merging marked merged away (the JWW writer reads it)
    double text_matrix_linear[4]; // a, b, c, d of the text matrix
};

struct DocumentStore {
    // Heap tables, allocated once at start-up.
    LineRecord* lines;
    TextRecord* texts;
    char* text_pool;

    // Static tables.
    PageRecord pages[kPageTableSize];
    // Page records 1..ready have been given their start values since the program started (the
    // rest are still zero); records 1..dirty may have changed since the last file reset; records
    // 1..objects_dirty may name a page object. A reset touches only what these say was used.
    int32_t page_records_ready;
    int32_t page_records_dirty;
    int32_t page_objects_dirty;
    DecodedStream streams[kDecodedStreamCapacity + 1];
    int32_t stream_count;
    FontDef fonts[kFontCapacity];
    char base_font_names[kFontCapacity][kFontNameBytes];
    char jww_font_names[kFontCapacity][kFontNameBytes];
    int32_t font_count;
    CidMapEntry cid_map[kCidMapEntries];
    DuplicateEntry duplicates[kDuplicateCapacity + 1];
    int32_t duplicate_count;
    // Characters by one-byte code of the Differences read last (codes 1..count; code 0 unused).
    char differences_table[kOneByteCodes];
    int32_t differences_count;
    // Heap, like the record tables: each load takes it fresh and zeroed, so a small file never
    // pays for the 100,000 entries a large one may fill (see ClearObjectTable).
    ObjectEntry* objects;
    int32_t object_count;
    int32_t text_size_histogram[kTextSizeClasses];

    // Document-level values of the driver.
    ConversionRoute conversion_route;
    GhostscriptMarker ghostscript_marker;
    int32_t converted_flag;
    int32_t current_page;
    int32_t page_count;

    ConversionState conversion;
};

extern DocumentStore g_store;

// Allocates the heap tables. False when any allocation failed (the caller ends the program).
bool AllocateStoreTables();
void ReleaseStoreTables();

// The store's part of the reset a new file gets (ResetForFile in convert/ adds the other folders').
void ResetStoreForFile();
void ResetForPage(int page);
void FreePageStreams();

// Page records 1..`last` come into use (the page tree numbers them, a page is converted): those
// not used since start-up get their start values, and the next file reset clears them all.
void UsePageRecords(int last);
// Sets page `page`'s page object, for the next load to clear.
void SetPageObject(int page, int32_t object);
// The page objects of the last file cleared, before a new file is numbered.
void ClearPageObjects();
// Every object entry zero: a fresh zeroed table replaces the used one (the old one is cleared
// in place when no new memory is to be had).
void ClearObjectTable();

// The current page's line records that may be read: its count bounded by the table, 0 while the
// table is not allocated.
int32_t ReadableLineCount();

// The per-conversion values the driver resets before each page.
void ResetConversionCounters(bool reset_dash_merge_flag);

}  // namespace velmora
