// The names the report prints for an object's data format and a font's code conversion kind.
#pragma once

#include <cstdint>

namespace velmora {

inline constexpr int kDataFormatNameCount = 20;
inline constexpr int kCodeConversionNameCount = 10;
// Room for the longest name as UTF-8 too: clang, used for fuzzing, cannot store Shift-JIS literals.
inline constexpr int kReportNameBytes = 24;

extern const char DataFormatNames[kDataFormatNameCount][kReportNameBytes];
extern const char CodeConversionNames[kCodeConversionNameCount][kReportNameBytes];

// The name for an ObjectEntry kind; "その他" for a value outside the table.
const char* DataFormatName(int32_t kind);
// The name for a FontDef conversion type; "temp" for a value outside the table.
const char* CodeConversionName(int32_t conversion_type);

}  // namespace velmora
