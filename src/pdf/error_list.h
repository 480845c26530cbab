// The ordered list of numeric error codes gathered while a file is loaded and converted,
// and the fixed table of their messages.
#pragma once

#include <cstdint>

namespace velmora {

inline constexpr int kErrorListCapacity = 100;
inline constexpr int kFirstWarningCode = 89;  // codes below are fatal
inline constexpr int kErrorTableRows = 35;

// Codes of the protected-file and damaged-file paths (the older codes are written as numbers
// where the reader records them).
inline constexpr int kErrorPasswordRequired = 44;  // fatal: no password given opens the file
inline constexpr int kErrorWrongPassword = 45;     // fatal: the password given opens nothing
inline constexpr int kErrorEncryptionUnsupported = 46;  // fatal: a handler or method not read
inline constexpr int kWarningXrefRebuilt = 92;     // the object table was rebuilt by scanning
inline constexpr int kWarningRasterImages = 93;    // raster images were painted and left out
inline constexpr int kWarningContentUnreadable = 94;  // no content stream of the page decoded
// A code table of the fonts (the two-byte duplicates, the long texts) was full: some codes of a
// ToUnicode CMap were not registered whole.
inline constexpr int kCodeTableFullWarning = 102;
// Texts whose codes no table of their font decodes were written as placeholders (once per page;
// the window's message adds how many).
inline constexpr int kUndecodedTextWarning = 103;
// A page's fills gave more solids than the solid table holds (or a fill was too large to cut).
inline constexpr int kSolidTableFullCode = 122;

struct ErrorList {
    int32_t codes[kErrorListCapacity];
    int32_t count;
    // Codes the window has shown already for this list, so a warning of the load is not shown
    // again with the result.
    int32_t shown_codes[kErrorListCapacity];
    int32_t shown_count;
};

// Code 100 only says an encoding is given by name: the text is still converted by it.
inline constexpr int kEncodingNameCode = 100;

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
