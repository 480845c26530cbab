// The object table's derived fields: each entry's extent within its section and its kind and
// label, which the stream reader and the report rely on.
#pragma once

#include <cstdint>

namespace velmora {

// Kind codes of ObjectEntry::kind that the reader sets.
enum ObjectKind : int32_t {
    kKindDictionary = 0,
    kKindString = 3,
    kKindName = 4,
    kKindArray = 5,
    kKindTypedDictionary = 6,
    kKindDataStream = 7,
    kKindFontReference = 8,
    kKindOther = 9,
    kKindCreator = 15,
};

inline constexpr int kLabelCharacters = 45;
inline constexpr int kShortLabelCharacters = 39;

// Which cross-reference rows have filled the entries since the load began. Sections are read
// newest first, so a row in use fills an entry no row in use has filled yet (the newest wins),
// and a free row only an entry nothing has filled. False when the row is to be passed over.
void ResetEntryClaims();
bool ClaimEntry(int64_t n, bool in_use);
bool EntryInUse(int64_t n);

// Extent of every entry stored in the file (not taken out of an object stream): the distance to
// the next higher offset of an entry in use, or to data_length. Free entries' offsets are links
// of the free list, not positions, and bound nothing.
void ComputeExtents();

void ClassifyObject(int32_t n);
void ClassifyObjects();

}  // namespace velmora
