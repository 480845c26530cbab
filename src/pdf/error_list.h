// The ordered list of numeric error codes gathered while a file is loaded and converted,
// and the fixed table of their messages.
#pragma once

#include <cstdint>

#include "pdf/error_codes.h"

namespace velmora {

inline constexpr int kErrorListCapacity = 100;
inline constexpr int kErrorTableRows = 35;

struct ErrorList {
    int32_t codes[kErrorListCapacity];
    int32_t count;
    // Codes the window has shown already for this list, so a warning of the load is not shown
    // again with the result.
    int32_t shown_codes[kErrorListCapacity];
    int32_t shown_count;
};

struct ErrorTableRow {
    int32_t code;
    const char* message;  // Shift-JIS
};

extern ErrorList g_errors;
extern const ErrorTableRow ErrorTable[kErrorTableRows];

// Appends a code; dropped when the list is full.
void RecordError(int code);
bool HasFatalError();
// A code that tells something about the file without anything of it being lost.
bool IsInformationCode(int code);
bool WasShown(int code);
void MarkShown(int code);
void ClearErrors();
// Empties the list and records `code` alone.
void ReplaceErrors(int code);
// The code's message, or null when the table has no row for it.
const char* ErrorMessage(int code);
// The codes of list entries `first`..count-1, each once, in the order they were first recorded.
// Returns how many were written to `codes` (room for kErrorListCapacity).
int DistinctErrorCodes(int first, int32_t codes[kErrorListCapacity]);

}  // namespace velmora
