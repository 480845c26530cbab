// Values inside a font's dictionaries read by exact key: the encoding, its base and
// Differences, the descendant font's character collection. The prefix lookups of the reader
// cannot tell /Encoding from /BaseEncoding, nor read a name value or an array behind an
// entry's 1024 characters; these scans read the file's bytes within the dictionary's bounds.
#pragma once

#include <cstdint>
#include <string>

namespace velmora {

inline constexpr int kFontValueNameBytes = 128;  // longest name value kept, with its terminator

enum FontValueKind : int32_t {
    kFontValueNone = 0,
    kFontValueName,        // name: the name without "/"
    kFontValueDictionary,  // start after "<<", end at the last ">" of ">>" (as DictionaryBounds)
    kFontValueArray,       // start after "[", end at its "]"
    kFontValueString,      // start after "(", end at its ")"
    kFontValueOther,       // a number or anything else, from start
};

struct FontValue {
    FontValueKind kind;
    int32_t start;
    int32_t end;
    char name[kFontValueNameBytes];
};

// The value of `key` among the entries of the dictionary [begin, end] (bounds as DictionaryBounds
// gives them), nested values stepped over; a reference is followed to its object's dictionary,
// array or name. False when the key is not an entry of this dictionary.
bool FindFontValue(int32_t begin, int32_t end, const char* key, FontValue* value);

// Reads the next item of an array from `position` (below `end`): true with a number or a name;
// `position` moves past what was read.
bool NextArrayItem(int32_t& position, int32_t end, bool* is_number, double* number, char* name);

// Calls `visit(is_number, number, name)` for each number or name of an array value; other
// items are stepped over.
template <typename Visit>
void ForEachArrayItem(const FontValue& array, Visit visit) {
    if (array.kind != kFontValueArray) return;
    int32_t position = array.start;
    bool is_number = false;
    double number = 0.0;
    char name[kFontValueNameBytes];
    while (position < array.end) {
        if (!NextArrayItem(position, array.end, &is_number, &number, name)) continue;
        visit(is_number, number, name);
    }
}

}  // namespace velmora
