// Every code the error list records, named once. The numbers are the ones the messages table,
// the report and users' notes know; codes from kFirstWarningCode on are warnings, not fatal.
#pragma once

namespace velmora {

// Fatal: the file cannot be read on.
inline constexpr int kErrorNoHeader = 10;
inline constexpr int kErrorMemory = 11;
inline constexpr int kErrorNoFooter = 20;
inline constexpr int kErrorNoXref = 30;
inline constexpr int kErrorNoXrefTable = 40;
inline constexpr int kErrorNoXrefStream = 41;
inline constexpr int kErrorXrefStreamUnsupported = 42;
inline constexpr int kErrorNoLinearizedXref = 43;
inline constexpr int kErrorPasswordRequired = 44;       // no password given opens the file
inline constexpr int kErrorWrongPassword = 45;          // the password given opens nothing
inline constexpr int kErrorEncryptionUnsupported = 46;  // a handler or method not read
inline constexpr int kErrorNoTrailer = 50;
inline constexpr int kErrorObjectNotFound = 60;
inline constexpr int kErrorDictionaryNotFound = 61;     // FindDictionary / FindArray failure
inline constexpr int kErrorNoCatalog = 62;
inline constexpr int kErrorNoPageTree = 63;
inline constexpr int kErrorNoPage = 64;
inline constexpr int kErrorTooManyObjects = 65;
inline constexpr int kErrorNoStream = 80;
inline constexpr int kErrorNoStreamStart = 81;

inline constexpr int kFirstWarningCode = 89;
// The file converts, or may through Ghostscript.
inline constexpr int kWarningNotConvertible = 89;       // try printing it to a PDF again
inline constexpr int kWarningLinesNotInflated = 90;     // a content stream did not inflate
inline constexpr int kWarningTextsNotInflated = 91;     // a font's ToUnicode stream did not inflate
inline constexpr int kWarningXrefRebuilt = 92;          // the object table was rebuilt by scanning
inline constexpr int kWarningRasterImages = 93;         // raster images were painted and left out
inline constexpr int kWarningContentUnreadable = 94;    // no content stream of the page decoded
// Only says an encoding is given by name: the text is still converted by it.
inline constexpr int kWarningEncodingName = 100;
inline constexpr int kWarningNeedsExternalCMap = 101;
// A code table of the fonts (the two-byte duplicates, the long texts) was full: some codes of a
// ToUnicode CMap were not registered whole.
inline constexpr int kWarningCodeTableFull = 102;
// Texts whose codes no table of their font decodes were written as placeholders (once per page;
// the window's message adds how many).
inline constexpr int kWarningUndecodedText = 103;
inline constexpr int kWarningNoGhostscript = 110;
inline constexpr int kWarningLineTableFull = 120;       // recorded once when a page has too many lines
inline constexpr int kWarningTextTableFull = 121;       // recorded once when a page has too many texts
// A page's fills gave more solids than the solid table holds (or a fill was too large to cut).
inline constexpr int kWarningSolidTableFull = 122;
inline constexpr int kWarningTooManyPages = 130;

}  // namespace velmora
