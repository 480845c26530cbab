// Facts of the loaded document that the loader reads from the header and the trailer; the
// report prints them. The object count and the page count live in g_store beside the tables.
#pragma once

#include <cstdint>

namespace velmora {

inline constexpr int kVersionTextBytes = 8;
inline constexpr int kCreatorTextBytes = 100;

struct ObjectReference {
    int32_t number;
    int32_t generation;
    char letter;  // normally 'R'
};

struct DocumentValues {
    int32_t first_object_number;  // of the cross-reference section read last
    int32_t trailer_size;
    ObjectReference root;
    ObjectReference info;
    int32_t xref_stream_flag;     // 1 when the cross-reference at startxref was a stream
    char version_text[kVersionTextBytes];  // the 7 bytes after the file's first byte
    char creator_text[kCreatorTextBytes];
    int32_t page_tree_root;       // object number of the root Pages node
    int32_t xref_rebuilt;
    ObjectReference encrypt;      // the newest trailer's /Encrypt (number 0: none)
    int32_t id_start, id_end;     // bounds of the newest trailer dictionary with an /ID         // 1 when the object table was rebuilt by scanning the file
};

extern DocumentValues g_document;

void ResetDocumentValues();

}  // namespace velmora
