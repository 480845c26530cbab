// Fixed capacities of the document store. Every append checks against these.
#pragma once

namespace velmora {

inline constexpr int kLineCapacity = 1000000;       // LineRecords in the line table
inline constexpr int kMaxLinesPerPage = 999999;     // an emit at this count is refused (code 120)
inline constexpr int kTextCapacity = 10000;         // TextRecords in the text table
inline constexpr int kMaxTextsPerPage = 9999;       // an emit at this count is refused (code 121)
inline constexpr int kTextPoolBytes = 1000000;      // bytes of NUL-terminated Shift-JIS strings
inline constexpr int kTextPoolLimit = 999999;       // no text is stored once this many bytes are used

inline constexpr int kPageTableSize = 1024;         // page records, index 0 unused
inline constexpr int kMaxPages = 1023;
inline constexpr int kContentsPerPage = 256;        // content stream objects of one page
inline constexpr int kFontSlotsPerPage = 256;       // slots 1..255 used
inline constexpr int kFontResourceNameBytes = 255;
// Bytes of a page's font dictionary text read at most: every slot's name and reference.
inline constexpr int kFontResourcesTextBytes = kFontSlotsPerPage * (kFontResourceNameBytes + 45);
inline constexpr int kOperatorCounterCount = 27;

inline constexpr int kDecodedStreamCapacity = 2000; // entries 1..2000; entry 0 is the xref stream
inline constexpr int kObjectCapacity = 100000;      // object numbers 0..99,999
inline constexpr int kObjectLabelBytes = 52;
inline constexpr int kFontCapacity = 2000;          // FontDef entries, 1..1999 used
inline constexpr int kFontNameBytes = 256;
inline constexpr int kFontFieldBytes = 100;
inline constexpr int kOneByteCodes = 256;
inline constexpr int kCidMapEntries = 65536;
inline constexpr int kDuplicateCapacity = 999;      // DuplicateList records 1..999
inline constexpr int kTextSizeClasses = 301;        // TextSizeHistogram counters 0..300

inline constexpr int kPathBytes = 260;              // file name buffers (Windows MAX_PATH)

}  // namespace velmora
