// The document's optional content groups (the layers a CAD program exports): their names in
// Shift-JIS, their order as the viewer lists them and whether they are shown when the file opens.
#pragma once

#include <cstdint>

namespace velmora {

inline constexpr int kOptionalGroupCapacity = 1024;   // groups 1..1023; 0 stands for "no layer"
inline constexpr int kOptionalGroupNameBytes = 64;    // Shift-JIS bytes with the terminator
inline constexpr int kOptionalArrayDepth = 8;         // nesting of /Order read at most

struct OptionalGroup {
    int32_t object_number;
    char name[kOptionalGroupNameBytes];
    uint8_t visible;       // 1 when shown by default
};

// Groups 1..count in the viewer's order: /D /Order first, then the rest of /OCGs as listed.
struct OptionalContent {
    OptionalGroup groups[kOptionalGroupCapacity];
    int32_t count;
    int32_t dropped;       // groups of /OCGs beyond the capacity
};

extern OptionalContent g_optional_content;

void ResetOptionalContent();

// Reads /OCProperties of the catalog; leaves the table empty when the document has none.
void ReadOptionalContent();

// The group index (1..count) of an optional content group object, 0 when it is none of them.
int32_t OptionalGroupOfObject(int32_t object_number);

// The group that content marked with a properties object is drawn in: the object itself when
// it is a group, else the first group of its membership dictionary (/OCMD /OCGs) that the table
// holds, whatever its /P; 0 for anything else. Content belongs to one layer in the drawing.
int32_t OptionalGroupOfProperties(int32_t object_number);

// The PDF string at `position` (literal or hex) as Shift-JIS: UTF-16BE with its byte order
// mark, else PDFDocEncoding. At most `capacity` - 1 bytes; false when no string stands there.
bool ReadPdfTextString(int64_t position, int64_t end, char* out, int capacity);

}  // namespace velmora
