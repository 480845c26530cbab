// The object table rebuilt from the file's own object headers, for files whose cross-reference
// is missing or names positions where the objects are not.
#pragma once

#include <cstdint>

namespace velmora {

// True when the table just read cannot be trusted: the Root or an entry in use stored in the file
// does not begin with its own object number.
bool CrossReferenceIsDamaged();

// One pass over the file's bytes for "N G obj" (the last definition of a number wins) and
// "trailer"; objects in object streams found by /Type /ObjStm; Root from the last trailer (or
// cross-reference stream), else from the last /Type /Catalog. Returns the bytes examined.
int64_t RebuildCrossReference();

}  // namespace velmora
