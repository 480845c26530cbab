// Values of dictionary entries that are themselves dictionaries or references: a page's
// resources, its parent chain, and the named entries of resource dictionaries.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmora {

// A dictionary's bounds as FindDictionary leaves them: from just after "<<" to the last ">".
struct DictionarySpan {
    int32_t start;
    int32_t end;
};

// The value of the entry named exactly `name`, when it is a direct dictionary or a reference to
// an object holding one.
bool DictionaryValue(DictionarySpan within, const char* name, DictionarySpan* value);

// An entry whose value is a dictionary written in place.
struct NamedDictionary {
    std::string name;
    DictionarySpan span;
};
// Those entries of `within`, found in one pass over it (a resource dictionary of many fonts
// written in place is not searched again for each).
std::vector<NamedDictionary> DirectDictionaries(DictionarySpan within);

// The object number of the entry named exactly `name` when its value is a reference; -1 if not.
int32_t ReferenceValue(DictionarySpan within, const char* name);

// The part of a page searched for its own entries: its object's extent.
DictionarySpan PageObjectSpan(int32_t page_object);

// Where a page attribute stands: the page object itself, or else the nearest node above it
// (through /Parent) whose dictionary has an entry beginning with `key`. False when none has.
bool FindPageAttribute(int32_t page_object, const char* key, DictionarySpan* holder);

// The page's resource dictionary, its own or inherited.
bool PageResources(int32_t page_object, DictionarySpan* resources);

}  // namespace velmora
