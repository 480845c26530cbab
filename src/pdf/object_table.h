// The object table's derived fields: each entry's extent within its section and its kind and
// label, which the stream reader and the report rely on.
#pragma once

#include <cstdint>
#include <vector>

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

// Extent of every listed entry: the distance to the next higher offset among the entries listed
// after it, or to data_length. `numbers` holds the section's object numbers in section order.
void ComputeSectionExtents(const std::vector<int32_t>& numbers);

void ClassifyObject(int32_t n);
void ClassifyObjects();

}  // namespace velmora
