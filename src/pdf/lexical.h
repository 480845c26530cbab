// Scanning primitives of the PDF reader. The reader never builds an object model: it answers
// narrow questions by scanning FileBuffer (or a caller's terminated text) with fixed windows.
// Every scan is bounded by g_file.data_length or by the text's terminator.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "pdf/error_codes.h"

namespace velmora {

inline constexpr int kEntryTextCapacity = 1024;  // characters, plus a terminator
inline constexpr int32_t kOpenerWindow = 300;    // bytes searched for "<<" or "["
inline constexpr int32_t kKeywordWindow = 100;   // offsets searched by FindKeyword

// Scratch texts left by the dictionary-entry scans.
extern char EntryText[kEntryTextCapacity + 1];
extern char MatchedEntry[kEntryTextCapacity + 1];

// Takes `bytes` from the file's scan budget (FileBuffer::scan_budget); false once it is spent.
// The first overrun records code 61.
bool SpendScanBudget(int64_t bytes);

bool IsPdfWhitespace(uint8_t c);   // "\t\n\f\r "
bool IsNumberCharacter(uint8_t c); // "+-.0123456789"

// Smallest i in 0..99 with `keyword` at position + i; -1 if none.
int FindKeyword(int32_t position, const char* keyword);

// "<<" searched from `start` up to `end` (exclusive; `start` + 300 when `end` is 0). On success
// `start` = just after "<<", `end` = the last ">" of the matching ">>", returns 0; else 61.
int FindDictionary(int32_t& start, int32_t& end);
// The same for "[" and "]".
int FindArray(int32_t& start, int32_t& end);

// Entry whose name begins with `key` between begin and end: 0 when not found, else
// (entry end - begin + 1); fills MatchedEntry, and EntryText as described by the scanning rules.
int32_t FindKey(int32_t begin, int32_t end, const char* key);
// Same search; copies the text after the key into value_out (kEntryTextCapacity + 1 bytes).
bool GetKeyValue(int32_t begin, int32_t end, const char* key, char* value_out);
// Same search; the value's text uncut by EntryText's capacity, at most `max_bytes` of it.
bool GetWholeKeyValue(int32_t begin, int32_t end, const char* key, int32_t max_bytes, std::string* value_out);
// `value` holds what GetKeyValue gave for `key`; when that text filled the entry's capacity, it is
// replaced by the whole value (at most `max_bytes`).
void CompleteCutValue(int32_t begin, int32_t end, const char* key, int32_t max_bytes, std::string* value);
// The entry named exactly `name` (not a longer name beginning with it) between begin and end: its
// end, with `value_start` just behind the name; 0 when there is none. Fills EntryText.
int32_t FindExactEntry(int32_t begin, int32_t end, const char* name, int32_t* value_start);
// Reads the entry at the first "/" at or after position into EntryText; its end, or 0.
int32_t ReadNextEntry(int32_t position, int32_t end);
// The same, and where the entry's value begins (just behind its name) in *value_start.
int32_t ReadNextEntryValue(int32_t position, int32_t end, int32_t* value_start);

// "n g obj" (single spaces) at position; `expected_number` -1 or an object number.
bool IsObjectHeader(int32_t position, int32_t expected_number);

// Reads "n g R" from text at start_index; the index after the letter, or -1 when no digit is left.
int ReadReference(int start_index, const char* text, int32_t* number, int32_t* generation, char* letter);
// Reads the next number of text; returns the index of the first character after it.
int ReadNumber(int start_index, const char* text, double* value);
// The integer a value text stands for, following one indirect reference ("12 0 R").
// False (value unchanged) when the referenced object has no "obj".
bool ResolveInteger(const char* value_text, int32_t* value);
// Whitespace among the first min(length, max_length) characters becomes a space; the text is cut
// to that length, which is returned.
int NormalizeText(char* text, int max_length);
// In a caller's text: the index of the ">>" that closes the "<<" at `open`, nested dictionaries
// and literal strings skipped; std::string_view::npos when the text ends first.
size_t DictionaryTextEnd(std::string_view text, size_t open);

}  // namespace velmora
